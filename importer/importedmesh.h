// The mesh of one import, kept by the importer until node creation.
#pragma once

#include "hostsdk/max.h"

struct ImportedMesh : public MaxHeapOperators {
    CStr name;
    Point3 pivot;          // centre moved to the origin; 0 unless the pivot was centred
    TriObject* triObject;  // receives all data; the scene node's object on success
    CStr userProps;        // the node's: the names of the mesh's extra map channels
};

// Releases the record and its triangle object (after a failed or cancelled
// import, or when no node can be made).
void DeleteImportedMesh(ImportedMesh* mesh);
