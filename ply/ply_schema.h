// The element schema a PLY header declares: elements with their properties,
// the meaning (role) of each property name and the flags of each element.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "ply/ply_types.h"

enum PlyFormat : int32_t {
    kPlyAscii = 1,
    kPlyBinaryBigEndian = 2,
    kPlyBinaryLittleEndian = 3,
};

enum PropertyKind : int32_t {
    kPropertyScalar = 0,
    kPropertyList = 1,
    kPropertyString = 2,
};

enum PropertyRole : int32_t {
    kRoleNone = 0,
    kRoleX = 1,
    kRoleY = 2,
    kRoleZ = 3,
    kRoleNormalX = 4,
    kRoleNormalY = 5,
    kRoleNormalZ = 6,
    kRoleU = 7,
    kRoleV = 8,
    kRoleRed = 9,
    kRoleGreen = 10,
    kRoleBlue = 11,
    kRoleVertexIndices = 12,
    kRoleMaterialIndex = 13,
    kRoleAlpha = 14,
    kRoleTexCoordList = 15,  // a list of u, v per face corner
    kRoleTexNumber = 16,
    kRoleDcRed = 17,  // a splat's colour terms f_dc_0, f_dc_1, f_dc_2
    kRoleDcGreen = 18,
    kRoleDcBlue = 19,
    kRoleAmbientRed = 21,
    kRoleAmbientGreen = 22,
    kRoleAmbientBlue = 23,
    kRoleAmbientCoeff = 24,
    kRoleDiffuseRed = 25,
    kRoleDiffuseGreen = 26,
    kRoleDiffuseBlue = 27,
    kRoleDiffuseCoeff = 28,
    kRoleSpecularRed = 29,
    kRoleSpecularGreen = 30,
    kRoleSpecularBlue = 31,
    kRoleSpecularCoeff = 32,
    kRoleSpecularPower = 33,
    kRoleOpacity = 34,
};

// Bits of PlyElement::flags.
enum ElementFlags : uint32_t {
    kFlagPositions = 0x01,
    kFlagNormals = 0x02,
    kFlagTextureCoords = 0x04,
    kFlagColours = 0x08,
    kFlagMaterialNumbers = 0x10,
    kFlagAlpha = 0x20,            // "alpha", or a splat's "opacity"
    kFlagCornerTexCoords = 0x40,  // a "texcoord" list
    kFlagTexNumbers = 0x80,
    kFlagDoublePositions = 0x100,  // x, y or z is a float64
};

enum ElementKind : int32_t {
    kElementVertex = 0,
    kElementFace = 1,
    kElementEdge = 2,
    kElementMaterial = 3,
    kElementTriStrips = 4,
    kElementRangeGrid = 5,  // a range scan's grid of cells, 0 or 1 vertex each
};

const int kElementKindCount = 6;

// Element names the readers look for, indexed by ElementKind.
extern const char* const kElementKindNames[kElementKindCount];

struct PlyProperty {
    std::string name;
    PlyType countType = kPlyInvalid;  // a list's length; int8 for a string
    PropertyKind kind = kPropertyScalar;
    PlyType valueType = kPlyInvalid;  // the scalar, or each list item; int8 for a string
    PropertyRole role = kRoleNone;
};

// The most extra values one record hands out (ReadVertex, FaceExtras).
const int kMaxExtraValues = 97;

// The properties of an element the import reads for no other purpose, by
// index into its properties, in file order: scalars whose values the
// readers hand out as extras (the first kMaxExtraValues), those past them,
// and the lists and strings nobody reads.
struct ExtraProperties {
    std::vector<int> scalars;
    std::vector<int> leftOver;  // the scalars past the first kMaxExtraValues
    std::vector<int> unusedLists;
};

struct PlyElement {
    std::string name;
    int32_t count = 0;
    uint32_t recordSize = 0;  // one item per list, one length and one byte per string
    uint32_t flags = 0;       // ElementFlags
    std::vector<PlyProperty> properties;
    ExtraProperties extras;  // of a vertex or face element, worked out with the flags
};

// The role of a property name, ASCII case ignored; kRoleNone when unknown.
PropertyRole RoleOfName(std::string_view name);

// The element flag a scalar property of this role sets (0 for none).
uint32_t FlagOfRole(PropertyRole role);

// True when the element carries a splat's colour terms (f_dc_*) and no
// red, green or blue: its colour then comes from them, and its "opacity" is
// the splat's alpha.
bool HasSplatColours(const PlyElement& element);

// Some exporters write a vertex's colour as diffuse_red, diffuse_green and
// diffuse_blue (and diffuse_alpha): on an element without red, green and
// blue (or alpha) they take those roles.
void TakeDiffuseAsVertexColours(PlyElement& element);

// The ElementFlags of the element's properties.
uint32_t FlagsOfElement(const PlyElement& element);

// The extra properties of an element read as this kind (none for kinds
// other than vertex and face). On a vertex element every scalar is extra
// but x, y, z, the normal, the colour, alpha, u and v (by any of their
// names, diffuse_* once they took the colour), and, where HasSplatColours,
// f_dc_N, f_rest_N, scale_N, rot_N and opacity; every list is unused. On a
// face element every scalar is extra but material_index, red, green, blue,
// alpha and texnumber; every list but the vertex_indices one and the first
// texcoord one is unused. A scalar of an unknown type has no value and is
// never extra.
ExtraProperties ExtraPropertiesOf(const PlyElement& element, ElementKind kind);
