// What plyhost prints and writes: the report line of each import, its
// message lines, and the scene dump with its import and message lines.
#pragma once

#include <string>
#include <vector>

#include "hostapp/recordingscene.h"
#include "hostapp/viewer/bmpwriter.h"

struct ImportRecord {
    std::string file;  // as given on the command line
    std::string path;  // the full path handed to DoImport
    bool ran = false;  // false when no importer could be had for the file
    int result = 0;
    ImportCounts counts;
    std::vector<std::string> messages;  // message texts recorded during the import
    double milliseconds = 0;            // wall time of DoImport, dialogs included
    bool zoomExtents = false;           // the importer asked for the view to frame the scene
};

struct ExportRecord {
    std::string file;  // as given on the command line
    std::string path;  // the full path handed to DoExport
    bool ran = false;  // false when no exporter could be had
    int result = 0;
    unsigned long long vertices = 0, faces = 0;  // of the file written
    std::vector<std::string> messages;
};

// "FILE: export result R, V vertices, F faces"
std::string ExportReportLine(const ExportRecord& record);

// An import counts as good when it ran and DoImport answered 1 or 2.
bool ImportSucceeded(const ImportRecord& record);
// "time: DoImport N ms".
std::string TimingReportLine(const ImportRecord& record);
bool AllImportsSucceeded(const std::vector<ImportRecord>& records);

// "FILE: result R, N node(s), V vertices, F faces"
std::string ImportReportLine(const ImportRecord& record);
// "message: TEXT", line breaks written as \n and other control bytes as
// \xNN, so that it stays one line and a file cannot drive the terminal.
std::string MessageReportLine(const std::string& text);

// What the viewport has to say of its drawing.
struct DrawingNotes {
    bool texturesOverBudget = false;
    bool tooLargeToDraw = false;
};
// Said when the scene is too large to draw in this process's memory.
extern const char kTooLargeToDrawText[];

// "2 of 5 nodes selected"; with one, its name after a colon; empty with none.
std::string SelectionText(int selected, int nodes, const std::string& onlyName);

// What the main window's status line tells.
struct StatusParts {
    ImportCounts scene;
    std::string selection;                     // SelectionText
    const ImportRecord* lastImport = nullptr;  // null: none since the scene began
    const ExportRecord* lastExport = nullptr;  // null: none since the last import
    std::string note;                          // what went wrong with the last command
    DrawingNotes drawing;
};

// The main window's status line: the scene's counts and selection, then
// what the last import has to say (its result when it failed, and its
// messages), the last export's report line and messages, the note, and
// the drawing's notes (kTooLargeToDrawText, kOverBudgetText). One line:
// control bytes become spaces.
std::string StatusLineText(const StatusParts& parts);

// The whole dump: "import PATH result R" and its "message TEXT" lines for
// every import that ran, in order, then the node blocks and "end".
std::string SceneDumpText(const std::vector<ImportRecord>& records, const HostScene& scene);

// Writes text to path, or to standard output for "-".
WriteResult WriteTextFile(const std::string& path, const std::string& text);
