// The nine options of one import and their settings file.
#pragma once

#include <cstdint>
#include <string>

struct ImportOptions {
    int32_t replaceScene = 1;
    int32_t flipZY = 1;
    int32_t centerPivot = 1;
    float scale = 100.0f;
    int32_t generateNormals = 0;
    int32_t vertexNormals = 1;
    int32_t vertexColors = 1;
    int32_t textureCoords = 1;
    int32_t materials = 1;
};

// Reads the 20-byte settings file into options. True when the file was
// accepted (format number 3, length field equal to the file's size); on false
// options are unchanged. Values are taken as stored, without range checks.
bool LoadSettingsFile(const std::string& path, ImportOptions& options);

// Writes the 20-byte settings file. The bytes go to a temporary file beside
// it that then replaces the old one, so a crash mid-write never leaves a
// damaged file. Failure is silent: the options then hold for this import only.
void SaveSettingsFile(const std::string& path, const ImportOptions& options);
