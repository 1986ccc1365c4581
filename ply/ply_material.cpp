// The material reader: one record of the current element per call.
#include "ply/ascii_tokens.h"
#include "ply/binary_values.h"
#include "ply/ply_messages.h"
#include "ply/ply_reader.h"

namespace {

// Colours of an integer "ambient_red" are taken as 0..255 for all nine
// colour fields; then ambient and diffuse are weighted by their coefficients.
void FinishMaterial(PlyMaterial* material, bool normalise) {
    float* colours[9] = {
        &material->ambientRed,  &material->ambientGreen,  &material->ambientBlue,
        &material->diffuseRed,  &material->diffuseGreen,  &material->diffuseBlue,
        &material->specularRed, &material->specularGreen, &material->specularBlue,
    };
    if (normalise) {
        for (float* colour : colours) *colour /= 255.0f;
    }
    material->ambientRed *= material->ambientCoeff;
    material->ambientGreen *= material->ambientCoeff;
    material->ambientBlue *= material->ambientCoeff;
    material->diffuseRed *= material->diffuseCoeff;
    material->diffuseGreen *= material->diffuseCoeff;
    material->diffuseBlue *= material->diffuseCoeff;
}

void StoreMaterialValue(PlyMaterial* material, const PlyProperty& property, float value,
                        bool* normalise) {
    if (property.role == kRoleAmbientRed) *normalise = property.valueType < kPlyFirstFloatType;
    float* field = MaterialField(*material, property.role);
    if (field) *field = value;
}

}  // namespace

bool PlyReader::ReadMaterial(PlyMaterial* material) {
    errorText_.clear();
    if (!source_ || currentElement_ < 0 || !material) {
        errorText_ = kMsgMaterialReadError;
        return false;
    }
    return IsAscii() ? ReadMaterialAscii(material) : ReadMaterialBinary(material);
}

bool PlyReader::ReadMaterialAscii(PlyMaterial* material) {
    const char* begin;
    const char* end;
    if (!ReadAsciiLine(&begin, &end)) {
        errorText_ = kMsgMaterialReadError;
        return false;
    }
    // The tokens are walked in place: a line of any length allocates nothing.
    const PlyElement& element = elements_[size_t(currentElement_)];
    size_t tokens = 0;
    for (const char* p = SkipDelimiters(begin, end); p < end;
         p = SkipDelimiters(SkipToken(p, end), end)) {
        ++tokens;
    }
    if (tokens != element.properties.size()) {
        SetCountMismatch(element.properties.size(), tokens);
        return false;
    }
    bool normalise = false;
    const char* p = begin;
    for (const PlyProperty& property : element.properties) {
        if (property.kind != kPropertyScalar) {
            errorText_ = kMsgMaterialNotScalar;
            return false;
        }
        p = SkipDelimiters(p, end);
        const char* tokenEnd = SkipToken(p, end);
        const std::string_view token(p, size_t(tokenEnd - p));
        StoreMaterialValue(material, property, DecodeText(token, property.valueType), &normalise);
        p = tokenEnd;
    }
    FinishMaterial(material, normalise);
    return true;
}

// A list or string in a binary material record fails as it does in ASCII:
// reading it as one value would misread every value after it.
bool PlyReader::ReadMaterialBinary(PlyMaterial* material) {
    const PlyElement& element = elements_[size_t(currentElement_)];
    const bool big = BigEndian();
    bool normalise = false;
    for (const PlyProperty& property : element.properties) {
        if (property.kind != kPropertyScalar) {
            errorText_ = kMsgMaterialNotScalar;
            return false;
        }
        const uint32_t size = TypeSize(property.valueType);
        const unsigned char* p = buffer_.Peek(size);
        if (!p) {
            errorText_ = kMsgMaterialReadError;
            return false;
        }
        StoreMaterialValue(material, property, BinaryToFloat(p, property.valueType, big),
                           &normalise);
        buffer_.Advance(size);
    }
    FinishMaterial(material, normalise);
    return true;
}
