// Materials and texture maps. A material owns what is put into it (maps,
// sub-materials) and releases each of them once when it goes.
#include "hostsdk/mtl.h"

#include <atomic>
#include <cstring>

// Defined with the editor slots: drops every view of a released material.
void HostForgetMaterial(MtlBase* mtl);

// Whether `held` is `keeper` or one of its sub-materials at any depth.
bool HostMaterialReaches(Mtl* keeper, Mtl* held) {
    if (!keeper) return false;
    if (keeper == held) return true;
    for (int i = 0; i < keeper->NumSubMtls(); ++i) {
        Mtl* sub = keeper->GetSubMtl(i);
        if (sub && sub != keeper && HostMaterialReaches(sub, held)) return true;
    }
    return false;
}

namespace {

const float kDefaultGrey = 150.0f / 255.0f;

std::atomic<long long> slotsSearched{0};

void Release(ReferenceMaker* r) {
    if (r) r->DeleteMe();
}

bool MultiMtlHolds(Mtl** subs, int count, const Mtl* m) {
    slotsSearched.fetch_add(count, std::memory_order_relaxed);
    for (int i = 0; i < count; ++i)
        if (subs[i] == m) return true;
    return false;
}

}  // namespace

// Takes `held` out of every slot of keeper's sub-material tree without
// releasing it, so that keeper can go while held lives on elsewhere.
void HostDetachMaterial(Mtl* keeper, Mtl* held) {
    MultiMtl* multi = dynamic_cast<MultiMtl*>(keeper);
    if (!multi) return;
    for (int i = 0; i < multi->count; ++i) {
        if (multi->subs[i] == held)
            multi->subs[i] = nullptr;
        else if (multi->subs[i])
            HostDetachMaterial(multi->subs[i], held);
    }
}

MtlBase::MtlBase() {}

MtlBase::~MtlBase() { HostForgetMaterial(this); }

StdMat::StdMat()
    : ambient(kDefaultGrey, kDefaultGrey, kDefaultGrey),
      diffuse(kDefaultGrey, kDefaultGrey, kDefaultGrey),
      specular(0.9f, 0.9f, 0.9f),
      shininess(0.1f),
      shinStr(0.0f),
      opacity(1.0f),
      maps{} {}

StdMat::~StdMat() {
    for (int i = 0; i < kMapCount; ++i)
        for (int j = i + 1; j < kMapCount; ++j)
            if (maps[j] == maps[i]) maps[j] = nullptr;  // the same map in two slots goes once
    for (Texmap* m : maps) Release(m);
}

Texmap* StdMat::GetSubTexmap(int i) { return (i >= 0 && i < kMapCount) ? maps[i] : nullptr; }

// A map replaced by another is released unless it still fills another slot.
void StdMat::SetSubTexmap(int i, Texmap* m) {
    if (i < 0 || i >= kMapCount || maps[i] == m) return;
    Texmap* old = maps[i];
    maps[i] = m;
    for (Texmap* other : maps)
        if (other == old) return;
    Release(old);
}

MultiMtl::MultiMtl() : subs(nullptr), count(0) {}

MultiMtl::~MultiMtl() { SetNumSubMtls(0); }

// Growing adds empty slots; shrinking releases the sub-materials that drop
// out (each once, and not when it still fills a kept slot). When memory for
// the larger list cannot be had the list stays as it was.
void MultiMtl::SetNumSubMtls(int n) {
    if (n < 0 || n == count) return;
    Mtl** fresh = nullptr;
    if (n > 0) {
        fresh = static_cast<Mtl**>(MAX_calloc(size_t(n), sizeof(Mtl*)));
        if (!fresh) return;
        if (count > 0) std::memcpy(fresh, subs, sizeof(Mtl*) * size_t(n < count ? n : count));
    }
    Mtl** old = subs;
    int oldCount = count;
    subs = fresh;
    count = n;
    if (oldCount > n) ReleaseDropped(old + n, oldCount - n);
    zfree(old);
}

// Releases the materials of the n dropped slots, each distinct one once and
// none that a kept slot still holds. Marking them, rather than searching the
// slots for each, keeps this linear: a multi-material may hold one
// sub-material per material of a large file. The dropped slots collect what
// goes.
void MultiMtl::ReleaseDropped(Mtl** dropped, int n) {
    for (int i = 0; i < count; ++i)
        if (subs[i]) subs[i]->releaseMark = true;
    int going = 0;
    for (int i = 0; i < n; ++i) {
        Mtl* m = dropped[i];
        if (!m || m->releaseMark) continue;
        m->releaseMark = true;
        dropped[going++] = m;
    }
    for (int i = 0; i < count; ++i)
        if (subs[i]) subs[i]->releaseMark = false;
    // Each keeps its mark until its own turn, so a dropped multi-material
    // that shares one still to come leaves it to this list.
    for (int i = 0; i < going; ++i) {
        dropped[i]->releaseMark = false;
        Release(dropped[i]);
    }
}

Mtl* MultiMtl::GetSubMtl(int i) { return (i >= 0 && i < count) ? subs[i] : nullptr; }

// A material cannot hold itself, directly or through its sub-materials (a
// cycle would be released twice); a replaced sub-material is released unless
// it still fills another slot.
void MultiMtl::SetSubMtl(int i, Mtl* m) {
    if (i < 0 || i >= count || subs[i] == m || HostMaterialReaches(m, this)) return;
    Mtl* old = subs[i];
    subs[i] = m;
    if (old && !MultiMtlHolds(subs, count, old)) Release(old);
}

StdMat2* NewDefaultStdMat() { return new StdMat2; }

MultiMtl* NewDefaultMultiMtl() { return new MultiMtl; }

BitmapTex* NewDefaultBitmapTex() { return new BitmapTex; }

long long HostSubMaterialSlotsSearched() { return slotsSearched.load(); }

// The keys and the super-class ids are not looked at: only the class decides.
ReferenceTarget* MarketDefaults::CreateInstance(SClass_ID superClass, const Class_ID& classId,
                                                const char* key, SClass_ID superClass2,
                                                const Class_ID& classId2, void* filter) {
    if (classId != VERTEX_COLOR_CLASS_ID) return nullptr;
    return new Texmap(VERTEX_COLOR_CLASS_ID);
}

MarketDefaults* GetMarketDefaults(const char* fileName) {
    static MarketDefaults defaults;
    return &defaults;
}
