// ksMenu: a pop-up list of choices with an optional title and separator
// lines. The caller fills a MenuDescription and creates a ksMenu window with
// it as the creation parameter; a chosen item is sent to the owner as
// WM_COMMAND with the item's command. The menu closes itself on a choice,
// Escape, Enter, a click outside or when it loses activation.
#pragma once

#include <windows.h>

#include "hostsdk/hostapi.h"

const int kMenuLabelSize = 64;  // 63 characters and the terminating zero

// One item of a menu. The menu deletes its items through this class. Items
// come from the host heap, whose new answers null rather than throwing.
class ksMenuData : public MaxHeapOperators {
  public:
    ksMenuData(UINT command, const char* text);
    virtual ~ksMenuData() = default;

    UINT command;  // sent to the owner when the item is chosen
    char label[kMenuLabelSize];
    RECT itemRect;  // in the menu's client area, set by the layout

    ksMenuData(const ksMenuData&) = delete;
    ksMenuData& operator=(const ksMenuData&) = delete;
};

enum MenuPlacement {
    kMenuAtOrigin = 0,
    kMenuAtCursor = 1,
    kMenuBelowOwner = 2,
};

// Filled by the caller before it creates the menu. The menu takes over the
// items of entries (a null entry is a separator) and deletes them when it is
// destroyed, or at once when it cannot keep them; the array stays the caller's.
struct MenuDescription {
    POINT origin;  // screen point, for kMenuAtOrigin
    HFONT font;    // null: toolkit font 0
    int placement;
    const char* title;  // null or empty: none
    int translucent;
    int opacityPercent = 100;  // with translucent; a description from = {} stays opaque
    ksMenuData* const* entries;
    int entryCount;
};

struct MenuRecord {
    int textWidth;
    int hot;  // index of the hot entry, -1 for none
    int margin;
    int rowHeight;
    int separatorHeight;
    HWND owner;
    int x, y;
    HFONT font;
    int placement;
    char title[kMenuLabelSize];
    int translucent;
    int opacity;
    ksMenuData** items;
    int itemCount;
    int totalHeight;
};

LRESULT CALLBACK MenuProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Creates and shows a menu owned by a window; null when it could not be created.
HWND OpenMenu(HWND owner, const MenuDescription& description);
