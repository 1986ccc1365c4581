// The scene dump: the node blocks, one item per line. Numbers are written
// without the C library's locale, since importers switch it.
#include <charconv>
#include <cstdio>
#include <string>

#include "hostsdk/standin.h"

namespace {

void Add(std::string& out, const char* text) { out += text; }

void AddUnsigned(std::string& out, unsigned long v) {
    char buf[24];
    auto r = std::to_chars(buf, buf + sizeof buf, v);
    out.append(buf, r.ptr);
}

void AddFloats(std::string& out, const float* v, int n) {
    for (int i = 0; i < n; ++i) {
        out += ' ';
        out += DumpFloat(v[i]);
    }
}

void AddPoint(std::string& out, const char* tag, const Point3& p) {
    Add(out, tag);
    AddFloats(out, &p.x, 3);
    out += '\n';
}

void AddColor(std::string& out, const char* tag, const Color& c) {
    out += ' ';
    Add(out, tag);
    const float v[3] = {c.r, c.g, c.b};
    AddFloats(out, v, 3);
}

void AddIndices(std::string& out, const char* tag, const DWORD* idx) {
    Add(out, tag);
    for (int k = 0; k < 3; ++k) {
        out += ' ';
        AddUnsigned(out, idx[k]);
    }
}

void AddFloatField(std::string& out, const char* tag, float f) {
    out += ' ';
    Add(out, tag);
    out += ' ';
    out += DumpFloat(f);
}

void AddTransform(std::string& out, const Matrix3& tm) {
    Add(out, "transform");
    AddFloats(out, &tm.m[0][0], 12);
    out += '\n';
}

void AddMeshCounts(std::string& out, Mesh& mesh) {
    const int counts[7] = {mesh.numVerts,
                           mesh.numFaces,
                           mesh.numTVerts,
                           mesh.numTVFaces,
                           mesh.numCVerts,
                           mesh.numVCFaces,
                           mesh.hasExplicitNormals() ? mesh.numVerts : 0};
    const char* names[7] = {"verts", "faces", "tverts", "tvfaces", "cverts", "cvfaces", "normals"};
    Add(out, "mesh");
    for (int i = 0; i < 7; ++i) {
        out += ' ';
        Add(out, names[i]);
        out += ' ';
        AddUnsigned(out, unsigned(counts[i]));
    }
    out += '\n';
}

void AddFaces(std::string& out, const Mesh& mesh) {
    for (int i = 0; i < mesh.numFaces; ++i) {
        const Face& f = mesh.faces[i];
        AddIndices(out, "f", f.v);
        const unsigned long rest[5] = {f.smGroup, f.getMatID(), unsigned(f.getEdgeVis(0)),
                                       unsigned(f.getEdgeVis(1)), unsigned(f.getEdgeVis(2))};
        for (unsigned long v : rest) {
            out += ' ';
            AddUnsigned(out, v);
        }
        out += '\n';
    }
}

void AddMapFaces(std::string& out, const char* tag, const TVFace* faces, int n) {
    for (int i = 0; i < n; ++i) {
        AddIndices(out, tag, faces[i].t);
        out += '\n';
    }
}

// The counts that end a channel's own line, then its values and faces.
void AddChannelBody(std::string& out, Mesh& mesh, int mp, const char* vertTag,
                    const char* faceTag) {
    Add(out, " verts ");
    AddUnsigned(out, unsigned(mesh.getNumMapVerts(mp)));
    Add(out, " faces ");
    AddUnsigned(out, unsigned(mesh.getNumMapFaces(mp)));
    out += '\n';
    for (int i = 0; i < mesh.getNumMapVerts(mp); ++i) AddPoint(out, vertTag, mesh.mapVerts(mp)[i]);
    AddMapFaces(out, faceTag, mesh.mapFaces(mp), mesh.getNumMapFaces(mp));
}

// Its own count line: the mesh line keeps its fields for meshes without it.
void AddAlphaChannel(std::string& out, Mesh& mesh) {
    Add(out, "alpha");
    AddChannelBody(out, mesh, MAP_ALPHA, "va", "fa");
}

// Channels 2 and up, likewise on lines of their own, only where supported.
void AddFurtherChannels(std::string& out, Mesh& mesh) {
    for (int mp = 2; mp < mesh.getNumMaps(); ++mp) {
        if (!mesh.mapSupport(mp)) continue;
        Add(out, "map ");
        AddUnsigned(out, unsigned(mp));
        AddChannelBody(out, mesh, mp, "mv", "mf");
    }
}

void AddBox(std::string& out, Mesh& mesh) {
    Box3 box = mesh.getBoundingBox();
    Add(out, "bbox");
    if (box.IsEmpty()) {
        Add(out, " 0 0 0 0 0 0\n");
        return;
    }
    AddFloats(out, &box.pmin.x, 3);
    AddFloats(out, &box.pmax.x, 3);
    out += '\n';
}

// Vertices, faces, the texture, colour, alpha and further channels, the set
// normals, the box.
void AddObject(std::string& out, Object* object) {
    TriObject* tri = dynamic_cast<TriObject*>(object);
    if (!tri) {
        Add(out, object ? "mesh other\n" : "mesh none\n");
        Add(out, "bbox 0 0 0 0 0 0\n");
        return;
    }
    Mesh& mesh = tri->GetMesh();
    AddMeshCounts(out, mesh);
    for (int i = 0; i < mesh.numVerts; ++i) AddPoint(out, "v", mesh.verts[i]);
    AddFaces(out, mesh);
    for (int i = 0; i < mesh.numTVerts; ++i) AddPoint(out, "vt", mesh.tVerts[i]);
    AddMapFaces(out, "ft", mesh.tvFace, mesh.numTVFaces);
    for (int i = 0; i < mesh.numCVerts; ++i) AddPoint(out, "vc", mesh.vertCol[i]);
    AddMapFaces(out, "fc", mesh.vcFace, mesh.numVCFaces);
    if (mesh.mapSupport(MAP_ALPHA)) AddAlphaChannel(out, mesh);
    AddFurtherChannels(out, mesh);
    if (mesh.hasExplicitNormals())
        for (int i = 0; i < mesh.numVerts; ++i) AddPoint(out, "vn", mesh.getExplicitNormal(i));
    AddBox(out, mesh);
}

void AddQuoted(std::string& out, const char* text) {
    out += " \"";
    out += DumpText(text);
    out += '"';
}

void AddQuotedName(std::string& out, MtlBase* mtl) { AddQuoted(out, mtl->GetName().data()); }

// The maps the stand-in can make are written by kind, a bitmap map with its
// file; any other map a material might hold is written as "other".
void AddMap(std::string& out, Texmap* map) {
    Add(out, " map ");
    if (!map) {
        Add(out, "none");
    } else if (map->ClassID() == VERTEX_COLOR_CLASS_ID) {
        Add(out, "vertexcolor");
    } else if (BitmapTex* bitmap = dynamic_cast<BitmapTex*>(map)) {
        Add(out, "bitmap");
        AddQuoted(out, bitmap->GetMapName());
    } else {
        Add(out, "other");
    }
}

// One material without its line break. Any material that is not a
// multi-material is written with the standard material's values.
void AddMaterial(std::string& out, Mtl* mtl, const std::string& indent);

void AddMultiMaterial(std::string& out, MultiMtl* multi, const std::string& prefix) {
    Add(out, "material multi");
    AddQuotedName(out, multi);
    out += ' ';
    AddUnsigned(out, unsigned(multi->NumSubMtls()));
    out += '\n';
    for (int i = 0; i < multi->NumSubMtls(); ++i) {
        std::string sub = prefix + "sub " + std::to_string(i) + " ";
        out += sub;
        Mtl* m = multi->GetSubMtl(i);
        if (!m || m == multi)
            Add(out, "none\n");
        else
            AddMaterial(out, m, sub);
    }
}

void AddMaterial(std::string& out, Mtl* mtl, const std::string& prefix) {
    if (!mtl) {
        Add(out, "material none\n");
        return;
    }
    if (MultiMtl* multi = dynamic_cast<MultiMtl*>(mtl)) {
        AddMultiMaterial(out, multi, prefix);
        return;
    }
    StdMat* stdMat = dynamic_cast<StdMat*>(mtl);
    Add(out, "material std");
    AddQuotedName(out, mtl);
    AddColor(out, "ambient", mtl->GetAmbient());
    AddColor(out, "diffuse", mtl->GetDiffuse());
    AddColor(out, "specular", mtl->GetSpecular());
    AddFloatField(out, "opacity", stdMat ? stdMat->GetOpacity() : 1.0f - mtl->GetXParency());
    AddFloatField(out, "shininess", mtl->GetShininess());
    AddFloatField(out, "shinstr", mtl->GetShinStr());
    AddMap(out, mtl->GetSubTexmap(ID_DI));
    out += '\n';
}

void AddNode(std::string& out, HostNode* node) {
    Add(out, "node ");
    out += DumpText(node->GetName());
    out += '\n';
    if (*node->UserPropBuffer()) {
        Add(out, "userprops ");
        out += DumpText(node->UserPropBuffer());
        out += '\n';
    }
    AddTransform(out, node->GetNodeTM(0));
    AddObject(out, node->GetObjectRef());
    AddMaterial(out, node->GetMtl(), std::string());
}

}  // namespace

std::string DumpFloat(float f) {
    char buf[64];
    auto r = std::to_chars(buf, buf + sizeof buf, double(f), std::chars_format::general, 9);
    return std::string(buf, r.ptr);
}

std::string DumpText(const char* text) {
    std::string out;
    for (const char* p = text ? text : ""; *p; ++p) {
        if (*p == '\r' && p[1] == '\n') continue;  // the LF that follows writes the break
        const unsigned char c = static_cast<unsigned char>(*p);
        if (c == '\n' || c == '\r') {
            out += "\\n";
        } else if (c < 0x20 || c == 0x7F) {
            // A control byte from a file must not reach a terminal as one.
            char escaped[5];
            std::snprintf(escaped, sizeof escaped, "\\x%02X", c);
            out += escaped;
        } else {
            out += *p;
        }
    }
    return out;
}

std::string DumpScene(const HostScene& scene) {
    std::string out;
    try {
        for (int i = 0; i < scene.NodeCount(); ++i) AddNode(out, scene.GetNode(i));
        out += "end\n";
    } catch (...) {
        out = "end\n";  // no memory for the text: an empty dump rather than a throw
    }
    return out;
}
