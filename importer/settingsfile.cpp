#include "importer/importoptions.h"
#include "importer/settings_bytes.h"

namespace {

const int32_t kFormatNumber = 3;
const size_t kFileSize = 20;

// The eight flags in file order (the scale comes before them in the file).
int32_t* FlagsInFileOrder(ImportOptions& o, int i) {
    int32_t* flags[8] = {&o.replaceScene,  &o.flipZY,       &o.centerPivot,   &o.generateNormals,
                         &o.vertexNormals, &o.vertexColors, &o.textureCoords, &o.materials};
    return flags[i];
}

void EncodeSettings(const ImportOptions& options, unsigned char (&bytes)[kFileSize]) {
    ImportOptions o = options;
    PutSettingsHeader(bytes, kFormatNumber, kFileSize);
    PutFloat32(bytes + 8, o.scale);
    for (int i = 0; i < 8; ++i) bytes[12 + i] = static_cast<unsigned char>(*FlagsInFileOrder(o, i));
}

}  // namespace

bool LoadSettingsFile(const std::string& path, ImportOptions& options) {
    unsigned char bytes[kFileSize];
    const size_t got = ReadSettingsBytes(path, kFormatNumber, bytes, kFileSize);
    if (got == 0) return false;
    // A hand-made file that passes both checks yet ends early keeps the
    // values it does not hold: those of the running import.
    ImportOptions read = options;
    if (got >= 12) read.scale = GetFloat32(bytes + 8);
    for (int i = 0; i < 8 && 12 + size_t(i) < got; ++i) *FlagsInFileOrder(read, i) = bytes[12 + i];
    options = read;
    return true;
}

void SaveSettingsFile(const std::string& path, const ImportOptions& options) {
    unsigned char bytes[kFileSize];
    EncodeSettings(options, bytes);
    WriteSettingsBytes(path, bytes, kFileSize);
}
