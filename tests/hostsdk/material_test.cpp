// Materials and maps: defaults, values read back, ownership, market defaults.
#include <gtest/gtest.h>

#include "hostsdk/mtl.h"

namespace {

void ExpectColor(const Color& c, float r, float g, float b) {
    EXPECT_FLOAT_EQ(c.r, r);
    EXPECT_FLOAT_EQ(c.g, g);
    EXPECT_FLOAT_EQ(c.b, b);
}

Texmap* NewVertexColorMap() {
    return static_cast<Texmap*>(GetMarketDefaults()->CreateInstance(
        0x10B0, VERTEX_COLOR_CLASS_ID, "Vertex Color", 0xC10, VERTEX_COLOR_CLASS_ID, nullptr));
}

class HostMaterial : public ::testing::Test {
  protected:
    void SetUp() override { liveAtStart = HostLiveObjectCount(); }
    void TearDown() override {
        HostSetAllocationLimit(0);
        EXPECT_EQ(HostLiveObjectCount(), liveAtStart) << "a host object leaked or went twice";
    }
    int liveAtStart = 0;
};

TEST_F(HostMaterial, NewStandardMaterialHasTheDefaults) {
    StdMat2* m = NewDefaultStdMat();
    ASSERT_NE(m, nullptr);
    EXPECT_EQ(HostLiveObjectCount(), liveAtStart + 1);
    const float grey = 150.0f / 255.0f;
    ExpectColor(m->GetAmbient(0), grey, grey, grey);
    ExpectColor(m->GetDiffuse(0), grey, grey, grey);
    ExpectColor(m->GetSpecular(0), 0.9f, 0.9f, 0.9f);
    EXPECT_FLOAT_EQ(m->GetOpacity(0), 1.0f);
    EXPECT_FLOAT_EQ(m->GetShininess(0), 0.1f);
    EXPECT_FLOAT_EQ(m->GetShinStr(0), 0.0f);
    for (int i = 0; i < m->NumSubTexmaps(); ++i) EXPECT_EQ(m->GetSubTexmap(i), nullptr);
    EXPECT_STREQ(m->GetName(), "");
    EXPECT_TRUE(m->ClassID() == DMTL_CLASS_ID);
    EXPECT_EQ(m->SuperClassID(), MATERIAL_CLASS_ID);
    m->DeleteMe();
}

TEST_F(HostMaterial, ValuesSetAtTimeZeroReadBack) {
    StdMat2* m = NewDefaultStdMat();
    ASSERT_NE(m, nullptr);
    m->SetName(CStr("bunny_2"));
    m->SetAmbient(Color(0.1f, 0.2f, 0.3f), 0);
    m->SetDiffuse(Color(0.4f, 0.5f, 0.6f), 0);
    m->SetSpecular(Color(0.7f, 0.8f, 0.9f), 0);
    m->SetOpacity(0.25f, 0);
    m->SetShininess(12.5f, 0);  // stored as given: not clamped
    m->SetShinStr(0.75f, 0);
    EXPECT_STREQ(m->GetName(), "bunny_2");
    ExpectColor(m->GetAmbient(0), 0.1f, 0.2f, 0.3f);
    ExpectColor(m->GetDiffuse(), 0.4f, 0.5f, 0.6f);
    ExpectColor(m->GetSpecular(0), 0.7f, 0.8f, 0.9f);
    EXPECT_FLOAT_EQ(m->GetOpacity(0), 0.25f);
    EXPECT_FLOAT_EQ(m->GetShininess(0), 12.5f);
    EXPECT_FLOAT_EQ(m->GetShinStr(), 0.75f);

    // The same values through the generic material interface.
    Mtl* generic = m;
    ExpectColor(generic->GetAmbient(), 0.1f, 0.2f, 0.3f);
    ExpectColor(generic->GetDiffuse(0, FALSE), 0.4f, 0.5f, 0.6f);
    ExpectColor(generic->GetSpecular(), 0.7f, 0.8f, 0.9f);
    EXPECT_FLOAT_EQ(generic->GetShininess(), 12.5f);
    EXPECT_FLOAT_EQ(generic->GetShinStr(), 0.75f);
    EXPECT_FLOAT_EQ(generic->GetXParency(), 0.75f);
    m->DeleteMe();
}

TEST_F(HostMaterial, MarketDefaultsMakeOnlyTheVertexColourMap) {
    MarketDefaults* defaults = GetMarketDefaults(nullptr);
    ASSERT_NE(defaults, nullptr);
    EXPECT_EQ(defaults, GetMarketDefaults());
    Texmap* map = NewVertexColorMap();
    ASSERT_NE(map, nullptr);
    EXPECT_TRUE(map->ClassID() == VERTEX_COLOR_CLASS_ID);
    EXPECT_EQ(map->SuperClassID(), TEXMAP_CLASS_ID);
    EXPECT_EQ(defaults->CreateInstance(0x10B0, Class_ID(0x934852, 0), "Vertex Color", 0xC10,
                                       Class_ID(0x934852, 0), nullptr),
              nullptr);
    EXPECT_EQ(defaults->CreateInstance(0x10B0, Class_ID(0x934851, 1), "Vertex Color", 0xC10,
                                       Class_ID(0x934851, 1), nullptr),
              nullptr);
    map->DeleteMe();
}

TEST_F(HostMaterial, MarketDefaultsAnswerNullWithoutMemory) {
    HostSetAllocationLimit(HostHeapBytesInUse() + 1);
    EXPECT_EQ(NewVertexColorMap(), nullptr);
    EXPECT_EQ(NewDefaultStdMat(), nullptr);
    EXPECT_EQ(NewDefaultMultiMtl(), nullptr);
    EXPECT_EQ(NewDefaultBitmapTex(), nullptr);
}

TEST_F(HostMaterial, BitmapMapKeepsACopyOfItsNameAndGoesWithItsMaterial) {
    size_t heapAtStart = HostHeapBytesInUse();
    StdMat2* m = NewDefaultStdMat();
    BitmapTex* map = NewDefaultBitmapTex();
    ASSERT_NE(map, nullptr);
    EXPECT_TRUE(map->ClassID() == BMTEX_CLASS_ID);
    EXPECT_EQ(map->SuperClassID(), TEXMAP_CLASS_ID);
    EXPECT_STREQ(map->GetMapName(), "");
    char name[] = "C:\\maps\\wood grain.png";
    map->SetMapName(name);
    name[0] = 'D';
    EXPECT_STREQ(map->GetMapName(), "C:\\maps\\wood grain.png");
    m->SetSubTexmap(ID_DI, map);
    EXPECT_EQ(m->GetSubTexmap(1), map);
    m->DeleteMe();
    EXPECT_EQ(HostHeapBytesInUse(), heapAtStart);
}

TEST_F(HostMaterial, StandardMaterialOwnsItsMaps) {
    StdMat2* m = NewDefaultStdMat();
    Texmap* map = NewVertexColorMap();
    ASSERT_NE(m, nullptr);
    ASSERT_NE(map, nullptr);
    m->SetSubTexmap(1, map);
    EXPECT_EQ(m->GetSubTexmap(1), map);
    EXPECT_EQ(m->GetSubTexmap(StdMat::kMapCount), nullptr);
    m->SetSubTexmap(1, map);  // setting it again keeps it
    EXPECT_EQ(HostLiveObjectCount(), liveAtStart + 2);
    m->SetSubTexmap(1, nullptr);  // replaced: released
    EXPECT_EQ(HostLiveObjectCount(), liveAtStart + 1);
    Texmap* second = NewVertexColorMap();
    m->SetSubTexmap(1, second);
    m->SetSubTexmap(2, second);  // one map in two slots goes once
    m->DeleteMe();
}

TEST_F(HostMaterial, MultiMaterialOwnsEachDistinctSubMaterialOnce) {
    MultiMtl* multi = NewDefaultMultiMtl();
    ASSERT_NE(multi, nullptr);
    EXPECT_EQ(multi->NumSubMtls(), 0);
    multi->SetName(CStr("cube_mso"));
    multi->SetNumSubMtls(3);
    ASSERT_EQ(multi->NumSubMtls(), 3);
    StdMat2* a = NewDefaultStdMat();
    StdMat2* b = NewDefaultStdMat();
    multi->SetSubMtl(0, a);
    multi->SetSubMtl(1, b);
    multi->SetSubMtl(2, a);      // the same material twice
    multi->SetSubMtl(5, b);      // no such slot
    multi->SetSubMtl(0, multi);  // never itself
    EXPECT_EQ(multi->GetSubMtl(0), a);
    EXPECT_EQ(multi->GetSubMtl(1), b);
    EXPECT_EQ(multi->GetSubMtl(2), a);
    EXPECT_EQ(multi->GetSubMtl(3), nullptr);
    multi->NotifyChanged();
    EXPECT_EQ(multi->ChangeCount(), 1);
    EXPECT_TRUE(multi->ClassID() == MULTI_CLASS_ID);
    EXPECT_EQ(HostLiveObjectCount(), liveAtStart + 3);
    multi->DeleteMe();  // a and b go with it, a only once
}

TEST_F(HostMaterial, ShrinkingAMultiMaterialReleasesWhatDropsOut) {
    MultiMtl* multi = NewDefaultMultiMtl();
    multi->SetNumSubMtls(3);
    StdMat2* keep = NewDefaultStdMat();
    StdMat2* drop = NewDefaultStdMat();
    multi->SetSubMtl(0, keep);
    multi->SetSubMtl(1, drop);
    multi->SetSubMtl(2, keep);
    multi->SetNumSubMtls(1);
    EXPECT_EQ(HostLiveObjectCount(), liveAtStart + 2);  // drop went, keep stays
    EXPECT_EQ(multi->GetSubMtl(0), keep);
    multi->SetSubMtl(0, nullptr);
    EXPECT_EQ(HostLiveObjectCount(), liveAtStart + 1);
    multi->DeleteMe();
}

// One sub-material per material of a large file: shrinking and releasing
// must not search the slots once per slot.
TEST_F(HostMaterial, LargeMultiMaterialIsReleasedWithoutSearchingItsSlots) {
    const int n = 20000;
    MultiMtl* multi = NewDefaultMultiMtl();
    multi->SetNumSubMtls(n);
    for (int i = 0; i < n; ++i) multi->SetSubMtl(i, NewDefaultStdMat());
    const long long before = HostSubMaterialSlotsSearched();
    multi->SetNumSubMtls(n / 2);
    EXPECT_EQ(HostLiveObjectCount(), liveAtStart + 1 + n / 2);
    multi->DeleteMe();
    EXPECT_LT(HostSubMaterialSlotsSearched() - before, n);
}

TEST_F(HostMaterial, MultiMaterialsCannotHoldEachOtherInACycle) {
    MultiMtl* outer = NewDefaultMultiMtl();
    MultiMtl* inner = NewDefaultMultiMtl();
    outer->SetNumSubMtls(1);
    inner->SetNumSubMtls(1);
    outer->SetSubMtl(0, inner);
    inner->SetSubMtl(0, outer);  // refused: outer would release itself
    EXPECT_EQ(inner->GetSubMtl(0), nullptr);
    outer->DeleteMe();
}

}  // namespace
