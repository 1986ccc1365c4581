// Reads back what the BMP writer wrote, checking every header field a
// 24-bit uncompressed file must have, so tests can look at pixels.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "hostapp/viewer/drawing.h"

struct BmpInfo {
    uint32_t fileSize = 0;
    uint32_t pixelOffset = 0;
    int32_t width = 0;
    int32_t height = 0;  // positive: bottom-up
    uint16_t bitsPerPixel = 0;
    uint32_t compression = 0;
};

// False with the reason when the bytes are not a 24-bit uncompressed BMP.
bool DecodeBmp24(const std::vector<uint8_t>& bytes, BmpInfo& info, Image& image,
                 std::string& reason);

std::vector<uint8_t> ReadWholeFile(const std::string& path);
