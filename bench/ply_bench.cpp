// Reader throughput against the raw read floor of the same file, same run.
//
//   ply_bench [--dir DIR] [--vertices N] [--repeat R] [--only TEXT]
//   ply_bench [--dir DIR] [--repeat R] --large
//
// Generates, once, a grid mesh of N vertices (positions, normals, uchar
// colours) with about 2N triangles in all three encodings, the same grid
// as quads, its vertices alone as a point cloud (also with two extra float
// values a vertex, read with and without them), and N/4 Gaussian splats
// (62 floats each, of which the reader decodes 10) (all three binary
// little-endian). For each file it reports the best of R
// runs of: the raw floor (the whole file read through a reused buffer), the triangle
// count (Open + CountTriangles), and the full read sequence (Open, counts,
// every vertex, every face), as MB/s of file, million triangles/s and as a
// fraction of the floor. With --large, only the 60-million-triangle grid
// (positions only) and its floor, for the 64-bit host's run.
#include <sys/stat.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "bench/read_floors.h"
#include "ply/ply_reader.h"

namespace {

enum BenchShape { kTriangles, kQuads, kPoints, kSplats, kPointsWithExtras, kTrianglesWithExtras };

struct BenchFile {
    std::string name;
    PlyFormat format;
    BenchShape shape;
    bool readExtras = false;  // the full read asks for the extra values
};

struct Grid {
    int width;
    int height;
    int64_t Vertices() const { return int64_t(width) * height; }
    int64_t Cells() const { return int64_t(width - 1) * (height - 1); }
};

void AppendBinary(std::string& out, const void* value, size_t size, bool bigEndian) {
    const unsigned char* bytes = static_cast<const unsigned char*>(value);
    if (bigEndian) {
        for (size_t i = size; i-- > 0;) out += char(bytes[i]);
    } else {
        out.append(reinterpret_cast<const char*>(bytes), size);
    }
}

// Writes the grid mesh, its vertices with normals and colours unless
// positionsOnly, and a float confidence and intensity (binary only) when
// extras; returns false when the file cannot be written.
bool WriteGrid(const std::string& path, const Grid& grid, PlyFormat format, bool quads,
               bool positionsOnly = false, bool extras = false) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) return false;
    const char* formats[] = {"", "ascii", "binary_big_endian", "binary_little_endian"};
    const int64_t faces = quads ? grid.Cells() : 2 * grid.Cells();
    std::string out =
        std::string("ply\nformat ") + formats[format] +
        " 1.0\ncomment benchmark grid\nelement vertex " + std::to_string(grid.Vertices()) +
        "\nproperty float x\nproperty float y\nproperty float z\n" +
        (positionsOnly ? ""
                       : "property float nx\nproperty float ny\nproperty float nz\n"
                         "property uchar red\nproperty uchar green\nproperty uchar blue\n") +
        (extras ? "property float confidence\nproperty float intensity\n" : "") +
        "element face " +
        std::to_string(faces) + "\nproperty list uchar int vertex_indices\nend_header\n";
    const bool big = format == kPlyBinaryBigEndian;
    char line[256];
    auto flush = [&](bool force) {
        if (out.size() > (1 << 22) || force) {
            std::fwrite(out.data(), 1, out.size(), file);
            out.clear();
        }
    };
    for (int j = 0; j < grid.height; ++j) {
        for (int i = 0; i < grid.width; ++i) {
            const float height = 0.05f * float(std::sin(i * 0.01) * std::cos(j * 0.013));
            const float v[6] = {i * 0.001f, j * 0.001f, height, 0.0f, 0.6f, 0.8f};
            const unsigned char c[3] = {(unsigned char)(i & 255), (unsigned char)(j & 255), 128};
            if (format == kPlyAscii) {
                const int n = std::snprintf(line, sizeof line, "%g %g %g %g %g %g %d %d %d\n", v[0],
                                            v[1], v[2], v[3], v[4], v[5], c[0], c[1], c[2]);
                out.append(line, size_t(n));
            } else if (positionsOnly) {
                for (int k = 0; k < 3; ++k) AppendBinary(out, &v[k], 4, big);
            } else {
                for (float f : v) AppendBinary(out, &f, 4, big);
                out.append(reinterpret_cast<const char*>(c), 3);
                const float values[2] = {float((i + j) % 1000) * 0.001f, float(i)};
                for (float f : values)
                    if (extras) AppendBinary(out, &f, 4, big);
            }
            flush(false);
        }
    }
    auto face = [&](std::initializer_list<int32_t> indices) {
        if (format == kPlyAscii) {
            int n = std::snprintf(line, sizeof line, "%d", int(indices.size()));
            for (int32_t index : indices) {
                n += std::snprintf(line + n, sizeof line - size_t(n), " %d", index);
            }
            line[n++] = '\n';
            out.append(line, size_t(n));
        } else {
            out += char(indices.size());
            for (int32_t index : indices) AppendBinary(out, &index, 4, big);
        }
        flush(false);
    };
    for (int j = 0; j + 1 < grid.height; ++j) {
        for (int i = 0; i + 1 < grid.width; ++i) {
            const int32_t a = j * grid.width + i, b = a + 1, c = a + grid.width, d = c + 1;
            if (quads) {
                face({a, b, d, c});
            } else {
                face({a, b, d});
                face({a, d, c});
            }
        }
    }
    flush(true);
    return std::fclose(file) == 0;
}

// Vertices without faces: the grid's points (with a float confidence and
// intensity when extras), or splats with every property a splatting trainer
// writes (f_rest_* and scale_*, rot_* are not read).
bool WritePoints(const std::string& path, const Grid& grid, int64_t count, bool splats,
                 bool extras = false) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) return false;
    std::string out =
        "ply\nformat binary_little_endian 1.0\nelement vertex " + std::to_string(count) + "\n";
    const char* const common[] = {"x", "y", "z", "nx", "ny", "nz"};
    for (const char* name : common) out += std::string("property float ") + name + "\n";
    if (splats) {
        for (int i = 0; i < 3; ++i) out += "property float f_dc_" + std::to_string(i) + "\n";
        for (int i = 0; i < 45; ++i) out += "property float f_rest_" + std::to_string(i) + "\n";
        out += "property float opacity\n";
        for (int i = 0; i < 3; ++i) out += "property float scale_" + std::to_string(i) + "\n";
        for (int i = 0; i < 4; ++i) out += "property float rot_" + std::to_string(i) + "\n";
    } else {
        out += "property uchar red\nproperty uchar green\nproperty uchar blue\n";
        if (extras) out += "property float confidence\nproperty float intensity\n";
    }
    out += "end_header\n";
    for (int64_t k = 0; k < count; ++k) {
        const int i = int(k % grid.width), j = int(k / grid.width);
        const float v[6] = {i * 0.001f, j * 0.001f, float(std::sin(k * 0.001)), 0.0f, 0.6f, 0.8f};
        AppendBinary(out, v, sizeof v, false);
        if (splats) {
            float rest[56];
            for (int n = 0; n < 56; ++n) rest[n] = float((k + n) % 97) * 0.01f - 0.5f;
            AppendBinary(out, rest, sizeof rest, false);
        } else {
            const unsigned char c[3] = {(unsigned char)(i & 255), (unsigned char)(j & 255), 128};
            out.append(reinterpret_cast<const char*>(c), 3);
            const float values[2] = {float(k % 1000) * 0.001f, float(i)};
            if (extras) AppendBinary(out, values, sizeof values, false);
        }
        if (out.size() > (1 << 22)) {
            std::fwrite(out.data(), 1, out.size(), file);
            out.clear();
        }
    }
    std::fwrite(out.data(), 1, out.size(), file);
    return std::fclose(file) == 0;
}

double MeasureCount(const std::string& path, int32_t* triangles) {
    const BenchClock::time_point start = BenchClock::now();
    PlyReader reader;
    if (!reader.Open(path.c_str())) return -1;
    *triangles = reader.CountTriangles();
    return SecondsSince(start);
}

// The grid past a 32-bit address space: 5001 x 6001 positions and 60
// million triangles, binary little-endian, about 1.1 GB, written once.
// Prints one line: its name, MB and chunked read floor in ms (best of repeat).
int MeasureLargeGrid(const std::string& dir, int repeat) {
    const Grid grid{5001, 6001};
    const std::string name = "large_le_" + std::to_string(2 * grid.Cells()) + ".ply";
    const std::string path = dir + "/" + name;
    if (FileSize(path) <= 0) {
        std::fprintf(stderr, "writing %s\n", path.c_str());
        if (!WriteGrid(path, grid, kPlyBinaryLittleEndian, false, true)) {
            std::fprintf(stderr, "cannot write %s\n", path.c_str());
            return 1;
        }
    }
    std::vector<double> floor;
    uint64_t checksum = 0;
    for (int r = 0; r < repeat; ++r) floor.push_back(MeasureChunkedFloor(path, &checksum));
    std::printf("%s %.1f %.1f\n", name.c_str(), double(FileSize(path)) / 1e6, Best(floor) * 1000);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    std::string dir = "ply-bench-data";
    int64_t vertices = 2000000;
    int repeat = 3;
    std::string only;  // run only the files whose name holds this text
    bool large = false;
    for (int i = 1; i < argc; ++i) {
        if (!std::strcmp(argv[i], "--large")) {
            large = true;
            continue;
        }
        if (i + 1 == argc) break;
        if (!std::strcmp(argv[i], "--only")) only = argv[i + 1];
        if (!std::strcmp(argv[i], "--dir")) dir = argv[i + 1];
        if (!std::strcmp(argv[i], "--vertices")) vertices = std::atoll(argv[i + 1]);
        if (!std::strcmp(argv[i], "--repeat")) repeat = std::atoi(argv[i + 1]);
        ++i;
    }
    mkdir(dir.c_str(), 0755);
    if (large) return MeasureLargeGrid(dir, repeat);
    Grid grid{2000, int(vertices / 2000)};
    const std::string tag = std::to_string(grid.Vertices());
    const int64_t splats = grid.Vertices() / 4;
    const BenchFile files[] = {
        {"tri_ascii_" + tag + ".ply", kPlyAscii, kTriangles},
        {"tri_le_" + tag + ".ply", kPlyBinaryLittleEndian, kTriangles},
        {"tri_be_" + tag + ".ply", kPlyBinaryBigEndian, kTriangles},
        {"tri_extras_le_" + tag + ".ply", kPlyBinaryLittleEndian, kTrianglesWithExtras},
        {"quad_le_" + tag + ".ply", kPlyBinaryLittleEndian, kQuads},
        {"points_le_" + tag + ".ply", kPlyBinaryLittleEndian, kPoints},
        {"points_extras_le_" + tag + ".ply", kPlyBinaryLittleEndian, kPointsWithExtras},
        {"points_extras_le_" + tag + ".ply", kPlyBinaryLittleEndian, kPointsWithExtras, true},
        {"splats_le_" + std::to_string(splats) + ".ply", kPlyBinaryLittleEndian, kSplats},
    };
    for (const BenchFile& file : files) {
        const std::string path = dir + "/" + file.name;
        if (FileSize(path) > 0) continue;
        std::printf("writing %s\n", path.c_str());
        const bool written =
            file.shape == kTriangles || file.shape == kQuads || file.shape == kTrianglesWithExtras
                ? WriteGrid(path, grid, file.format, file.shape == kQuads, false,
                            file.shape == kTrianglesWithExtras)
                : WritePoints(path, grid, file.shape == kSplats ? splats : grid.Vertices(),
                              file.shape == kSplats, file.shape == kPointsWithExtras);
        if (!written) {
            std::fprintf(stderr, "cannot write %s\n", path.c_str());
            return 1;
        }
    }

    std::printf("%d vertices, %lld triangles per file; best of %d runs\n", int(grid.Vertices()),
                (long long)(2 * grid.Cells()), repeat);
    std::printf("%-35s %8s | %9s | %9s %7s %6s | %9s %7s %6s\n", "file", "MB", "floor MB/s",
                "count MB/s", "Mtri/s", "floor", "full MB/s", "Mtri/s", "floor");
    uint64_t bytesChecksum = 0;
    double valueChecksum = 0;
    for (const BenchFile& file : files) {
        if (file.name.find(only) == std::string::npos) continue;
        const std::string path = dir + "/" + file.name;
        const double megabytes = double(FileSize(path)) / 1e6;
        std::vector<double> floor, count, full;
        int32_t triangles = 0;
        for (int r = 0; r < repeat; ++r) {
            floor.push_back(MeasureChunkedFloor(path, &bytesChecksum));
            count.push_back(MeasureCount(path, &triangles));
            full.push_back(MeasureFullRead(path, &valueChecksum, file.readExtras));
        }
        const double floorRate = megabytes / Best(floor);
        const double countRate = megabytes / Best(count);
        const double fullRate = megabytes / Best(full);
        // No blank after the name: scripts/bench takes the files from the rows.
        const std::string label = file.name + (file.readExtras ? "+extras" : "");
        std::printf("%-35s %8.1f | %9.0f | %9.0f %7.1f %5.0f%% | %9.0f %7.1f %5.0f%%\n",
                    label.c_str(), megabytes, floorRate, countRate,
                    triangles / 1e6 / Best(count), 100 * countRate / floorRate, fullRate,
                    triangles / 1e6 / Best(full), 100 * fullRate / floorRate);
    }
    std::printf("(checksums %llu %g)\n", (unsigned long long)bytesChecksum, valueChecksum);
    return 0;
}
