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

namespace {

// NAME_ followed by one or more digits, ASCII case ignored.
bool IsNumbered(std::string_view name, std::string_view prefix) {
    if (name.size() <= prefix.size() || !EqualsNoCase(name.substr(0, prefix.size()), prefix)) {
        return false;
    }
    for (char c : name.substr(prefix.size())) {
        if (c < '0' || c > '9') return false;
    }
    return true;
}

bool IsSplatValue(std::string_view name) {
    return IsNumbered(name, "f_dc_") || IsNumbered(name, "f_rest_") || IsNumbered(name, "scale_") ||
           IsNumbered(name, "rot_") || EqualsNoCase(name, "opacity");
}

bool VertexReads(const PlyProperty& property, bool splat) {
    const PropertyRole role = property.role;
    if ((role >= kRoleX && role <= kRoleBlue) || role == kRoleAlpha) return true;
    return splat && IsSplatValue(property.name);
}

bool FaceReads(const PlyProperty& property) {
    const PropertyRole role = property.role;
    return role == kRoleMaterialIndex || (role >= kRoleRed && role <= kRoleBlue) ||
           role == kRoleAlpha || role == kRoleTexNumber;
}

}  // namespace

ExtraProperties ExtraPropertiesOf(const PlyElement& element, ElementKind kind) {
    ExtraProperties extras;
    if (kind != kElementVertex && kind != kElementFace) return extras;
    const bool splat = kind == kElementVertex && HasSplatColours(element);
    bool indexList = false, texCoordList = false;
    for (size_t i = 0; i < element.properties.size(); ++i) {
        const PlyProperty& property = element.properties[i];
        if (property.kind != kPropertyScalar) {
            // The face reader reads its first vertex_indices and texcoord lists.
            const bool list = property.kind == kPropertyList && kind == kElementFace;
            if (list && property.role == kRoleVertexIndices && !indexList) {
                indexList = true;
            } else if (list && property.role == kRoleTexCoordList && !texCoordList) {
                texCoordList = true;
            } else {
                extras.unusedLists.push_back(int(i));
            }
            continue;
        }
        if (property.valueType == kPlyInvalid) continue;
        const bool read =
            kind == kElementVertex ? VertexReads(property, splat) : FaceReads(property);
        if (read) continue;
        if (extras.scalars.size() < size_t(kMaxExtraValues)) {
            extras.scalars.push_back(int(i));
        } else {
            extras.leftOver.push_back(int(i));
        }
    }
    return extras;
}
