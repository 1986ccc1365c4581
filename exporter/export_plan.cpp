// The plan of one export: which nodes, which properties, which vertices.
#include "exporter/export_plan.h"

#include <cmath>
#include <cstdlib>
#include <cstring>

#include "resources/export_ids.h"

namespace {

const uint32_t kMaxFileVertices = 0x7FFFFFFF;  // indices are written as int

// ---- the nodes

// Nodes whose object is a triangle mesh, the selected ones only when asked;
// counted first, then kept.
class MeshNodes : public ITreeEnumProc {
  public:
    MeshNodes(bool selectedOnly, FixedList<NodePlan>* keep) : selected(selectedOnly), list(keep) {}
    int callback(INode* node) override {
        Object* object = node->GetObjectRef();
        if (!object || object->ClassID() != TRIOBJ_CLASS_ID) return TREE_CONTINUE;
        if (selected && !node->Selected()) return TREE_CONTINUE;
        ++count;
        if (list) {
            NodePlan plan = {};
            plan.node = node;
            plan.mesh = &static_cast<TriObject*>(object)->GetMesh();
            list->Append(plan);
        }
        return TREE_CONTINUE;
    }
    size_t count = 0;

  private:
    bool selected;
    FixedList<NodePlan>* list;
};

PlanResult Fail(int id, const char* subject = nullptr, uint64_t count = 0) {
    return PlanResult{false, id, subject, count};
}

// ---- the transform

// Host (Z up) to file (Y up): the inverse of the import's flip.
void FlipRow(double row[3]) {
    const double y = row[1];
    row[1] = row[2];
    row[2] = -y;
}

bool IsIdentity3(const Matrix3& m) {
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 3; ++c)
            if (m.m[r][c] != (r == c ? 1.0f : 0.0f)) return false;
    return true;
}

// The scale as the user typed it: 0.01 rather than the float nearest it,
// so that the import's 100 and the export's 0.01 cancel as closely as they can.
double DecimalScale(float scale) {
    char text[32];
    std::snprintf(text, sizeof text, "%.7g", double(scale));
    return std::strtod(text, nullptr);
}

void PlanTransform(NodePlan& n, const ExportOptions& o) {
    const Matrix3 tm = n.node->GetNodeTM(0);
    const double scale = DecimalScale(o.scale);
    for (int r = 0; r < 4; ++r) {
        for (int c = 0; c < 3; ++c) n.tm[r][c] = double(tm.m[r][c]) * scale;
        if (o.flipZY) FlipRow(n.tm[r]);
    }
    // Normals turn with the inverse transpose of the matrix's 3x3 part.
    const double(&a)[4][3] = n.tm;
    double inv[3][3];
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 3; ++c) {
            const int r1 = (r + 1) % 3, r2 = (r + 2) % 3, c1 = (c + 1) % 3, c2 = (c + 2) % 3;
            inv[r][c] = a[r1][c1] * a[r2][c2] - a[r1][c2] * a[r2][c1];
        }
    // The cofactors over the determinant: the inverse, transposed.
    const double det = a[0][0] * inv[0][0] + a[0][1] * inv[0][1] + a[0][2] * inv[0][2];
    n.turnsNormals = !IsIdentity3(tm) && det != 0.0;
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 3; ++c)
            n.normalTm[r][c] = n.turnsNormals ? inv[r][c] / det : r == c ? 1.0 : 0.0;
    if (o.flipZY && !n.turnsNormals)
        for (double* row : n.normalTm) FlipRow(row);
}

// Far from the origin against its own size, a mesh would lose its detail in
// float coordinates: the centre the import took out goes back in, and the
// file keeps it in double.
bool NeedsDoubles(const NodePlan& n) {
    const Mesh& m = *n.mesh;
    if (m.numVerts <= 0) return false;
    Point3 low = m.verts[0], high = m.verts[0];
    for (int i = 1; i < m.numVerts; ++i)
        for (int c = 0; c < 3; ++c) {
            const float v = m.verts[i][c];
            if (v < low[c]) low[c] = v;
            if (v > high[c]) high[c] = v;
        }
    // The corners of the mesh's box, moved: no vertex reaches further.
    double lowWorld[3] = {HUGE_VAL, HUGE_VAL, HUGE_VAL};
    double highWorld[3] = {-HUGE_VAL, -HUGE_VAL, -HUGE_VAL};
    for (int corner = 0; corner < 8; ++corner) {
        const Point3 p((corner & 1 ? high : low).x, (corner & 2 ? high : low).y,
                       (corner & 4 ? high : low).z);
        for (int c = 0; c < 3; ++c) {
            const double w = p.x * n.tm[0][c] + p.y * n.tm[1][c] + p.z * n.tm[2][c] + n.tm[3][c];
            lowWorld[c] = std::fmin(lowWorld[c], w);
            highWorld[c] = std::fmax(highWorld[c], w);
        }
    }
    double reach = 0, size = 0;
    for (int c = 0; c < 3; ++c) {
        reach = std::fmax(reach, std::fmax(std::fabs(lowWorld[c]), std::fabs(highWorld[c])));
        size = std::fmax(size, highWorld[c] - lowWorld[c]);
    }
    // Ten bits of the mesh's own detail would go.
    return size > 0 && std::isfinite(reach) && reach > 1024.0 * size;
}

// ---- the channels

bool VisibleEdge(const Face& f, int edge) { return f.getEdgeVis(edge) != 0; }

// The import fans a polygon around its first corner: the first triangle
// hides its closing edge (C), each further one its opening edge (A) and,
// but for the last, its closing edge. A face that continues the fan of
// the one before shares its first corner and its third, and its material.
bool FanJoins(const Face& before, const Face& face) {
    return !VisibleEdge(before, 2) && !VisibleEdge(face, 0) && face.v[0] == before.v[0] &&
           face.v[1] == before.v[2] && face.getMatID() == before.getMatID();
}

// Marks a polygon's start and keeps the longest run of faces in one.
void StartPolygon(NodePlan& n, uint32_t f, uint32_t& run) {
    n.polygonStarts[f / 8] |= uint8_t(1u << (f % 8));
    ++n.polygonCount;
    if (run + 2 > n.maxCorners) n.maxCorners = run + 2;
    run = 1;
}

// Which channels index their values by vertex as the geometry does (no
// vertex splits for them), found in one pass over the faces, which also
// finds whether every face names a vertex the mesh has and where the fans
// start, as geometry alone tells. A mesh of file size is read once, not
// once a channel.
bool CheckFaces(NodePlan& n) {
    const Mesh& m = *n.mesh;
    ChannelArrays* channels[3 + kMaxNamedColumns] = {&n.colour, &n.alpha, &n.texture};
    int count = 3;
    for (int k = 0; n.named && k < kMaxNamedColumns; ++k) channels[count++] = &n.named[k];
    ChannelArrays* candidates[3 + kMaxNamedColumns];
    int open = 0;
    for (int k = 0; k < count; ++k) {
        ChannelArrays& c = *channels[k];
        c.aligned = c.verts && c.numVerts >= uint32_t(m.numVerts) && c.numFaces == uint32_t(m.numFaces);
        if (c.aligned) candidates[open++] = &c;
    }
    const DWORD verts = DWORD(m.numVerts);
    uint32_t run = 0;
    for (int f = 0; f < m.numFaces; ++f) {
        const DWORD* v = m.faces[f].v;
        if (v[0] >= verts || v[1] >= verts || v[2] >= verts) return false;
        if (f > 0 && FanJoins(m.faces[f - 1], m.faces[f]))
            ++run;
        else
            StartPolygon(n, uint32_t(f), run);
        for (int k = 0; k < open; ++k) {
            const DWORD* t = candidates[k]->faces[f].t;
            if (t[0] != v[0] || t[1] != v[1] || t[2] != v[2]) {
                candidates[k]->aligned = false;
                candidates[k--] = candidates[--open];
            }
        }
    }
    if (run + 2 > n.maxCorners) n.maxCorners = run + 2;
    return true;
}

// A channel of one value a face, as the import keeps a face property.
bool IsPerFace(const Mesh& m, const ChannelArrays& c) {
    if (m.numFaces == 0 || c.numFaces != uint32_t(m.numFaces)) return false;
    for (uint32_t f = 0; f < c.numFaces; ++f)
        if (c.faces[f].t[0] != c.faces[f].t[1] || c.faces[f].t[0] != c.faces[f].t[2]) return false;
    return true;
}

// The channel's arrays when the mesh has values in it and the export wants them.
ChannelArrays TakeChannel(bool wanted, Mesh& m, int channel) {
    ChannelArrays c;
    if (!wanted || !m.mapSupport(channel) || m.getNumMapVerts(channel) <= 0 || !m.mapVerts(channel))
        return c;
    c.verts = m.mapVerts(channel);
    c.numVerts = uint32_t(m.getNumMapVerts(channel));
    c.faces = m.mapFaces(channel);
    c.numFaces = c.faces ? uint32_t(m.getNumMapFaces(channel)) : 0;
    return c;
}

// A property name is one token: blanks and controls become '_'.
void CopyName(char* to, const char* from, size_t length) {
    if (length >= size_t(kNameSize)) length = kNameSize - 1;
    for (size_t i = 0; i < length; ++i) to[i] = static_cast<unsigned char>(from[i]) <= ' ' ? '_' : from[i];
    to[length] = '\0';
}

// The standard properties the file may already have.
bool IsStandardName(const char* name) {
    static const char* const kNames[] = {"x", "y", "z", "nx", "ny", "nz", "red", "green", "blue",
                                         "alpha", "s", "t", "vertex_indices", "material_index"};
    for (const char* n : kNames)
        if (std::strcmp(n, name) == 0) return true;
    return false;
}

int FindOrAddColumn(ExportPlan& plan, const char* name, bool perFace) {
    for (int k = 0; k < plan.namedCount; ++k)
        if (std::strcmp(plan.named[k].name, name) == 0) return k;
    if (plan.namedCount == kMaxNamedColumns) {
        ++plan.namedLeftOut;
        return -1;
    }
    NamedColumn& column = plan.named[plan.namedCount];
    std::snprintf(column.name, sizeof column.name, IsStandardName(name) ? "%s_" : "%s", name);
    column.perFace = perFace;
    return plan.namedCount++;
}

// "MapChannel:N = NAME" lines of the node's user properties name its
// channels. False when there is no memory for the node's columns.
bool PlanNamedChannels(ExportPlan& plan, NodePlan& n) {
    CStr props;
    n.node->GetUserPropBuffer(props);
    for (const char* line = props.data(); *line;) {
        const char* end = line + std::strcspn(line, "\r\n");
        int channel = 0, nameAt = 0;
        if (std::sscanf(line, "MapChannel:%d = %n", &channel, &nameAt) == 1 && nameAt > 0 &&
            line + nameAt < end && channel >= 2 && channel < MAX_MESHMAPS) {
            const ChannelArrays values = TakeChannel(true, *n.mesh, channel);
            char name[kNameSize];
            CopyName(name, line + nameAt, size_t(end - (line + nameAt)));
            const int column =
                values.verts ? FindOrAddColumn(plan, name, IsPerFace(*n.mesh, values)) : -1;
            if (column >= 0 && !n.named)
                n.named = static_cast<ChannelArrays*>(std::calloc(kMaxNamedColumns, sizeof(ChannelArrays)));
            if (column >= 0 && !n.named) return false;
            if (column >= 0) n.named[column] = values;
        }
        line = end + std::strspn(end, "\r\n");
    }
    return true;
}

void AddSplitColumn(NodePlan& n, const ChannelArrays& c, CompareAs compare) {
    if (c.verts && !c.aligned) n.splitColumns[n.splitColumnCount++] = SplitColumn{&c, compare};
}

// The columns whose corners can differ at a vertex: channels kept per
// corner, of the vertex element (a face column has one value a face).
// False when there is no memory for their list.
bool PlanSplitColumns(const ExportPlan& plan, NodePlan& n) {
    n.splitColumns = static_cast<SplitColumn*>(std::malloc(sizeof(SplitColumn) * (3 + size_t(plan.namedCount))));
    if (!n.splitColumns) return false;
    n.splitColumnCount = 0;
    AddSplitColumn(n, n.colour, kCompareColour);
    AddSplitColumn(n, n.alpha, kCompareAlpha);
    AddSplitColumn(n, n.texture, kCompareTwoFloats);
    for (int k = 0; n.named && k < plan.namedCount; ++k)
        if (!plan.named[k].perFace) AddSplitColumn(n, n.named[k], kCompareOneFloat);
    return true;
}

// ---- the vertices split where their corners differ

bool SameValues(const UVVert& a, const UVVert& b, CompareAs compare) {
    switch (compare) {
        case kCompareColour:
            return ColourByte(a.x) == ColourByte(b.x) && ColourByte(a.y) == ColourByte(b.y) &&
                   ColourByte(a.z) == ColourByte(b.z);
        case kCompareAlpha:
            return ColourByte(a.x) == ColourByte(b.x);
        case kCompareTwoFloats:
            return std::memcmp(&a, &b, 2 * sizeof(float)) == 0;
        default:
            return std::memcmp(&a, &b, sizeof(float)) == 0;
    }
}

// Two corners of one vertex give it the same values in every column kept
// per corner.
bool SameCorners(const NodePlan& n, uint32_t a, uint32_t b) {
    for (int k = 0; k < n.splitColumnCount; ++k) {
        const SplitColumn& s = n.splitColumns[k];
        const DWORD ia = s.channel->IndexAtCorner(a), ib = s.channel->IndexAtCorner(b);
        if (ia == ib) continue;
        const uint32_t values = s.channel->numVerts;
        if (ia >= values || ib >= values) return false;
        if (!SameValues(s.channel->verts[ia], s.channel->verts[ib], s.compare)) return false;
    }
    return true;
}

void FreeSplit(VertexSplit& s) {
    std::free(s.firstCorner);
    std::free(s.variantCorner);
    std::free(s.nextVariant);
    std::free(s.cornerSteps);
    s = VertexSplit();
}

// Room for more extra vertices, grown by half again each time.
bool GrowVariants(VertexSplit& s, uint32_t vertices) {
    const uint64_t room = uint64_t(s.room) + s.room / 2 + 1024;
    if (vertices + room > kMaxFileVertices) return false;
    void* corners = std::realloc(s.variantCorner, size_t(room) * sizeof(uint32_t));
    if (!corners) return false;
    s.variantCorner = static_cast<uint32_t*>(corners);
    void* next = std::realloc(s.nextVariant, size_t(vertices + room) * sizeof(int32_t));
    if (!next) return false;
    s.nextVariant = static_cast<int32_t*>(next);
    s.room = uint32_t(room);
    return true;
}

// The file vertex of a corner: the vertex itself when the corner agrees
// with the vertex's first corner, else the extra vertex it agrees with.
// Finding none, add adds one (false when there is no room for it).
bool FindVertex(NodePlan& n, uint32_t corner, bool add, uint32_t* found, int* steps = nullptr) {
    VertexSplit& s = n.split;
    const uint32_t v = n.mesh->faces[corner / 3].v[corner % 3];
    if (s.firstCorner[v] == kNoCorner) s.firstCorner[v] = corner;
    if (steps) *steps = 0;
    if (s.firstCorner[v] == corner || SameCorners(n, corner, s.firstCorner[v])) {
        *found = v;
        return true;
    }
    const uint32_t base = uint32_t(n.mesh->numVerts);
    uint32_t last = v;
    for (int32_t o = s.nextVariant[v]; o >= 0; o = s.nextVariant[o]) {
        if (steps) ++*steps;
        if (SameCorners(n, corner, s.variantCorner[uint32_t(o) - base])) {
            *found = uint32_t(o);
            return true;
        }
        last = uint32_t(o);
    }
    if (steps) ++*steps;
    if (!add) return false;
    if (s.variants == s.room && !GrowVariants(s, base)) return false;
    const uint32_t made = base + s.variants++;
    s.variantCorner[made - base] = corner;
    s.nextVariant[made] = -1;
    s.nextVariant[last] = int32_t(made);
    *found = made;
    return true;
}

bool SplitVertices(NodePlan& n) {
    VertexSplit& s = n.split;
    const uint32_t verts = uint32_t(n.mesh->numVerts);
    const uint32_t corners = 3 * uint32_t(n.mesh->numFaces);
    s.firstCorner = static_cast<uint32_t*>(std::malloc(size_t(verts) * sizeof(uint32_t) + 1));
    s.nextVariant = static_cast<int32_t*>(std::malloc(size_t(verts) * sizeof(int32_t) + 1));
    s.cornerSteps = static_cast<uint8_t*>(std::calloc(corners / 4 + 1, 1));
    if (!s.firstCorner || !s.nextVariant || !s.cornerSteps) return false;
    std::memset(s.firstCorner, 0xFF, size_t(verts) * sizeof(uint32_t));
    std::memset(s.nextVariant, 0xFF, size_t(verts) * sizeof(int32_t));
    for (uint32_t c = 0; c < corners; ++c) {
        uint32_t found;
        int steps;
        if (!FindVertex(n, c, true, &found, &steps)) return false;
        s.cornerSteps[c / 4] |= uint8_t((steps < 3 ? steps : 3) << (2 * (c % 4)));
    }
    n.splits = true;
    return true;
}

// ---- the materials

bool IsVertexColourMaterial(Mtl* mtl) {
    Texmap* map = mtl ? mtl->GetSubTexmap(ID_DI) : nullptr;
    return map && map->ClassID() == VERTEX_COLOR_CLASS_ID;
}

// A node's materials in the file's list: a multi-material's slots, else the
// one material. The vertex-colour material the import adds last is left
// out: importing the colours makes it again.
void PlanMaterials(ExportPlan& plan, NodePlan& n, Mtl** list, int* count) {
    Mtl* mtl = n.node->GetMtl();
    int subs = mtl ? mtl->NumSubMtls() : 0;
    if (subs > 0 && IsVertexColourMaterial(mtl->GetSubMtl(subs - 1))) --subs;
    *count = 0;
    if (subs > 0) {
        for (int k = 0; k < subs; ++k) list[(*count)++] = mtl->GetSubMtl(k);
    } else {
        list[(*count)++] = IsVertexColourMaterial(mtl) ? nullptr : mtl;
    }
}

bool CountMaterials(ExportPlan& plan, const ExportOptions& o) {
    size_t total = 0;
    for (NodePlan& n : plan.nodes) {
        Mtl* mtl = n.node->GetMtl();
        const int subs = mtl ? mtl->NumSubMtls() : 0;
        total += size_t(subs > 0 ? subs : 1);
    }
    if (!plan.materials.Allocate(total)) return false;
    bool any = false;
    for (NodePlan& n : plan.nodes) {
        n.materialBase = int(plan.materials.size());
        Mtl* mtl = n.node->GetMtl();
        const int subs = mtl ? mtl->NumSubMtls() : 0;
        Mtl** slots = static_cast<Mtl**>(MAX_malloc(sizeof(Mtl*) * size_t(subs > 0 ? subs : 1)));
        if (!slots) return false;
        PlanMaterials(plan, n, slots, &n.materialCount);
        for (int k = 0; k < n.materialCount; ++k) {
            plan.materials.Append(slots[k]);
            any = any || slots[k];
        }
        zfree(slots);
    }
    if (!o.materials || !any) {
        plan.materials.clear();
        for (NodePlan& n : plan.nodes) {
            n.materialBase = 0;
            n.materialCount = 1;
        }
    }
    plan.materialIndex = plan.materials.size() > 1;
    return true;
}

// ---- the faces

bool SameFloat(float a, float b) { return std::memcmp(&a, &b, sizeof a) == 0; }

// Face f joins the fan of the one before: their geometry says so, and they
// agree on the shared corners' file vertices and on every face value.
bool JoinsPrevious(const ExportPlan& plan, const NodePlan& n, uint32_t f) {
    if (!FanJoins(n.mesh->faces[f - 1], n.mesh->faces[f])) return false;
    if (n.splits && (OutputVertex(n, f, 0) != OutputVertex(n, f - 1, 0) ||
                     OutputVertex(n, f, 1) != OutputVertex(n, f - 1, 2)))
        return false;
    for (int k = 0; k < plan.namedCount; ++k)
        if (plan.named[k].perFace && !SameFloat(NamedFaceValue(n, k, f), NamedFaceValue(n, k, f - 1)))
            return false;
    return true;
}

// The polygons as geometry alone marked them hold unless split vertices or
// face values part a fan: then they are marked again.
void MarkPolygons(ExportPlan& plan, NodePlan& n) {
    bool faceValues = false;
    for (int k = 0; k < plan.namedCount; ++k) faceValues = faceValues || plan.named[k].perFace;
    const uint32_t faces = uint32_t(n.mesh->numFaces);
    if (n.splits || (faceValues && n.named)) {
        std::memset(n.polygonStarts, 0, faces / 8 + 1);
        n.polygonCount = 0;
        uint32_t run = 0;
        for (uint32_t f = 0; f < faces; ++f) {
            if (f > 0 && JoinsPrevious(plan, n, f))
                ++run;
            else
                StartPolygon(n, f, run);
        }
        if (run + 2 > n.maxCorners) n.maxCorners = run + 2;
    }
    if (n.maxCorners > plan.maxCorners) plan.maxCorners = n.maxCorners;
}

}  // namespace

ExportPlan::~ExportPlan() {
    for (NodePlan& n : nodes) {
        FreeSplit(n.split);
        std::free(n.polygonStarts);
        std::free(n.named);
        std::free(n.splitColumns);
    }
}

// Most corners are their vertex or one of its first extra ones: those are
// found from their steps, the rest compared again.
uint32_t SplitVertexOf(const NodePlan& n, uint32_t corner) {
    uint32_t found = n.mesh->faces[corner / 3].v[corner % 3];
    const int steps = (n.split.cornerSteps[corner / 4] >> (2 * (corner % 4))) & 3;
    if (steps == 3) {
        FindVertex(const_cast<NodePlan&>(n), corner, false, &found);
        return found;
    }
    for (int k = 0; k < steps; ++k) found = uint32_t(n.split.nextVariant[found]);
    return found;
}

size_t CountMeshNodes(IScene* scene, bool selectedOnly) {
    MeshNodes counter(selectedOnly, nullptr);
    scene->EnumTree(&counter);
    return counter.count;
}

PlanResult PlanExport(IScene* scene, const ExportOptions& o, ExportPlan& plan) {
    MeshNodes counter(o.selectedOnly != 0, nullptr);
    scene->EnumTree(&counter);
    if (counter.count == 0) return Fail(o.selectedOnly ? IDS_EXPORT_NO_SELECTION : IDS_EXPORT_NO_MESHES);
    if (!plan.nodes.Allocate(counter.count)) return Fail(IDS_EXPORT_NO_MEMORY, nullptr, 0);
    MeshNodes keeper(o.selectedOnly != 0, &plan.nodes);
    scene->EnumTree(&keeper);

    for (NodePlan& n : plan.nodes) {
        Mesh& m = *n.mesh;
        PlanTransform(n, o);
        n.colour = TakeChannel(o.vertexColors, m, 0);
        n.alpha = TakeChannel(o.vertexColors, m, MAP_ALPHA);
        n.texture = TakeChannel(o.textureCoords, m, 1);
        n.normals = o.normals && m.hasExplicitNormals() ? m.explicitNormalArray() : nullptr;
        if (o.mapChannels && !PlanNamedChannels(plan, n)) return Fail(IDS_EXPORT_NO_MEMORY, nullptr, 0);
        if (m.numVerts < 0 || m.numFaces < 0) return Fail(IDS_EXPORT_MESH_FAILED, n.node->GetName());
        n.polygonStarts = static_cast<uint8_t*>(std::calloc(size_t(m.numFaces) / 8 + 1, 1));
        if (!n.polygonStarts) return Fail(IDS_EXPORT_NO_MEMORY, nullptr, uint64_t(m.numVerts));
        // A face naming a vertex the mesh does not have: the mesh cannot be written.
        if (!CheckFaces(n)) return Fail(IDS_EXPORT_MESH_FAILED, n.node->GetName());
        plan.doublePositions = plan.doublePositions || NeedsDoubles(n);
        plan.normals = plan.normals || n.normals;
        plan.colours = plan.colours || n.colour.verts;
        plan.alpha = plan.alpha || n.alpha.verts;
        plan.texCoords = plan.texCoords || n.texture.verts;
    }
    if (!CountMaterials(plan, o)) return Fail(IDS_EXPORT_NO_MEMORY, nullptr, 0);
    for (NodePlan& n : plan.nodes) {
        if (!PlanSplitColumns(plan, n)) return Fail(IDS_EXPORT_NO_MEMORY, nullptr, 0);
        if (n.splitColumnCount > 0 && !SplitVertices(n))
            return Fail(IDS_EXPORT_NO_MEMORY, nullptr, uint64_t(n.mesh->numVerts) + n.split.variants);
        n.firstVertex = uint32_t(plan.vertexTotal);
        n.vertexCount = uint32_t(n.mesh->numVerts) + n.split.variants;
        plan.vertexTotal += n.vertexCount;
        if (plan.vertexTotal > kMaxFileVertices)
            return Fail(IDS_EXPORT_NO_MEMORY, nullptr, plan.vertexTotal);
        MarkPolygons(plan, n);
        plan.polygonTotal += n.polygonCount;
    }
    return PlanResult{true, 0, nullptr, 0};
}
