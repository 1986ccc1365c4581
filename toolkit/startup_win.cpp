#include "toolkit/arrow_button.h"
#include "toolkit/button.h"
#include "toolkit/checkbox.h"
#include "toolkit/class_names.h"
#include "toolkit/combobox.h"
#include "toolkit/groupbox.h"
#include "toolkit/inplace_edit.h"
#include "toolkit/listbox.h"
#include "toolkit/listctrl.h"
#include "toolkit/menu.h"
#include "toolkit/progress.h"
#include "toolkit/scrollbar.h"
#include "toolkit/spinner.h"
#include "toolkit/startup.h"
#include "toolkit/static.h"
#include "toolkit/treectrl.h"

namespace {

const UINT kPlainStyle = CS_HREDRAW | CS_VREDRAW;
const UINT kClickStyle = CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS;
const UINT kPopupStyle = CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS | CS_SAVEBITS;

struct ToolkitClass {
    const char* name;
    UINT style;
    WNDPROC procedure;
};

// In registration order. The spin button comes before the spinner that creates it.
const ToolkitClass kToolkitClasses[] = {
    {kStaticClass, kPlainStyle, StaticProc},
    {kGroupBoxClass, kPlainStyle, GroupBoxProc},
    {kButtonClass, kPlainStyle, ButtonProc},
    {kArrowButtonClass, kPlainStyle, ArrowButtonProc},
    {kCheckBoxClass, kPlainStyle, CheckBoxProc},
    {kSpinButtonClass, kPlainStyle, SpinButtonProc},
    {kSpinnerClass, kPlainStyle, SpinnerProc},
    {kListBoxClass, kClickStyle, ListBoxProc},
    {kComboBoxClass, kClickStyle, ComboBoxProc},
    {kScrollBarClass, kClickStyle, ScrollBarProc},
    {kInplaceEditClass, kPopupStyle, InplaceEditProc},
    {kMenuClass, kPopupStyle, MenuProc},
    {kTreeCtrlClass, kClickStyle, TreeCtrlProc},
    {kListCtrlClass, kClickStyle, ListCtrlProc},
    {kProgressCtrlClass, kClickStyle, ProgressCtrlProc},
};

bool RegisterToolkitClass(HINSTANCE module, const ToolkitClass& entry) {
    WNDCLASSA description = {};
    description.style = entry.style;
    description.lpfnWndProc = entry.procedure;
    description.cbClsExtra = 0;
    description.cbWndExtra = kToolkitWindowExtraBytes;
    description.hInstance = module;
    description.hIcon = nullptr;
    description.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    description.hbrBackground = nullptr;
    description.lpszMenuName = nullptr;
    description.lpszClassName = entry.name;
    if (RegisterClassA(&description) != 0) return true;
    // The class may be left over from an earlier start-up in this process.
    if (GetLastError() == ERROR_CLASS_ALREADY_EXISTS) return true;
    MessageBoxA(nullptr, "Failed to Create", entry.name, MB_ICONWARNING);
    return false;
}

}  // namespace

int RegisterToolkitClasses(HINSTANCE module) {
    for (const ToolkitClass& entry : kToolkitClasses) {
        if (!RegisterToolkitClass(module, entry)) return 0;
    }
    return 1;
}
