// Host materials from the PLY material records, and the one material the
// node receives.
#include "plugin/dazazu.h"
#include "plugin/resstring.h"
#include "resources/resource_ids.h"

namespace {

const int kDiffuseMap = 1;

StdMat2* MakeStandardMaterial(const PlyMaterial& record) {
    StdMat2* mtl = NewDefaultStdMat();
    if (!mtl) return nullptr;
    mtl->SetName(record.name);
    mtl->SetAmbient(Color(record.ambientRed, record.ambientGreen, record.ambientBlue), 0);
    mtl->SetDiffuse(Color(record.diffuseRed, record.diffuseGreen, record.diffuseBlue), 0);
    mtl->SetSpecular(Color(record.specularRed, record.specularGreen, record.specularBlue), 0);
    mtl->SetOpacity(record.opacity, 0);
    mtl->SetShininess(record.specularPower, 0);
    mtl->SetShinStr(record.specularCoeff, 0);
    return mtl;
}

Texmap* MakeVertexColourMap() {
    MarketDefaults* defaults = GetMarketDefaults(nullptr);
    if (!defaults) return nullptr;
    ReferenceTarget* made = defaults->CreateInstance(0x10B0, VERTEX_COLOR_CLASS_ID, "Vertex Color",
                                                     0xC10, VERTEX_COLOR_CLASS_ID, nullptr);
    return static_cast<Texmap*>(made);
}

// Formats a string-table name pattern ("%s_mso") with the base name.
CStr NameFromPattern(int id, const char* baseName) {
    CStr name;
    const char* pattern = LoadResString(id);
    name.printf(pattern ? pattern : "%s", baseName);
    return name;
}

}  // namespace

// False only when the list of host materials cannot be had.
bool DazAzu::CreateStandardMaterials() {
    // Room for one material per record and the vertex-colour material.
    if (!hostMaterials.Allocate(materialRecords.size() + 1)) return false;
    for (const PlyMaterial& record : materialRecords) {
        if (StdMat2* mtl = MakeStandardMaterial(record)) hostMaterials.Append(mtl);
    }
    if (!ColourChannelActive()) return true;
    Texmap* map = MakeVertexColourMap();
    if (!map) return true;
    StdMat2* mtl = NewDefaultStdMat();
    if (!mtl) {
        map->DeleteMe();
        return true;
    }
    hostMaterials.Append(mtl);
    mtl->SetName(NameFromPattern(IDS_VERTEX_COLOR_MTL_NAME, baseName));
    mtl->SetSubTexmap(kDiffuseMap, map);
    return true;
}

Mtl* DazAzu::AssembleMaterial() {
    const size_t n = hostMaterials.size();
    if (n == 0) return nullptr;
    Mtl* result = nullptr;
    if (n == 1) {
        result = hostMaterials[0];
        if (Texmap* map = result->GetSubTexmap(kDiffuseMap))
            hostInterface->ActivateTexture(map, result, -1);
    } else {
        MultiMtl* multi = NewDefaultMultiMtl();
        if (!multi) return nullptr;
        multi->SetName(NameFromPattern(IDS_MULTI_MTL_NAME, baseName));
        multi->SetNumSubMtls(static_cast<int>(n));
        for (size_t i = 0; i < n; ++i) {
            Mtl* sub = hostMaterials[i];
            if (!sub) continue;
            multi->SetSubMtl(static_cast<int>(i), sub);
            if (Texmap* map = sub->GetSubTexmap(kDiffuseMap))
                hostInterface->ActivateTexture(map, multi, static_cast<int>(i));
        }
        result = multi;
    }
    // Tells the host the material's parameters are complete.
    result->NotifyChanged();
    return result;
}
