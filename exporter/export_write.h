// The PLY file of a plan: its header and its records, through a PlyOut.
#pragma once

#include "exporter/export_plan.h"
#include "exporter/exportoptions.h"
#include "exporter/ply_out.h"

// Told of the records written so far; answers false to stop the export.
class WriteProgress {
  public:
    virtual ~WriteProgress() {}
    virtual bool Tick(uint64_t recordsDone) = 0;
    virtual void FacesBegin() {}
};

// The header; texture files are named relative to the target's folder
// where they lie in it or below it.
void WriteHeader(const ExportPlan& plan, ExportFormat format, const char* targetPath, PlyOut& out);

// Every vertex, face and material record. False when progress said stop
// or a write failed (out.Failed() tells which).
bool WriteRecords(const ExportPlan& plan, ExportFormat format, PlyOut& out,
                  WriteProgress& progress);

// A texture file's name as the header gives it: relative to the target's
// folder when it lies in it or below it (ASCII letters' case ignored, as
// the file system does); else as it is.
const char* TextureFileName(const char* map, const char* target);

// The number of records WriteRecords writes, for the progress bar.
uint64_t RecordCount(const ExportPlan& plan);
