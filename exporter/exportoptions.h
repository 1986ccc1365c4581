// The options of one export and their settings file.
#pragma once

#include <cstdint>
#include <string>

enum ExportFormat : int32_t {
    kExportAscii = 0,
    kExportBinaryLittleEndian = 1,
    kExportBinaryBigEndian = 2,
};

struct ExportOptions {
    int32_t format = kExportBinaryLittleEndian;
    // Back to Y up: the inverse of the import's flip.
    int32_t flipZY = 1;
    // The inverse of the import's default scale of 100.
    float scale = 0.01f;
    int32_t normals = 1;
    int32_t vertexColors = 1;
    int32_t textureCoords = 1;
    int32_t mapChannels = 1;  // the named further channels, as float properties
    int32_t materials = 1;    // material_index and the texture file comments
    int32_t selectedOnly = 0;
};

// Reads the 20-byte settings file into options. True when the file was
// accepted: format number 1, a length field equal to the file's size, all
// 20 bytes there and one of the three formats; on false options are
// unchanged. The other values are taken as stored.
bool LoadExportSettingsFile(const std::string& path, ExportOptions& options);

// Writes the 20-byte settings file through a temporary file beside it, as
// the importer's is written. Failure is silent and leaves the old file.
void SaveExportSettingsFile(const std::string& path, const ExportOptions& options);
