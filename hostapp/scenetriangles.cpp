#include "hostapp/scenetriangles.h"

#include <algorithm>

#include "hostapp/recordingscene.h"
#include "hostsdk/mtl.h"

const Rgb kDefaultObjectColour = {0.69f, 0.69f, 0.69f};

namespace {

Rgb ToRgb(const Color& c) { return {c.r, c.g, c.b}; }

// The diffuse colour a face shows: a multi-material picks its sub-material by
// the face's material id, as the host does (modulo the count).
Rgb FaceMaterialColour(Mtl* mtl, MtlID matId) {
    if (!mtl) return kDefaultObjectColour;
    int subs = mtl->NumSubMtls();
    if (subs > 0) {
        Mtl* sub = mtl->GetSubMtl(matId % subs);
        return sub ? ToRgb(sub->GetDiffuse()) : kDefaultObjectColour;
    }
    return ToRgb(mtl->GetDiffuse());
}

bool HasColourChannel(const Mesh& mesh) {
    return mesh.numCVerts > 0 && mesh.vertCol && mesh.vcFace && mesh.numVCFaces == mesh.numFaces;
}

// Faces whose indices lie outside the arrays are skipped, not drawn from garbage.
bool FaceInRange(const DWORD* idx, int count) {
    return idx[0] < DWORD(count) && idx[1] < DWORD(count) && idx[2] < DWORD(count);
}

void AddNodeTriangles(HostNode* node, std::vector<RenderTriangle>& out) {
    Mesh* mesh = NodeMesh(node);
    if (!mesh || !mesh->verts || !mesh->faces) return;
    Matrix3 tm = node->GetNodeTM(0);
    bool coloured = HasColourChannel(*mesh);
    for (int f = 0; f < mesh->numFaces; ++f) {
        const Face& face = mesh->faces[f];
        if (!FaceInRange(face.v, mesh->numVerts)) continue;
        RenderTriangle t;
        for (int k = 0; k < 3; ++k) {
            Point3 p = tm.PointTransform(mesh->verts[face.v[k]]);
            t.p[k] = {p.x, p.y, p.z};
        }
        if (coloured && FaceInRange(mesh->vcFace[f].t, mesh->numCVerts)) {
            for (int k = 0; k < 3; ++k) {
                const VertColor& c = mesh->vertCol[mesh->vcFace[f].t[k]];
                t.c[k] = {c.x, c.y, c.z};
            }
        } else {
            Rgb c = FaceMaterialColour(node->GetMtl(), face.getMatID());
            t.c[0] = t.c[1] = t.c[2] = c;
        }
        out.push_back(t);
    }
}

}  // namespace

std::vector<RenderTriangle> SceneTriangles(const HostScene& scene) {
    std::vector<RenderTriangle> out;
    for (int i = 0; i < scene.NodeCount(); ++i) AddNodeTriangles(scene.GetNode(i), out);
    return out;
}
