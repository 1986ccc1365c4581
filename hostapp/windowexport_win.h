// The main window's File > Export... and Export Selected...: the exporter
// plug-in, loaded on first use and kept while the window lives, and the
// system's save dialog that names the file.
#pragma once

#include <windows.h>

#include <string>

#include "hostapp/pluginloader_win.h"

class WindowExporter {
  public:
    explicit WindowExporter(const std::string& path) : path(path) {}

    // Loads the exporter unless it is loaded, and asks a fresh exporter
    // once whether it writes the selection alone; false with the reason, in
    // one line, when it cannot be loaded (tried again on the next call).
    bool Load(std::string& reason);
    // Export Selected... is offered until the loaded exporter says no.
    bool MayExportSelection() const { return !loaded || exportsSelection; }
    const PluginLoader& Loader() const { return loader; }

  private:
    std::string path;
    PluginLoader loader;
    bool loaded = false;
    bool exportsSelection = false;
};

// The system's save dialog for a PLY file, asking before it names a file
// that exists; false when cancelled.
bool AskForExportFile(HWND owner, const char* title, std::string& path);
