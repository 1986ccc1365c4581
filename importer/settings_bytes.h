// The byte-level steps the importer's and the exporter's settings files
// share: little-endian values, the header of format number and length, and
// the checked read and the all-or-nothing write of the file. One layout in
// 32- and 64-bit builds.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

void PutInt32(unsigned char* p, int32_t v);
int32_t GetInt32(const unsigned char* p);
// IEEE single precision, in the byte order of PutInt32.
void PutFloat32(unsigned char* p, float v);
float GetFloat32(const unsigned char* p);

// The format number, then the length field: the file's size in bytes.
const size_t kSettingsHeaderSize = 8;
void PutSettingsHeader(unsigned char* bytes, int32_t formatNumber, size_t fileSize);

// Reads at most size bytes of the file at path into bytes. Answers how many
// were read, or 0 when the file cannot be read, is shorter than the header,
// or its format number or length field do not match.
size_t ReadSettingsBytes(const std::string& path, int32_t formatNumber, unsigned char* bytes,
                         size_t size);

// Writes the bytes to a temporary file beside path, which then replaces the
// file there, so a crash mid-write never leaves a damaged file. Failure is
// silent and leaves the folder as it was.
void WriteSettingsBytes(const std::string& path, const unsigned char* bytes, size_t size);
