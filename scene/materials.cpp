// Host materials from the PLY material records and texture files, and the
// one material the node receives.
#include <cstring>

#include "plugin/dazazu.h"
#include "plugin/platform.h"
#include "plugin/resstring.h"
#include "resources/resource_ids.h"

namespace {

const char kThisName[] = "<this>";

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

void Append(CStr& text, const char* more, size_t length) {
    CStr longer;
    longer.printf("%s%.*s", text.data(), static_cast<int>(length), more);
    text = longer;
}

// One past the path's last separator (else its drive's colon): where the
// folder ends. Walked by characters, so a trail byte is never a separator.
const char* FolderEnd(const char* path) {
    const char* end = path;
    for (const char* p = path; *p; p = NextChar(p))
        if (*p == '\\' || *p == '/' || (*p == ':' && end == path)) end = p + 1;
    return end;
}

// The image a TextureFile comment names, beside the PLY file, with each
// "<this>" standing for the PLY file's base name. A name with its own root
// or drive is taken as it is.
CStr TexturePath(const char* plyPath, const char* name) {
    const char* folderEnd = FolderEnd(plyPath);
    char base[DazAzu::kBaseNameSize];
    DeriveBaseName(folderEnd, base, sizeof base);
    CStr path;
    const char drive = static_cast<char>(name[0] | 0x20);
    const bool rooted =
        name[0] == '\\' || name[0] == '/' || (drive >= 'a' && drive <= 'z' && name[1] == ':');
    if (!rooted) Append(path, plyPath, static_cast<size_t>(folderEnd - plyPath));
    // '<' is never a trail byte, so a match is always a whole "<this>".
    for (const char* found; (found = std::strstr(name, kThisName)) != nullptr;
         name = found + sizeof kThisName - 1) {
        Append(path, name, static_cast<size_t>(found - name));
        Append(path, base, std::strlen(base));
    }
    Append(path, name, std::strlen(name));
    return path;
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
        BitmapTex* map = NewDefaultBitmapTex();
        if (!map) continue;
        map->SetMapName(TexturePath(filePath, textures[k].c_str()));
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
