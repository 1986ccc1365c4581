#include "toolkit/colours.h"
#include "toolkit/draw.h"
#include "toolkit/skin.h"
#include "toolkit/window_helpers.h"

namespace {

// The frame's fixed greys.
const COLORREF kGrey6E = RGB(0x6E, 0x6E, 0x6E);
const COLORREF kGrey56 = RGB(0x56, 0x56, 0x56);
const COLORREF kGrey3F = RGB(0x3F, 0x3F, 0x3F);
const COLORREF kGrey38 = RGB(0x38, 0x38, 0x38);
const COLORREF kGrey34 = RGB(0x34, 0x34, 0x34);
const COLORREF kGrey26 = RGB(0x26, 0x26, 0x26);
const COLORREF kGrey15 = RGB(0x15, 0x15, 0x15);

// A one-pixel solid line from (x0, y0) towards (x1, y1); the end point is not drawn.
void DrawLine(HDC dc, int x0, int y0, int x1, int y1, COLORREF colour) {
    HPEN pen = CreatePen(PS_SOLID, 1, colour);
    HGDIOBJ previous = SelectObject(dc, pen);
    MoveToEx(dc, x0, y0, nullptr);
    LineTo(dc, x1, y1);
    SelectObject(dc, previous);
    DeleteObject(pen);
}

void HorizontalLine(HDC dc, int y, int x0, int x1, COLORREF colour) {
    DrawLine(dc, x0, y, x1, y, colour);
}

void VerticalLine(HDC dc, int x, int y0, int y1, COLORREF colour) {
    DrawLine(dc, x, y0, x, y1, colour);
}

// Joins a polygon (winding fill) to the region. The points go through the
// window's mapping first, as the region is meant in its logical units.
void AddPolygon(HRGN region, HDC windowDc, POINT* points, int count) {
    DPtoLP(windowDc, points, count);
    HRGN part = CreatePolygonRgn(points, count, WINDING);
    CombineRgn(region, region, part, RGN_OR);
    DeleteObject(part);
}

}  // namespace

SkinPainter::SkinPainter() : tabWidth(kSkinDefaultTabWidth), moduleInstance(nullptr), bitmapIds() {}

void SkinPainter::SetupSkin(HINSTANCE module, const int ids[kSkinBitmapCount], int newTabWidth) {
    moduleInstance = module;
    for (int i = 0; i < kSkinBitmapCount; ++i) bitmapIds[i] = ids[i];
    if (newTabWidth > 0) tabWidth = newTabWidth;
}

int SkinPainter::RailEnd(int w) const { return w - (w - tabWidth - 15) / 2; }

void SkinPainter::ApplySkinRegion(HWND window) const {
    RECT client;
    GetClientRect(window, &client);
    const int w = client.right;
    const int h = client.bottom;
    const int W = tabWidth;
    const int M = RailEnd(w);

    HDC windowDc = GetDC(window);
    HRGN region = CreateRoundRectRgn(0, 15, w, h - 5, 2, 2);
    POINT tab[] = {{0, 16}, {0, 1}, {1, 0}, {W, 0}, {W + 15, 16}};
    AddPolygon(region, windowDc, tab, 5);
    POINT rail[] = {{W + 7, 8}, {M, 8}, {M + 7, 15}, {W + 7, 15}};
    AddPolygon(region, windowDc, rail, 4);
    POINT badge[] = {{w - 118, h - 9}, {w - 26, h - 9}, {w - 26, h - 6},
                     {w - 32, h},      {w - 113, h},    {w - 118, h - 6}};
    AddPolygon(region, windowDc, badge, 6);
    ReleaseDC(window, windowDc);

    // From here on the system owns the region.
    SetWindowRgn(window, region, TRUE);
}

// Loads one skin bitmap and copies it whole to (x, y). A bitmap that cannot
// be loaded is left out; the rest of the frame is drawn as usual.
void SkinPainter::CopyPiece(HDC target, HDC pieces, int role, int x, int y) const {
    if (!moduleInstance) return;
    HBITMAP bitmap = LoadBitmapA(moduleInstance, MAKEINTRESOURCEA(bitmapIds[role]));
    if (!bitmap) return;
    BITMAP size;
    GetObjectA(bitmap, sizeof size, &size);
    HGDIOBJ previous = SelectObject(pieces, bitmap);
    BitBlt(target, x, y, size.bmWidth, size.bmHeight, pieces, 0, 0, SRCCOPY);
    SelectObject(pieces, previous);
    DeleteObject(bitmap);
}

void SkinPainter::PaintCaptionStrip(HDC strip, HDC pieces, int w) const {
    FillSolidRect(strip, 0, 0, w, kSkinCaptionHeight, kGrey38);
    HorizontalLine(strip, 8, 0, w - 1, kGrey6E);
    HorizontalLine(strip, 9, 0, w - 1, kGrey56);
    HorizontalLine(strip, 10, 0, w - 1, kGrey3F);
    HorizontalLine(strip, 15, 0, w - 1, kGrey6E);
    HorizontalLine(strip, 16, 0, w - 1, kGrey56);
    HorizontalLine(strip, 18, 0, w - 1, kGrey26);
    HorizontalLine(strip, 19, 0, w - 1, kGrey15);
    CopyPiece(strip, pieces, kSkinCaptionTab, 0, 0);
    CopyPiece(strip, pieces, kSkinRailEnd, RailEnd(w) - 3, 8);
    CopyPiece(strip, pieces, kSkinTopRight, w - 8, 15);
}

void SkinPainter::PaintBottomStrip(HDC strip, HDC pieces, int w) const {
    FillSolidRect(strip, 0, 0, w, kSkinBottomHeight, kGrey38);
    HorizontalLine(strip, 1, 0, w - 1, kGrey6E);
    HorizontalLine(strip, 2, 0, w - 1, kGrey56);
    HorizontalLine(strip, 3, 0, w - 3, kGrey3F);
    HorizontalLine(strip, 9, 0, w - 1, kGrey34);
    HorizontalLine(strip, 10, 0, w - 1, kGrey26);
    HorizontalLine(strip, 11, 0, w - 1, kGrey15);
    CopyPiece(strip, pieces, kSkinBottomLeft, 0, 0);
    CopyPiece(strip, pieces, kSkinBadge, w - 118, 5);
    CopyPiece(strip, pieces, kSkinBottomRight, w - 8, 0);
}

// The two strips are composed off-screen and copied in one operation each;
// the side borders and the inner fill go straight to the window.
void SkinPainter::PaintSkin(HWND window, HDC dc) const {
    RECT client;
    GetClientRect(window, &client);
    const int w = client.right;
    const int h = client.bottom;

    HDC strip = CreateCompatibleDC(dc);
    HDC pieces = CreateCompatibleDC(dc);
    HBITMAP caption = CreateCompatibleBitmap(dc, w, kSkinCaptionHeight);
    HBITMAP bottom = CreateCompatibleBitmap(dc, w, kSkinBottomHeight);

    HGDIOBJ previous = SelectObject(strip, caption);
    PaintCaptionStrip(strip, pieces, w);
    SelectObject(strip, bottom);
    PaintBottomStrip(strip, pieces, w);

    const int top = kSkinCaptionHeight;
    const int end = h - kSkinBottomHeight;
    const COLORREF left[] = {kGrey6E, kGrey56, kGrey38, kGrey26, kGrey15};
    for (int i = 0; i < 5; ++i) VerticalLine(dc, i, top, end, left[i]);
    for (int i = 0; i < 5; ++i) VerticalLine(dc, w - 6 + i, top, end, left[i]);

    SelectObject(strip, caption);
    BitBlt(dc, 0, 0, w, kSkinCaptionHeight, strip, 0, 0, SRCCOPY);
    SelectObject(strip, bottom);
    BitBlt(dc, 0, end, w, kSkinBottomHeight, strip, 0, 0, SRCCOPY);
    SelectObject(strip, previous);

    DeleteObject(caption);
    DeleteObject(bottom);
    DeleteDC(pieces);
    DeleteDC(strip);

    RECT inner = {5, top, w - 6, end};
    FillSolidRect(dc, inner, ToolkitColour(kFaceColour));
}

bool SkinPainter::IsSkinDragPoint(HWND window, int x, int y) const {
    RECT inner;
    GetClientRect(window, &inner);
    InflateRect(&inner, -7, -7);
    inner.top += 15;
    inner.bottom -= 17;
    POINT point = {x, y};
    return !PtInRect(&inner, point);
}

SkinPainter& GetSkinPainter() {
    static SkinPainter painter;
    return painter;
}

void SetupSkin(HINSTANCE module, const int ids[kSkinBitmapCount], int tabWidth) {
    GetSkinPainter().SetupSkin(module, ids, tabWidth);
}

void ApplySkinRegion(HWND window) { GetSkinPainter().ApplySkinRegion(window); }

void PaintSkin(HWND window, HDC dc) { GetSkinPainter().PaintSkin(window, dc); }

bool IsSkinDragPoint(HWND window, int x, int y) {
    return GetSkinPainter().IsSkinDragPoint(window, x, y);
}

void DragBySkin(HWND dialog, LPARAM point) {
    const POINT p = PointFromLParam(point);
    if (IsSkinDragPoint(dialog, p.x, p.y)) PostMessageA(dialog, WM_NCLBUTTONDOWN, HTCAPTION, point);
}
