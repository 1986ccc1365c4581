#include "hostsdk/colorman.h"
#include "toolkit/colours.h"

COLORREF ToolkitColour(int index) {
    IColorManager* manager = GetColorManager();
    return manager ? manager->GetColor(index) : RGB(0, 0, 0);
}

HBRUSH ToolkitBrush(int index) {
    IColorManager* manager = GetColorManager();
    return manager ? manager->GetBrush(index) : nullptr;
}
