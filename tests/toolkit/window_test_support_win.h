// Helpers for tests that put toolkit windows on screen: a prepared toolkit,
// a parent window that records notifications, pixel read-back, and a
// watcher thread that finds and acts on modal windows so no test can hang.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

// Registers the toolkit's classes with this program and gives the skin the
// library's bitmaps, linked into this program.
void PrepareToolkit();
HINSTANCE ThisModule();

// The ids the import passes to the skin, in role order.
extern const int kLibrarySkinBitmaps[8];

const COLORREF kSentinel = RGB(255, 0, 255);

// A visible top-level window filled with the sentinel colour that records
// the WM_COMMAND notifications of its children.
class TestParent {
  public:
    TestParent(int width, int height);
    ~TestParent();
    HWND Window() const { return window; }
    // Notification codes (high words) in the order they came.
    std::vector<int> Codes() const;
    void ClearCodes();

    TestParent(const TestParent&) = delete;
    TestParent& operator=(const TestParent&) = delete;

  private:
    static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    HWND window;
    std::vector<int> codes;
};

// A 32-bit memory canvas, so colours read back exactly.
class Canvas {
  public:
    Canvas(int width, int height, COLORREF fill = kSentinel);
    ~Canvas();
    COLORREF At(int x, int y) const { return GetPixel(dc, x, y); }
    // Pixels of colour c in row y from x0 to x1, in column x from y0 to y1, in all.
    int CountInRow(int y, int x0, int x1, COLORREF c) const;
    int CountInColumn(int x, int y0, int y1, COLORREF c) const;
    int CountAll(int width, int height, COLORREF c) const;
    HDC dc;

    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

  private:
    HBITMAP bitmap;
    HGDIOBJ previous;
};

// Paints the window now and reads a pixel of its client area from the screen.
COLORREF WindowPixel(HWND window, int x, int y);
void PaintNow(HWND window);
// How many pixels of a row (x0..x1 inclusive) of a window have a colour.
int CountInWindowRow(HWND window, int y, int x0, int x1, COLORREF colour);

// The colour of a pixel of a bitmap resource of this program.
class ResourceBitmap {
  public:
    explicit ResourceBitmap(int id);
    ~ResourceBitmap();
    bool Loaded() const { return bitmap != nullptr; }
    int Width() const { return size.bmWidth; }
    int Height() const { return size.bmHeight; }
    COLORREF At(int x, int y) const { return GetPixel(dc, x, y); }

    ResourceBitmap(const ResourceBitmap&) = delete;
    ResourceBitmap& operator=(const ResourceBitmap&) = delete;

  private:
    HBITMAP bitmap;
    BITMAP size;
    HDC dc;
    HGDIOBJ previous;
};

// A visible dialog (#32770) of this process that has a child with this id,
// or null once timeoutMs have passed.
HWND WaitForDialogWithChild(int childId, DWORD timeoutMs = 20000);
// True when the window is a toolkit message box (a dialog with a ksButton "OK" of id 1).
bool IsToolkitMessageBox(HWND window);
HWND FindToolkitMessageBox();

// Runs an action on its own thread; joined by the destructor.
class Watcher {
  public:
    explicit Watcher(std::function<void()> action);
    ~Watcher();
    void Join();

    Watcher(const Watcher&) = delete;
    Watcher& operator=(const Watcher&) = delete;

  private:
    static DWORD WINAPI Run(void* self);
    std::function<void()> action;
    HANDLE thread;
};

std::string WindowText(HWND window);
std::string ClassName(HWND window);
