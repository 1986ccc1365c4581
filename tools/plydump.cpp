// plydump: opens a PLY file as the importer does and prints its schema, its
// counts and every record the mesh build would read, one item per line.
//
//   plydump FILE            schema, counts, then every vertex, material, face
//                           (or, without faces, every triangle of the strips)
//   plydump --header FILE   schema and counts only
//
// Values a file has only with the less common properties are printed only
// for such files: vertex alpha after the colour ("a"), a face's texcoord
// list ("tc"), texnumber ("tn") and colour ("rgba") after its material, and
// last the values of the extra properties ("e"), whose names the schema
// lists after the element's properties ("extras NAME...", then "+N" for
// those past the most a record hands out).
//
// On a failure it keeps what it printed, prints "error TEXT" and exits with 1.
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "hostsdk/standin.h"
#include "ply/ply_reader.h"
#include "ply/range_grid.h"
#include "ply/tristrips.h"

namespace {

// Text from a file on one line, with no control byte left to drive a
// terminal: the scene dump's escapes.
std::string Printable(const std::string& text) { return DumpText(text.c_str()); }

int Fail(const PlyReader& reader) {
    std::printf("error %s\n", Printable(reader.ErrorText()).c_str());
    return 1;
}

void PrintSchema(const PlyReader& reader) {
    std::printf("format %d version %s\n", int(reader.Format()),
                Printable(reader.Version()).c_str());
    for (int i = 0; i < reader.NumElements(); ++i) {
        const PlyElement& element = *reader.Element(i);
        std::printf("element %s %d %u 0x%x\n", Printable(element.name).c_str(), element.count,
                    element.recordSize, element.flags);
        for (const PlyProperty& property : element.properties) {
            std::printf("property %s %d %d %d %d\n", Printable(property.name).c_str(),
                        int(property.kind), int(property.countType), int(property.valueType),
                        int(property.role));
        }
        const ExtraProperties& extras = element.extras;
        if (extras.scalars.empty()) continue;
        std::printf("extras");
        for (int k : extras.scalars) {
            std::printf(" %s", Printable(element.properties[size_t(k)].name).c_str());
        }
        if (!extras.leftOver.empty()) std::printf(" +%d", int(extras.leftOver.size()));
        std::printf("\n");
    }
    for (const std::string& name : reader.TextureFiles())
        std::printf("texturefile %s\n", Printable(name).c_str());
}

// The extra values of a record, when its element has any.
void PrintExtras(const float* values, size_t count) {
    if (count == 0) return;
    std::printf(" e");
    for (size_t k = 0; k < count; ++k) std::printf(" %.9g", values[k]);
}

size_t ExtraCount(const PlyReader& reader) {
    return reader.Element(reader.CurrentElement())->extras.scalars.size();
}

bool DumpVertices(PlyReader& reader) {
    uint32_t flags = 0;
    const int32_t count = reader.SeekElement(kElementVertex, &flags);
    if (!reader.ErrorText().empty()) return false;
    const bool alpha = (flags & kFlagAlpha) != 0;
    const size_t extraCount = count > 0 ? ExtraCount(reader) : 0;
    float extra[kMaxExtraValues];
    for (int32_t i = 0; i < count; ++i) {
        float position[3] = {0, 0, 0};
        float normal[3] = {0, 0, 0};
        float texCoord[3] = {0, 0, 0};
        float colour[3] = {0, 0, 0};
        float opacity = 1;
        if (!reader.ReadVertex(position, normal, texCoord, colour, &opacity,
                               extraCount ? extra : nullptr)) {
            return false;
        }
        std::printf("v %.9g %.9g %.9g %.9g %.9g %.9g %.9g %.9g %.9g %.9g %.9g %.9g", position[0],
                    position[1], position[2], normal[0], normal[1], normal[2], texCoord[0],
                    texCoord[1], texCoord[2], colour[0], colour[1], colour[2]);
        if (alpha) std::printf(" a %.9g", opacity);
        PrintExtras(extra, extraCount);
        std::printf("\n");
    }
    return true;
}

bool DumpMaterials(PlyReader& reader) {
    const int32_t count = reader.SeekElement(kElementMaterial);
    if (!reader.ErrorText().empty()) return false;
    for (int32_t i = 0; i < count; ++i) {
        PlyMaterial material;
        if (!reader.ReadMaterial(&material)) return false;
        std::printf("m");
        for (int k = 0; k < kPlyMaterialValueCount; ++k) {
            std::printf(" %.9g", *MaterialField(material, kRoleAmbientRed + k));
        }
        std::printf("\n");
    }
    return true;
}

void PrintFaceExtras(const FaceExtras& extras, uint32_t flags) {
    if (flags & kFlagCornerTexCoords) {
        std::printf(" tc %d", extras.texCoordCount);
        for (float value : extras.texCoords) std::printf(" %.9g", value);
    }
    if (flags & kFlagTexNumbers) std::printf(" tn %d", extras.texNumber);
    if (flags & (kFlagColours | kFlagAlpha)) {
        std::printf(" rgba %.9g %.9g %.9g %.9g", extras.colour[0], extras.colour[1],
                    extras.colour[2], extras.colour[3]);
    }
}

bool DumpFaces(PlyReader& reader) {
    uint32_t flags = 0;
    const int32_t count = reader.SeekElement(kElementFace, &flags);
    if (!reader.ErrorText().empty()) return false;
    const uint32_t extraFlags =
        flags & (kFlagCornerTexCoords | kFlagTexNumbers | kFlagColours | kFlagAlpha);
    const size_t extraCount = count > 0 ? ExtraCount(reader) : 0;
    IndexList indices;
    FaceExtras extras;
    for (int32_t i = 0; i < count; ++i) {
        int32_t vertexCount = 0;
        int32_t material = -1;
        FaceExtras* wanted = extraFlags || extraCount ? &extras : nullptr;
        if (!reader.ReadFace(&vertexCount, &indices, &material, wanted)) {
            return false;
        }
        std::printf("f %d", vertexCount);
        for (int32_t index : indices) std::printf(" %d", index);
        std::printf(" %d", material);
        PrintFaceExtras(extras, extraFlags);
        PrintExtras(extras.values, extraCount);
        std::printf("\n");
    }
    return true;
}

// The triangles of the strips, as the mesh build makes them.
bool DumpStripTriangles(PlyReader& reader) {
    const int32_t count = reader.SeekElement(kElementTriStrips);
    if (!reader.ErrorText().empty()) return false;
    IndexList items;
    for (int32_t i = 0; i < count; ++i) {
        int32_t length = 0;
        if (!reader.ReadFace(&length, &items, nullptr)) return false;
        ForEachStripTriangle(items.data(), items.size(), [](int32_t a, int32_t b, int32_t c) {
            std::printf("t %d %d %d\n", a, b, c);
        });
    }
    return true;
}

// The triangles of the range grid, as the mesh build makes them.
bool DumpGridTriangles(PlyReader& reader) {
    RangeGridTriangles grid;
    const int32_t count = reader.SeekElement(kElementRangeGrid);
    if (!reader.ErrorText().empty() || !grid.Start(reader.RangeGridColumns())) return false;
    for (int32_t i = 0; i < count; ++i) {
        int32_t vertex = -1;
        if (!reader.ReadGridCell(&vertex)) return false;
        grid.Add(vertex,
                 [](int32_t a, int32_t b, int32_t c) { std::printf("t %d %d %d\n", a, b, c); });
    }
    return true;
}

bool DumpFaceSource(PlyReader& reader) {
    switch (reader.FaceSourceKind()) {
        case kElementTriStrips:
            return DumpStripTriangles(reader);
        case kElementRangeGrid:
            return DumpGridTriangles(reader);
        default:
            return DumpFaces(reader);
    }
}

}  // namespace

int main(int argc, char** argv) {
    bool headerOnly = false;
    const char* path = nullptr;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--header") == 0) {
            headerOnly = true;
        } else {
            path = argv[i];
        }
    }
    if (!path) {
        std::fprintf(stderr, "usage: plydump [--header] FILE\n");
        return 2;
    }
    static char outputBuffer[1 << 16];
    std::setvbuf(stdout, outputBuffer, _IOFBF, sizeof outputBuffer);

    PlyReader reader;
    if (!reader.Open(path)) return Fail(reader);
    PrintSchema(reader);
    std::printf("materials %d\n", reader.MaterialCount());
    const int32_t triangles = reader.CountTriangles();
    if (!reader.ErrorText().empty()) return Fail(reader);
    std::printf("triangles %d\n", triangles);
    uint32_t flags = 0;
    const int32_t vertices = reader.SeekElement(kElementVertex, &flags);
    if (!reader.ErrorText().empty()) return Fail(reader);
    std::printf("vertices %d 0x%x\n", vertices, flags);
    if (headerOnly) return 0;

    if (!DumpVertices(reader) || !DumpMaterials(reader) || !DumpFaceSource(reader)) {
        return Fail(reader);
    }
    return 0;
}
