#include "hostapp/report.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "hostapp/viewer/texturecache.h"
#include "hostsdk/plugapi.h"

bool ImportSucceeded(const ImportRecord& record) {
    return record.ran && (record.result == IMPEXP_SUCCESS || record.result == IMPEXP_CANCEL);
}

bool AllImportsSucceeded(const std::vector<ImportRecord>& records) {
    for (const ImportRecord& r : records)
        if (!ImportSucceeded(r)) return false;
    return true;
}

std::string ImportReportLine(const ImportRecord& record) {
    char counts[128];
    std::snprintf(counts, sizeof counts, ": result %d, %d node(s), %d vertices, %d faces",
                  record.result, record.counts.nodes, record.counts.vertices, record.counts.faces);
    return record.file + counts;
}

std::string ExportReportLine(const ExportRecord& record) {
    char counts[128];
    std::snprintf(counts, sizeof counts, ": export result %d, %llu vertices, %llu faces",
                  record.result, record.vertices, record.faces);
    return record.file + counts;
}

std::string MessageReportLine(const std::string& text) {
    return "message: " + DumpText(text.c_str());
}

std::string TimingReportLine(const ImportRecord& record) {
    char line[64];
    std::snprintf(line, sizeof line, "time: DoImport %.0f ms", record.milliseconds);
    return line;
}

namespace {

std::string OneLine(const std::string& text) {
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
        const bool control = static_cast<unsigned char>(c) < 0x20 || c == 0x7F;
        out += control ? ' ' : c;
    }
    return out;
}

}  // namespace

const char kTooLargeToDrawText[] = "the scene is too large to draw here: not enough memory";

std::string SelectionText(int selected, int nodes, const std::string& onlyName) {
    if (selected <= 0) return "";
    std::string text =
        std::to_string(selected) + " of " + std::to_string(nodes) + " nodes selected";
    return selected == 1 ? text + ": " + onlyName : text;
}

std::string StatusLineText(const StatusParts& parts) {
    std::string line = std::to_string(parts.scene.vertices) + " vertices, " +
                       std::to_string(parts.scene.faces) + " faces";
    if (!parts.selection.empty()) line += " | " + OneLine(parts.selection);
    const ImportRecord* in = parts.lastImport;
    if (in && !ImportSucceeded(*in))
        line += " | import failed: result " + std::to_string(in->result);
    if (in)
        for (const std::string& m : in->messages) line += " | " + OneLine(m);
    const ExportRecord* out = parts.lastExport;
    if (out && out->ran) line += " | " + OneLine(ExportReportLine(*out));
    if (out)
        for (const std::string& m : out->messages) line += " | " + OneLine(m);
    if (!parts.note.empty()) line += " | " + OneLine(parts.note);
    if (parts.drawing.tooLargeToDraw) line += std::string(" | ") + kTooLargeToDrawText;
    if (parts.drawing.texturesOverBudget) line += std::string(" | ") + kOverBudgetText;
    return line;
}

std::string SceneDumpText(const std::vector<ImportRecord>& records, const HostScene& scene) {
    std::string out;
    for (const ImportRecord& r : records) {
        if (!r.ran) continue;
        out += "import " + r.path + " result " + std::to_string(r.result) + "\n";
        for (const std::string& m : r.messages) out += "message " + DumpText(m.c_str()) + "\n";
    }
    return out + DumpScene(scene);
}

WriteResult WriteTextFile(const std::string& path, const std::string& text) {
    if (path == "-") {
        bool ok = std::fwrite(text.data(), 1, text.size(), stdout) == text.size();
        ok = std::fflush(stdout) == 0 && ok;
        return {ok, ok ? "" : "cannot write the dump to standard output"};
    }
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return {false, "cannot create " + path + ": " + std::strerror(errno)};
    size_t written = std::fwrite(text.data(), 1, text.size(), f);
    bool closed = std::fclose(f) == 0;
    if (written != text.size() || !closed) return {false, "cannot write " + path};
    return {true, ""};
}
