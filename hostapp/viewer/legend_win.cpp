#include "hostapp/viewer/legend_win.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "hostapp/viewer/shading.h"

namespace {

const COLORREF kPanel = RGB(30, 33, 40);
const COLORREF kText = RGB(235, 235, 235);

// The legend drawn by GDI into a top-down 32-bit DIB, read back as BGRA.
bool PaintLegend(const ColourScale& scale, std::vector<uint8_t>& bgra) {
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = kLegendWidth;
    info.bmiHeader.biHeight = -kLegendHeight;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP bitmap = dc ? CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0) : nullptr;
    if (!bitmap || !bits) {
        if (dc) DeleteDC(dc);
        return false;
    }
    HGDIOBJ oldBitmap = SelectObject(dc, bitmap);
    HGDIOBJ oldFont = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
    HBRUSH panel = CreateSolidBrush(kPanel);
    RECT all = {0, 0, kLegendWidth, kLegendHeight};
    FillRect(dc, &all, panel);
    DeleteObject(panel);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, kText);
    TextOutA(dc, kLegendPad, 5, scale.channel.c_str(), int(scale.channel.size()));
    char lo[32], hi[32];
    std::snprintf(lo, sizeof lo, "%g", double(scale.lo));
    std::snprintf(hi, sizeof hi, "%g", double(scale.hi));
    const int valuesTop = kLegendRampTop + kLegendRampHeight + 3;
    TextOutA(dc, kLegendPad, valuesTop, lo, int(std::strlen(lo)));
    SetTextAlign(dc, TA_RIGHT | TA_TOP);
    TextOutA(dc, kLegendWidth - kLegendPad, valuesTop, hi, int(std::strlen(hi)));
    GdiFlush();
    bgra.assign(static_cast<uint8_t*>(bits),
                static_cast<uint8_t*>(bits) + size_t(kLegendWidth) * kLegendHeight * 4);
    SelectObject(dc, oldFont);
    SelectObject(dc, oldBitmap);
    DeleteObject(bitmap);
    DeleteDC(dc);
    return true;
}

}  // namespace

void DrawLegend(Image& image, const ColourScale& scale) {
    if (scale.channel.empty()) return;
    std::vector<uint8_t> bgra;
    if (!PaintLegend(scale, bgra)) return;
    const int left = image.width - kLegendWidth - kLegendInset, top = kLegendInset;
    const int rampWidth = kLegendWidth - 2 * kLegendPad;
    for (int y = 0; y < kLegendHeight; ++y) {
        for (int x = 0; x < kLegendWidth; ++x) {
            if (left + x < 0 || top + y >= image.height) continue;
            uint8_t* px = image.Pixel(left + x, top + y);
            const int rx = x - kLegendPad, ry = y - kLegendRampTop;
            if (rx >= 0 && rx < rampWidth && ry >= 0 && ry < kLegendRampHeight) {
                const Rgb c = RampColour(rampWidth > 1 ? float(rx) / float(rampWidth - 1) : 0.5f);
                px[0] = ToByte(c.r), px[1] = ToByte(c.g), px[2] = ToByte(c.b);
                continue;
            }
            const uint8_t* q = &bgra[(size_t(y) * kLegendWidth + x) * 4];
            px[0] = q[2], px[1] = q[1], px[2] = q[0];
        }
    }
}
