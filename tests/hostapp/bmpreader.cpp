#include "tests/hostapp/bmpreader.h"

#include <fstream>
#include <iterator>

namespace {

uint32_t U16(const std::vector<uint8_t>& b, size_t at) { return b[at] | (b[at + 1] << 8); }
uint32_t U32(const std::vector<uint8_t>& b, size_t at) {
    return U16(b, at) | (U16(b, at + 2) << 16);
}

}  // namespace

bool DecodeBmp24(const std::vector<uint8_t>& b, BmpInfo& info, Image& image, std::string& reason) {
    if (b.size() < 54 || b[0] != 'B' || b[1] != 'M') return reason = "no BMP signature", false;
    info.fileSize = U32(b, 2);
    info.pixelOffset = U32(b, 10);
    if (U32(b, 14) != 40) return reason = "info header is not 40 bytes", false;
    info.width = int32_t(U32(b, 18));
    info.height = int32_t(U32(b, 22));
    info.bitsPerPixel = uint16_t(U16(b, 28));
    info.compression = U32(b, 30);
    if (U16(b, 26) != 1 || info.bitsPerPixel != 24 || info.compression != 0)
        return reason = "not 24-bit uncompressed", false;
    if (info.width <= 0 || info.height <= 0) return reason = "not a bottom-up picture", false;
    size_t stride = (size_t(info.width) * 3 + 3) & ~size_t(3);
    if (info.fileSize != b.size() || info.pixelOffset + stride * info.height != b.size())
        return reason = "sizes do not add up", false;
    image = Image(info.width, info.height);
    for (int y = 0; y < info.height; ++y) {
        const uint8_t* row = &b[info.pixelOffset + stride * size_t(info.height - 1 - y)];
        for (int x = 0; x < info.width; ++x) {
            uint8_t* p = image.Pixel(x, y);
            p[0] = row[x * 3 + 2];
            p[1] = row[x * 3 + 1];
            p[2] = row[x * 3];
        }
    }
    return true;
}

std::vector<uint8_t> ReadWholeFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in),
                                std::istreambuf_iterator<char>());
}
