// Picture files for the viewport's textures, decoded by the Windows imaging
// component (PNG, JPEG and whatever else it reads).
#pragma once

#include <string>

#include "hostapp/viewer/drawing.h"

// Decodes the first frame of the file at path (an ANSI code-page string)
// into image; false, with image untouched, when it cannot or when the path
// is not a plain local one (a share, device, namespace or stream).
bool LoadImageFile(const std::string& path, Image& image);
