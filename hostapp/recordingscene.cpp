#include "hostapp/recordingscene.h"

#include "hostapp/viewer/scenetriangles.h"
#include "hostsdk/object.h"

void RecordingScene::AddNodeToScene(ImpNode* node) {
    int before = NodeCount();
    HostScene::AddNodeToScene(node);
    // The stand-in ignores nodes it did not make or already holds.
    if (NodeCount() > before) added.push_back(GetNode(NodeCount() - 1));
}

int RecordingScene::NewScene() {
    added.clear();
    return HostScene::NewScene();
}

void RecordingScene::RedrawViews() {
    HostScene::RedrawViews();
    if (onRedraw) onRedraw();
}

ImportCounts RecordingScene::AddedCounts() const {
    ImportCounts counts;
    for (HostNode* node : added) {
        ++counts.nodes;
        if (Mesh* mesh = NodeMesh(node)) {
            counts.vertices += mesh->getNumVerts();
            counts.faces += mesh->getNumFaces();
        }
    }
    return counts;
}
