#include "exporter/export_write.h"

#include <cmath>
#include <cstdio>
#include <cstring>

#include "ply/ply_material.h"

namespace {

const uint32_t kTickEvery = 1u << 16;
// A polygon's indices are made room for this many at a time.
const uint32_t kIndicesAtOnce = 1024;

const char* FormatName(ExportFormat format) {
    switch (format) {
        case kExportAscii:
            return "ascii";
        case kExportBinaryBigEndian:
            return "binary_big_endian";
        default:
            return "binary_little_endian";
    }
}

void Line(PlyOut& out, const char* format, const char* a = "", const char* b = "") {
    char text[kNameSize * 2 + 64];
    std::snprintf(text, sizeof text, format, a, b);
    out.Text(text);
}

void ElementLine(PlyOut& out, const char* name, uint64_t count) {
    char text[96];
    std::snprintf(text, sizeof text, "element %s %llu\n", name, static_cast<unsigned long long>(count));
    out.Text(text);
}

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

// A name the header can hold on its line.
bool IsOneLine(const char* name) {
    for (; *name; ++name)
        if (static_cast<unsigned char>(*name) < ' ') return false;
    return true;
}

void TextureComments(const ExportPlan& plan, const char* target, PlyOut& out) {
    for (Mtl* mtl : plan.materials) {
        Texmap* map = mtl ? mtl->GetSubTexmap(ID_DI) : nullptr;
        if (!map || map->ClassID() != BMTEX_CLASS_ID) continue;
        const char* name = static_cast<BitmapTex*>(map)->GetMapName();
        if (name && *name && IsOneLine(name)) {
            out.Text("comment TextureFile ");
            out.Text(TextureFileName(name, target));
            out.Text("\n");
        }
    }
}

void VertexProperties(const ExportPlan& plan, PlyOut& out) {
    const char* type = plan.doublePositions ? "double" : "float";
    for (const char* axis : {"x", "y", "z"}) Line(out, "property %s %s\n", type, axis);
    if (plan.normals)
        for (const char* axis : {"nx", "ny", "nz"}) Line(out, "property float %s\n", axis);
    if (plan.colours)
        for (const char* c : {"red", "green", "blue"}) Line(out, "property uchar %s\n", c);
    if (plan.alpha) out.Text("property uchar alpha\n");
    if (plan.texCoords) out.Text("property float s\nproperty float t\n");
    for (int k = 0; k < plan.namedCount; ++k)
        if (!plan.named[k].perFace) Line(out, "property float %s\n", plan.named[k].name);
}

void FaceProperties(const ExportPlan& plan, PlyOut& out) {
    Line(out, "property list %s int vertex_indices\n", plan.maxCorners <= 255 ? "uchar" : "uint");
    if (plan.materialIndex) out.Text("property int material_index\n");
    for (int k = 0; k < plan.namedCount; ++k)
        if (plan.named[k].perFace) Line(out, "property float %s\n", plan.named[k].name);
}

const char* const kMaterialProperties[] = {
    "ambient_red",    "ambient_green",  "ambient_blue",  "diffuse_red",    "diffuse_green",
    "diffuse_blue",   "specular_red",   "specular_green", "specular_blue", "specular_coeff",
    "specular_power", "opacity",
};
const int kMaterialValues = sizeof kMaterialProperties / sizeof kMaterialProperties[0];

// ---- records

// Counts the records written and asks the progress every kTickEvery.
class Ticker {
  public:
    explicit Ticker(WriteProgress& p) : progress(p) {}
    void FacesBegin() { progress.FacesBegin(); }
    // False when the export is to stop.
    bool Next() {
        ++done;
        return (done % kTickEvery) != 0 || progress.Tick(done);
    }

  private:
    WriteProgress& progress;
    uint64_t done = 0;
};

// The records in one encoding, each put straight into the block.
template <class Values>
class Records {
  public:
    Records(const ExportPlan& p, PlyOut& o, WriteProgress& progress)
        : plan(p), out(o), ticker(progress) {}

    bool Write() {
        for (const NodePlan& n : plan.nodes)
            if (!Vertices(n)) return false;
        ticker.FacesBegin();
        for (const NodePlan& n : plan.nodes)
            if (!Polygons(n)) return false;
        for (Mtl* mtl : plan.materials) {
            out.Commit(Material(out.Room(kMaterialValues * kMaxValueBytes), mtl));
            if (!ticker.Next() || out.Failed()) return false;
        }
        return out.Flush();
    }

  private:
    char* Position(char* p, const NodePlan& n, const Point3& q) {
        for (int c = 0; c < 3; ++c) {
            const double v = q.x * n.tm[0][c] + q.y * n.tm[1][c] + q.z * n.tm[2][c] + n.tm[3][c];
            p = plan.doublePositions ? Values::Double(p, v) : Values::Float(p, float(v));
        }
        return p;
    }

    char* Normal(char* p, const NodePlan& n, uint32_t g) {
        const Point3 nrm = n.normals ? n.normals[g] : Point3();
        double t[3];
        for (int c = 0; c < 3; ++c)
            t[c] = nrm.x * n.normalTm[0][c] + nrm.y * n.normalTm[1][c] + nrm.z * n.normalTm[2][c];
        if (n.turnsNormals) {
            // Turned, it keeps the length it had.
            const double from = std::sqrt(double(nrm.x) * nrm.x + double(nrm.y) * nrm.y +
                                          double(nrm.z) * nrm.z);
            const double to = std::sqrt(t[0] * t[0] + t[1] * t[1] + t[2] * t[2]);
            if (to > 0)
                for (double& v : t) v *= from / to;
        }
        for (double v : t) p = Values::Float(p, float(v));
        return p;
    }

    char* Vertex(char* p, const NodePlan& n, uint32_t vertex) {
        const uint32_t g = GeometryVertex(n, vertex), corner = CornerOfVertex(n, vertex);
        p = Position(p, n, n.mesh->verts[g]);
        if (plan.normals) p = Normal(p, n, g);
        if (plan.colours) {
            const UVVert c = VertexValue(n, n.colour, vertex, corner, UVVert(1, 1, 1));
            p = Values::Uchar(p, ColourByte(c.x));
            p = Values::Uchar(p, ColourByte(c.y));
            p = Values::Uchar(p, ColourByte(c.z));
        }
        if (plan.alpha)
            p = Values::Uchar(p, ColourByte(VertexValue(n, n.alpha, vertex, corner, UVVert(1, 1, 1)).x));
        if (plan.texCoords) {
            const UVVert t = VertexValue(n, n.texture, vertex, corner, UVVert());
            p = Values::Float(p, t.x);
            p = Values::Float(p, t.y);
        }
        for (int k = 0; k < plan.namedCount; ++k)
            if (!plan.named[k].perFace)
                p = Values::Float(p, VertexValue(n, NamedChannel(n, k), vertex, corner, UVVert()).x);
        return Values::EndRecord(p);
    }

    bool Vertices(const NodePlan& n) {
        const size_t room = (12 + size_t(plan.namedCount)) * kMaxValueBytes;
        for (uint32_t v = 0; v < n.vertexCount; ++v) {
            out.Commit(Vertex(out.Room(room), n, v));
            if (!ticker.Next() || out.Failed()) return false;
        }
        return true;
    }

    char* Index(char* p, const NodePlan& n, uint32_t f, int k) {
        return Values::Int(p, int32_t(n.firstVertex + OutputVertex(n, f, k)));
    }

    // A polygon's corners: the first triangle's three, then the last
    // corner of each further one. Room is made for a few thousand at a time.
    void Polygon(const NodePlan& n, uint32_t f, uint32_t run) {
        const size_t room = (kIndicesAtOnce + 4 + size_t(plan.namedCount)) * kMaxValueBytes;
        char* p = out.Room(room);
        p = plan.maxCorners <= 255 ? Values::Uchar(p, uint8_t(run + 2)) : Values::Uint(p, run + 2);
        p = Index(p, n, f, 0);
        p = Index(p, n, f, 1);
        for (uint32_t t = f; t < f + run; ++t) {
            if ((t - f) % kIndicesAtOnce == kIndicesAtOnce - 1) {
                out.Commit(p);
                p = out.Room(room);
            }
            p = Index(p, n, t, 2);
        }
        if (plan.materialIndex)
            p = Values::Int(p, n.materialBase + int(n.mesh->faces[f].getMatID()) % n.materialCount);
        for (int k = 0; k < plan.namedCount; ++k)
            if (plan.named[k].perFace) p = Values::Float(p, NamedFaceValue(n, k, f));
        out.Commit(Values::EndRecord(p));
    }

    bool Polygons(const NodePlan& n) {
        const uint32_t faces = uint32_t(n.mesh->numFaces);
        for (uint32_t f = 0; f < faces;) {
            uint32_t run = 1;
            while (f + run < faces && !StartsPolygon(n, f + run)) ++run;
            Polygon(n, f, run);
            f += run;
            if (!ticker.Next() || out.Failed()) return false;
        }
        return true;
    }

    // The values the import reads back; a missing material has the
    // defaults a file's record has.
    char* Material(char* p, Mtl* mtl) {
        const PlyMaterial d;
        const Color a = mtl ? mtl->GetAmbient() : Color(d.ambientRed, d.ambientGreen, d.ambientBlue);
        const Color df = mtl ? mtl->GetDiffuse() : Color(d.diffuseRed, d.diffuseGreen, d.diffuseBlue);
        const Color s = mtl ? mtl->GetSpecular() : Color(d.specularRed, d.specularGreen, d.specularBlue);
        const float values[kMaterialValues] = {
            a.r, a.g, a.b, df.r, df.g, df.b, s.r, s.g, s.b,
            mtl ? mtl->GetShinStr() : d.specularCoeff,
            mtl ? mtl->GetShininess() : d.specularPower,
            mtl ? 1.0f - mtl->GetXParency() : d.opacity,
        };
        for (float v : values) p = Values::Float(p, v);
        return Values::EndRecord(p);
    }

    const ExportPlan& plan;
    PlyOut& out;
    Ticker ticker;
};

char FoldCase(char c) { return c >= 'A' && c <= 'Z' ? char(c + 32) : c; }

}  // namespace

const char* TextureFileName(const char* map, const char* target) {
    size_t folder = 0;
    for (size_t i = 0; target[i]; ++i)
        if (IsSeparator(target[i])) folder = i + 1;
    if (folder == 0) return map;
    for (size_t i = 0; i < folder; ++i) {
        const char a = map[i], b = target[i];
        if (!a) return map;
        if (FoldCase(a) != FoldCase(b) && !(IsSeparator(a) && IsSeparator(b))) return map;
    }
    return map + folder;
}

void WriteHeader(const ExportPlan& plan, ExportFormat format, const char* target, PlyOut& out) {
    out.Text("ply\n");
    Line(out, "format %s 1.0\n", FormatName(format));
    out.Text("comment written by ks_dazazu\n");
    TextureComments(plan, target, out);
    ElementLine(out, "vertex", plan.vertexTotal);
    VertexProperties(plan, out);
    ElementLine(out, "face", plan.polygonTotal);
    FaceProperties(plan, out);
    if (!plan.materials.empty()) {
        ElementLine(out, "material", plan.materials.size());
        for (const char* name : kMaterialProperties) Line(out, "property float %s\n", name);
    }
    out.Text("end_header\n");
}

uint64_t RecordCount(const ExportPlan& plan) {
    return plan.vertexTotal + plan.polygonTotal + plan.materials.size();
}

bool WriteRecords(const ExportPlan& plan, ExportFormat format, PlyOut& out,
                  WriteProgress& progress) {
    switch (format) {
        case kExportAscii:
            return Records<AsciiValues>(plan, out, progress).Write();
        case kExportBinaryBigEndian:
            return Records<BigEndianValues>(plan, out, progress).Write();
        default:
            return Records<LittleEndianValues>(plan, out, progress).Write();
    }
}
