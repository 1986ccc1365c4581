#include "ply/ply_schema.h"

const char* const kElementKindNames[kElementKindCount] = {"vertex",   "face",      "edge",
                                                          "material", "tristrips", "range_grid"};

namespace {

struct RoleName {
    const char* name;
    PropertyRole role;
};

// "vertex_index" and "texture_u"/"texture_v" are what several real exporters
// write for "vertex_indices" and "u"/"v"; they mean the same.
const RoleName kRoleNames[] = {
    {"x", kRoleX},
    {"y", kRoleY},
    {"z", kRoleZ},
    {"nx", kRoleNormalX},
    {"ny", kRoleNormalY},
    {"nz", kRoleNormalZ},
    {"u", kRoleU},
    {"s", kRoleU},
    {"texture_u", kRoleU},
    {"v", kRoleV},
    {"t", kRoleV},
    {"texture_v", kRoleV},
    {"red", kRoleRed},
    {"green", kRoleGreen},
    {"blue", kRoleBlue},
    {"vertex_indices", kRoleVertexIndices},
    {"vertex_index", kRoleVertexIndices},
    {"material_index", kRoleMaterialIndex},
    {"ambient_red", kRoleAmbientRed},
    {"ambient_green", kRoleAmbientGreen},
    {"ambient_blue", kRoleAmbientBlue},
    {"ambient_coeff", kRoleAmbientCoeff},
    {"diffuse_red", kRoleDiffuseRed},
    {"diffuse_green", kRoleDiffuseGreen},
    {"diffuse_blue", kRoleDiffuseBlue},
    {"diffuse_coeff", kRoleDiffuseCoeff},
    {"specular_red", kRoleSpecularRed},
    {"specular_green", kRoleSpecularGreen},
    {"specular_blue", kRoleSpecularBlue},
    {"specular_coeff", kRoleSpecularCoeff},
    {"specular_power", kRoleSpecularPower},
    {"opacity", kRoleOpacity},
    {"alpha", kRoleAlpha},
    {"texcoord", kRoleTexCoordList},
    {"texnumber", kRoleTexNumber},
    {"f_dc_0", kRoleDcRed},
    {"f_dc_1", kRoleDcGreen},
    {"f_dc_2", kRoleDcBlue},
};

}  // namespace

PropertyRole RoleOfName(std::string_view name) {
    for (const RoleName& entry : kRoleNames) {
        if (EqualsNoCase(name, entry.name)) return entry.role;
    }
    return kRoleNone;
}

uint32_t FlagOfRole(PropertyRole role) {
    switch (role) {
        case kRoleX:
        case kRoleY:
        case kRoleZ:
            return kFlagPositions;
        case kRoleNormalX:
        case kRoleNormalY:
        case kRoleNormalZ:
            return kFlagNormals;
        case kRoleU:
        case kRoleV:
            return kFlagTextureCoords;
        case kRoleRed:
        case kRoleGreen:
        case kRoleBlue:
        case kRoleDcRed:
        case kRoleDcGreen:
        case kRoleDcBlue:
            return kFlagColours;
        case kRoleMaterialIndex:
            return kFlagMaterialNumbers;
        case kRoleAlpha:
            return kFlagAlpha;
        case kRoleTexNumber:
            return kFlagTexNumbers;
        default:
            return 0;
    }
}

bool HasSplatColours(const PlyElement& element) {
    bool dc = false;
    for (const PlyProperty& property : element.properties) {
        if (property.kind != kPropertyScalar) continue;
        if (property.role >= kRoleRed && property.role <= kRoleBlue) return false;
        dc |= property.role >= kRoleDcRed && property.role <= kRoleDcBlue;
    }
    return dc;
}

void TakeDiffuseAsVertexColours(PlyElement& element) {
    bool rgb = false, alpha = false;
    for (const PlyProperty& property : element.properties) {
        if (property.kind != kPropertyScalar) continue;
        rgb |= property.role >= kRoleRed && property.role <= kRoleBlue;
        alpha |= property.role == kRoleAlpha;
    }
    if (rgb) return;
    for (PlyProperty& property : element.properties) {
        if (property.kind != kPropertyScalar) continue;
        if (property.role >= kRoleDiffuseRed && property.role <= kRoleDiffuseBlue) {
            property.role = PropertyRole(kRoleRed + (property.role - kRoleDiffuseRed));
        } else if (!alpha && EqualsNoCase(property.name, "diffuse_alpha")) {
            property.role = kRoleAlpha;
        }
    }
}

uint32_t FlagsOfElement(const PlyElement& element) {
    const bool splat = HasSplatColours(element);
    uint32_t flags = 0;
    for (const PlyProperty& property : element.properties) {
        if (property.kind == kPropertyList) {
            if (property.role == kRoleTexCoordList) flags |= kFlagCornerTexCoords;
            continue;
        }
        if (property.kind != kPropertyScalar) continue;
        flags |= FlagOfRole(property.role);
        if (property.role >= kRoleX && property.role <= kRoleZ &&
            property.valueType == kPlyFloat64) {
            flags |= kFlagDoublePositions;
        }
        if (property.role == kRoleOpacity && splat) flags |= kFlagAlpha;
    }
    return flags;
}
