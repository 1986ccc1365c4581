#include "hostapp/viewport_win.h"

#include "hostapp/imagefile_win.h"

namespace {

const char kViewportClass[] = "plyhostViewport";

}  // namespace

void BlitImage(HDC dc, const Image& image, int x, int y) {
    if (image.width <= 0 || image.height <= 0) return;
    // DIB rows are BGR and padded to four bytes.
    int stride = (image.width * 3 + 3) & ~3;
    std::vector<uint8_t> bgr(size_t(stride) * image.height, 0);
    for (int row = 0; row < image.height; ++row) {
        for (int col = 0; col < image.width; ++col) {
            const uint8_t* p = image.Pixel(col, row);
            uint8_t* q = &bgr[size_t(row) * stride + col * 3];
            q[0] = p[2];
            q[1] = p[1];
            q[2] = p[0];
        }
    }
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = image.width;
    info.bmiHeader.biHeight = -image.height;  // top-down rows
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    SetDIBitsToDevice(dc, x, y, image.width, image.height, 0, 0, 0, image.height, bgr.data(), &info,
                      DIB_RGB_COLORS);
}

bool Viewport::Create(HWND parent, HINSTANCE instance) {
    WNDCLASSA wc = {};
    if (!GetClassInfoA(instance, kViewportClass, &wc)) {
        wc.lpfnWndProc = WindowProc;
        wc.hInstance = instance;
        wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
        wc.lpszClassName = kViewportClass;
        if (!RegisterClassA(&wc)) return false;
    }
    window = CreateWindowExA(WS_EX_CLIENTEDGE, kViewportClass, "", WS_CHILD | WS_VISIBLE, 0, 0,
                             kSnapshotWidth, kSnapshotHeight, parent, nullptr, instance, this);
    return window != nullptr;
}

void Viewport::SceneChanged() {
    drawing = BuildSceneDrawing(scene, LoadImageFile);
    if (window) InvalidateRect(window, nullptr, FALSE);
}

void Viewport::ZoomExtents() {
    RECT rc;
    GetClientRect(window, &rc);
    frame = FrameToExtents(drawing.triangles, rc.right, rc.bottom, drawing.points);
    InvalidateRect(window, nullptr, FALSE);
}

void Viewport::ResetView() {
    frame = DefaultViewFrame();
    InvalidateRect(window, nullptr, FALSE);
}

void Viewport::OnPaint() {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(window, &ps);
    RECT rc;
    GetClientRect(window, &rc);
    BlitImage(dc, RenderView(drawing.triangles, frame, rc.right, rc.bottom, drawing.points), 0, 0);
    EndPaint(window, &ps);
}

LRESULT CALLBACK Viewport::WindowProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_NCCREATE) {
        auto* cs = reinterpret_cast<CREATESTRUCTA*>(lp);
        SetWindowLongPtrA(w, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(cs->lpCreateParams));
    }
    Viewport* self = reinterpret_cast<Viewport*>(GetWindowLongPtrA(w, GWLP_USERDATA));
    switch (msg) {
        case WM_PAINT:
            if (self) {
                self->OnPaint();
                return 0;
            }
            break;
        case WM_ERASEBKGND:
            return 1;  // the picture covers every pixel
        case WM_SIZE:
            InvalidateRect(w, nullptr, FALSE);
            return 0;
    }
    return DefWindowProcA(w, msg, wp, lp);
}
