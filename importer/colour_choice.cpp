// Where the mesh's colours and alpha come from when both the vertices and
// the faces of a file have them.
#include <algorithm>
#include <cmath>
#include <cstring>

#include "importer/build_state.h"

namespace {

// Whether every record of an element gave one colour, and one alpha.
struct Uniformity {
    bool colours = true;
    bool alpha = true;
    bool seen = false;
    float first[4] = {0, 0, 0, 0};

    // rgba: red, green, blue, alpha.
    void Add(const float rgba[4]) {
        if (!seen) std::memcpy(first, rgba, sizeof first);
        seen = true;
        colours = colours && std::memcmp(first, rgba, 3 * sizeof(float)) == 0;
        alpha = alpha && std::memcmp(first + 3, rgba + 3, sizeof(float)) == 0;
    }
};

// The cancel flag, looked at now and then in the passes that report no progress.
bool Cancelled(const DazAzu& importer, uint32_t k) {
    return (k & 0xFFFF) == 0 && importer.cancelFlag != 0;
}

// Reads on until both are known to vary.
bool ReadVertexUniformity(DazAzu& im, Uniformity* u) {
    uint32_t n = 0;
    if (!SeekOrFail(im, kElementVertex, &n)) return false;
    for (uint32_t i = 0; i < n && (u->colours || u->alpha); ++i) {
        if (Cancelled(im, i)) return false;
        float position[3], rgba[4] = {0, 0, 0, 1};
        if (!im.reader.ReadVertex(position, nullptr, nullptr, rgba, &rgba[3]))
            return FailWithReaderError(im);
        u->Add(rgba);
    }
    return true;
}

bool ReadFaceUniformity(DazAzu& im, Uniformity* u) {
    uint32_t n = 0;
    if (!SeekOrFail(im, kElementFace, &n)) return false;
    IndexList indices;
    FaceExtras extras;
    for (uint32_t f = 0; f < n && (u->colours || u->alpha); ++f) {
        if (Cancelled(im, f)) return false;
        int32_t corners = 0;
        if (!im.reader.ReadFace(&corners, &indices, nullptr, &extras))
            return FailWithReaderError(im);
        u->Add(extras.colour);
    }
    return true;
}

}  // namespace

// Vertex colours win over face colours, unless they are all one colour and
// the faces' are not: scanners that colour the faces may leave every vertex
// white. The same for alpha. The colours are read for this only when both
// the vertices and the faces have some; the reader stands at the vertices
// again afterwards.
bool ChooseColourSources(BuildState& b) {
    DazAzu& im = b.importer;
    bool vertexColours = (im.vertexFlags & kFlagColours) != 0 || im.IntensityGivesColours();
    bool vertexAlpha = (im.vertexFlags & kFlagAlpha) != 0;
    const bool bothColours = vertexColours && (im.faceFlags & kFlagColours);
    const bool bothAlpha = vertexAlpha && (im.faceFlags & kFlagAlpha);
    if ((bothColours && im.ColourChannelActive()) || (bothAlpha && im.AlphaChannelActive())) {
        Uniformity vertices, faces;
        if (!ReadVertexUniformity(im, &vertices)) return false;
        faces.colours = bothColours && vertices.colours;
        faces.alpha = bothAlpha && vertices.alpha;
        if ((faces.colours || faces.alpha) && !ReadFaceUniformity(im, &faces)) return false;
        vertexColours = vertexColours && !(bothColours && vertices.colours && !faces.colours);
        vertexAlpha = vertexAlpha && !(bothAlpha && vertices.alpha && !faces.alpha);
        uint32_t n = 0;
        if (!SeekOrFail(im, kElementVertex, &n)) return false;
    }
    b.colour = SourceOf(im.ColourChannelActive(), vertexColours);
    b.alpha = SourceOf(im.AlphaChannelActive(), vertexAlpha);
    return true;
}

namespace {

float IntegerTypeMaximum(int type) {
    switch (type) {
        case kPlyInt8: return 127.0f;
        case kPlyInt16: return 32767.0f;
        case kPlyInt32: return 2147483647.0f;
        case kPlyUint8: return 255.0f;
        case kPlyUint16: return 65535.0f;
        case kPlyUint32: return 4294967295.0f;
        default: return 0.0f;
    }
}

// Negative, infinite and NaN greys are black.
float Clamped01(float v) { return v > 1.0f ? 1.0f : v >= 0.0f ? v : 0.0f; }

}  // namespace

void ChooseIntensityColours(BuildState& b) {
    DazAzu& im = b.importer;
    const int k = im.IntensityExtra();
    if (b.colour != kPerVertex || !im.IntensityGivesColours() || k >= b.vertexExtras.count) return;
    b.intensity = k;
    const PlyElement& element = *b.vertexExtras.element;
    const float maximum = IntegerTypeMaximum(element.properties[size_t(element.extras.scalars[size_t(k)])].valueType);
    b.intensityScale = maximum > 0 ? 1.0f / maximum : 1.0f;
}

void FinishIntensityColours(BuildState& b) {
    if (b.intensity < 0) return;
    VertColor* grey = b.mesh.vertCol;
    bool inRange = true;
    float largest = 0.0f;
    for (uint32_t i = 0; i < b.vertexCount; ++i) {
        const float v = grey[i].x;
        inRange = inRange && v >= 0.0f && v <= 1.0f;
        if (std::isfinite(v)) largest = std::max(largest, v);
    }
    const float divisor = inRange || !(largest > 0.0f) ? 1.0f : largest;
    for (uint32_t i = 0; i < b.vertexCount; ++i) {
        const float v = std::isfinite(grey[i].x) ? Clamped01(grey[i].x / divisor) : 0.0f;
        grey[i] = VertColor(v, v, v);
    }
}
