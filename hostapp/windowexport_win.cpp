#include "hostapp/windowexport_win.h"

#include <commdlg.h>

bool WindowExporter::Load(std::string& reason) {
    if (loaded) return true;
    LoadResult result = loader.Load(path, SCENE_EXPORT_CLASS_ID);
    if (!result.ok) {
        reason = result.reason;
        return false;
    }
    std::string unused;
    SceneExport* probe = loader.CreateExporter(unused);
    exportsSelection = probe && probe->SupportsOptions(0, SCENE_EXPORT_SELECTED);
    delete probe;
    loaded = true;
    return true;
}

bool AskForExportFile(HWND owner, const char* title, std::string& path) {
    char buf[MAX_PATH] = "";
    static const char kFilter[] = "PLY files (*.ply)\0*.ply\0";
    OPENFILENAMEA ofn = {};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = owner;
    ofn.lpstrFilter = kFilter;
    ofn.nFilterIndex = 1;
    ofn.lpstrFile = buf;
    ofn.nMaxFile = sizeof buf;
    ofn.lpstrTitle = title;
    ofn.lpstrDefExt = "ply";
    ofn.Flags = OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_EXPLORER;
    if (!GetSaveFileNameA(&ofn)) return false;
    path = buf;
    return true;
}
