// The host's interface colours, asked for at every use so that a change of
// the host's colour scheme shows at the next repaint.
#pragma once

#include <windows.h>

// Colour indices of the host's colour manager, by their role in the toolkit.
enum ToolkitColourIndex {
    kFaceColour = 0,
    kTextColour = 1,
    kHotFillColour = 4,
    kLightEdgeColour = 5,
    kDarkEdgeColour = 6,
    kFieldColour = 7,
    kHotTextColour = 11,
    kThinFrameTopColour = 15,
    kThinFrameBottomColour = 16,
};

// The host's current colour for an index (black when the host has no colour manager).
COLORREF ToolkitColour(int index);
// The host's brush for an index; owned by the host, never deleted here.
HBRUSH ToolkitBrush(int index);
// The answer to a WM_CTLCOLOR* message: the host's text colour on the
// background of the given index, and that index's brush.
LRESULT ControlColourReply(HDC dc, int background);
