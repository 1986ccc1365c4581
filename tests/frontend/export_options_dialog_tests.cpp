// The export options dialog, driven as a user would drive it, with the
// exporter library's templates linked into the program.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <functional>
#include <string>

#include "frontend/export_options.h"
#include "frontend/module.h"
#include "resources/export_ids.h"
#include "tests/frontend/dialog_driver_win.h"
#include "tests/toolkit/window_test_support_win.h"
#include "toolkit/combobox.h"
#include "toolkit/menu.h"
#include "toolkit/window_record.h"

namespace {

// The check boxes in the order Describe writes their options.
const int kBoxes[] = {IDC_EXPORT_NORMALS,  IDC_EXPORT_COLORS,    IDC_EXPORT_TEXCOORDS,
                      IDC_EXPORT_CHANNELS, IDC_EXPORT_MATERIALS, IDC_EXPORT_FLIP_ZY,
                      IDC_SELECTED_ONLY};

std::string Describe(const ExportOptions& o) {
    char text[80];
    std::snprintf(text, sizeof text, "format %d scale %g boxes %d%d%d%d%d%d%d", o.format, o.scale,
                  o.normals, o.vertexColors, o.textureCoords, o.mapChannels, o.materials, o.flipZY,
                  o.selectedOnly);
    return text;
}

HWND ScaleField(HWND dialog) {
    return FindWindowExA(GetDlgItem(dialog, IDC_EXPORT_SCALE), nullptr, "Edit", nullptr);
}

// What the dialog shows: the format, the scale and the boxes in Describe's
// order, a disabled one as '-'.
std::string Shown(HWND dialog) {
    HWND format = GetWindowRecord<ComboBoxRecord>(GetDlgItem(dialog, IDC_EXPORT_FORMAT))->edit;
    std::string text = WindowText(format) + " scale " + WindowText(ScaleField(dialog)) + " boxes ";
    for (int id : kBoxes) {
        const bool checked = IsDlgButtonChecked(dialog, id) == BST_CHECKED;
        text += !IsWindowEnabled(GetDlgItem(dialog, id)) ? '-' : checked ? '1' : '0';
    }
    return text;
}

// Opens the drop-down with a click and clicks the choice.
void ChooseFormat(HWND dialog, int choice) {
    ClickItem(dialog, IDC_EXPORT_FORMAT);
    HWND menu = FindWindowA("ksMenu", nullptr);
    const RECT item = GetWindowRecord<MenuRecord>(menu)->items[choice]->itemRect;
    ClickAt(menu, item.left + 5, item.top + 2);
}

class ExportOptionsDialogTest : public ::testing::Test {
  protected:
    void SetUp() override {
        PrepareToolkit();
        SetPluginModule(ThisModule());
    }
    // Runs the dialog while user acts on it from a thread of its own.
    int Drive(bool offerSelectedOnly, const std::function<void(HWND)>& user) {
        Watcher watcher([&] {
            HWND dialog = WaitForDialogWithChild(IDC_EXPORT);
            Flush(dialog);
            user(dialog);
        });
        const int result = ShowExportOptionsDialog(owner.Window(), options, offerSelectedOnly);
        watcher.Join();
        return result;
    }
    TestParent owner{320, 200};
    DialogThreadHook hook;
    ExportOptions options;
};

struct DialogRun {
    bool offerSelectedOnly;
    int button;
    const char* shown;
};
// Without a selection, "Selected Only" shows disabled and unchecked whatever
// was saved, a click cannot change it, and "Export" writes 0.
const DialogRun kRuns[] = {
    {true, IDCANCEL, "Binary little-endian scale 0.01 boxes 1111011"},
    {true, IDC_EXPORT, "Binary little-endian scale 0.01 boxes 1111011"},
    {false, IDC_EXPORT, "Binary little-endian scale 0.01 boxes 111101-"},
};

// The user changes the format, a channel, the flip, the scale and the
// selection; Enter in between does nothing (no push button is the default).
TEST_F(ExportOptionsDialogTest, ExportWritesTheChangesCancelLeavesThem) {
    ExportOptions saved;
    saved.materials = 0;
    saved.selectedOnly = 1;
    ExportOptions changed = saved;
    changed.selectedOnly = 0;
    changed.format = kExportBinaryBigEndian;
    changed.vertexColors = changed.flipZY = 0;
    changed.scale = 2.5f;
    for (const DialogRun& run : kRuns) {
        options = saved;
        std::string shown;
        const int result = Drive(run.offerSelectedOnly, [&](HWND d) {
            shown = Shown(d);
            ChooseFormat(d, kExportBinaryBigEndian);
            for (int id : {IDC_EXPORT_COLORS, IDC_EXPORT_FLIP_ZY, IDC_SELECTED_ONLY})
                ClickItem(d, id);
            ReplaceText(ScaleField(d), "2.5");
            PressKey(d, VK_RETURN);
            ClickItem(d, run.button);
        });
        EXPECT_EQ(shown, run.shown);
        EXPECT_EQ(result, run.button == IDC_EXPORT ? 1 : 0) << run.shown;
        EXPECT_EQ(Describe(options), Describe(run.button == IDC_EXPORT ? changed : saved));
    }
}

}  // namespace
