#include "hostapp/scenetriangles.h"

#include <map>

#include "hostapp/recordingscene.h"
#include "hostsdk/mtl.h"

const Rgb kDefaultObjectColour = {0.69f, 0.69f, 0.69f};

namespace {

Rgb ToRgb(const Color& c) { return {c.r, c.g, c.b}; }
Rgb ToRgb(const Point3& p) { return {p.x, p.y, p.z}; }

// The material a face shows: a multi-material picks its sub-material by the
// face's material id, as the host does (modulo the count).
Mtl* FaceMaterial(Mtl* mtl, MtlID matId) {
    if (!mtl) return nullptr;
    int subs = mtl->NumSubMtls();
    return subs > 0 ? mtl->GetSubMtl(matId % subs) : mtl;
}

Rgb MaterialColour(Mtl* mtl) { return mtl ? ToRgb(mtl->GetDiffuse()) : kDefaultObjectColour; }

bool HasTextureChannel(const Mesh& mesh) {
    return mesh.numTVerts > 0 && mesh.tVerts && mesh.tvFace && mesh.numTVFaces == mesh.numFaces;
}

bool HasColourChannel(const Mesh& mesh) {
    return mesh.numCVerts > 0 && mesh.vertCol && mesh.vcFace && mesh.numVCFaces == mesh.numFaces;
}

// Faces whose indices lie outside the arrays are skipped, not drawn from garbage.
bool FaceInRange(const DWORD* idx, int count) {
    return idx[0] < DWORD(count) && idx[1] < DWORD(count) && idx[2] < DWORD(count);
}

class DrawingBuilder {
  public:
    DrawingBuilder(SceneDrawing& drawing, const ImageLoader& load) : out(drawing), load(load) {}

    void AddNode(HostNode* node) {
        Mesh* mesh = NodeMesh(node);
        if (!mesh || !mesh->verts) return;
        Matrix3 tm = node->GetNodeTM(0);
        if (!hasOrigin) {
            for (int j = 0; j < 3; ++j) origin[j] = tm.m[3][j];
            hasOrigin = true;
        }
        if (mesh->numFaces == 0)
            AddPoints(*mesh, tm);
        else if (mesh->faces)
            AddFaces(*mesh, tm, node->GetMtl());
    }

  private:
    // The scene is drawn relative to the first mesh node's position, worked
    // out in double: a node far from the origin (a georeferenced scan) keeps
    // its detail, and the view, which frames the extents, looks the same.
    Vec3 WorldPoint(const Matrix3& tm, const Point3& v) const {
        double r[3];
        for (int j = 0; j < 3; ++j)
            r[j] = double(v.x) * tm.m[0][j] + double(v.y) * tm.m[1][j] +
                   double(v.z) * tm.m[2][j] + (double(tm.m[3][j]) - origin[j]);
        return {float(r[0]), float(r[1]), float(r[2])};
    }

    // A vertex colour only where the channel has one entry per vertex.
    void AddPoints(const Mesh& mesh, const Matrix3& tm) {
        bool coloured = mesh.vertCol && mesh.numCVerts == mesh.numVerts;
        for (int i = 0; i < mesh.numVerts; ++i) {
            out.points.push_back({WorldPoint(tm, mesh.verts[i]),
                                  coloured ? ToRgb(mesh.vertCol[i]) : kDefaultObjectColour});
        }
    }

    // A texture the face's material shows wins over the vertex colours.
    void AddFaces(const Mesh& mesh, const Matrix3& tm, Mtl* nodeMaterial) {
        bool textured = HasTextureChannel(mesh);
        bool coloured = HasColourChannel(mesh);
        for (int f = 0; f < mesh.numFaces; ++f) {
            const Face& face = mesh.faces[f];
            if (!FaceInRange(face.v, mesh.numVerts)) continue;
            RenderTriangle t;
            for (int k = 0; k < 3; ++k) t.p[k] = WorldPoint(tm, mesh.verts[face.v[k]]);
            Mtl* mtl = FaceMaterial(nodeMaterial, face.getMatID());
            const DWORD* tv = textured ? mesh.tvFace[f].t : nullptr;
            const DWORD* cv = coloured ? mesh.vcFace[f].t : nullptr;
            if (tv && FaceInRange(tv, mesh.numTVerts) && (t.texture = Texture(mtl))) {
                for (int k = 0; k < 3; ++k) t.uv[k] = {mesh.tVerts[tv[k]].x, mesh.tVerts[tv[k]].y};
            } else if (cv && FaceInRange(cv, mesh.numCVerts)) {
                for (int k = 0; k < 3; ++k) t.c[k] = ToRgb(mesh.vertCol[cv[k]]);
            } else {
                t.c[0] = t.c[1] = t.c[2] = MaterialColour(mtl);
            }
            out.triangles.push_back(t);
        }
    }

    // The decoded picture of the material's diffuse bitmap map; null when it
    // has none or its file cannot be decoded. Runs of faces share a material,
    // so the last answer is kept at hand.
    const Image* Texture(Mtl* mtl) {
        if (mtl != lastMaterial) {
            lastMaterial = mtl;
            lastTexture =
                Decoded(mtl ? dynamic_cast<BitmapTex*>(mtl->GetSubTexmap(ID_DI)) : nullptr);
        }
        return lastTexture;
    }

    const Image* Decoded(BitmapTex* map) {
        if (!map || !load) return nullptr;
        std::string path = map->GetMapName();
        auto known = decoded.find(path);
        if (known != decoded.end()) return known->second;
        std::unique_ptr<Image> image(new Image);
        const Image* result = nullptr;
        if (load(path, *image) && image->width > 0 && image->height > 0 &&
            image->rgb.size() == size_t(image->width) * size_t(image->height) * 3) {
            result = image.get();
            out.textures.push_back(std::move(image));
        }
        decoded[path] = result;
        return result;
    }

    SceneDrawing& out;
    const ImageLoader& load;
    std::map<std::string, const Image*> decoded;  // null for a file that cannot be
    Mtl* lastMaterial = nullptr;
    const Image* lastTexture = nullptr;
    bool hasOrigin = false;
    double origin[3] = {0, 0, 0};
};

}  // namespace

SceneDrawing BuildSceneDrawing(const HostScene& scene, const ImageLoader& load) {
    SceneDrawing drawing;
    DrawingBuilder builder(drawing, load);
    for (int i = 0; i < scene.NodeCount(); ++i) builder.AddNode(scene.GetNode(i));
    return drawing;
}
