#include "importer/dazazu.h"

#include "importer/dialogs.h"
#include "importer/resstring.h"
#include "resources/resource_ids.h"

DazAzu::DazAzu()
    : hostInterface(nullptr),
      importInterface(nullptr),
      baseName(),
      progressTotal(0),
      cancelFlag(0),
      progressWindow(nullptr),
      showPrompts(1),
      vertexFlags(0),
      faceFlags(0),
      vertexCount(0),
      triangleCount(0),
      materialCount(0),
      filePath(),
      skippedMaterials(0),
      importedMesh(nullptr),
      skippedFaces(0),
      nonFiniteVertices(0),
      skippedTexCoords(0),
      missingTextures(0),
      missingTextureNames(),
      leftOutProperties(0),
      leftOutPropertyNames() {}

// The imported mesh and the host materials are not touched: by now they belong
// to the scene or have been deleted by the import.
DazAzu::~DazAzu() {}

int DazAzu::ExtCount() { return 1; }

// A literal rather than the string table, so the shared buffer is not disturbed.
const char* DazAzu::Ext(int n) { return n == 0 ? "ply" : ""; }

const char* DazAzu::LongDesc() { return LoadResString(IDS_LONG_DESC); }

const char* DazAzu::ShortDesc() { return LoadResString(IDS_SHORT_DESC); }

const char* DazAzu::AuthorName() { return LoadResString(IDS_AUTHOR); }

const char* DazAzu::CopyrightMessage() { return LoadResString(IDS_COPYRIGHT); }

const char* DazAzu::OtherMessage1() { return ""; }

const char* DazAzu::OtherMessage2() { return ""; }

unsigned int DazAzu::Version() { return 100; }

void DazAzu::ShowAbout(HWND hWnd) { ShowAboutBox(hWnd); }

int DazAzu::ZoomExtents() { return 1; }
