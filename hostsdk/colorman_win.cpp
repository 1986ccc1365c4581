// The host's interface colours: a dark palette, with one brush per colour
// made once and owned here for the life of the library.
#include <windows.h>

#include "hostsdk/colorman.h"

namespace {

const int kColourCount = 32;

// Index roles: 0 face, 1 text, 4 checked/hot fill, 5 light edge (lighter
// than the face), 6 dark edge (darker), 7 field, 11 hot menu text, 15 and 16
// the thin outer frame (dark above, light below). The rest fill out the
// table with neighbouring shades.
const COLORREF kPalette[kColourCount] = {
    RGB(68, 68, 68),     // 0 face
    RGB(222, 222, 222),  // 1 text
    RGB(200, 200, 200),  // 2 text of a selected item
    RGB(52, 52, 52),     // 3 background
    RGB(92, 120, 158),   // 4 checked / hot fill
    RGB(104, 104, 104),  // 5 light edge
    RGB(38, 38, 38),     // 6 dark edge
    RGB(50, 50, 50),     // 7 field
    RGB(140, 140, 140),  // 8 disabled text
    RGB(92, 120, 158),   // 9 selection
    RGB(255, 255, 255),  // 10 selected text
    RGB(255, 255, 255),  // 11 hot menu text
    RGB(80, 80, 80),     // 12 button face
    RGB(120, 120, 120),  // 13 button highlight
    RGB(30, 30, 30),     // 14 button shadow
    RGB(32, 32, 32),     // 15 thin frame, top and left
    RGB(96, 96, 96),     // 16 thin frame, bottom and right; pressed box
    RGB(60, 60, 60),     // 17
    RGB(76, 76, 76),     // 18
    RGB(84, 84, 84),     // 19
    RGB(44, 44, 44),     // 20
    RGB(112, 112, 112),  // 21
    RGB(128, 128, 128),  // 22
    RGB(160, 160, 160),  // 23
    RGB(176, 176, 176),  // 24
    RGB(190, 160, 80),   // 25 accent
    RGB(200, 80, 80),    // 26 warning
    RGB(90, 160, 90),    // 27 ok
    RGB(24, 24, 24),     // 28
    RGB(56, 56, 56),     // 29
    RGB(72, 72, 72),     // 30
    RGB(236, 236, 236),  // 31
};

class DarkColorManager : public IColorManager {
  public:
    DarkColorManager() {
        for (int i = 0; i < kColourCount; ++i) brushes[i] = CreateSolidBrush(kPalette[i]);
    }
    ~DarkColorManager() override {
        for (HBRUSH b : brushes)
            if (b) DeleteObject(b);
    }
    // An index outside the table answers the face colour.
    COLORREF GetColor(int id) override { return kPalette[Clamp(id)]; }
    HBRUSH GetBrush(int id) override { return brushes[Clamp(id)]; }

  private:
    static int Clamp(int id) { return (id >= 0 && id < kColourCount) ? id : 0; }
    HBRUSH brushes[kColourCount];
};

}  // namespace

IColorManager* GetColorManager() {
    static DarkColorManager manager;
    return &manager;
}
