// The legend of a scene coloured by a named map channel: the channel's
// name, the ramp, and the values at its two ends, in the picture's top
// right corner.
#pragma once

#include "hostapp/viewer/drawing.h"

// The legend's size in pixels, and its distance from the corner.
const int kLegendWidth = 180, kLegendHeight = 58, kLegendInset = 8;
// Where the ramp lies in the legend: from (kLegendPad, kLegendRampTop),
// kLegendRampHeight pixels high, across the legend but kLegendPad each side.
const int kLegendPad = 8, kLegendRampTop = 24, kLegendRampHeight = 10;

// Draws the legend into the picture (nothing without a channel, or where
// the system will not draw text).
void DrawLegend(Image& image, const ColourScale& scale);
