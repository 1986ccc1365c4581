// The material reader: one record of the current element per call.
#include <exception>

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
    if (!IsAscii()) return ReadMaterialBinary(material);
    try {
        return ReadMaterialAscii(material);
    } catch (const std::exception&) {
        // A line of more tokens than the memory holds.
        errorText_ = kMsgMaterialReadError;
        return false;
    }
}

bool PlyReader::ReadMaterialAscii(PlyMaterial* material) {
    const char* begin;
    const char* end;
    if (!ReadAsciiLine(&begin, &end)) {
        errorText_ = kMsgMaterialReadError;
        return false;
    }
    const PlyElement& element = elements_[size_t(currentElement_)];
    Tokenize(std::string_view(begin, size_t(end - begin)), tokens_);
    if (tokens_.size() != element.properties.size()) {
        SetCountMismatch(element.properties.size(), tokens_.size());
        return false;
    }
    bool normalise = false;
    for (size_t i = 0; i < element.properties.size(); ++i) {
        const PlyProperty& property = element.properties[i];
        if (property.kind != kPropertyScalar) {
            errorText_ = kMsgMaterialNotScalar;
            return false;
        }
        StoreMaterialValue(material, property, DecodeText(tokens_[i], property.valueType),
                           &normalise);
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
