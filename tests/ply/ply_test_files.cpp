#include "tests/ply/ply_test_files.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <stdexcept>

#include "ply/ply_types.h"

const PlyFormat kAllFormats[3] = {kPlyAscii, kPlyBinaryBigEndian, kPlyBinaryLittleEndian};

const char* FormatName(PlyFormat format) {
    switch (format) {
        case kPlyAscii:
            return "ascii";
        case kPlyBinaryBigEndian:
            return "binary_big_endian";
        default:
            return "binary_little_endian";
    }
}

namespace {

struct PropertyShape {
    PropertyKind kind = kPropertyScalar;
    PlyType countType = kPlyInvalid;
    PlyType valueType = kPlyInvalid;
};

PropertyShape ShapeOf(const std::string& declaration) {
    std::vector<std::string_view> tokens;
    Tokenize(declaration, tokens);
    PropertyShape shape;
    if (tokens.empty()) return shape;
    if (tokens[0] == "list" && tokens.size() >= 3) {
        shape.kind = kPropertyList;
        shape.countType = LookupType(tokens[1]);
        shape.valueType = LookupType(tokens[2]);
    } else if (tokens[0] == "string") {
        shape.kind = kPropertyString;
        shape.countType = kPlyInt8;
        shape.valueType = kPlyInt8;
    } else {
        shape.valueType = LookupType(tokens[0]);
    }
    return shape;
}

void AppendBinary(std::string& out, PlyType type, double value, bool bigEndian) {
    unsigned char bytes[8];
    size_t size = TypeSize(type);
    switch (type) {
        case kPlyInt8:
            bytes[0] = static_cast<unsigned char>(static_cast<int8_t>(value));
            break;
        case kPlyUint8:
            bytes[0] = static_cast<unsigned char>(static_cast<uint8_t>(value));
            break;
        case kPlyInt16: {
            const uint16_t v = static_cast<uint16_t>(static_cast<int16_t>(value));
            std::memcpy(bytes, &v, 2);
            break;
        }
        case kPlyUint16: {
            const uint16_t v = static_cast<uint16_t>(value);
            std::memcpy(bytes, &v, 2);
            break;
        }
        case kPlyInt32: {
            const uint32_t v = static_cast<uint32_t>(static_cast<int32_t>(value));
            std::memcpy(bytes, &v, 4);
            break;
        }
        case kPlyUint32: {
            const uint32_t v = static_cast<uint32_t>(static_cast<int64_t>(value));
            std::memcpy(bytes, &v, 4);
            break;
        }
        case kPlyFloat32: {
            const float v = static_cast<float>(value);
            std::memcpy(bytes, &v, 4);
            break;
        }
        case kPlyFloat64:
            std::memcpy(bytes, &value, 8);
            break;
        default:
            return;
    }
    // The test machines are little-endian; turn the bytes for big-endian files.
    uint32_t probe = 1;
    const bool hostLittle = *reinterpret_cast<unsigned char*>(&probe) == 1;
    if (bigEndian == hostLittle) {
        for (size_t i = 0; i < size / 2; ++i) std::swap(bytes[i], bytes[size - 1 - i]);
    }
    out.append(reinterpret_cast<const char*>(bytes), size);
}

void AppendText(std::string& out, PlyType type, double value) {
    char text[64];
    if (std::isinf(value)) {
        // Text has no word for infinity: a number too large for a double.
        std::snprintf(text, sizeof text, "%s1e999", value < 0 ? "-" : "");
    } else if (type == kPlyFloat32) {
        std::snprintf(text, sizeof text, "%.9g", value);
    } else if (type == kPlyFloat64) {
        std::snprintf(text, sizeof text, "%.17g", value);
    } else {
        std::snprintf(text, sizeof text, "%lld", static_cast<long long>(value));
    }
    out += text;
}

size_t NextCount(const std::vector<double>& record, size_t at) {
    if (at >= record.size()) throw std::runtime_error("test record too short");
    return record[at] > 0 ? size_t(record[at]) : 0;
}

}  // namespace

std::string MakeHeader(PlyFormat format, const std::vector<TestElement>& elements,
                       const std::string& lineBreak) {
    std::string text = "ply" + lineBreak;
    text += std::string("format ") + FormatName(format) + " 1.0" + lineBreak;
    for (const TestElement& element : elements) {
        text +=
            "element " + element.name + " " + std::to_string(element.records.size()) + lineBreak;
        for (const std::string& property : element.properties) {
            text += "property " + property + lineBreak;
        }
    }
    text += "end_header" + lineBreak;
    return text;
}

std::string MakeData(PlyFormat format, const std::vector<TestElement>& elements,
                     const std::string& lineBreak) {
    std::string out;
    const bool big = format == kPlyBinaryBigEndian;
    for (const TestElement& element : elements) {
        std::vector<PropertyShape> shapes;
        for (const std::string& property : element.properties) shapes.push_back(ShapeOf(property));
        for (const std::vector<double>& record : element.records) {
            size_t at = 0;
            bool first = true;
            auto separate = [&] {
                if (!first) out += ' ';
                first = false;
            };
            for (const PropertyShape& shape : shapes) {
                if (shape.kind == kPropertyScalar) {
                    if (at >= record.size()) throw std::runtime_error("test record too short");
                    if (format == kPlyAscii) {
                        separate();
                        AppendText(out, shape.valueType, record[at]);
                    } else {
                        AppendBinary(out, shape.valueType, record[at], big);
                    }
                    ++at;
                } else if (shape.kind == kPropertyList) {
                    const size_t count = NextCount(record, at);
                    if (format == kPlyAscii) {
                        separate();
                        AppendText(out, shape.countType, record[at]);
                    } else {
                        AppendBinary(out, shape.countType, record[at], big);
                    }
                    ++at;
                    for (size_t i = 0; i < count; ++i, ++at) {
                        if (at >= record.size()) throw std::runtime_error("test list too short");
                        if (format == kPlyAscii) {
                            separate();
                            AppendText(out, shape.valueType, record[at]);
                        } else {
                            AppendBinary(out, shape.valueType, record[at], big);
                        }
                    }
                } else {
                    const size_t count = NextCount(record, at);
                    if (format == kPlyAscii) {
                        separate();
                    } else {
                        AppendBinary(out, kPlyInt8, record[at], big);
                    }
                    ++at;
                    for (size_t i = 0; i < count; ++i, ++at) {
                        out += static_cast<char>(record.at(at));
                    }
                }
            }
            if (format == kPlyAscii) out += lineBreak;
        }
    }
    return out;
}

std::string MakePly(PlyFormat format, const std::vector<TestElement>& elements,
                    const std::string& lineBreak) {
    return MakeHeader(format, elements, lineBreak) + MakeData(format, elements, lineBreak);
}

std::vector<std::string> ReadEverything(PlyReader& reader) {
    std::vector<std::string> lines;
    char text[512];
    auto fail = [&] {
        lines.push_back("error " + reader.ErrorText());
        return lines;
    };
    lines.push_back("materials " + std::to_string(reader.MaterialCount()));
    const int32_t triangles = reader.CountTriangles();
    if (!reader.ErrorText().empty()) return fail();
    lines.push_back("triangles " + std::to_string(triangles));
    uint32_t flags = 0;
    const int32_t vertices = reader.SeekElement(kElementVertex, &flags);
    if (!reader.ErrorText().empty()) return fail();
    lines.push_back("vertices " + std::to_string(vertices) + " " + std::to_string(flags));
    for (int32_t i = 0; i < vertices; ++i) {
        VertexRecord v;
        if (!reader.ReadVertex(v.position, v.normal, v.texCoord, v.colour)) return fail();
        std::snprintf(
            text, sizeof text, "v %.9g %.9g %.9g %.9g %.9g %.9g %.9g %.9g %.9g %.9g %.9g %.9g",
            v.position[0], v.position[1], v.position[2], v.normal[0], v.normal[1], v.normal[2],
            v.texCoord[0], v.texCoord[1], v.texCoord[2], v.colour[0], v.colour[1], v.colour[2]);
        lines.push_back(text);
    }
    const int32_t materials = reader.SeekElement(kElementMaterial);
    if (!reader.ErrorText().empty()) return fail();
    for (int32_t i = 0; i < materials; ++i) {
        PlyMaterial m;
        if (!reader.ReadMaterial(&m)) return fail();
        std::string line = "m";
        for (int k = 0; k < kPlyMaterialValueCount; ++k) {
            std::snprintf(text, sizeof text, " %.9g", *MaterialField(m, kRoleAmbientRed + k));
            line += text;
        }
        lines.push_back(line);
    }
    const int32_t faces = reader.SeekElement(kElementFace);
    if (!reader.ErrorText().empty()) return fail();
    for (int32_t i = 0; i < faces; ++i) {
        FaceRecord f;
        if (!reader.ReadFace(&f.vertexCount, &f.indices, &f.material)) return fail();
        std::string line = "f " + std::to_string(f.vertexCount);
        for (int32_t index : f.indices) line += " " + std::to_string(index);
        lines.push_back(line + " " + std::to_string(f.material));
    }
    return lines;
}
