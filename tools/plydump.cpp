// plydump: opens a PLY file as the importer does and prints its schema, its
// counts and every record the mesh build would read, one item per line.
//
//   plydump FILE            schema, counts, then every vertex, material, face
//   plydump --header FILE   schema and counts only
//
// On a failure it keeps what it printed, prints "error TEXT" and exits with 1.
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "ply/ply_reader.h"

namespace {

int Fail(const PlyReader& reader) {
    std::string text;
    for (char c : reader.ErrorText()) {
        if (c == '\n') {
            text += "\\n";
        } else {
            text += c;
        }
    }
    std::printf("error %s\n", text.c_str());
    return 1;
}

void PrintSchema(const PlyReader& reader) {
    std::printf("format %d version %s\n", int(reader.Format()), reader.Version().c_str());
    for (int i = 0; i < reader.NumElements(); ++i) {
        const PlyElement& element = *reader.Element(i);
        std::printf("element %s %d %u 0x%x\n", element.name.c_str(), element.count,
                    element.recordSize, element.flags);
        for (const PlyProperty& property : element.properties) {
            std::printf("property %s %d %d %d %d\n", property.name.c_str(), int(property.kind),
                        int(property.countType), int(property.valueType), int(property.role));
        }
    }
}

bool DumpVertices(PlyReader& reader) {
    const int32_t count = reader.SeekElement(kElementVertex);
    if (!reader.ErrorText().empty()) return false;
    for (int32_t i = 0; i < count; ++i) {
        float position[3] = {0, 0, 0};
        float normal[3] = {0, 0, 0};
        float texCoord[3] = {0, 0, 0};
        float colour[3] = {0, 0, 0};
        if (!reader.ReadVertex(position, normal, texCoord, colour)) return false;
        std::printf("v %.9g %.9g %.9g %.9g %.9g %.9g %.9g %.9g %.9g %.9g %.9g %.9g\n", position[0],
                    position[1], position[2], normal[0], normal[1], normal[2], texCoord[0],
                    texCoord[1], texCoord[2], colour[0], colour[1], colour[2]);
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

bool DumpFaces(PlyReader& reader) {
    const int32_t count = reader.SeekElement(kElementFace);
    if (!reader.ErrorText().empty()) return false;
    IndexList indices;
    for (int32_t i = 0; i < count; ++i) {
        int32_t vertexCount = 0;
        int32_t material = -1;
        if (!reader.ReadFace(&vertexCount, &indices, &material)) return false;
        std::printf("f %d", vertexCount);
        for (int32_t index : indices) std::printf(" %d", index);
        std::printf(" %d\n", material);
    }
    return true;
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

    if (!DumpVertices(reader) || !DumpMaterials(reader) || !DumpFaces(reader)) {
        return Fail(reader);
    }
    return 0;
}
