#include "bench/read_floors.h"

#include <sys/stat.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "ply/ply_reader.h"

double SecondsSince(BenchClock::time_point start) {
    return std::chrono::duration<double>(BenchClock::now() - start).count();
}

uint64_t FileSize(const std::string& path) {
    struct stat info;
    return stat(path.c_str(), &info) == 0 ? uint64_t(info.st_size) : 0;
}

double Best(const std::vector<double>& times) {
    double best = times.empty() ? -1 : times[0];
    for (double t : times) best = t < best ? t : best;
    return best;
}

double MeasureChunkedFloor(const std::string& path, uint64_t* checksum) {
    std::vector<char> block(size_t(1) << 20);
    const BenchClock::time_point start = BenchClock::now();
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) return -1;
    size_t got;
    while ((got = std::fread(block.data(), 1, block.size(), file)) > 0) {
        *checksum += uint8_t(block[got - 1]);
    }
    std::fclose(file);
    return SecondsSince(start);
}

double MeasureFreshFloor(const std::string& path, uint64_t* checksum) {
    const BenchClock::time_point start = BenchClock::now();
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) return -1;
    const size_t size = size_t(FileSize(path));
    char* data = static_cast<char*>(std::malloc(size + 1));
    const size_t got = data ? std::fread(data, 1, size, file) : 0;
    std::fclose(file);
    if (got > 0) *checksum += uint8_t(data[got - 1]);
    std::free(data);
    return got == size ? SecondsSince(start) : -1;
}

double MeasureFullRead(const std::string& path, double* checksum, bool extras) {
    const BenchClock::time_point start = BenchClock::now();
    PlyReader reader;
    if (!reader.Open(path.c_str())) return -1;
    reader.MaterialCount();
    reader.CountTriangles();
    reader.SeekElement(kElementVertex);
    const int32_t vertices = reader.SeekElement(kElementVertex);
    float position[3] = {}, normal[3] = {}, texCoord[3] = {}, colour[3] = {}, alpha = 1;
    float extra[kMaxExtraValues] = {};
    // Apart, so that the read without extras is timed as it always was.
    for (int32_t i = 0; extras && i < vertices; ++i) {
        if (!reader.ReadVertex(position, normal, texCoord, colour, &alpha, extra)) return -1;
    }
    for (int32_t i = 0; !extras && i < vertices; ++i) {
        if (!reader.ReadVertex(position, normal, texCoord, colour, &alpha)) return -1;
    }
    const int32_t faces = reader.SeekElement(kElementFace);
    IndexList indices;
    int32_t vertexCount = 0, material = 0;
    int64_t corners = 0;
    FaceExtras faceExtras;
    FaceExtras* wantedExtras = extras ? &faceExtras : nullptr;
    for (int32_t i = 0; i < faces; ++i) {
        if (!reader.ReadFace(&vertexCount, &indices, &material, wantedExtras)) return -1;
        corners += vertexCount;
    }
    *checksum += double(corners) + position[0] + colour[2] + alpha + extra[0];
    return SecondsSince(start);
}

// A field of /proc/self/status in bytes (it is given in kB).
uint64_t StatusBytes(const char* field) {
    std::FILE* file = std::fopen("/proc/self/status", "r");
    if (!file) return 0;
    char line[256];
    uint64_t kilobytes = 0;
    const size_t length = std::strlen(field);
    while (std::fgets(line, sizeof line, file)) {
        if (!std::strncmp(line, field, length) && line[length] == ':') {
            kilobytes = std::strtoull(line + length + 1, nullptr, 10);
            break;
        }
    }
    std::fclose(file);
    return kilobytes * 1024;
}

// Starts the peak resident size afresh at the current resident size.
void ResetPeakMemory() {
    std::FILE* file = std::fopen("/proc/self/clear_refs", "w");
    if (!file) return;
    std::fputs("5", file);
    std::fclose(file);
}
