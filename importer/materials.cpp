// Host materials from the PLY material records and texture files, and the
// one material the node receives.
#include <cstring>

#include "importer/dazazu.h"
#include "importer/platform.h"
#include "importer/resstring.h"
#include "importer/texture_path.h"
#include "resources/resource_ids.h"

namespace {

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

// Texture k goes into the diffuse slot of record material k. Without
// records each texture gets a standard material of its own, named after the
// object (numbered when there are several), and faces choose among them by
// their texnumber.
void DazAzu::AddTextureMaps() {
    const std::vector<std::string>& textures = reader.TextureFiles();
    const bool ownMaterials = materialRecords.empty();
    for (size_t k = 0; k < textures.size(); ++k) {
        Mtl* mtl = nullptr;
        if (ownMaterials) {
            StdMat2* made = NewDefaultStdMat();
            if (!made) continue;
            CStr name;
            if (textures.size() == 1)
                name = baseName;
            else
                name.printf("%s_%u", baseName, static_cast<unsigned>(k));
            made->SetName(name);
            hostMaterials.Append(made);
            mtl = made;
        } else if (k < hostMaterials.size()) {
            mtl = hostMaterials[k];
        } else {
            break;
        }
        // The material stays without a map, so texnumber still picks by position.
        CStr path;
        if (!ResolveTexturePath(filePath, textures[k].c_str(), &path)) {
            NoteMissingTexture(textures[k].c_str());
            continue;
        }
        BitmapTex* map = NewDefaultBitmapTex();
        if (!map) continue;
        map->SetMapName(path);
        mtl->SetSubTexmap(ID_DI, map);
    }
}

// False only when the list of host materials cannot be had.
bool DazAzu::CreateStandardMaterials() {
    // Room for one material per record and texture, and the vertex-colour material.
    const bool mapped = TextureChannelActive() && !reader.TextureFiles().empty();
    if (!hostMaterials.Allocate(materialRecords.size() + reader.TextureFiles().size() + 1))
        return false;
    for (const PlyMaterial& record : materialRecords) {
        if (StdMat2* mtl = MakeStandardMaterial(record)) hostMaterials.Append(mtl);
    }
    if (mapped) AddTextureMaps();
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
    mtl->SetSubTexmap(ID_DI, map);
    return true;
}

Mtl* DazAzu::AssembleMaterial() {
    const size_t n = hostMaterials.size();
    if (n == 0) return nullptr;
    Mtl* result = nullptr;
    if (n == 1) {
        result = hostMaterials[0];
        if (Texmap* map = result->GetSubTexmap(ID_DI))
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
            if (Texmap* map = sub->GetSubTexmap(ID_DI))
                hostInterface->ActivateTexture(map, multi, static_cast<int>(i));
        }
        result = multi;
    }
    // Tells the host the material's parameters are complete.
    result->NotifyChanged();
    return result;
}
