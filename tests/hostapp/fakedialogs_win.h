// Stand-ins for the plug-in's options dialog and toolkit message box, with
// the control ids and texts the real ones have, for testing the reference
// host's --auto driver before (and apart from) the real dialogs.
#pragma once

#include <windows.h>

#include <string>

struct FakeOptions {
    bool replaceScene = true;
    bool flipZY = true;
    bool centerPivot = true;
    bool generateNormals = false;
    bool vertexNormals = true;
    bool vertexColors = true;
    bool textureCoords = true;
    bool materials = true;
    double scale = 100.0;
    std::string name;
    // Like a file without normals: "Vertex Normals" shown but disabled.
    bool normalsAvailable = false;
    // The id of the control that had the focus when "Import" came (0: none).
    int focusAtImport = 0;
};

// A modal dialog with the options dialog's controls: check boxes 1016 1009
// 1012 1005 1001 1002 1003 1004, name field 1018, a scale control 1010 that
// holds an edit field (as the spinner does), "Import" 1025 and "Cancel" 2.
// "Import" writes the controls back into options and ends with 1; "Cancel" 0.
INT_PTR RunFakeOptionsDialog(HWND owner, FakeOptions& options);

// A modal box like the toolkit's: no text control, the text at the start of
// the record in its user data, one "OK" button with id 1 (ends with 1).
INT_PTR RunFakeMessageBox(HWND owner, const char* text);
