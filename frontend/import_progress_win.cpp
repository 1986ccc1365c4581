// The import's mesh build as the progress dialog's job.
#include "frontend/progress.h"
#include "importer/dazazu.h"
#include "resources/resource_ids.h"

namespace {

void RunMeshBuildOf(DazAzu& importer, HWND progressWindow) {
    importer.RunMeshBuild(progressWindow);
}

ImportBuild importBuild = RunMeshBuildOf;

class ImportJob : public ProgressJob {
  public:
    explicit ImportJob(DazAzu& i) : importer(i) {}
    void Run(HWND window) override { importBuild(importer, window); }
    int RunWithoutWindow() override { return importer.BuildMesh() ? 1 : 0; }
    unsigned Total() override { return importer.progressTotal; }
    const char* Name() override { return importer.baseName; }
    bool ShowPrompts() override { return importer.showPrompts != 0; }
    HWND Owner() override {
        return importer.hostInterface ? importer.hostInterface->GetMAXHWnd() : nullptr;
    }
    std::atomic<int>& CancelFlag() override { return importer.cancelFlag; }
    int NoThreadMessage() override { return IDS_NO_IMPORT_THREAD; }

  private:
    DazAzu& importer;
};

}  // namespace

void SetImportBuild(ImportBuild build) { importBuild = build ? build : RunMeshBuildOf; }

int ShowProgressDialog(DazAzu& importer) {
    ImportJob job(importer);
    return ShowProgressDialog(job);
}
