// The toolkit's font cache: six process-wide slots, filled on first use.
#pragma once

#include <windows.h>

const int kToolkitFontSlots = 6;

// Font for an index 0 to 5; null above. 0: the 8-point interface font at the
// screen's resolution; 1: the same at a fixed 96 dpi (11 pixels high whatever
// the display); 2: 10 points; 3 to 5: like 0 but separate handles.
// The cache owns the fonts: callers never delete them.
HFONT GetToolkitFont(int index);

// The font a control draws its text with: font 1 when bit 0 of its user data is set, else font 0.
HFONT ControlFont(HWND window);

// Deletes every cached font and empties the slots (library unload).
void ReleaseToolkitFonts();
