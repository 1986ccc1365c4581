// One material of a PLY file's "material" element.
#pragma once

// Fields in file-record order; a new record holds the defaults that stay
// wherever the material element lacks a property.
struct PlyMaterial {
    char name[64] = {};
    float ambientRed = 0.55f;
    float ambientGreen = 0.55f;
    float ambientBlue = 0.55f;
    float ambientCoeff = 1.0f;
    float diffuseRed = 0.55f;
    float diffuseGreen = 0.55f;
    float diffuseBlue = 0.55f;
    float diffuseCoeff = 1.0f;
    float specularRed = 0.9f;
    float specularGreen = 0.9f;
    float specularBlue = 0.9f;
    float specularCoeff = 1.0f;
    float specularPower = 0.32f;
    float opacity = 1.0f;
};

const int kPlyMaterialValueCount = 14;

// The field that a material role (21 to 34) fills, counted from ambientRed.
inline float* MaterialField(PlyMaterial& material, int role) {
    float* fields[kPlyMaterialValueCount] = {
        &material.ambientRed,    &material.ambientGreen, &material.ambientBlue,
        &material.ambientCoeff,  &material.diffuseRed,   &material.diffuseGreen,
        &material.diffuseBlue,   &material.diffuseCoeff, &material.specularRed,
        &material.specularGreen, &material.specularBlue, &material.specularCoeff,
        &material.specularPower, &material.opacity,
    };
    const int index = role - 21;
    return (index >= 0 && index < kPlyMaterialValueCount) ? fields[index] : nullptr;
}
