// The exporter object: the host's scene exporter for PLY files. One object
// serves one export and holds all of its state.
#pragma once

#include <atomic>
#include <cstdio>

#include "exporter/export_plan.h"
#include "exporter/exportoptions.h"
#include "hostsdk/max.h"

// The exporter's settings file, beside the importer's.
const char kExportSettingsFile[] = "ks_dazazu_exp.cfg";

class DazAzuExport : public SceneExport {
  public:
    DazAzuExport();
    ~DazAzuExport() override;

    int ExtCount() override;
    const char* Ext(int n) override;
    const char* LongDesc() override;
    const char* ShortDesc() override;
    const char* AuthorName() override;
    const char* CopyrightMessage() override;
    const char* OtherMessage1() override;
    const char* OtherMessage2() override;
    unsigned int Version() override;
    void ShowAbout(HWND hWnd) override;
    int DoExport(const char* name, ExpInterface* ei, Interface* i, BOOL suppressPrompts = FALSE,
                 DWORD options = 0) override;
    BOOL SupportsOptions(int ext, DWORD options) override;

    // The file planned and written on the worker thread while the progress
    // dialog shows (window may be null): sends the finished or failed message.
    void RunWrite(HWND window);
    // The same without a window: 1 when every record was written.
    int WriteFileHere();

    static const int kBaseNameSize = 64;
    static const int kFilePathSize = 260;

    Interface* hostInterface;
    ExportOptions options;
    int showPrompts;
    char baseName[kBaseNameSize];
    char targetPath[kFilePathSize];
    // Raised on the interface thread, read by the worker at its progress points.
    std::atomic<int> cancelFlag;
    HWND progressWindow;
    unsigned int progressTotal;
    // Set while one export runs.
    IScene* scene;
    ExportPlan* plan;
    PlanResult planned;
    FILE* temporaryFile;
    bool writeFailed;

    DazAzuExport(const DazAzuExport&) = delete;
    DazAzuExport& operator=(const DazAzuExport&) = delete;

  private:
    CStr SettingsPath();
    int Fail(int messageId, const char* subject, uint64_t count, int result);
    bool OpenTemporaryFile(char* temporary, size_t size);
    int FinishFile(const char* temporary);
};
