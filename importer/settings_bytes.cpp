#include "importer/settings_bytes.h"

#include <cstdio>
#include <cstring>

#include "importer/platform.h"

namespace {

// Low 32 bits of the size in the directory entry; 0 when there is none.
uint32_t DirectorySize(const std::string& path) {
    uint64_t size = 0;
    return FileSizeAt(path.c_str(), &size) ? static_cast<uint32_t>(size) : 0;
}

}  // namespace

void PutInt32(unsigned char* p, int32_t v) {
    uint32_t u = static_cast<uint32_t>(v);
    for (int i = 0; i < 4; ++i) p[i] = static_cast<unsigned char>(u >> (8 * i));
}

int32_t GetInt32(const unsigned char* p) {
    uint32_t u = 0;
    for (int i = 0; i < 4; ++i) u |= uint32_t(p[i]) << (8 * i);
    return static_cast<int32_t>(u);
}

void PutFloat32(unsigned char* p, float v) {
    int32_t bits = 0;
    std::memcpy(&bits, &v, 4);
    PutInt32(p, bits);
}

float GetFloat32(const unsigned char* p) {
    const int32_t bits = GetInt32(p);
    float v = 0;
    std::memcpy(&v, &bits, 4);
    return v;
}

void PutSettingsHeader(unsigned char* bytes, int32_t formatNumber, size_t fileSize) {
    PutInt32(bytes, formatNumber);
    PutInt32(bytes + 4, static_cast<int32_t>(fileSize));
}

size_t ReadSettingsBytes(const std::string& path, int32_t formatNumber, unsigned char* bytes,
                         size_t size) {
    uint32_t fileSize = DirectorySize(path);
    FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return 0;
    size_t got = std::fread(bytes, 1, size, f);
    std::fclose(f);
    if (got < kSettingsHeaderSize || GetInt32(bytes) != formatNumber) return 0;
    if (static_cast<uint32_t>(GetInt32(bytes + 4)) != fileSize) return 0;
    return got;
}

void WriteSettingsBytes(const std::string& path, const unsigned char* bytes, size_t size) {
    std::string temporary = path + ".tmp";
    FILE* f = std::fopen(temporary.c_str(), "wb");
    if (!f) return;
    bool written = std::fwrite(bytes, 1, size, f) == size;
    if (std::fclose(f) != 0 || !written) {
        std::remove(temporary.c_str());
        return;
    }
    if (!ReplaceFileWith(temporary.c_str(), path.c_str())) std::remove(temporary.c_str());
}
