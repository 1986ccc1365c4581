// The host's main window: a menu (File > Import..., Export..., Export
// Selected..., Reset, Exit; Select; View; Help > Toolkit..., About...) over
// the viewport, and a status line under it. PLY files dropped onto it are
// imported as File > Import... does; a click in the viewport selects.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "hostapp/autodriver_win.h"
#include "hostapp/pluginloader_win.h"
#include "hostapp/recordingscene.h"
#include "hostapp/selection_win.h"

// Menu commands; tests post them to the window.
const int kCmdImport = 40001;
const int kCmdReset = 40002;
const int kCmdExit = 40003;
const int kCmdAbout = 40004;
const int kCmdToolkit = 40005;
const int kCmdExport = 40006;
const int kCmdExportSelected = 40007;

extern const char kMainWindowClass[];

struct MainWindowContext {
    const PluginLoader* plugin;
    RecordingScene* scene;
    HostCore* core;
    DialogWatcher* watcher;  // may be null
    bool suppressPrompts;
    bool reportTiming;
    std::function<void(const std::string&)> report;  // one report line
    std::function<void(const std::string&)> error;   // one error line, for the files below
    std::vector<std::string> files;                  // imported in order once the window shows
    std::string exporterPath;  // the exporter plug-in, loaded on the first export
    bool filesFailed = false;  // set by the window: an import of files failed
};

// Makes and shows the main window, which keeps its own state until it is
// destroyed and then posts WM_QUIT; null when it cannot be made.
HWND CreateMainWindow(HINSTANCE instance, MainWindowContext& context);

// Shows the main window and runs its message loop until it closes; the
// result is the process's exit status: 1 when an import of context.files
// failed (as in batch mode), else 0.
int RunMainWindow(HINSTANCE instance, MainWindowContext& context);

// The hidden window that owns the plug-in's dialogs in batch mode, sized like
// the main window so dialogs centred over it sit in the middle of the screen.
HWND CreateOwnerWindow(HINSTANCE instance);
