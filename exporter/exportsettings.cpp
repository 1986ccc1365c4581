#include "exporter/exportoptions.h"
#include "importer/settings_bytes.h"

namespace {

const int32_t kFormatNumber = 1;
const size_t kFileSize = 20;

// The one-byte values in file order, after the scale.
int32_t* BytesInFileOrder(ExportOptions& o, int i) {
    int32_t* values[8] = {&o.format,        &o.flipZY,      &o.normals,   &o.vertexColors,
                          &o.textureCoords, &o.mapChannels, &o.materials, &o.selectedOnly};
    return values[i];
}

bool IsKnownFormat(int32_t format) {
    return format == kExportAscii || format == kExportBinaryLittleEndian ||
           format == kExportBinaryBigEndian;
}

}  // namespace

bool LoadExportSettingsFile(const std::string& path, ExportOptions& options) {
    unsigned char bytes[kFileSize];
    if (ReadSettingsBytes(path, kFormatNumber, bytes, kFileSize) != kFileSize) return false;
    // An unknown format would leave the writer without an encoding.
    if (!IsKnownFormat(bytes[12])) return false;
    options.scale = GetFloat32(bytes + 8);
    for (int i = 0; i < 8; ++i) *BytesInFileOrder(options, i) = bytes[12 + i];
    return true;
}

void SaveExportSettingsFile(const std::string& path, const ExportOptions& options) {
    ExportOptions o = options;
    unsigned char bytes[kFileSize];
    PutSettingsHeader(bytes, kFormatNumber, kFileSize);
    PutFloat32(bytes + 8, o.scale);
    for (int i = 0; i < 8; ++i) bytes[12 + i] = static_cast<unsigned char>(*BytesInFileOrder(o, i));
    WriteSettingsBytes(path, bytes, kFileSize);
}
