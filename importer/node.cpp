// Puts the finished mesh into the host scene as one node.
#include "importer/dazazu.h"
#include "importer/importedmesh.h"
#include "importer/platform.h"
#include "importer/resstring.h"
#include "resources/resource_ids.h"

int DazAzu::CreateSceneNode() {
    ImpNode* node = importInterface->CreateNode();
    if (!node) {
        DeleteImportedMesh(importedMesh);
        importedMesh = nullptr;
        ReportError(LoadResString(IDS_NODE_FAILED), 0);
        return 0;
    }
    node->Reference(importedMesh->triObject);
    if (Mtl* mtl = AssembleMaterial()) {
        if (Interface7* core = GetCOREInterface7()) core->PutMtlToMtlEditor(mtl, 0);
        node->GetINode()->SetMtl(mtl);
    }
    Matrix3 tm;
    tm.IdentityMatrix();
    if (options.centerPivot) {
        tm.SetTransRow(importedMesh->pivot);
        tm.ClearIdentFlag(POS_IDENT);
    }
    node->SetTransform(0, tm);
    if (!importedMesh->userProps.isNull())
        node->GetINode()->SetUserPropBuffer(importedMesh->userProps.data());
    importInterface->AddNodeToScene(node);
    node->SetName(baseName);
    RedrawHostWindow(hostInterface->GetMAXHWnd());
    // The node holds the object now; the record itself is done with.
    importedMesh->triObject = nullptr;
    DeleteImportedMesh(importedMesh);
    importedMesh = nullptr;
    return 1;
}
