// The command line of plyhost.exe.
#pragma once

#include <string>
#include <vector>

#include "hostapp/optionfields.h"
#include "hostapp/viewer/viewmodes.h"

// One --set NAME=VALUE: what the driver enters into the options dialog.
struct OptionSetting {
    const OptionField* field;
    bool checked;      // check boxes
    std::string text;  // the scale as the user types it
};

struct HostOptions {
    std::string pluginPath;  // empty: the default beside plyhost.exe
    std::string cfgDir;      // empty: the default beside plyhost.exe
    std::string helpDir;     // empty: the default beside plyhost.exe
    std::string dumpPath;    // "-" is standard output
    std::string snapshotPath;
    StandardView view = StandardView::kThreeQuarter;  // of the snapshot
    DisplayMode mode = DisplayMode::kShaded;          // of the snapshot
    bool viewOrModeGiven = false;
    std::string colourBy;  // of the snapshot: a named map channel, empty for the own colours
    std::string toolkitSnapshotPath;  // alone: the toolkit panel's picture
    bool quiet = false;
    bool autoAnswer = false;
    bool timing = false;  // report the wall time of each DoImport
    bool showUsage = false;
    bool toolkitPanel = false;  // alone: the toolkit panel as the program's window
    bool window = false;        // the files go into the main window, which stays open
    std::vector<OptionSetting> settings;
    std::string exporterPath;  // empty: the default beside plyhost.exe
    std::string exportPath;    // after the imports, the whole scene is exported there
    int exportFormat = -1;     // ExportFormatName's index; -1: the saved option
    std::vector<OptionSetting> exportSettings;  // entered into the export options dialog
    bool hasName = false;
    std::string name;
    std::vector<std::string> files;

    // With --window, or without files, without anything to write and without
    // --toolkit, the host opens its main window.
    bool Interactive() const {
        return window || (files.empty() && dumpPath.empty() && snapshotPath.empty() &&
                          exportPath.empty() && toolkitSnapshotPath.empty() && !toolkitPanel);
    }
};

struct ParseResult {
    bool ok;
    std::string reason;  // one line when !ok
};

// Reads the arguments after the program name. "--" ends the options.
ParseResult ParseCommandLine(const std::vector<std::string>& args, HostOptions& out);

// The text --help prints.
const char* UsageText();
