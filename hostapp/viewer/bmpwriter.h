// The viewport snapshot as a file: uncompressed 24-bit BMP, bottom-up rows
// padded to four bytes, as every image viewer reads it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "hostapp/viewer/drawing.h"

struct WriteResult {
    bool ok;
    std::string reason;  // empty when ok
};

// The whole file's bytes: a 14-byte file header, a 40-byte info header, the rows.
std::vector<uint8_t> EncodeBmp24(const Image& image);

// Writes the encoded picture to path; the reason names the path and what failed.
WriteResult WriteBmpFile(const std::string& path, const Image& image);
