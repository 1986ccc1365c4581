#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "toolkit/class_names.h"
#include "toolkit/colours.h"
#include "toolkit/draw.h"
#include "toolkit/edit_subclass.h"
#include "toolkit/fonts.h"
#include "toolkit/spinner.h"
#include "toolkit/subclass.h"
#include "toolkit/window_helpers.h"
#include "toolkit/window_record.h"

namespace {

// Texts are read and written whole up to this size. Values that fit the
// field (up to 15 characters) are unaffected; longer ones are parsed from
// the text as shown rather than from a cut copy of it.
const int kSpinnerTextLimit = 64;
const int kMaxPrecision = 15;
const int kFieldHeight = 18;
const int kButtonWidth = 12;
const int kButtonHeight = 9;

SubclassSlot spinnerEditSlot;

bool KeyDown(int key) { return GetKeyState(key) < 0; }

void BuildFormat(SpinnerRecord& record) {
    int precision = record.precision;
    if (precision < 0) precision = 0;
    if (precision > kMaxPrecision) precision = kMaxPrecision;
    snprintf(record.format, sizeof record.format, "%%.%df", precision);
}

double ReadFieldNumber(const SpinnerRecord& record) {
    char text[kSpinnerTextLimit] = "";
    GetWindowTextA(record.edit, text, sizeof text);
    return atof(text);
}

double ClampToRange(const SpinnerRecord& record, double value) {
    if (value < record.minimum) return record.minimum;
    if (value > record.maximum) return record.maximum;
    return value;
}

// Writes the value into the field when its text differs; the selection is
// kept. The field's EN_CHANGE then makes the value follow the shown text.
void ShowValue(HWND window, SpinnerRecord& record) {
    char shown[kSpinnerTextLimit] = "";
    GetWindowTextA(record.edit, shown, sizeof shown);
    char text[kSpinnerTextLimit];
    FormatSpinnerText(record.value, record.format, text, sizeof text);
    if (strcmp(text, shown) == 0) return;
    DWORD start = 0, end = 0;
    SendMessageA(record.edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                 reinterpret_cast<LPARAM>(&end));
    SetWindowTextA(record.edit, text);
    SendMessageA(record.edit, EM_SETSEL, start, end);
    if (record.notify)
        SendMessageA(GetParent(window), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(window), SPN_CHANGE),
                     reinterpret_cast<LPARAM>(window));
}

void ShowQuietly(HWND window, SpinnerRecord& record) {
    record.notify = 0;
    ShowValue(window, record);
    record.notify = 1;
}

// Ctrl makes steps ten times larger; Alt a tenth, when decimals are shown.
double StepMultiplier(const SpinnerRecord& record) {
    double multiplier = 1.0;
    if (KeyDown(VK_CONTROL)) multiplier = 10.0;
    if (record.precision > 0 && KeyDown(VK_MENU)) multiplier = 0.1;
    return multiplier;
}

// A count of 0 is one plain step that also marks the start of a press.
double StepChange(SpinnerRecord& record, int count) {
    double multiplier = StepMultiplier(record);
    if (count == 0) {
        record.savedValue = record.value;
        return record.step;
    }
    return count * record.step * multiplier;
}

void StepUp(HWND window, SpinnerRecord& record, int count) {
    record.value += StepChange(record, count);
    if (record.value > record.maximum) {
        if (record.wrap)
            record.value -= record.maximum - record.minimum + 1;
        else
            record.value = record.maximum;
    }
    ShowValue(window, record);
}

void StepDown(HWND window, SpinnerRecord& record, int count) {
    record.value -= StepChange(record, count);
    if (record.value < record.minimum) {
        if (record.wrap)
            record.value += record.maximum - record.minimum + 1;
        else
            record.value = record.minimum;
    }
    ShowValue(window, record);
}

// The spinner's field: Up and Down step the spinner, only characters of a
// number get through, and it is drawn sunken in the field colour.
LRESULT CALLBACK SpinnerEditProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_ERASEBKGND: {
            RECT client;
            GetClientRect(window, &client);
            FillSolidRect(reinterpret_cast<HDC>(wParam), client, ToolkitColour(kFieldColour));
            return 1;
        }
        case WM_NCPAINT:
            PaintSunkenFieldBorder(window);
            return 0;
        case WM_KEYDOWN:
        case WM_SYSKEYDOWN:
            if (wParam == VK_UP || wParam == VK_DOWN) {
                SendMessageA(GetParent(window), wParam == VK_UP ? SPM_STEPUP : SPM_STEPDOWN, 1, 0);
                return 0;
            }
            break;
        case WM_MOUSEWHEEL:
            // The wheel reaches the focused field; some edit controls keep it
            // to themselves instead of passing it up, so it goes up from here.
            return SendMessageA(GetParent(window), message, wParam, lParam);
        case WM_CHAR:
            if (wParam == VK_BACK || (wParam >= '0' && wParam <= '9') || wParam == '.' ||
                wParam == '-')
                break;
            return 0;
    }
    return CallSubclassed(spinnerEditSlot, window, message, wParam, lParam);
}

HWND CreateSpinButton(HWND spinner, int x, int y) {
    return CreateWindowExA(0, kSpinButtonClass, "", WS_CHILD | WS_VISIBLE, x, y, kButtonWidth,
                           kButtonHeight, spinner, nullptr, WindowModule(spinner), nullptr);
}

void CreateChildren(HWND window, SpinnerRecord& record, int width) {
    RECT client;
    GetClientRect(window, &client);
    const int top = (client.bottom - kFieldHeight) / 2;
    HINSTANCE module = WindowModule(window);
    record.edit = CreateWindowExA(WS_EX_CLIENTEDGE, "Edit", "", WS_CHILD | WS_VISIBLE, 0, top,
                                  width - 13, kFieldHeight, window, nullptr, module, nullptr);
    InstallEditSubclass(record.edit, SpinnerEditProc, spinnerEditSlot);
    SendMessageA(record.edit, WM_SETFONT, reinterpret_cast<WPARAM>(GetToolkitFont(1)), FALSE);
    // A new font resets the margins.
    SendMessageA(record.edit, EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, MAKELPARAM(1, 1));
    record.downButton = CreateSpinButton(window, width - kButtonWidth, top + kButtonHeight);
    record.upButton = CreateSpinButton(window, width - kButtonWidth, top);
    SendMessageA(record.upButton, SPBM_SETDIRECTION, 0, 0);
    SendMessageA(record.upButton, SPBM_SETPARTNER, reinterpret_cast<WPARAM>(record.downButton), 0);
    SendMessageA(record.downButton, SPBM_SETPARTNER, reinterpret_cast<WPARAM>(record.upButton), 0);
}

LRESULT OnCreate(HWND window, const CREATESTRUCTA& create) {
    SpinnerRecord* record = CreateWindowRecord<SpinnerRecord>(window);
    // Without a record the spinner could keep no value: refuse the creation.
    if (!record) return -1;
    record->maximum = 100.0;
    record->step = 1.0;
    record->spare = 1;
    BuildFormat(*record);
    CreateChildren(window, *record, create.cx);
    ShowValue(window, *record);
    record->notify = 1;
    return 1;
}

LRESULT OnDestroy(HWND window, SpinnerRecord* record) {
    if (record) RestoreSubclass(record->edit, spinnerEditSlot);
    DestroyWindowRecord(window);
    return 1;
}

// The parent hears first and the field has the last word: a dialog answers
// WM_SETFOCUS by putting the focus back on its remembered control, which
// would otherwise take it straight away from a spinner tabbed into.
LRESULT OnSetFocus(HWND window, const SpinnerRecord& record) {
    SendMessageA(GetParent(window), WM_SETFOCUS, 0, 0);
    SetFocus(record.edit);
    return 0;
}

LRESULT OnEnable(HWND window, const SpinnerRecord& record, BOOL enable) {
    EnableWindow(record.edit, enable);
    EnableWindow(record.upButton, enable);
    EnableWindow(record.downButton, enable);
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    return 0;
}

LRESULT OnEraseBackground(HWND window, HDC dc) {
    RECT client;
    GetClientRect(window, &client);
    FillSolidRect(dc, client, ToolkitColour(kFaceColour));
    return 1;
}

// Typing: the value follows the text within the range, the text is left alone.
void ParseLive(SpinnerRecord& record) {
    double value = ClampToRange(record, ReadFieldNumber(record));
    if (value != record.value) record.value = value;
}

// Leaving the field: the text is rewritten in its canonical form.
void Commit(HWND window, SpinnerRecord& record) {
    record.value = ClampToRange(record, ReadFieldNumber(record));
    ShowValue(window, record);
}

LRESULT OnCommand(HWND window, SpinnerRecord& record, WPARAM wParam, LPARAM lParam) {
    if (reinterpret_cast<HWND>(lParam) != record.edit) return 1;
    if (HIWORD(wParam) == EN_CHANGE) ParseLive(record);
    if (HIWORD(wParam) == EN_KILLFOCUS) Commit(window, record);
    return 1;
}

LRESULT OnControlColour(HDC dc) { return ControlColourReply(dc, kFieldColour); }

// Whole notches only; a partial notch leaves the value as it is.
LRESULT OnMouseWheel(HWND window, SpinnerRecord& record, WPARAM wParam) {
    const int notches = GET_WHEEL_DELTA_WPARAM(wParam) / WHEEL_DELTA;
    if (notches > 0) StepUp(window, record, notches);
    if (notches < 0) StepDown(window, record, -notches);
    return 0;
}

LRESULT OnSetParams(HWND window, SpinnerRecord& record, const SpinnerParams* params) {
    if (!params) return 1;
    record.minimum = params->minimum;
    record.maximum = params->maximum;
    record.step = params->step;
    record.precision = params->precision;
    record.wrap = params->wrap;
    record.spare = params->spare;
    BuildFormat(record);
    ShowQuietly(window, record);
    return 1;
}

LRESULT OnSetValue(HWND window, SpinnerRecord& record, const double* value) {
    if (!value) return 1;
    record.value = *value;
    ShowQuietly(window, record);
    return 1;
}

LRESULT OnReset(HWND window, SpinnerRecord& record) {
    record.value = record.resetValue < record.minimum ? record.minimum : record.resetValue;
    ShowValue(window, record);
    return 1;
}

LRESULT OnRestore(HWND window, SpinnerRecord& record) {
    record.value = record.savedValue;
    ShowValue(window, record);
    return 1;
}

}  // namespace

void FormatSpinnerText(double value, const char* format, char* text, int size) {
    snprintf(text, size, format, value);
    if (!strchr(text, '.')) return;
    size_t length = strlen(text);
    while (length > 1 && text[length - 1] == '0' && text[length - 2] != '.') text[--length] = '\0';
}

LRESULT CALLBACK SpinnerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CREATE) return OnCreate(window, *reinterpret_cast<CREATESTRUCTA*>(lParam));
    SpinnerRecord* record = GetWindowRecord<SpinnerRecord>(window);
    if (message == WM_DESTROY) return OnDestroy(window, record);
    if (!record) return DefWindowProcA(window, message, wParam, lParam);
    switch (message) {
        case SPM_STEPUP:
            StepUp(window, *record, static_cast<int>(wParam));
            return 1;
        case SPM_STEPDOWN:
            StepDown(window, *record, static_cast<int>(wParam));
            return 1;
        case SPM_RESET:
            return OnReset(window, *record);
        case SPM_RESTORE:
            return OnRestore(window, *record);
        case SPM_SETPARAMS:
            return OnSetParams(window, *record, reinterpret_cast<const SpinnerParams*>(lParam));
        case SPM_SETRESETVALUE:
            if (lParam) record->resetValue = *reinterpret_cast<const double*>(lParam);
            return 1;
        case SPM_SETVALUE:
            return OnSetValue(window, *record, reinterpret_cast<const double*>(lParam));
        case SPM_GETVALUE:
            return reinterpret_cast<LRESULT>(&record->value);
        case WM_SETFOCUS:
            return OnSetFocus(window, *record);
        case WM_KILLFOCUS:
            return 1;
        case WM_ENABLE:
            return OnEnable(window, *record, static_cast<BOOL>(wParam));
        case WM_ERASEBKGND:
            return OnEraseBackground(window, reinterpret_cast<HDC>(wParam));
        case WM_COMMAND:
            return OnCommand(window, *record, wParam, lParam);
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORSTATIC:
            return OnControlColour(reinterpret_cast<HDC>(wParam));
        case WM_LBUTTONDOWN:
            record->savedValue = record->value;
            return 0;
        case WM_MOUSEWHEEL:
            return OnMouseWheel(window, *record, wParam);
        default:
            return DefWindowProcA(window, message, wParam, lParam);
    }
}
