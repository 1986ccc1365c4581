// Reads an extended dialog template (DLGTEMPLATEEX) of this program's
// resources back into plain fields, so tests can compare it with its table.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

struct TemplateControl {
    DWORD style;
    short x, y, cx, cy;
    DWORD id;
    std::string className;
    std::string text;
};

struct DialogTemplate {
    bool extended = false;
    DWORD style = 0;
    short cx = 0, cy = 0;
    std::string title;
    WORD pointSize = 0;
    std::string face;
    std::vector<TemplateControl> controls;
};

// The English (US) dialog resource id of this program; empty when missing.
DialogTemplate ReadDialogTemplate(int id);

// Expects the template's controls to be these, in this order. Class names
// match without regard to case (the resource compiler may store capitals).
void ExpectControls(const DialogTemplate& t, const std::vector<TemplateControl>& expected);
