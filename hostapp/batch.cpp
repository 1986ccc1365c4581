#include "hostapp/batch.h"

#include <chrono>
#include <cstdio>
#include <cstring>

namespace {

ImportRecord ImportOne(const std::string& file, bool suppressPrompts, RecordingScene& scene,
                       Interface& core, const BatchServices& services) {
    ImportRecord record;
    record.file = file;
    record.path = services.fullPath(file);
    std::string reason;
    SceneImport* importer = services.createImporter(record.path, reason);
    if (!importer) {
        services.error(file + ": " + reason);
        return record;
    }
    scene.BeginImport();
    auto start = std::chrono::steady_clock::now();
    record.result = importer->DoImport(record.path.c_str(), &scene, &core, suppressPrompts);
    std::chrono::duration<double, std::milli> took = std::chrono::steady_clock::now() - start;
    record.milliseconds = took.count();
    record.ran = true;
    record.zoomExtents = importer->ZoomExtents() == 1;
    delete importer;
    record.counts = scene.AddedCounts();
    if (services.takeMessages) record.messages = services.takeMessages();
    return record;
}

}  // namespace

std::vector<ImportRecord> RunImports(const std::vector<std::string>& files, bool suppressPrompts,
                                     RecordingScene& scene, Interface& core,
                                     const BatchServices& services) {
    std::vector<ImportRecord> records;
    for (const std::string& file : files) {
        records.push_back(ImportOne(file, suppressPrompts, scene, core, services));
        const ImportRecord& r = records.back();
        if (!r.ran) continue;
        services.report(ImportReportLine(r));
        if (services.reportTiming) services.report(TimingReportLine(r));
        for (const std::string& m : r.messages) services.report(MessageReportLine(m));
    }
    return records;
}

namespace {

// The vertex and face counts a PLY header gives; false without a header.
bool ReadHeaderCounts(const std::string& path, unsigned long long& vertices,
                      unsigned long long& faces) {
    FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return false;
    char line[512];
    bool ended = false;
    for (int n = 0; n < 10000 && std::fgets(line, sizeof line, f); ++n) {
        unsigned long long count = 0;
        if (std::sscanf(line, "element vertex %llu", &count) == 1) vertices = count;
        if (std::sscanf(line, "element face %llu", &count) == 1) faces = count;
        if (std::strncmp(line, "end_header", 10) == 0) {
            ended = true;
            break;
        }
    }
    std::fclose(f);
    return ended;
}

}  // namespace

ExportRecord RunExport(const std::string& file, bool suppressPrompts, HostScene& scene,
                       Interface& core, const BatchServices& services, DWORD options) {
    ExportRecord record;
    record.file = file;
    record.path = services.fullPath(file);
    std::string reason;
    SceneExport* exporter = services.createExporter(reason);
    if (!exporter) {
        services.error(file + ": " + reason);
        return record;
    }
    const auto start = std::chrono::steady_clock::now();
    record.result =
        exporter->DoExport(record.path.c_str(), &scene, &core, suppressPrompts, options);
    const std::chrono::duration<double, std::milli> took = std::chrono::steady_clock::now() - start;
    record.ran = true;
    delete exporter;
    if (record.result == IMPEXP_SUCCESS) ReadHeaderCounts(record.path, record.vertices, record.faces);
    if (services.takeMessages) record.messages = services.takeMessages();
    services.report(ExportReportLine(record));
    if (services.reportTiming) services.report("time: DoExport " + std::to_string(long(took.count())) + " ms");
    for (const std::string& m : record.messages) services.report(MessageReportLine(m));
    return record;
}
