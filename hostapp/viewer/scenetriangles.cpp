#include "hostapp/viewer/scenetriangles.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>

#include "hostapp/viewer/scenehelpers.h"
#include "hostapp/viewer/shading.h"
#include "hostsdk/mtl.h"
#include "hostsdk/object.h"

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

// The colours a mesh shows: its own, or a named channel's values on the ramp.
struct ColourSource {
    const Point3* values = nullptr;
    int count = 0;
    const TVFace* faces = nullptr;  // one per face, or null
    bool ramp = false;
};

ColourSource OwnColours(const Mesh& mesh) {
    const bool whole = mesh.vcFace && mesh.numVCFaces == mesh.numFaces;
    return {mesh.vertCol, mesh.numCVerts, whole ? mesh.vcFace : nullptr, false};
}

ColourSource ChannelColours(Mesh& mesh, int channel) {
    const bool whole = mesh.mapFaces(channel) && mesh.getNumMapFaces(channel) == mesh.numFaces;
    return {mesh.mapVerts(channel), mesh.getNumMapVerts(channel),
            whole ? mesh.mapFaces(channel) : nullptr, true};
}

bool HasColourChannel(const ColourSource& c) { return c.count > 0 && c.values && c.faces; }

// Faces whose indices lie outside the arrays are skipped, not drawn from garbage.
bool FaceInRange(const DWORD* idx, int count) {
    return idx[0] < DWORD(count) && idx[1] < DWORD(count) && idx[2] < DWORD(count);
}

const uint32_t kUnused = 0xFFFFFFFF;

// Takes object-space normals to world space: by the inverse transpose of
// the node's linear part (its cofactors, turned round where it mirrors),
// so a node scaled unevenly keeps its normals square to its faces.
class NormalTransform {
  public:
    explicit NormalTransform(const Matrix3& tm) {
        double a[3][3];
        for (int i = 0; i < 3; ++i)
            for (int j = 0; j < 3; ++j) a[i][j] = tm.m[i][j];
        for (int i = 0; i < 3; ++i) {
            const double *p = a[(i + 1) % 3], *q = a[(i + 2) % 3];
            cofactor[i][0] = p[1] * q[2] - p[2] * q[1];
            cofactor[i][1] = p[2] * q[0] - p[0] * q[2];
            cofactor[i][2] = p[0] * q[1] - p[1] * q[0];
        }
        double det = 0;
        for (int j = 0; j < 3; ++j) det += a[0][j] * cofactor[0][j];
        if (det < 0)
            for (auto& row : cofactor)
                for (double& c : row) c = -c;
    }
    // Unit length, or zero where the normal or the transform has no direction.
    Vec3 Apply(const Vec3& n) const {
        double r[3];
        for (int j = 0; j < 3; ++j)
            r[j] = n.x * cofactor[0][j] + n.y * cofactor[1][j] + n.z * cofactor[2][j];
        double length = std::sqrt(r[0] * r[0] + r[1] * r[1] + r[2] * r[2]);
        if (!(length > 0) || !std::isfinite(length)) return {0, 0, 0};
        return {float(r[0] / length), float(r[1] / length), float(r[2] / length)};
    }

  private:
    double cofactor[3][3];
};

// A scene reaching farther than this from its origin is drawn scaled down
// by a power of two, so the camera's sums stay finite in float.
const double kLargestDrawn = 0x1p100;

class DrawingBuilder {
  public:
    DrawingBuilder(SceneDrawing& drawing, const ImageLookup& lookup)
        : out(drawing), lookup(lookup) {}

    // The scene is drawn relative to the first mesh node's position, worked
    // out in double: a node far from the origin (a georeferenced scan) keeps
    // its detail, and the view, which frames the extents, looks the same.
    void Measure(const HostScene& scene) {
        double reach = 0;
        for (int i = 0; i < scene.NodeCount(); ++i) {
            HostNode* node = scene.GetNode(i);
            const Mesh* mesh = NodeMesh(node);
            if (!mesh || !mesh->verts) continue;
            const Matrix3 tm = node->GetNodeTM(0);
            if (!hasOrigin) {
                for (int j = 0; j < 3; ++j) origin[j] = tm.m[3][j];
                hasOrigin = true;
            }
            for (int v = 0; v < mesh->numVerts; ++v) {
                double r[3];
                WorldPoint(tm, mesh->verts[v], r);
                for (double c : r)
                    if (std::isfinite(c)) reach = std::max(reach, std::fabs(c));
            }
        }
        if (reach > kLargestDrawn) scale = std::ldexp(1.0, -std::ilogb(reach / kLargestDrawn) - 1);
    }

    // The smallest and largest finite value of the channel, over the nodes
    // that name it.
    void MeasureChannel(const HostScene& scene, const std::string& name) {
        float lo = INFINITY, hi = -INFINITY;
        for (int i = 0; i < scene.NodeCount(); ++i) {
            Mesh* mesh = NodeMesh(scene.GetNode(i));
            const int channel = NamedChannel(scene.GetNode(i), name);
            if (!mesh || channel < 0) continue;
            const ColourSource c = ChannelColours(*mesh, channel);
            for (int v = 0; v < c.count && c.values; ++v)
                if (std::isfinite(c.values[v].x))
                    lo = std::min(lo, c.values[v].x), hi = std::max(hi, c.values[v].x);
        }
        if (lo <= hi) out.scale = {name, lo, hi};
    }

    void AddNode(HostNode* node, int index) {
        Mesh* mesh = NodeMesh(node);
        if (!mesh || !mesh->verts || (mesh->numFaces > 0 && !mesh->faces)) return;
        Matrix3 tm = node->GetNodeTM(0);
        const int channel = out.scale.channel.empty() ? -1 : NamedChannel(node, out.scale.channel);
        const ColourSource colours = channel < 0 ? OwnColours(*mesh) : ChannelColours(*mesh, channel);
        DrawMesh m;
        m.node = index;
        if (mesh->numFaces == 0)
            AddPoints(*mesh, tm, colours, m);
        else
            AddFaces(*mesh, tm, node->GetMtl(), colours, m);
        SetPointColours(m);
        out.meshes.push_back(std::move(m));
    }

  private:
    // Relative to the origin, in drawing units.
    void WorldPoint(const Matrix3& tm, const Point3& v, double r[3]) const {
        for (int j = 0; j < 3; ++j)
            r[j] = (double(v.x) * tm.m[0][j] + double(v.y) * tm.m[1][j] +
                    double(v.z) * tm.m[2][j] + (double(tm.m[3][j]) - origin[j])) *
                   scale;
    }

    // Where the node puts its mesh's own coordinates in the drawing.
    Placement PlacementOf(const Matrix3& tm) const {
        auto row = [&](int i, const double from[3]) {
            return Vec3{float((double(tm.m[i][0]) - from[0]) * scale),
                        float((double(tm.m[i][1]) - from[1]) * scale),
                        float((double(tm.m[i][2]) - from[2]) * scale)};
        };
        const double none[3] = {0, 0, 0};
        Placement p;
        p.x = row(0, none), p.y = row(1, none), p.z = row(2, none);
        p.offset = row(3, origin);
        return p;
    }

    // The scene mesh's own vertices, placed: nothing copied.
    void UseSceneVertices(const Mesh& mesh, const Matrix3& tm, DrawMesh& m) const {
        static_assert(sizeof(Point3) == 3 * sizeof(float), "a Point3 is three floats");
        m.sceneVertices = &mesh.verts[0].x;
        m.sceneVertexCount = size_t(mesh.numVerts);
        m.place = PlacementOf(tm);
    }

    // A vertex colour only where the channel has one entry per vertex.
    void AddPoints(const Mesh& mesh, const Matrix3& tm, const ColourSource& colours, DrawMesh& m) {
        UseSceneVertices(mesh, tm, m);
        if (colours.values && colours.count == mesh.numVerts) AddColours(colours, m);
        m.looks.push_back({kDefaultObjectColour, nullptr});
    }

    // True when every face's indices lie in the vertex array and every
    // vertex is used by some face: the mesh's own arrays can be drawn.
    static bool DrawableAsItIs(const Mesh& mesh) {
        std::vector<bool> used(mesh.numVerts, false);
        for (int f = 0; f < mesh.numFaces; ++f) {
            const DWORD* v = mesh.faces[f].v;
            if (!FaceInRange(v, mesh.numVerts)) return false;
            used[v[0]] = used[v[1]] = used[v[2]] = true;
        }
        return std::find(used.begin(), used.end(), false) == used.end();
    }

    // The vertices that faces in range use, copied to drawing space; the
    // index of each in the copy (kUnused for the others).
    std::vector<uint32_t> CopyUsedVertices(const Mesh& mesh, const Matrix3& tm, DrawMesh& m) const {
        std::vector<uint32_t> index(mesh.numVerts, kUnused);
        for (int f = 0; f < mesh.numFaces; ++f) {
            const DWORD* v = mesh.faces[f].v;
            if (!FaceInRange(v, mesh.numVerts)) continue;
            for (int k = 0; k < 3; ++k) index[v[k]] = 0;
        }
        for (int i = 0; i < mesh.numVerts; ++i) {
            if (index[i] == kUnused) continue;
            index[i] = uint32_t(m.vertices.size());
            double r[3];
            WorldPoint(tm, mesh.verts[i], r);
            m.vertices.push_back({float(r[0]), float(r[1]), float(r[2])});
        }
        return index;
    }

    // A mesh as the importer makes it is drawn from its own arrays. Others
    // are copied: faces whose indices lie outside the arrays are skipped,
    // and with them the vertices only they use.
    void AddFaces(const Mesh& mesh, const Matrix3& tm, Mtl* nodeMaterial,
                  const ColourSource& colours, DrawMesh& m) {
        std::vector<uint32_t> index;  // empty: the mesh's own arrays
        if (DrawableAsItIs(mesh)) {
            UseSceneVertices(mesh, tm, m);
            m.sceneFaces = mesh.faces;
            m.sceneFaceCount = size_t(mesh.numFaces);
        } else {
            index = CopyUsedVertices(mesh, tm, m);
        }
        AddNormals(mesh, tm, index, m);

        // A channel's colours hide the textures: they are what is looked at.
        bool textured = HasTextureChannel(mesh) && !colours.ramp;
        bool coloured = HasColourChannel(colours);
        if (textured) m.uvs.reserve(mesh.numTVerts);
        for (int i = 0; textured && i < mesh.numTVerts; ++i)
            m.uvs.push_back({mesh.tVerts[i].x, mesh.tVerts[i].y});
        if (coloured) AddColours(colours, m);
        if (!index.empty()) {
            m.corners.reserve(3 * size_t(mesh.numFaces));
            m.styles.reserve(mesh.numFaces);
        }
        looks.clear();
        lastMaterial = nullptr;
        size_t drawn = 0;
        for (int f = 0; f < mesh.numFaces; ++f) {
            const Face& face = mesh.faces[f];
            if (!FaceInRange(face.v, mesh.numVerts)) continue;
            FaceStyle style = {LookOf(FaceMaterial(nodeMaterial, face.getMatID()), textured, m),
                               kShadeLookColour, uint8_t(face.flags & EDGE_ALL)};
            const DWORD* tv = textured ? mesh.tvFace[f].t : nullptr;
            const DWORD* cv = coloured ? colours.faces[f].t : nullptr;
            const DWORD* attributes = nullptr;
            if (tv && FaceInRange(tv, mesh.numTVerts) && m.looks[style.look].texture) {
                style.shading = kShadeTexture;
                attributes = tv;
            } else if (cv && FaceInRange(cv, colours.count)) {
                style.shading = kShadeCornerColours;
                attributes = cv;
            }
            FaceCorners corners = {{face.v[0], face.v[1], face.v[2]}};
            if (!index.empty()) {
                for (uint32_t& v : corners.v) v = index[v];
                m.corners.insert(m.corners.end(), corners.v, corners.v + 3);
            }
            AddStyle(style, drawn, m);
            AddAttributes(attributes, corners, drawn, m);
            ++drawn;
        }
    }

    // Faces drawn from the mesh's own array share one look and shading
    // until some face differs; only then does each keep its own.
    static void AddStyle(const FaceStyle& style, size_t drawn, DrawMesh& m) {
        if (m.sceneFaces && m.styles.empty()) {
            if (drawn == 0) m.common = style;
            if (style.look == m.common.look && style.shading == m.common.shading) return;
            m.styles.reserve(m.FaceCount());
            for (size_t g = 0; g < drawn; ++g) m.styles.push_back(m.Style(g));
        }
        m.styles.push_back(style);
    }

    // One world-space normal per drawn vertex: the mesh's explicit one where
    // it has it, else the area-weighted mean of its faces' normals, worked
    // out here so the scene's mesh is left as it is.
    static void AddNormals(const Mesh& mesh, const Matrix3& tm, const std::vector<uint32_t>& index,
                           DrawMesh& m) {
        std::vector<Vec3> computed;
        if (NeedsComputedNormals(mesh, index)) computed = FaceAreaNormals(mesh);
        const NormalTransform toWorld(tm);
        m.normals.resize(m.VertexCount());
        for (int i = 0; i < mesh.numVerts; ++i) {
            const uint32_t to = index.empty() ? uint32_t(i) : index[i];
            if (to == kUnused) continue;
            Point3 n = mesh.hasExplicitNormals() ? mesh.getExplicitNormal(i) : Point3(0, 0, 0);
            Vec3 v = HasDirection(n) ? Vec3{n.x, n.y, n.z} : computed[i];
            m.normals[to] = PackNormal(toWorld.Apply(v));
        }
    }

    static bool HasDirection(const Point3& n) {
        return std::isfinite(n.x) && std::isfinite(n.y) && std::isfinite(n.z) &&
               (n.x != 0 || n.y != 0 || n.z != 0);
    }

    static bool NeedsComputedNormals(const Mesh& mesh, const std::vector<uint32_t>& index) {
        if (!mesh.hasExplicitNormals()) return true;
        for (int i = 0; i < mesh.numVerts; ++i)
            if ((index.empty() || index[i] != kUnused) && !HasDirection(mesh.getExplicitNormal(i)))
                return true;
        return false;
    }

    // Per vertex, the sum of its faces' cross products: each face's normal
    // weighted by its area. Edges are measured in units of the mesh's
    // largest extent, so that the products stay in float's range.
    static std::vector<Vec3> FaceAreaNormals(const Mesh& mesh) {
        float extent = 0;
        for (int i = 1; i < mesh.numVerts; ++i) {
            Point3 d = mesh.verts[i] - mesh.verts[0];
            extent = std::max({extent, std::fabs(d.x), std::fabs(d.y), std::fabs(d.z)});
        }
        const float unit = extent > 0 && std::isfinite(extent) ? 1.0f / extent : 1.0f;
        std::vector<Vec3> sum(mesh.numVerts, Vec3{0, 0, 0});
        for (int f = 0; f < mesh.numFaces; ++f) {
            const DWORD* v = mesh.faces[f].v;
            if (!FaceInRange(v, mesh.numVerts)) continue;
            Point3 a = (mesh.verts[v[1]] - mesh.verts[v[0]]) * unit;
            Point3 b = (mesh.verts[v[2]] - mesh.verts[v[0]]) * unit;
            Vec3 n = Cross({a.x, a.y, a.z}, {b.x, b.y, b.z});
            for (int k = 0; k < 3; ++k) {
                Vec3& s = sum[v[k]];
                s = {s.x + n.x, s.y + n.y, s.z + n.z};
            }
        }
        return sum;
    }

    // Attribute indices are kept apart only once some face's differ from
    // its vertex indices: a per-vertex channel costs nothing.
    static void AddAttributes(const DWORD* a, const FaceCorners& v, size_t drawn, DrawMesh& m) {
        bool same = !a || (a[0] == v.v[0] && a[1] == v.v[1] && a[2] == v.v[2]);
        if (same && m.attributeCorners.empty()) return;
        if (m.attributeCorners.empty()) {
            m.attributeCorners.reserve(3 * m.FaceCount());
            for (size_t g = 0; g < drawn; ++g) {
                const FaceCorners c = m.Corners(g);
                m.attributeCorners.insert(m.attributeCorners.end(), c.v, c.v + 3);
            }
        }
        for (int k = 0; k < 3; ++k) m.attributeCorners.push_back(same ? v.v[k] : a[k]);
    }

    void AddColours(const ColourSource& c, DrawMesh& m) const {
        m.colours.reserve(size_t(c.count));
        const ColourScale& s = out.scale;
        const float range = s.hi > s.lo ? s.hi - s.lo : 1.0f;
        for (int i = 0; i < c.count; ++i)
            m.colours.push_back(c.ramp ? RampColour(s.hi > s.lo ? (c.values[i].x - s.lo) / range : 0.5f)
                                       : ToRgb(c.values[i]));
    }

    // The look of a material in this mesh, one per material (a face's
    // material id has 16 bits, so they fit the style's index). Runs of faces
    // share a material, so the last answer is kept at hand.
    uint16_t LookOf(Mtl* mtl, bool textured, DrawMesh& m) {
        if (!m.looks.empty() && mtl == lastMaterial) return lastLook;
        lastMaterial = mtl;
        auto known = looks.find(mtl);
        if (known == looks.end()) {
            known = looks.emplace(mtl, uint16_t(m.looks.size())).first;
            m.looks.push_back({MaterialColour(mtl), textured ? Texture(mtl) : nullptr});
        }
        return lastLook = known->second;
    }

    const Image* Texture(Mtl* mtl) {
        return Decoded(mtl ? dynamic_cast<BitmapTex*>(mtl->GetSubTexmap(ID_DI)) : nullptr);
    }

    // The decoded picture of a diffuse bitmap map; null when there is none
    // or its file cannot be decoded.
    const Image* Decoded(BitmapTex* map) {
        if (!map || !lookup) return nullptr;
        std::string path = map->GetMapName();
        auto known = decoded.find(path);
        if (known != decoded.end()) return known->second;
        std::shared_ptr<const Image> image = lookup(path);
        const Image* result = nullptr;
        if (image && image->width > 0 && image->height > 0 &&
            image->rgb.size() == size_t(image->width) * size_t(image->height) * 3) {
            result = image.get();
            out.textures.push_back(std::move(image));
        }
        decoded[path] = result;
        return result;
    }

    SceneDrawing& out;
    const ImageLookup& lookup;
    std::map<std::string, const Image*> decoded;  // null for a file that cannot be
    std::map<Mtl*, uint16_t> looks;               // of the mesh being built
    Mtl* lastMaterial = nullptr;
    uint16_t lastLook = 0;
    bool hasOrigin = false;
    double origin[3] = {0, 0, 0};
    double scale = 1;  // drawing units per world unit
};

}  // namespace

Mesh* NodeMesh(HostNode* node) {
    Object* obj = node ? node->GetObjectRef() : nullptr;
    if (!obj || obj->ClassID() != TRIOBJ_CLASS_ID) return nullptr;
    return &static_cast<TriObject*>(obj)->GetMesh();
}

SceneDrawing BuildSceneDrawing(const HostScene& scene, const ImageLookup& lookup,
                               const std::string& colourBy) {
    SceneDrawing drawing;
    DrawingBuilder builder(drawing, lookup);
    builder.Measure(scene);
    if (!colourBy.empty()) builder.MeasureChannel(scene, colourBy);
    for (int i = 0; i < scene.NodeCount(); ++i) builder.AddNode(scene.GetNode(i), i);
    return drawing;
}

// Blue, cyan, green, yellow, red: the usual ramp of a value over a surface.
Rgb RampColour(float t) {
    static const Rgb stops[5] = {{0, 0, 1}, {0, 1, 1}, {0, 1, 0}, {1, 1, 0}, {1, 0, 0}};
    if (!(t == t)) return {0.5f, 0.5f, 0.5f};
    const float at = std::min(std::max(t, 0.0f), 1.0f) * 4;
    const int k = std::min(int(at), 3);
    const float w = at - float(k);
    const Rgb &a = stops[k], &b = stops[k + 1];
    return {a.r + (b.r - a.r) * w, a.g + (b.g - a.g) * w, a.b + (b.b - a.b) * w};
}

namespace {

// Each line "MapChannel:N = NAME" of the node's user properties, as the
// importer writes them.
template <typename Visit>
void ForEachNamedChannel(INode* node, const Visit& visit) {
    CStr buffer;
    node->GetUserPropBuffer(buffer);
    const std::string text = buffer.data();
    for (size_t at = 0; at < text.size();) {
        size_t end = text.find_first_of("\r\n", at);
        if (end == std::string::npos) end = text.size();
        const std::string line = text.substr(at, end - at);
        int channel = -1, used = 0;
        if (std::sscanf(line.c_str(), "MapChannel:%d = %n", &channel, &used) == 1 && used > 0)
            visit(channel, line.substr(size_t(used)));
        at = end + 1;
    }
}

}  // namespace

int NamedChannel(INode* node, const std::string& name) {
    int found = -1;
    if (node)
        ForEachNamedChannel(node, [&](int channel, const std::string& named) {
            if (found < 0 && named == name) found = channel;
        });
    return found;
}

std::vector<std::string> ChannelNames(const HostScene& scene) {
    std::vector<std::string> names;
    for (int i = 0; i < scene.NodeCount(); ++i)
        ForEachNamedChannel(scene.GetNode(i),
                            [&](int, const std::string& name) { names.push_back(name); });
    std::sort(names.begin(), names.end());
    names.erase(std::unique(names.begin(), names.end()), names.end());
    return names;
}
