// Batch mode: the files of the command line imported in order into one scene,
// each by a new importer object, as the host does.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "hostapp/report.h"
#include "hostsdk/plugapi.h"

// What the batch takes from the platform and the loaded plug-in.
struct BatchServices {
    // The full path the host's own file dialog would give for a file name.
    std::function<std::string(const std::string& file)> fullPath;
    // A new importer for the file, or null with the reason in one line.
    std::function<SceneImport*(const std::string& path, std::string& reason)> createImporter;
    // A new exporter, or null with the reason in one line.
    std::function<SceneExport*(std::string& reason)> createExporter;
    // Message texts recorded since the last call (none when nothing watches).
    std::function<std::vector<std::string>()> takeMessages;
    std::function<void(const std::string& line)> report;
    std::function<void(const std::string& line)> error;
    bool reportTiming = false;
};

// Imports every file; reports each import as it ends (its line, then its
// message lines). Files without an importer are reported as errors and skipped.
std::vector<ImportRecord> RunImports(const std::vector<std::string>& files, bool suppressPrompts,
                                     RecordingScene& scene, Interface& core,
                                     const BatchServices& services);

// Exports the scene (with SCENE_EXPORT_SELECTED among the options, its
// selected nodes) to the file by a new exporter, as the host's File >
// Export does; reports its line, then its message lines. The counts are
// those of the written file's header.
ExportRecord RunExport(const std::string& file, bool suppressPrompts, HostScene& scene,
                       Interface& core, const BatchServices& services, DWORD options = 0);
