#include "tests/toolkit/window_test_support_win.h"

#include "toolkit/skin.h"
#include "toolkit/startup.h"

const int kLibrarySkinBitmaps[8] = {116, 116, 115, 117, 110, 111, 114, 112};

HINSTANCE ThisModule() { return GetModuleHandleA(nullptr); }

void PrepareToolkit() {
    RegisterToolkitClasses(ThisModule());
    SetupSkin(ThisModule(), kLibrarySkinBitmaps, 102);
}

namespace {

const char kParentClass[] = "ksTestParent";

}  // namespace

TestParent::TestParent(int width, int height) : window(nullptr) {
    WNDCLASSA description = {};
    description.lpfnWndProc = Proc;
    description.hInstance = ThisModule();
    description.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    description.lpszClassName = kParentClass;
    RegisterClassA(&description);
    window = CreateWindowExA(0, kParentClass, "", WS_POPUP, 40, 40, width, height, nullptr, nullptr,
                             ThisModule(), this);
    ShowWindow(window, SW_SHOWNOACTIVATE);
    UpdateWindow(window);
}

TestParent::~TestParent() { DestroyWindow(window); }

std::vector<int> TestParent::Codes() const { return codes; }

void TestParent::ClearCodes() { codes.clear(); }

LRESULT CALLBACK TestParent::Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        CREATESTRUCTA* create = reinterpret_cast<CREATESTRUCTA*>(lParam);
        SetWindowLongPtrA(window, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    TestParent* self = reinterpret_cast<TestParent*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    switch (message) {
        case WM_COMMAND:
            if (self) self->codes.push_back(HIWORD(wParam));
            return 0;
        case WM_ERASEBKGND: {
            RECT client;
            GetClientRect(window, &client);
            HBRUSH brush = CreateSolidBrush(kSentinel);
            FillRect(reinterpret_cast<HDC>(wParam), &client, brush);
            DeleteObject(brush);
            return 1;
        }
        default:
            return DefWindowProcA(window, message, wParam, lParam);
    }
}

Canvas::Canvas(int width, int height, COLORREF fill) : dc(CreateCompatibleDC(nullptr)) {
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    previous = SelectObject(dc, bitmap);
    RECT all = {0, 0, width, height};
    HBRUSH brush = CreateSolidBrush(fill);
    FillRect(dc, &all, brush);
    DeleteObject(brush);
}

int Canvas::CountInRow(int y, int x0, int x1, COLORREF c) const {
    int n = 0;
    for (int x = x0; x <= x1; ++x) n += At(x, y) == c;
    return n;
}

int Canvas::CountInColumn(int x, int y0, int y1, COLORREF c) const {
    int n = 0;
    for (int y = y0; y <= y1; ++y) n += At(x, y) == c;
    return n;
}

int Canvas::CountAll(int width, int height, COLORREF c) const {
    int n = 0;
    for (int y = 0; y < height; ++y) n += CountInRow(y, 0, width - 1, c);
    return n;
}

Canvas::~Canvas() {
    SelectObject(dc, previous);
    DeleteObject(bitmap);
    DeleteDC(dc);
}

void PaintNow(HWND window) {
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

COLORREF WindowPixel(HWND window, int x, int y) {
    HDC dc = GetDC(window);
    COLORREF colour = GetPixel(dc, x, y);
    ReleaseDC(window, dc);
    return colour;
}

int CountInWindowRow(HWND window, int y, int x0, int x1, COLORREF colour) {
    HDC dc = GetDC(window);
    int n = 0;
    for (int x = x0; x <= x1; ++x) n += GetPixel(dc, x, y) == colour;
    ReleaseDC(window, dc);
    return n;
}

ResourceBitmap::ResourceBitmap(int id)
    : bitmap(LoadBitmapA(ThisModule(), MAKEINTRESOURCEA(id))),
      size(),
      dc(CreateCompatibleDC(nullptr)),
      previous(nullptr) {
    if (!bitmap) return;
    GetObjectA(bitmap, sizeof size, &size);
    previous = SelectObject(dc, bitmap);
}

ResourceBitmap::~ResourceBitmap() {
    if (bitmap) {
        SelectObject(dc, previous);
        DeleteObject(bitmap);
    }
    DeleteDC(dc);
}

std::string WindowText(HWND window) {
    char text[512] = "";
    GetWindowTextA(window, text, sizeof text);
    return text;
}

std::string ClassName(HWND window) {
    char name[64] = "";
    GetClassNameA(window, name, sizeof name);
    return name;
}

namespace {

struct DialogSearch {
    int childId;
    HWND found;
};

BOOL CALLBACK FindDialog(HWND window, LPARAM search) {
    DialogSearch* s = reinterpret_cast<DialogSearch*>(search);
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (process != GetCurrentProcessId() || !IsWindowVisible(window)) return TRUE;
    if (ClassName(window) != "#32770" || !GetDlgItem(window, s->childId)) return TRUE;
    s->found = window;
    return FALSE;
}

}  // namespace

HWND WaitForDialogWithChild(int childId, DWORD timeoutMs) {
    DWORD start = GetTickCount();
    for (;;) {
        DialogSearch search = {childId, nullptr};
        EnumWindows(FindDialog, reinterpret_cast<LPARAM>(&search));
        if (search.found) return search.found;
        if (GetTickCount() - start > timeoutMs) return nullptr;
        Sleep(5);
    }
}

bool IsToolkitMessageBox(HWND window) {
    HWND ok = GetDlgItem(window, 1);
    return ClassName(window) == "#32770" && ok && ClassName(ok) == "ksButton";
}

namespace {

BOOL CALLBACK FindBox(HWND window, LPARAM found) {
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (process != GetCurrentProcessId() || !IsToolkitMessageBox(window)) return TRUE;
    *reinterpret_cast<HWND*>(found) = window;
    return FALSE;
}

}  // namespace

HWND FindToolkitMessageBox() {
    HWND found = nullptr;
    EnumWindows(FindBox, reinterpret_cast<LPARAM>(&found));
    return found;
}

Watcher::Watcher(std::function<void()> work) : action(std::move(work)), thread(nullptr) {
    thread = CreateThread(nullptr, 0, Run, this, 0, nullptr);
}

Watcher::~Watcher() { Join(); }

// Handles what the watcher sends to this thread's windows while waiting,
// so a watcher that is still talking to a window cannot deadlock the join.
void Watcher::Join() {
    if (!thread) return;
    for (;;) {
        MSG message;
        PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
        DWORD woken = MsgWaitForMultipleObjects(1, &thread, FALSE, 20, QS_SENDMESSAGE);
        if (woken == WAIT_OBJECT_0 || woken == WAIT_FAILED) break;
    }
    CloseHandle(thread);
    thread = nullptr;
}

DWORD WINAPI Watcher::Run(void* self) {
    static_cast<Watcher*>(self)->action();
    return 0;
}
