// The skinned frame shared by every dialog of the plug-in: the window's
// shape, its painted border with caption tab, rail and badge, and the test
// that lets a dialog be dragged by its frame.
#pragma once

#include <windows.h>

// Positions of the eight skin bitmaps, by their role in the frame.
enum SkinBitmapRole {
    kSkinCaptionTab = 0,
    kSkinUnused = 1,
    kSkinRailEnd = 2,
    kSkinTopRight = 3,
    kSkinBottomLeft = 4,
    kSkinBottomRight = 5,
    kSkinBottomRightSizable = 6,  // for resizable frames; ours are not, so never drawn
    kSkinBadge = 7,
    kSkinBitmapCount = 8,
};

const int kSkinDefaultTabWidth = 102;
const int kSkinCaptionHeight = 23;
const int kSkinBottomHeight = 18;

class SkinPainter {
  public:
    SkinPainter();

    // Remembers where the bitmaps come from; a tabWidth of 0 or less keeps the current one.
    void SetupSkin(HINSTANCE module, const int ids[kSkinBitmapCount], int newTabWidth);
    // Gives the window its shape. The window owns the region afterwards.
    void ApplySkinRegion(HWND window) const;
    // Paints the frame and the inner area into a paint device context of the window.
    void PaintSkin(HWND window, HDC dc) const;
    // True when a client point lies on the frame (outside the inner rectangle).
    bool IsSkinDragPoint(HWND window, int x, int y) const;

    // Where the top rail ends for a client width w: halfway between the tab and the right edge.
    int RailEnd(int w) const;

    int tabWidth;
    HINSTANCE moduleInstance;
    int bitmapIds[kSkinBitmapCount];

  private:
    void PaintCaptionStrip(HDC strip, HDC pieces, int w) const;
    void PaintBottomStrip(HDC strip, HDC pieces, int w) const;
    void CopyPiece(HDC target, HDC pieces, int role, int x, int y) const;
};

// The library's one painter, made on first use with a tab width of 102 and no module.
SkinPainter& GetSkinPainter();

// The painter's operations on the one painter, for the dialogs.
void SetupSkin(HINSTANCE module, const int ids[kSkinBitmapCount], int tabWidth);
void ApplySkinRegion(HWND window);
void PaintSkin(HWND window, HDC dc);
bool IsSkinDragPoint(HWND window, int x, int y);

// Posts the press as a caption press when it fell on the frame, so the
// system drags the window. Shared by the dialogs' WM_LBUTTONDOWN handlers.
void DragBySkin(HWND dialog, LPARAM point);
