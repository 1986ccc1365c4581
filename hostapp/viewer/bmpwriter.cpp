#include "hostapp/viewer/bmpwriter.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace {

const uint32_t kFileHeaderSize = 14;
const uint32_t kInfoHeaderSize = 40;
const uint32_t kPixelsPerMetre = 2835;  // 72 dots per inch

void PutU16(std::vector<uint8_t>& out, uint32_t v) {
    out.push_back(uint8_t(v));
    out.push_back(uint8_t(v >> 8));
}

void PutU32(std::vector<uint8_t>& out, uint32_t v) {
    PutU16(out, v & 0xFFFF);
    PutU16(out, v >> 16);
}

uint32_t RowStride(int width) { return (uint32_t(width) * 3 + 3) & ~3u; }

}  // namespace

std::vector<uint8_t> EncodeBmp24(const Image& image) {
    uint32_t stride = RowStride(image.width);
    uint32_t pixelBytes = stride * uint32_t(image.height);
    uint32_t offset = kFileHeaderSize + kInfoHeaderSize;

    std::vector<uint8_t> out;
    out.reserve(offset + pixelBytes);
    out.push_back('B');
    out.push_back('M');
    PutU32(out, offset + pixelBytes);
    PutU32(out, 0);  // reserved
    PutU32(out, offset);

    PutU32(out, kInfoHeaderSize);
    PutU32(out, uint32_t(image.width));
    PutU32(out, uint32_t(image.height));  // positive: rows stored bottom-up
    PutU16(out, 1);                       // planes
    PutU16(out, 24);                      // bits per pixel
    PutU32(out, 0);                       // no compression
    PutU32(out, pixelBytes);
    PutU32(out, kPixelsPerMetre);
    PutU32(out, kPixelsPerMetre);
    PutU32(out, 0);  // colours used
    PutU32(out, 0);  // important colours

    for (int y = image.height - 1; y >= 0; --y) {
        for (int x = 0; x < image.width; ++x) {
            const uint8_t* p = image.Pixel(x, y);
            out.push_back(p[2]);
            out.push_back(p[1]);
            out.push_back(p[0]);
        }
        for (uint32_t pad = uint32_t(image.width) * 3; pad < stride; ++pad) out.push_back(0);
    }
    return out;
}

WriteResult WriteBmpFile(const std::string& path, const Image& image) {
    std::vector<uint8_t> bytes = EncodeBmp24(image);
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return {false, "cannot create " + path + ": " + std::strerror(errno)};
    size_t written = std::fwrite(bytes.data(), 1, bytes.size(), f);
    bool closed = std::fclose(f) == 0;
    if (written != bytes.size() || !closed) return {false, "cannot write " + path};
    return {true, ""};
}
