// The about box: the plug-in's picture in a skinned frame. A click on the
// picture closes it; a press on the frame drags it.
#pragma once

#include <windows.h>

// The box's size in pixels, whatever the dialog units come to.
const int kAboutWidth = 279;
const int kAboutHeight = 179;
// Where the 268 x 142 picture goes in the client area.
const int kAboutPictureX = 5;
const int kAboutPictureY = 20;

// Runs dialog 101 modally over owner: 1 for OK, Enter or closing the
// window, 0 for Cancel, Escape or a click on the picture.
INT_PTR ShowAboutDialog(HWND owner);
