#include "frontend/help.h"
#include "importer/dazazu.h"
#include "importer/resstring.h"
#include "resources/resource_ids.h"
#include "toolkit/messagebox.h"

namespace {

const WORD kHtmlHelpOrdinal = 14;
const UINT kDisplayIndex = 2;  // HH_DISPLAY_INDEX

typedef HWND(WINAPI* HtmlHelpFunction)(HWND, LPCSTR, UINT, DWORD_PTR);

// Library-wide: one help control serves every import of the library's life.
HtmlHelpLookup lookup = kSystemHtmlHelp;
HMODULE htmlHelpModule;
HtmlHelpFunction htmlHelp;
bool htmlHelpFailed;

// The registered path of the control, then the control by name.
HMODULE LoadHtmlHelpModule() {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CLASSES_ROOT, lookup.classKey, 0, KEY_READ, &key) == ERROR_SUCCESS) {
        char path[MAX_PATH] = "";
        DWORD size = sizeof path - 1;  // room for a zero the value may lack
        DWORD type = 0;
        LONG read =
            RegQueryValueExA(key, nullptr, nullptr, &type, reinterpret_cast<BYTE*>(path), &size);
        RegCloseKey(key);
        if (read == ERROR_SUCCESS && (type == REG_SZ || type == REG_EXPAND_SZ) && path[0]) {
            // Newer systems register it as "%SystemRoot%\System32\hhctrl.ocx".
            char expanded[MAX_PATH] = "";
            const DWORD length = ExpandEnvironmentStringsA(path, expanded, sizeof expanded);
            HMODULE module =
                LoadLibraryA(length > 0 && length <= sizeof expanded ? expanded : path);
            if (module) return module;
        }
    }
    return LoadLibraryA(lookup.moduleName);
}

bool HtmlHelpReady() {
    if (htmlHelpFailed) return false;
    if (!htmlHelpModule) htmlHelpModule = LoadHtmlHelpModule();
    if (!htmlHelpModule) {
        htmlHelpFailed = true;
        return false;
    }
    if (!htmlHelp)
        htmlHelp = reinterpret_cast<HtmlHelpFunction>(reinterpret_cast<void*>(
            GetProcAddress(htmlHelpModule, MAKEINTRESOURCEA(kHtmlHelpOrdinal))));
    if (!htmlHelp) htmlHelpFailed = true;
    return htmlHelp != nullptr;
}

}  // namespace

HWND CallHtmlHelp(HWND owner, const char* path, UINT command, DWORD_PTR data) {
    if (!HtmlHelpReady()) return nullptr;
    return htmlHelp(owner, path, command, data);
}

void SetHtmlHelpLookup(const HtmlHelpLookup& newLookup) {
    lookup = newLookup;
    htmlHelpModule = nullptr;
    htmlHelp = nullptr;
    htmlHelpFailed = false;
}

CStr HelpFilePath(const DazAzu& importer) {
    const char* dir =
        importer.hostInterface ? importer.hostInterface->GetDir(APP_HELP_DIR) : nullptr;
    const char* name = LoadResString(IDS_HELP_FILE);
    CStr path;
    path.printf("%s\\%s", dir ? dir : "", name ? name : "");
    return path;
}

void ShowHelp(HWND owner, const DazAzu& importer) {
    const CStr path = HelpFilePath(importer);
    HWND help = CallHtmlHelp(owner, path.data(), kDisplayIndex, 0);
    if (help) {
        SetWindowPos(help, HWND_TOP, 0, 0, 0, 0, SWP_NOSIZE);
        return;
    }
    const char* text = LoadResString(IDS_HELP_NOT_FOUND);
    if (importer.showPrompts) ToolkitMessageBox(owner, text, 0);
}
