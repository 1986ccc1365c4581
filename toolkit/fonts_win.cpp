#include "toolkit/fonts.h"

namespace {

HFONT fontSlots[kToolkitFontSlots];

int ScreenDotsPerInchY() {
    HDC screen = GetDC(nullptr);
    int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return dpi;
}

LOGFONTA StockInterfaceFont() {
    LOGFONTA description = {};
    HGDIOBJ stock = GetStockObject(DEFAULT_GUI_FONT);
    if (!stock) stock = GetStockObject(SYSTEM_FONT);
    GetObjectA(stock, sizeof description, &description);
    return description;
}

HFONT CreateToolkitFont(int index) {
    // Font 1 keeps its pixel size on any display: dialogs lay out fixed fields with it.
    int dpi = index == 1 ? 96 : ScreenDotsPerInchY();
    int points = index == 2 ? 10 : 8;
    LOGFONTA description = StockInterfaceFont();
    description.lfHeight = -MulDiv(points, dpi, 72);
    return CreateFontIndirectA(&description);
}

}  // namespace

HFONT GetToolkitFont(int index) {
    if (index < 0 || index >= kToolkitFontSlots) return nullptr;
    if (!fontSlots[index]) fontSlots[index] = CreateToolkitFont(index);
    return fontSlots[index];
}

HFONT ControlFont(HWND window) {
    return GetToolkitFont((GetWindowLongPtrA(window, GWLP_USERDATA) & 1) ? 1 : 0);
}

void ReleaseToolkitFonts() {
    for (HFONT& font : fontSlots) {
        if (font) DeleteObject(font);
        font = nullptr;
    }
}
