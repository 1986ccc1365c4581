#include "hostsdk/colorman.h"
#include "toolkit/colours.h"

COLORREF ToolkitColour(int index) {
    IColorManager* manager = GetColorManager();
    return manager ? manager->GetColor(index) : RGB(0, 0, 0);
}

LRESULT ControlColourReply(HDC dc, int background) {
    SetTextColor(dc, ToolkitColour(kTextColour));
    SetBkColor(dc, ToolkitColour(background));
    return reinterpret_cast<LRESULT>(ToolkitBrush(background));
}

HBRUSH ToolkitBrush(int index) {
    IColorManager* manager = GetColorManager();
    return manager ? manager->GetBrush(index) : nullptr;
}
