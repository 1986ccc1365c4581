// The help lookup: opens the plug-in's compiled HTML help file from the
// host's help folder on its index page, through the system's HTML Help
// control, which is looked up once and kept for the library's life.
#pragma once

#include <windows.h>

#include "hostsdk/strclass.h"

class DazAzu;

// Opens the help file over owner; when there is no help file or no HTML Help
// it says "Help not found" (with prompts) in the toolkit message box.
void ShowHelp(HWND owner, const DazAzu& importer);

// The help file's path: the host's help folder, a backslash, then the string
// table's file name, which begins with one of its own. A host string, so
// that building it can never throw.
CStr HelpFilePath(const DazAzu& importer);

// HtmlHelpA by ordinal 14 of the HTML Help control: the help window or null.
// Loads the control on the first call; once loading has failed it answers
// null at once, for good.
HWND CallHtmlHelp(HWND owner, const char* path, UINT command, DWORD_PTR data);

// Where the HTML Help control is looked for: the registry key (under
// HKEY_CLASSES_ROOT) whose default value is its path, then a module name.
struct HtmlHelpLookup {
    const char* classKey;
    const char* moduleName;
};
const HtmlHelpLookup kSystemHtmlHelp = {
    "CLSID\\{ADB880A6-D8FF-11CF-9377-00AA003B7A11}\\InprocServer32", "hhctrl.ocx"};

// For tests: look elsewhere from now on, and forget what was loaded or
// failed before (the module itself stays loaded).
void SetHtmlHelpLookup(const HtmlHelpLookup& lookup);
