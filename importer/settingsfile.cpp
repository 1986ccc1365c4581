#include <cstdio>
#include <cstring>

#include "importer/importoptions.h"
#include "importer/platform.h"

namespace {

const int32_t kFormatNumber = 3;
const size_t kFileSize = 20;

void PutInt32(unsigned char* p, int32_t v) {
    uint32_t u = static_cast<uint32_t>(v);
    for (int i = 0; i < 4; ++i) p[i] = static_cast<unsigned char>(u >> (8 * i));
}

int32_t GetInt32(const unsigned char* p) {
    uint32_t u = 0;
    for (int i = 0; i < 4; ++i) u |= uint32_t(p[i]) << (8 * i);
    return static_cast<int32_t>(u);
}

// The eight flags in file order (the scale comes before them in the file).
int32_t* FlagsInFileOrder(ImportOptions& o, int i) {
    int32_t* flags[8] = {&o.replaceScene,  &o.flipZY,       &o.centerPivot,   &o.generateNormals,
                         &o.vertexNormals, &o.vertexColors, &o.textureCoords, &o.materials};
    return flags[i];
}

void EncodeSettings(const ImportOptions& options, unsigned char (&bytes)[kFileSize]) {
    ImportOptions o = options;
    PutInt32(bytes, kFormatNumber);
    PutInt32(bytes + 4, static_cast<int32_t>(kFileSize));
    std::memcpy(bytes + 8, &o.scale, 4);
    for (int i = 0; i < 8; ++i) bytes[12 + i] = static_cast<unsigned char>(*FlagsInFileOrder(o, i));
}

// Low 32 bits of the size in the directory entry; 0 when there is none.
uint32_t DirectorySize(const std::string& path) {
    uint64_t size = 0;
    return FileSizeAt(path.c_str(), &size) ? static_cast<uint32_t>(size) : 0;
}

}  // namespace

bool LoadSettingsFile(const std::string& path, ImportOptions& options) {
    uint32_t size = DirectorySize(path);
    FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return false;
    unsigned char bytes[kFileSize];
    size_t got = std::fread(bytes, 1, kFileSize, f);
    std::fclose(f);
    if (got < 8 || GetInt32(bytes) != kFormatNumber) return false;
    if (static_cast<uint32_t>(GetInt32(bytes + 4)) != size) return false;
    // A hand-made file that passes both checks yet ends early keeps the
    // values it does not hold: those of the running import.
    ImportOptions read = options;
    if (got >= 12) std::memcpy(&read.scale, bytes + 8, 4);
    for (int i = 0; i < 8 && 12 + size_t(i) < got; ++i) *FlagsInFileOrder(read, i) = bytes[12 + i];
    options = read;
    return true;
}

void SaveSettingsFile(const std::string& path, const ImportOptions& options) {
    unsigned char bytes[kFileSize];
    EncodeSettings(options, bytes);
    std::string temporary = path + ".tmp";
    FILE* f = std::fopen(temporary.c_str(), "wb");
    if (!f) return;
    bool written = std::fwrite(bytes, 1, kFileSize, f) == kFileSize;
    if (std::fclose(f) != 0 || !written) {
        std::remove(temporary.c_str());
        return;
    }
    if (!ReplaceFileWith(temporary.c_str(), path.c_str())) std::remove(temporary.c_str());
}
