// The export sequence: everything of one export happens inside DoExport.
// The file is written beside the target under a temporary name and put in
// its place only once it is whole, so a failed or cancelled export leaves
// the old file as it was.
#include <cstring>

#include "exporter/dazazuexport.h"
#include "exporter/export_dialogs.h"
#include "exporter/export_write.h"
#include "importer/dazazu.h"
#include "importer/platform.h"
#include "importer/progress.h"
#include "importer/resstring.h"
#include "resources/export_ids.h"
#include "resources/resource_ids.h"

namespace {

// Tells the progress dialog of the records written; stops on a cancel.
class DialogProgress : public WriteProgress {
  public:
    explicit DialogProgress(DazAzuExport& e) : exporter(e) {}
    bool Tick(uint64_t done) override {
        SendToWindow(exporter.progressWindow, kProgressCount, 0, static_cast<intptr_t>(done));
        return exporter.cancelFlag == 0;
    }
    void FacesBegin() override {
        SendToWindow(exporter.progressWindow, kProgressStepText, IDS_STEP_WRITING_FACES, 0);
    }

  private:
    DazAzuExport& exporter;
};

}  // namespace

DazAzuExport::DazAzuExport()
    : hostInterface(nullptr),
      showPrompts(1),
      baseName(),
      targetPath(),
      cancelFlag(0),
      progressWindow(nullptr),
      progressTotal(0),
      scene(nullptr),
      plan(nullptr),
      planned{true, 0, nullptr, 0},
      temporaryFile(nullptr),
      writeFailed(false) {}

DazAzuExport::~DazAzuExport() {}

int DazAzuExport::ExtCount() { return 1; }

const char* DazAzuExport::Ext(int n) { return n == 0 ? "PLY" : ""; }

const char* DazAzuExport::LongDesc() { return LoadResString(IDS_LONG_DESC); }

const char* DazAzuExport::ShortDesc() { return LoadResString(IDS_SHORT_DESC); }

const char* DazAzuExport::AuthorName() { return LoadResString(IDS_AUTHOR); }

const char* DazAzuExport::CopyrightMessage() { return LoadResString(IDS_COPYRIGHT); }

const char* DazAzuExport::OtherMessage1() { return ""; }

const char* DazAzuExport::OtherMessage2() { return ""; }

unsigned int DazAzuExport::Version() { return 100; }

void DazAzuExport::ShowAbout(HWND hWnd) { ShowExportAbout(hWnd); }

BOOL DazAzuExport::SupportsOptions(int ext, DWORD options) {
    return options == SCENE_EXPORT_SELECTED ? TRUE : FALSE;
}

CStr DazAzuExport::SettingsPath() {
    CStr path;
    const char* dir = hostInterface ? hostInterface->GetDir(APP_PLUGCFG_DIR) : nullptr;
    path.printf("%s/%s", dir ? dir : "", kExportSettingsFile);
    return path;
}

// One message, with prompts only; the result the host is given.
int DazAzuExport::Fail(int messageId, const char* subject, uint64_t count, int result) {
    if (!showPrompts) return result;
    const char* format = LoadResString(messageId);
    CStr message;
    if (subject)
        message.printf(format ? format : "%s", subject);
    else
        message.printf(format ? format : "%d", static_cast<int>(count < 0x7FFFFFFF ? count : 0x7FFFFFFF));
    ShowExportMessage(hostInterface ? hostInterface->GetMAXHWnd() : nullptr, message.data(), 0);
    return result;
}

// A name beside the target that no file has yet: the target's with ".tmp",
// else with a number before it.
bool DazAzuExport::OpenTemporaryFile(char* temporary, size_t size) {
    for (int k = 0; k < 100; ++k) {
        const int n = k == 0 ? std::snprintf(temporary, size, "%s.tmp", targetPath)
                             : std::snprintf(temporary, size, "%s.%d.tmp", targetPath, k);
        if (n < 0 || size_t(n) >= size) return false;
        if (FileExists(temporary)) continue;
        temporaryFile = std::fopen(temporary, "wb");
        return temporaryFile != nullptr;
    }
    return false;
}

void DazAzuExport::RunWrite(HWND window) {
    progressWindow = window;
    const int written = WriteFileHere();
    SendToWindow(window, written ? kProgressFinished : kProgressFailed, 0, 0);
    progressWindow = nullptr;
}

// The plan, then the records: a mesh of millions of faces takes a while to
// plan, and the dialog shows it and lets it be cancelled.
int DazAzuExport::WriteFileHere() {
    SendToWindow(progressWindow, kProgressStepText, IDS_STEP_GATHERING, 0);
    planned = PlanExport(scene, options, *plan);
    if (!planned.ok || cancelFlag) return 0;
    const uint64_t records = RecordCount(*plan);
    progressTotal = records < 0xFFFFFFFFu ? unsigned(records) : 0xFFFFFFFFu;
    PlyOut out;
    if (!out.Start(temporaryFile)) {
        planned = PlanResult{false, IDS_EXPORT_NO_MEMORY, nullptr, plan->vertexTotal};
        return 0;
    }
    SendToWindow(progressWindow, kProgressStepText, IDS_STEP_WRITING_VERTICES, 0);
    WriteHeader(*plan, static_cast<ExportFormat>(options.format), targetPath, out);
    DialogProgress progress(*this);
    const bool written =
        WriteRecords(*plan, static_cast<ExportFormat>(options.format), out, progress);
    writeFailed = out.Failed();
    return written && cancelFlag == 0 ? 1 : 0;
}

// Everything written reaches the disk before the file takes the target's
// place; whatever fails, the temporary file goes.
int DazAzuExport::FinishFile(const char* temporary) {
    const bool flushed = FlushToDisk(temporaryFile);
    const bool closed = std::fclose(temporaryFile) == 0;
    temporaryFile = nullptr;
    if (!flushed || !closed) {
        std::remove(temporary);
        return Fail(IDS_EXPORT_WRITE_FAILED, targetPath, 0, IMPEXP_FAIL);
    }
    if (!ReplaceFileWith(temporary, targetPath)) {
        std::remove(temporary);
        return Fail(IDS_EXPORT_CANNOT_REPLACE, targetPath, 0, IMPEXP_FAIL);
    }
    return IMPEXP_SUCCESS;
}

int DazAzuExport::DoExport(const char* name, ExpInterface* ei, Interface* i, BOOL suppressPrompts,
                           DWORD exportOptions) {
    hostInterface = i;
    showPrompts = suppressPrompts ? 0 : 1;
    // A path cut to fit would name another file.
    if (std::strlen(name) >= sizeof targetPath)
        return Fail(IDS_EXPORT_CANNOT_CREATE, name, 0, IMPEXP_FAIL);
    CopyBounded(targetPath, sizeof targetPath, name);
    DeriveBaseName(name, baseName, sizeof baseName);
    PrepareExportDialogs();
    LoadExportSettingsFile(SettingsPath().data(), options);
    // Only the host knows whether it asked for the selection.
    options.selectedOnly = (exportOptions & SCENE_EXPORT_SELECTED) ? 1 : 0;
    if (showPrompts && !RunExportOptionsDialog(*this)) return IMPEXP_CANCEL;
    SaveExportSettingsFile(SettingsPath().data(), options);
    scene = ei ? ei->theScene : nullptr;
    if (!scene || CountMeshNodes(scene, options.selectedOnly != 0) == 0)
        return Fail(options.selectedOnly ? IDS_EXPORT_NO_SELECTION : IDS_EXPORT_NO_MESHES, nullptr,
                    0, IMPEXP_FAIL);

    // A file that cannot be replaced is found out before the work, not after.
    if (FileExists(targetPath)) {
        FILE* probe = FileIsReadOnly(targetPath) ? nullptr : std::fopen(targetPath, "r+b");
        if (!probe) return Fail(IDS_EXPORT_CANNOT_REPLACE, targetPath, 0, IMPEXP_FAIL);
        std::fclose(probe);
    }
    char temporary[kFilePathSize + 16];
    if (!OpenTemporaryFile(temporary, sizeof temporary))
        return Fail(IDS_EXPORT_CANNOT_CREATE, targetPath, 0, IMPEXP_FAIL);

    ExportPlan exportPlan;
    plan = &exportPlan;
    planned = PlanResult{true, 0, nullptr, 0};
    progressTotal = 0;
    cancelFlag = 0;
    writeFailed = false;
    const int written = RunExportProgressDialog(*this);
    plan = nullptr;
    if (written && !cancelFlag) return FinishFile(temporary);
    std::fclose(temporaryFile);
    temporaryFile = nullptr;
    std::remove(temporary);
    if (!planned.ok) return Fail(planned.messageId, planned.subject, planned.count, IMPEXP_FAIL);
    if (writeFailed) return Fail(IDS_EXPORT_WRITE_FAILED, targetPath, 0, IMPEXP_FAIL);
    return Fail(IDS_EXPORT_CANCELLED, targetPath, 0, IMPEXP_CANCEL);
}
