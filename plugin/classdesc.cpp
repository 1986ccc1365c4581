#include "plugin/classdesc.h"

#include "importer/dazazu.h"
#include "importer/resstring.h"
#include "plugin/exports.h"
#include "resources/resource_ids.h"

namespace {
DazAzuClassDesc dazAzuClassDesc;
}

DazAzuClassDesc* GetDazAzuClassDesc() { return &dazAzuClassDesc; }

ClassDesc* TheClassDesc() { return GetDazAzuClassDesc(); }

int DazAzuClassDesc::IsPublic() { return 1; }

// The host heap's operator new answers null instead of throwing, and so does this.
// The host reads the result as its importer base, hence the conversion first.
void* DazAzuClassDesc::Create(BOOL loading) {
    SceneImport* importer = new DazAzu;
    return importer;
}

const char* DazAzuClassDesc::ClassName() { return LoadResString(IDS_CLASS_NAME); }

SClass_ID DazAzuClassDesc::SuperClassID() { return SCENE_IMPORT_CLASS_ID; }

Class_ID DazAzuClassDesc::ClassID() { return kDazAzuClassId; }

const char* DazAzuClassDesc::Category() { return LoadResString(IDS_CATEGORY); }
