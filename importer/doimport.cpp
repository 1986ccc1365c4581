// The import sequence: everything of one import happens inside DoImport.
#include <clocale>
#include <cstring>

#include "importer/build_messages.h"
#include "importer/dazazu.h"
#include "importer/dialogs.h"
#include "importer/importedmesh.h"
#include "importer/platform.h"
#include "importer/resstring.h"
#include "resources/resource_ids.h"

namespace {

// Restores the runtime locale kept at the start of the import.
class LocaleGuard {
  public:
    LocaleGuard() {
        const char* current = std::setlocale(LC_ALL, nullptr);
        kept = current ? current : "";
        std::setlocale(LC_ALL, "English");
    }
    ~LocaleGuard() {
        if (!kept.isNull()) std::setlocale(LC_ALL, kept.data());
    }

  private:
    CStr kept;
};

}  // namespace

uint32_t FaceElementFlags(const PlyReader& reader) {
    for (int i = 0; i < reader.NumElements(); ++i) {
        const PlyElement* element = reader.Element(i);
        if (EqualsNoCase(element->name, kElementKindNames[kElementFace])) return element->flags;
    }
    return 0;
}

CStr DazAzu::SettingsPath() {
    CStr path;
    const char* dir = hostInterface->GetDir(APP_PLUGCFG_DIR);
    const char* name = LoadResString(IDS_SETTINGS_FILE);
    path.printf("%s/%s", dir ? dir : "", name ? name : "");
    return path;
}

bool DazAzu::LoadSettings() { return LoadSettingsFile(SettingsPath().data(), options); }

void DazAzu::SaveSettings() { SaveSettingsFile(SettingsPath().data(), options); }

int DazAzu::DoImport(const char* name, ImpInterface* ii, Interface* i, BOOL suppressPrompts) {
    LocaleGuard locale;
    hostInterface = i;
    importInterface = ii;
    progressWindow = nullptr;
    showPrompts = suppressPrompts ? 0 : 1;
    CopyBounded(filePath, sizeof filePath, name);
    DeriveBaseName(name, baseName, sizeof baseName);
    PrepareDialogs();

    if (!reader.Open(filePath)) {
        ReportError(reader.ErrorText().c_str(), 0);
        return IMPEXP_SUCCESS;
    }
    materialCount = static_cast<unsigned>(reader.MaterialCount());
    triangleCount = static_cast<unsigned>(reader.CountTriangles());
    // A count that fails (damaged face data) ends the import with the
    // reader's message, before any dialog, rather than building from 0.
    if (!reader.ErrorText().empty()) {
        ReportError(reader.ErrorText().c_str(), 0);
        return IMPEXP_SUCCESS;
    }
    uint32_t flags = 0;
    vertexCount = static_cast<unsigned>(reader.SeekElement(kElementVertex, &flags));
    vertexFlags = flags;
    faceFlags = FaceElementFlags(reader);
    if (!reader.ErrorText().empty()) {
        ReportError(reader.ErrorText().c_str(), 0);
        return IMPEXP_SUCCESS;
    }

    LoadSettings();
    if (showPrompts && !RunOptionsDialog(*this)) return IMPEXP_CANCEL;
    if (options.replaceScene) {
        hostInterface->FileReset(TRUE);
        importInterface->NewScene();
    }
    const int built = RunProgressDialog(*this);
    SaveSettings();

    if (!built || !errorText.isNull()) {
        DeleteImportedMesh(importedMesh);
        importedMesh = nullptr;
        if (!errorText.isNull()) ReportError(errorText.data(), 0);
        for (Mtl* mtl : hostMaterials) mtl->DeleteMe();
        hostMaterials.clear();
        return IMPEXP_SUCCESS;
    }
    if (CreateSceneNode()) {
        importInterface->RedrawViews();
        ReportCount(kMsgVerticesOutOfRange, nonFiniteVertices);
        ReportCount(kMsgMaterialsLeftOut, skippedMaterials);
        ReportCount(kMsgFacesSkipped, skippedFaces);
        ReportCount(kMsgTexCoordsMismatched, skippedTexCoords);
        ReportMissingTextures();
        ReportLeftOutProperties();
    }
    return IMPEXP_SUCCESS;
}
