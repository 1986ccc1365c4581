// Host materials and texture maps, with values that can be read back.
#pragma once

#include "hostsdk/object.h"

class Texmap;

class HOSTSDK_API MtlBase : public ReferenceTarget {
public:
    MtlBase();
    ~MtlBase() override;
    virtual void SetName(CStr s) { name = s; }
    virtual CStr& GetName() { return name; }
    virtual int NumSubTexmaps() { return 0; }
    virtual Texmap* GetSubTexmap(int i) { return nullptr; }
    virtual void SetSubTexmap(int i, Texmap* m) {}

private:
    CStr name;
};

class HOSTSDK_API Texmap : public MtlBase {
public:
    explicit Texmap(const Class_ID& id) : classId(id) {}
    Class_ID ClassID() override { return classId; }
    SClass_ID SuperClassID() override { return TEXMAP_CLASS_ID; }

private:
    Class_ID classId;
};

// A map that shows a picture file. The name is the file's path as given.
class HOSTSDK_API BitmapTex : public Texmap {
  public:
    BitmapTex() : Texmap(BMTEX_CLASS_ID) {}
    // Without memory for the copy the name stays empty.
    virtual void SetMapName(const char* name) { mapName = name; }
    virtual const char* GetMapName() { return mapName.data(); }

  private:
    CStr mapName;
};

class HOSTSDK_API Mtl : public MtlBase {
public:
    SClass_ID SuperClassID() override { return MATERIAL_CLASS_ID; }
    // The material's values as the renderer sees them. Subclasses supply them
    // through the protected Value* hooks, so that a subclass's own getters
    // taking a time (StdMat::GetDiffuse(t)) do not clash with these.
    virtual Color GetAmbient(int mtlNum = 0, BOOL backFace = FALSE) { return AmbientValue(); }
    virtual Color GetDiffuse(int mtlNum = 0, BOOL backFace = FALSE) { return DiffuseValue(); }
    virtual Color GetSpecular(int mtlNum = 0, BOOL backFace = FALSE) { return SpecularValue(); }
    virtual float GetShininess(int mtlNum = 0, BOOL backFace = FALSE) { return ShininessValue(); }
    virtual float GetShinStr(int mtlNum = 0, BOOL backFace = FALSE) { return ShinStrValue(); }
    virtual float GetXParency(int mtlNum = 0, BOOL backFace = FALSE) { return 0; }
    virtual int NumSubMtls() { return 0; }
    virtual Mtl* GetSubMtl(int i) { return nullptr; }
    virtual void SetSubMtl(int i, Mtl* m) {}
    // The entry after SetSubMtl: tells the material its parameters changed.
    virtual void NotifyChanged() { ++changeCount; }
    int ChangeCount() const { return changeCount; }

protected:
    virtual Color AmbientValue() { return Color(); }
    virtual Color DiffuseValue() { return Color(); }
    virtual Color SpecularValue() { return Color(); }
    virtual float ShininessValue() { return 0; }
    virtual float ShinStrValue() { return 0; }

private:
    int changeCount = 0;
    // Scratch of MultiMtl's release of its sub-materials; false between calls.
    bool releaseMark = false;
    friend class MultiMtl;
};

// The standard material's sub-texture map slot of the diffuse map.
const int ID_DI = 1;

// The host's standard material.
class HOSTSDK_API StdMat : public Mtl {
public:
    StdMat();
    ~StdMat() override;
    Class_ID ClassID() override { return DMTL_CLASS_ID; }
    virtual void SetAmbient(Color c, TimeValue t) { ambient = c; }
    virtual void SetDiffuse(Color c, TimeValue t) { diffuse = c; }
    virtual void SetSpecular(Color c, TimeValue t) { specular = c; }
    virtual void SetShininess(float v, TimeValue t) { shininess = v; }
    virtual void SetShinStr(float v, TimeValue t) { shinStr = v; }
    virtual void SetOpacity(float v, TimeValue t) { opacity = v; }
    virtual Color GetAmbient(TimeValue t) { return ambient; }
    virtual Color GetDiffuse(TimeValue t) { return diffuse; }
    virtual Color GetSpecular(TimeValue t) { return specular; }
    virtual float GetShininess(TimeValue t) { return shininess; }
    virtual float GetShinStr(TimeValue t) { return shinStr; }
    virtual float GetOpacity(TimeValue t) { return opacity; }
    // The same without a time (these hide Mtl's getters in StdMat's scope,
    // which would otherwise make GetDiffuse(0) ambiguous).
    Color GetAmbient() { return ambient; }
    Color GetDiffuse() { return diffuse; }
    Color GetSpecular() { return specular; }
    float GetShininess() { return shininess; }
    float GetShinStr() { return shinStr; }
    float GetOpacity() { return opacity; }
    float GetXParency(int mtlNum = 0, BOOL backFace = FALSE) override { return 1.0f - opacity; }
    int NumSubTexmaps() override { return kMapCount; }
    Texmap* GetSubTexmap(int i) override;
    // Takes ownership: the map is released with the material.
    void SetSubTexmap(int i, Texmap* m) override;

    static const int kMapCount = 12;

protected:
    Color AmbientValue() override { return ambient; }
    Color DiffuseValue() override { return diffuse; }
    Color SpecularValue() override { return specular; }
    float ShininessValue() override { return shininess; }
    float ShinStrValue() override { return shinStr; }

private:
    Color ambient, diffuse, specular;
    float shininess, shinStr, opacity;
    Texmap* maps[kMapCount];
};

class HOSTSDK_API StdMat2 : public StdMat {};

// Owns its sub-materials: releasing it releases each distinct one once.
// A new one has no sub-materials; SetNumSubMtls adds empty slots.
class HOSTSDK_API MultiMtl : public Mtl {
public:
    MultiMtl();
    ~MultiMtl() override;
    Class_ID ClassID() override { return MULTI_CLASS_ID; }
    virtual void SetNumSubMtls(int n);
    int NumSubMtls() override { return count; }
    Mtl* GetSubMtl(int i) override;
    void SetSubMtl(int i, Mtl* m) override;

private:
    void ReleaseDropped(Mtl** dropped, int n);

    Mtl** subs;
    int count;
    friend void HostDetachMaterial(Mtl* keeper, Mtl* held);
};

// New materials with the stand-in's defaults: ambient and diffuse 150/255
// grey, specular 0.9 grey, opacity 1, shininess 0.1, shininess strength 0,
// no maps. Null when memory cannot be had.
HOSTSDK_API StdMat2* NewDefaultStdMat();
HOSTSDK_API MultiMtl* NewDefaultMultiMtl();
// A bitmap map without a file name; null when memory cannot be had.
HOSTSDK_API BitmapTex* NewDefaultBitmapTex();

// Test hook: how many slots the multi-materials have searched for a material
// so far, so a test can hold that bookkeeping linear in the slot count.
HOSTSDK_API long long HostSubMaterialSlotsSearched();

class HOSTSDK_API MarketDefaults {
public:
    virtual ~MarketDefaults() {}
    // A new instance of the class asked for: the vertex-colour map for
    // VERTEX_COLOR_CLASS_ID, null for anything else.
    virtual ReferenceTarget* CreateInstance(SClass_ID superClass, const Class_ID& classId,
                                            const char* key, SClass_ID superClass2,
                                            const Class_ID& classId2, void* filter);
};

HOSTSDK_API MarketDefaults* GetMarketDefaults(const char* fileName = nullptr);
