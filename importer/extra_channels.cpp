// The values of the properties the import reads for no other purpose, kept
// as named map channels of the mesh: in file order from channel 2 up (0 and
// 1 are the colours and texture coordinates), one channel a property.
#include <algorithm>

#include "importer/build_messages.h"
#include "importer/build_state.h"
#include "importer/platform.h"

namespace {

const int kFirstExtraChannel = 2;
const int kLastExtraChannel = kFirstExtraChannel + kMaxExtraValues - 1;

// The channels of the import's vertex element, or of its face element when
// the faces come from it and there are some; else null.
ExtraChannels* ChannelsOf(BuildState& b, const PlyElement& element, bool& vertexSeen,
                          bool& faceSeen) {
    const PlyReader& r = b.importer.reader;
    if (!vertexSeen && EqualsNoCase(element.name, kElementKindNames[kElementVertex])) {
        vertexSeen = true;
        return &b.vertexExtras;
    }
    if (!faceSeen && EqualsNoCase(element.name, kElementKindNames[kElementFace])) {
        faceSeen = true;
        if (r.FaceSourceKind() == kElementFace && b.triangleCount != 0) return &b.faceExtras;
    }
    return nullptr;
}

bool FailForValues(DazAzu& importer, uint64_t entries) {
    importer.errorText.printf(kMsgNoMemoryValues,
                              static_cast<int>(std::min<uint64_t>(entries, INT32_MAX)));
    return false;
}

bool SizeChannels(BuildState& b, ExtraChannels& x, uint32_t entries) {
    Mesh& m = b.mesh;
    const uint32_t f = b.triangleCount;
    for (int k = 0; k < x.count; ++k) {
        const int c = x.first + k;
        m.setMapSupport(c);
        if (!m.mapSupport(c) || !EnoughMemoryFor(entries) || !m.setNumMapVerts(c, int(entries)) ||
            !EnoughMemoryFor(f) || !m.setNumMapFaces(c, int(f)))
            return FailForValues(b.importer, entries);
        x.values[k] = m.mapVerts(c);
        x.faces[k] = m.mapFaces(c);
    }
    return true;
}

bool TrimChannels(BuildState& b, const ExtraChannels& x) {
    for (int k = 0; k < x.count; ++k)
        if (!b.mesh.setNumMapFaces(x.first + k, int(b.written), TRUE, int(b.triangleCount)))
            return false;
    return true;
}

const char* PropertyName(const PlyElement& element, int property) {
    return element.properties[size_t(property)].name.c_str();
}

}  // namespace

void PlanExtraChannels(BuildState& b) {
    DazAzu& im = b.importer;
    int next = kFirstExtraChannel;
    bool vertexSeen = false, faceSeen = false;
    for (int e = 0; e < im.reader.NumElements(); ++e) {
        const PlyElement& element = *im.reader.Element(e);
        ExtraChannels* x = ChannelsOf(b, element, vertexSeen, faceSeen);
        if (!x) continue;
        const ExtraProperties& extras = element.extras;
        x->first = next;
        x->count = std::min(int(extras.scalars.size()), kLastExtraChannel + 1 - next);
        x->element = &element;
        next += x->count;
        b.extraChannels = b.extraChannels || x->count > 0;
        for (size_t k = size_t(x->count); k < extras.scalars.size(); ++k)
            im.NoteLeftOutProperty(PropertyName(element, extras.scalars[k]));
        for (int p : extras.leftOver) im.NoteLeftOutProperty(PropertyName(element, p));
        for (int p : extras.unusedLists) im.NoteLeftOutProperty(PropertyName(element, p));
    }
}

bool SizeExtraChannels(BuildState& b) {
    const PlyElement* faces = b.faceExtras.element;
    const uint32_t records = faces ? uint32_t(std::max(faces->count, 0)) : 0;
    return SizeChannels(b, b.vertexExtras, b.vertexCount) &&
           SizeChannels(b, b.faceExtras, records);
}

bool TrimExtraChannels(BuildState& b) {
    return TrimChannels(b, b.vertexExtras) && TrimChannels(b, b.faceExtras);
}

// In channel order: the face element may come first in the file.
void NameExtraChannels(const BuildState& b, CStr& userProps) {
    const ExtraChannels* order[2] = {&b.vertexExtras, &b.faceExtras};
    if (b.faceExtras.count && b.faceExtras.first < b.vertexExtras.first)
        std::swap(order[0], order[1]);
    for (const ExtraChannels* x : order)
        for (int k = 0; k < x->count; ++k) {
            const CStr before = userProps;
            userProps.printf("%s%sMapChannel:%d = %s", before.data(), before.isNull() ? "" : "\r\n",
                             x->first + k,
                             PropertyName(*x->element, x->element->extras.scalars[size_t(k)]));
        }
}
