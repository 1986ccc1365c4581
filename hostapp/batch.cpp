#include "hostapp/batch.h"

#include <chrono>

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
