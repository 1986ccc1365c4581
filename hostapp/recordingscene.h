// The reference host's scene: the stand-in scene that also knows which nodes
// the running import added, and tells the viewport when to redraw.
#pragma once

#include <functional>
#include <vector>

#include "hostsdk/standin.h"

// What one import left in the scene.
struct ImportCounts {
    int nodes = 0;
    int vertices = 0;
    int faces = 0;
};

class RecordingScene : public HostScene {
  public:
    void AddNodeToScene(ImpNode* node) override;
    int NewScene() override;  // also forgets the recorded nodes: they are gone
    void RedrawViews() override;

    // Starts recording the nodes of a new import.
    void BeginImport() { added.clear(); }
    // Nodes added since BeginImport that are still in the scene, with their meshes' sizes.
    ImportCounts AddedCounts() const;

    // Called on every redraw request of an importer.
    std::function<void()> onRedraw;

  private:
    std::vector<HostNode*> added;
};
