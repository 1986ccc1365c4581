#include <atomic>
#include <string>
#include <vector>

#include "hostsdk/colorman.h"
#include "toolkit/class_names.h"
#include "toolkit/colours.h"
#include "toolkit/fonts.h"
#include "toolkit/messagebox.h"
#include "toolkit/skin.h"

namespace {

const int kTemplateSize = 82;
const DWORD kTemplateStyle = WS_POPUP | DS_SETFONT | DS_FIXEDSYS;
const int kOkButtonId = 1;

// One box at a time; a second message while one is open is dropped.
std::atomic<int> busy(0);
// Measured by the lay-out, used by the painting.
int lineHeight;

// The module this code lives in: the toolkit's classes are registered with it.
HINSTANCE ToolkitModule() {
    HMODULE module = nullptr;
    GetModuleHandleExA(
        GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
        reinterpret_cast<LPCSTR>(&ToolkitModule), &module);
    return module;
}

// Splits at line feeds the way strtok does: runs of them count as one and
// empty lines vanish.
std::vector<std::string> SplitLines(const char* text) {
    std::vector<std::string> lines;
    std::string line;
    for (const char* p = text;; ++p) {
        if (*p == '\n' || *p == '\0') {
            if (!line.empty()) lines.push_back(line);
            line.clear();
            if (*p == '\0') break;
        } else {
            line += *p;
        }
    }
    return lines;
}

// A size measured in the context's logical units, in device units.
SIZE TextSizeInPixels(HDC dc, const std::string& text) {
    SIZE size = {0, 0};
    GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &size);
    POINT corner = {size.cx, size.cy};
    LPtoDP(dc, &corner, 1);
    size.cx = corner.x;
    size.cy = corner.y;
    return size;
}

void LayOut(HWND dialog, const MessageRecord& record) {
    HDC dc = GetDC(dialog);
    HGDIOBJ previousFont = SelectObject(dc, GetToolkitFont(0));
    lineHeight = TextSizeInPixels(dc, "\xD6g").cy;
    std::vector<std::string> lines = SplitLines(record.text);
    int textWidth = 0;
    for (const std::string& line : lines) {
        int width = TextSizeInPixels(dc, line).cx;
        if (width > textWidth) textWidth = width;
    }
    SelectObject(dc, previousFont);
    ReleaseDC(dialog, dc);
    if (textWidth < kMessageMinTextWidth) textWidth = kMessageMinTextWidth;

    HWND button = CreateWindowExA(0, kButtonClass, "OK", WS_CHILD | WS_VISIBLE, 10, 10,
                                  kMessageButtonWidth, kMessageButtonHeight, dialog,
                                  reinterpret_cast<HMENU>(kOkButtonId), ToolkitModule(), nullptr);
    const int width = textWidth + kMessageExtraWidth;
    const int height = lineHeight * static_cast<int>(lines.size()) + kMessageExtraHeight;
    SetWindowPos(dialog, nullptr, 0, 0, width, height, SWP_NOZORDER | SWP_NOREDRAW);
    SetWindowPos(button, nullptr, (width - kMessageButtonWidth) / 2 + 16,
                 height - 29 - kMessageButtonHeight, 0, 0,
                 SWP_NOZORDER | SWP_NOREDRAW | SWP_NOSIZE);
}

void PaintContent(HDC dc, const MessageRecord& record) {
    SetTextColor(dc, ToolkitColour(kTextColour));
    SetBkMode(dc, TRANSPARENT);
    DrawIcon(dc, 20, 35, LoadIconA(nullptr, MessageBoxIcon(record.style)));
    HGDIOBJ previousFont = SelectObject(dc, GetToolkitFont(0));
    std::vector<std::string> lines = SplitLines(record.text);
    for (size_t i = 0; i < lines.size(); ++i) {
        TextOutA(dc, kMessageTextLeft, kMessageTextTop + static_cast<int>(i) * lineHeight,
                 lines[i].c_str(), static_cast<int>(lines[i].size()));
    }
    SelectObject(dc, previousFont);
}

const MessageRecord* RecordOf(HWND dialog) {
    return reinterpret_cast<const MessageRecord*>(
        static_cast<LONG_PTR>(GetWindowLongPtrA(dialog, GWLP_USERDATA)));
}

INT_PTR OnInitDialog(HWND dialog, LPARAM recordAddress) {
    SetWindowLongPtrA(dialog, GWLP_USERDATA, static_cast<LONG_PTR>(recordAddress));
    LayOut(dialog, *RecordOf(dialog));
    ApplySkinRegion(dialog);
    CenterWindow(dialog, GetParent(dialog));
    return TRUE;
}

INT_PTR OnPaint(HWND dialog) {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(dialog, &paint);
    PaintSkin(dialog, dc);
    const MessageRecord* record = RecordOf(dialog);
    if (record) PaintContent(dc, *record);
    EndPaint(dialog, &paint);
    return FALSE;
}

// Only a click of "OK" and the cancel command close the box; the button's
// press and release notifications do not.
INT_PTR OnCommand(HWND dialog, WPARAM wParam) {
    if (LOWORD(wParam) == kOkButtonId && HIWORD(wParam) == BN_CLICKED) EndDialog(dialog, 1);
    if (LOWORD(wParam) == IDCANCEL) EndDialog(dialog, 0);
    return TRUE;
}

INT_PTR CALLBACK MessageBoxProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG:
            return OnInitDialog(dialog, lParam);
        case WM_PAINT:
            return OnPaint(dialog);
        case WM_COMMAND:
            return OnCommand(dialog, wParam);
        case WM_LBUTTONDOWN:
            DragBySkin(dialog, lParam);
            return FALSE;
        default:
            return FALSE;
    }
}

// A dialog of 10 x 10 units without controls, title or font face; the
// lay-out gives it its real size.
HGLOBAL BuildTemplate() {
    HGLOBAL memory = GlobalAlloc(GMEM_ZEROINIT, kTemplateSize);
    if (!memory) return nullptr;
    DLGTEMPLATE* dialog = static_cast<DLGTEMPLATE*>(GlobalLock(memory));
    dialog->style = kTemplateStyle;
    dialog->dwExtendedStyle = 0;
    dialog->cdit = 0;
    dialog->x = 0;
    dialog->y = 0;
    dialog->cx = 10;
    dialog->cy = 10;
    GlobalUnlock(memory);
    return memory;
}

}  // namespace

LPCSTR MessageBoxIcon(UINT style) {
    switch (style & MB_ICONMASK) {
        case MB_ICONQUESTION:
            return IDI_QUESTION;
        case MB_ICONWARNING:
            return IDI_EXCLAMATION;
        default:
            return IDI_ASTERISK;
    }
}

INT_PTR ToolkitMessageBox(HWND owner, const char* text, UINT style) {
    int expected = 0;
    if (!busy.compare_exchange_strong(expected, 1)) return kMessageBoxBusy;
    MessageRecord record;
    lstrcpynA(record.text, text ? text : "", kMessageTextSize);
    record.style = style;
    HGLOBAL memory = BuildTemplate();
    INT_PTR result = 0;
    if (memory) {
        const DLGTEMPLATE* dialog = static_cast<const DLGTEMPLATE*>(GlobalLock(memory));
        result = DialogBoxIndirectParamA(nullptr, dialog, owner, MessageBoxProc,
                                         reinterpret_cast<LPARAM>(&record));
        GlobalUnlock(memory);
        GlobalFree(memory);
    }
    busy = 0;
    return result;
}
