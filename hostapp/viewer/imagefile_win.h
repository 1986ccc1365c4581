// Picture files for the viewport's textures, found by the one path rule and
// decoded by the Windows imaging component (PNG, JPEG and whatever else it
// reads).
#pragma once

#include <cstdint>
#include <string>

#include "hostapp/viewer/texturecache.h"

// The full path of a map's path (an ANSI code-page string) and its key,
// the full path in capitals as UTF-8, so that every spelling of one file
// meets; false when the path or its full form is not a plain local one.
bool LocateImageFile(const std::string& mapPath, std::string& fullPath, std::string& key);

// Decodes the first frame of the file at path into image, when it has at
// most maxPixels pixels; image stays untouched otherwise. A path that is not
// a plain local one is refused before anything is opened.
DecodeResult DecodeImageFile(const std::string& path, uint64_t maxPixels, Image& image);

// The two above, for a TextureCache.
ImageFiles WindowsImageFiles();
