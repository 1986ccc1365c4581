// The exporter library's one class descriptor.
#include "exporter/dazazuexport.h"
#include "importer/resstring.h"
#include "plugin/exports.h"
#include "resources/resource_ids.h"

namespace {

const Class_ID kDazAzuExportClassId(0x5B2E41A7, 0x1C93D06F);

class DazAzuExportClassDesc : public ClassDesc {
  public:
    int IsPublic() override { return 1; }
    // The host heap's operator new answers null instead of throwing.
    void* Create(BOOL loading = FALSE) override {
        SceneExport* exporter = new DazAzuExport;
        return exporter;
    }
    const char* ClassName() override { return LoadResString(IDS_CLASS_NAME); }
    SClass_ID SuperClassID() override { return SCENE_EXPORT_CLASS_ID; }
    Class_ID ClassID() override { return kDazAzuExportClassId; }
    const char* Category() override { return LoadResString(IDS_CATEGORY); }
};

DazAzuExportClassDesc exportClassDesc;

}  // namespace

ClassDesc* TheClassDesc() { return &exportClassDesc; }
