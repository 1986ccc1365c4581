// Writes the small PLY files of examples/: a coloured cube in ASCII, a binary
// little-endian mesh with normals and texture coordinates, a big-endian quad
// mesh with a material element, and one file for each of triangle strips,
// per-corner texture coordinates with their image, face colours (also beside
// white vertices), diffuse_* vertex colours, vertex alpha, Gaussian splats, a
// range scan's grid, a mesh far from the origin, a scan with confidence and
// intensity and a mesh with a quality per face. Run by examples/make.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

struct Writer {
    std::string bytes;
    bool bigEndian = false;

    void text(const std::string& s) { bytes += s; }
    void raw(const void* p, size_t n) {
        const char* c = static_cast<const char*>(p);
        if (!bigEndian) {
            bytes.append(c, n);
        } else {
            for (size_t i = n; i > 0; --i) bytes += c[i - 1];
        }
    }
    void f32(float v) { raw(&v, 4); }
    void f64(double v) { raw(&v, 8); }
    void u16(uint16_t v) { raw(&v, 2); }
    void i32(int32_t v) { raw(&v, 4); }
    void u8(uint8_t v) { raw(&v, 1); }
    bool save(const char* path) const {
        FILE* f = std::fopen(path, "wb");
        if (!f) return false;
        bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
        return std::fclose(f) == 0 && ok;
    }
};

const float kCube[8][3] = {{-1, -1, -1}, {1, -1, -1}, {1, 1, -1}, {-1, 1, -1},
                           {-1, -1, 1},  {1, -1, 1},  {1, 1, 1},  {-1, 1, 1}};
const int kCubeQuads[6][4] = {{0, 3, 2, 1}, {4, 5, 6, 7}, {0, 1, 5, 4},
                              {2, 3, 7, 6}, {1, 2, 6, 5}, {3, 0, 4, 7}};

// The cube as twelve triangles in ASCII, each corner in its own colour.
bool WriteColouredCube(const char* path) {
    Writer w;
    w.text("ply\nformat ascii 1.0\ncomment coloured cube, one colour per corner\n"
           "element vertex 8\nproperty float x\nproperty float y\nproperty float z\n"
           "property uchar red\nproperty uchar green\nproperty uchar blue\n"
           "element face 12\nproperty list uchar int vertex_indices\nend_header\n");
    char line[128];
    for (int i = 0; i < 8; ++i) {
        std::snprintf(line, sizeof line, "%g %g %g %d %d %d\n", kCube[i][0], kCube[i][1],
                      kCube[i][2], (i & 1) ? 255 : 40, (i & 2) ? 255 : 40, (i & 4) ? 255 : 40);
        w.text(line);
    }
    for (const auto& q : kCubeQuads) {
        std::snprintf(line, sizeof line, "3 %d %d %d\n3 %d %d %d\n", q[0], q[1], q[2], q[0], q[2],
                      q[3]);
        w.text(line);
    }
    return w.save(path);
}

// A UV sphere, binary little-endian, with normals and texture coordinates.
bool WriteSphere(const char* path) {
    const int rings = 16, segments = 24;
    const float pi = 3.14159265f;
    Writer w;
    int vertexCount = (rings + 1) * (segments + 1);
    int faceCount = rings * segments * 2;
    w.text("ply\nformat binary_little_endian 1.0\ncomment UV sphere with normals and texture "
           "coordinates\nelement vertex " + std::to_string(vertexCount) +
           "\nproperty float x\nproperty float y\nproperty float z\n"
           "property float nx\nproperty float ny\nproperty float nz\n"
           "property float u\nproperty float v\nelement face " + std::to_string(faceCount) +
           "\nproperty list uchar int vertex_indices\nend_header\n");
    for (int r = 0; r <= rings; ++r) {
        float theta = pi * r / rings;
        for (int s = 0; s <= segments; ++s) {
            float phi = 2 * pi * s / segments;
            float nx = std::sin(theta) * std::cos(phi), ny = std::cos(theta);
            float nz = std::sin(theta) * std::sin(phi);
            w.f32(nx * 2); w.f32(ny * 2); w.f32(nz * 2);
            w.f32(nx); w.f32(ny); w.f32(nz);
            w.f32(float(s) / segments); w.f32(1.0f - float(r) / rings);
        }
    }
    for (int r = 0; r < rings; ++r) {
        for (int s = 0; s < segments; ++s) {
            // Counter-clockwise seen from outside, as the normals point.
            int a = r * (segments + 1) + s, b = a + segments + 1;
            w.u8(3); w.i32(a); w.i32(a + 1); w.i32(b);
            w.u8(3); w.i32(a + 1); w.i32(b + 1); w.i32(b);
        }
    }
    return w.save(path);
}

// A 4 x 4 grid of quads, big-endian, with two materials in a checker pattern.
bool WriteQuadGrid(const char* path) {
    const int n = 4;
    Writer w;
    w.text("ply\nformat binary_big_endian 1.0\ncomment quad grid with two materials\n"
           "element vertex 25\nproperty float x\nproperty float y\nproperty float z\n"
           "element material 2\n"
           "property uchar ambient_red\nproperty uchar ambient_green\nproperty uchar ambient_blue\n"
           "property float ambient_coeff\n"
           "property uchar diffuse_red\nproperty uchar diffuse_green\nproperty uchar diffuse_blue\n"
           "property float diffuse_coeff\n"
           "property uchar specular_red\nproperty uchar specular_green\nproperty uchar specular_blue\n"
           "property float specular_coeff\nproperty float specular_power\nproperty float opacity\n"
           "element face 16\nproperty list uchar int vertex_indices\nproperty int material_index\n"
           "end_header\n");
    w.bigEndian = true;
    for (int y = 0; y <= n; ++y)
        for (int x = 0; x <= n; ++x) {
            w.f32(float(x)); w.f32(float(y)); w.f32(0.1f * float((x + y) % 2));
        }
    const uint8_t colours[2][3] = {{200, 40, 30}, {230, 230, 230}};
    for (const auto& c : colours) {
        w.u8(c[0]); w.u8(c[1]); w.u8(c[2]); w.f32(0.3f);
        w.u8(c[0]); w.u8(c[1]); w.u8(c[2]); w.f32(1.0f);
        w.u8(255); w.u8(255); w.u8(255); w.f32(0.5f); w.f32(25.0f); w.f32(1.0f);
    }
    for (int y = 0; y < n; ++y)
        for (int x = 0; x < n; ++x) {
            int a = y * (n + 1) + x;
            w.u8(4); w.i32(a); w.i32(a + 1); w.i32(a + n + 2); w.i32(a + n + 1);
            w.i32((x + y) % 2);
        }
    return w.save(path);
}

// A 6 x 3 grid of squares as three triangle strips in one record, each
// strip a row, -1 between them.
bool WriteStrips(const char* path) {
    const int columns = 6, rows = 3;
    Writer w;
    w.text(
        "ply\nformat ascii 1.0\ncomment a grid as triangle strips, -1 between rows\n"
        "element vertex " +
        std::to_string((columns + 1) * (rows + 1)) +
        "\nproperty float x\nproperty float y\nproperty float z\n"
        "element tristrips 1\nproperty list int int vertex_indices\nend_header\n");
    char line[64];
    for (int y = 0; y <= rows; ++y)
        for (int x = 0; x <= columns; ++x) {
            std::snprintf(line, sizeof line, "%d %d %g\n", x, y, 0.2 * std::sin(x + y));
            w.text(line);
        }
    std::string strip;
    for (int y = 0; y < rows; ++y) {
        if (y > 0) strip += " -1";
        for (int x = 0; x <= columns; ++x)
            strip += " " + std::to_string((y + 1) * (columns + 1) + x) + " " +
                     std::to_string(y * (columns + 1) + x);
    }
    const int items = int(std::count(strip.begin(), strip.end(), ' '));
    w.text(std::to_string(items) + strip + "\n");
    return w.save(path);
}

// A 32 x 32 checker with a coloured frame, as a 24-bit bitmap.
bool WriteCheckerBitmap(const char* path) {
    const int size = 32, rowBytes = size * 3;
    Writer w;
    w.text("BM");
    w.i32(54 + rowBytes * size);
    w.i32(0);
    w.i32(54);
    w.i32(40);
    w.i32(size);
    w.i32(size);
    w.u16(1);
    w.u16(24);
    w.i32(0);
    w.i32(rowBytes * size);
    w.i32(2835);
    w.i32(2835);
    w.i32(0);
    w.i32(0);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            const bool frame = x < 2 || y < 2 || x >= size - 2 || y >= size - 2;
            const bool dark = ((x / 8) + (y / 8)) % 2 != 0;
            // Blue, green, red.
            const uint8_t bgr[3] = {uint8_t(frame  ? 40
                                            : dark ? 60
                                                   : 240),
                                    uint8_t(frame  ? 40
                                            : dark ? 60
                                                   : 200),
                                    uint8_t(frame  ? 220
                                            : dark ? 60
                                                   : 120)};
            w.raw(bgr, 3);
        }
    return w.save(path);
}

// The cube with texture coordinates per face corner, so that every side
// shows the whole image: the corners shared by three sides have three
// different coordinates. The image is named through <this>.
bool WriteTexturedCube(const char* path) {
    Writer w;
    w.text(
        "ply\nformat binary_little_endian 1.0\ncomment cube, texture coordinates per corner\n"
        "comment TextureFile <this>.bmp\n"
        "element vertex 8\nproperty float x\nproperty float y\nproperty float z\n"
        "element face 6\nproperty list uchar int vertex_indices\n"
        "property list uchar float texcoord\nend_header\n");
    for (const auto& v : kCube) {
        w.f32(v[0]);
        w.f32(v[1]);
        w.f32(v[2]);
    }
    const float uv[4][2] = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};
    for (const auto& q : kCubeQuads) {
        w.u8(4);
        for (int k : q) w.i32(k);
        w.u8(8);
        for (const auto& c : uv) {
            w.f32(c[0]);
            w.f32(c[1]);
        }
    }
    return w.save(path);
}

// The cube with one colour per side and none on the vertices; or, as some
// scanners write it, with every vertex white beside the faces' colours.
bool WriteFaceColours(const char* path, bool whiteVertices) {
    Writer w;
    w.text(std::string("ply\nformat ascii 1.0\ncomment cube, one colour per face") +
           (whiteVertices ? ", every vertex white" : "") +
           "\nelement vertex 8\nproperty float x\nproperty float y\nproperty float z\n" +
           (whiteVertices ? "property uchar red\nproperty uchar green\nproperty uchar blue\n" : "") +
           "element face 6\nproperty list uchar int vertex_indices\n"
           "property uchar red\nproperty uchar green\nproperty uchar blue\nend_header\n");
    char line[96];
    for (const auto& v : kCube) {
        std::snprintf(line, sizeof line, whiteVertices ? "%g %g %g 255 255 255\n" : "%g %g %g\n",
                      v[0], v[1], v[2]);
        w.text(line);
    }
    const int colours[6][3] = {{220, 40, 40},  {40, 180, 60},  {50, 80, 220},
                               {240, 200, 40}, {200, 60, 200}, {40, 200, 200}};
    for (int f = 0; f < 6; ++f) {
        const int* q = kCubeQuads[f];
        std::snprintf(line, sizeof line, "4 %d %d %d %d %d %d %d\n", q[0], q[1], q[2], q[3],
                      colours[f][0], colours[f][1], colours[f][2]);
        w.text(line);
    }
    return w.save(path);
}

// A strip of quads whose vertices fade from opaque to clear.
bool WriteVertexAlpha(const char* path) {
    const int columns = 8;
    Writer w;
    w.text(
        "ply\nformat binary_little_endian 1.0\ncomment vertex colours fading to clear\n"
        "element vertex " +
        std::to_string(2 * (columns + 1)) +
        "\nproperty float x\nproperty float y\nproperty float z\n"
        "property uchar red\nproperty uchar green\nproperty uchar blue\nproperty uchar alpha\n"
        "element face " +
        std::to_string(columns) + "\nproperty list uchar int vertex_indices\nend_header\n");
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x <= columns; ++x) {
            w.f32(float(x));
            w.f32(float(y));
            w.f32(0);
            w.u8(uint8_t(40 + 25 * x));
            w.u8(120);
            w.u8(uint8_t(240 - 25 * x));
            w.u8(uint8_t(255 - 255 * x / columns));
        }
    for (int x = 0; x < columns; ++x) {
        w.u8(4);
        w.i32(x);
        w.i32(x + 1);
        w.i32(x + columns + 2);
        w.i32(x + columns + 1);
    }
    return w.save(path);
}

// A small cloud of Gaussian splats on a sphere: colours in f_dc_*, opacity
// before the logistic function, and the properties an importer steps over.
bool WriteSplats(const char* path) {
    const int count = 64;
    Writer w;
    w.text(
        "ply\nformat binary_little_endian 1.0\ncomment Gaussian splats on a sphere\n"
        "element vertex " +
        std::to_string(count) +
        "\nproperty float x\nproperty float y\nproperty float z\n"
        "property float nx\nproperty float ny\nproperty float nz\n"
        "property float f_dc_0\nproperty float f_dc_1\nproperty float f_dc_2\n"
        "property float f_rest_0\nproperty float f_rest_1\nproperty float f_rest_2\n"
        "property float opacity\n"
        "property float scale_0\nproperty float scale_1\nproperty float scale_2\n"
        "property float rot_0\nproperty float rot_1\nproperty float rot_2\n"
        "property float rot_3\nend_header\n");
    const float golden = 2.39996323f;
    for (int i = 0; i < count; ++i) {
        const float y = 1.0f - 2.0f * (i + 0.5f) / count, r = std::sqrt(1.0f - y * y);
        const float x = r * std::cos(golden * i), z = r * std::sin(golden * i);
        w.f32(x);
        w.f32(y);
        w.f32(z);
        w.f32(0);
        w.f32(0);
        w.f32(0);
        // 0.5 + 0.2820948 f_dc is the colour: red at the top, blue below.
        w.f32(1.6f * y);
        w.f32(0.3f * x);
        w.f32(-1.6f * y);
        w.f32(0);
        w.f32(0);
        w.f32(0);
        w.f32(i % 4 == 0 ? -1.0f : 3.0f);
        for (int k = 0; k < 3; ++k) w.f32(-3.0f);
        w.f32(1);
        w.f32(0);
        w.f32(0);
        w.f32(0);
    }
    return w.save(path);
}

// A terrain patch of 10 x 10 cm in georeferenced metres (about 4,000,000 m
// from the origin), with millimetre bumps a float could not hold there.
bool WriteFarOrigin(const char* path) {
    const int n = 10;
    const double east = 4000000.25, north = 5500000.75, height = 312.5;
    Writer w;
    w.text(
        "ply\nformat binary_little_endian 1.0\ncomment millimetre terrain far from the origin\n"
        "element vertex " +
        std::to_string((n + 1) * (n + 1)) +
        "\nproperty double x\nproperty double y\nproperty double z\n"
        "element face " +
        std::to_string(n * n) + "\nproperty list uchar int vertex_indices\nend_header\n");
    for (int y = 0; y <= n; ++y)
        for (int x = 0; x <= n; ++x) {
            w.f64(east + 0.01 * x);
            w.f64(height + 0.002 * ((x + y) % 2) + 0.001 * (x % 3));
            w.f64(north - 0.01 * y);
        }
    for (int y = 0; y < n; ++y)
        for (int x = 0; x < n; ++x) {
            const int a = y * (n + 1) + x;
            w.u8(4);
            w.i32(a);
            w.i32(a + 1);
            w.i32(a + n + 2);
            w.i32(a + n + 1);
        }
    return w.save(path);
}

// Rolling ground, binary little-endian, coloured by height through
// diffuse_red, diffuse_green and diffuse_blue as some exporters write them.
bool WriteDiffuseColours(const char* path) {
    const int n = 24;
    Writer w;
    w.text("ply\nformat binary_little_endian 1.0\ncomment ground coloured by height\n"
           "element vertex " + std::to_string(n * n) +
           "\nproperty float x\nproperty float y\nproperty float z\n"
           "property uchar diffuse_red\nproperty uchar diffuse_green\nproperty uchar diffuse_blue\n"
           "element face " + std::to_string((n - 1) * (n - 1)) +
           "\nproperty list uchar int vertex_indices\nend_header\n");
    for (int r = 0; r < n; ++r) {
        for (int c = 0; c < n; ++c) {
            const float x = c - (n - 1) / 2.0f, y = r - (n - 1) / 2.0f;
            const float h = std::sin(x * 0.4f) * std::cos(y * 0.3f);  // -1 .. 1
            w.f32(x); w.f32(y); w.f32(h * 2.5f);
            w.u8(uint8_t(60 + 190 * (h + 1) / 2)); w.u8(uint8_t(200 - 120 * (h + 1) / 2));
            w.u8(uint8_t(40));
        }
    }
    for (int r = 0; r + 1 < n; ++r) {
        for (int c = 0; c + 1 < n; ++c) {
            const int a = r * n + c;
            w.u8(4); w.i32(a); w.i32(a + 1); w.i32(a + n + 1); w.i32(a + n);
        }
    }
    return w.save(path);
}

// A range scan of a dome as a scanner sees it from above: a grid of cells,
// each with the one vertex seen there or none (the corners, and a hole).
bool WriteRangeGrid(const char* path) {
    const int columns = 32, rows = 24;
    std::vector<int> cells;
    std::string vertices;
    char line[96];
    int count = 0;
    for (int r = 0; r < rows; ++r) {
        for (int c = 0; c < columns; ++c) {
            const float x = (c - (columns - 1) / 2.0f) / 12.0f, y = (r - (rows - 1) / 2.0f) / 12.0f;
            const float d2 = x * x + y * y;
            const bool hole = std::fabs(x - 0.3f) < 0.1f && std::fabs(y + 0.2f) < 0.1f;
            if (d2 >= 1.0f || hole) {
                cells.push_back(-1);
                continue;
            }
            std::snprintf(line, sizeof line, "%g %g %g\n", x, y, std::sqrt(1.0f - d2));
            vertices += line;
            cells.push_back(count++);
        }
    }
    Writer w;
    w.text("ply\nformat ascii 1.0\ncomment range scan of a dome, seen from +z\n"
           "obj_info num_cols " + std::to_string(columns) + "\nobj_info num_rows " +
           std::to_string(rows) + "\nelement vertex " + std::to_string(count) +
           "\nproperty float x\nproperty float y\nproperty float z\n"
           "element range_grid " + std::to_string(columns * rows) +
           "\nproperty list uchar int vertex_indices\nend_header\n");
    w.text(vertices);
    for (int cell : cells) w.text(cell < 0 ? "0\n" : "1 " + std::to_string(cell) + "\n");
    return w.save(path);
}

// A laser scan of a wavy wall as its scanner writes it: no colours, a
// confidence that falls off toward the scan's edge and a 16-bit return
// intensity; the import shows the intensity as grey and keeps both values.
bool WriteScanConfidenceIntensity(const char* path) {
    const int n = 40;
    Writer w;
    w.text("ply\nformat binary_little_endian 1.0\ncomment laser scan with confidence and intensity\n"
           "element vertex " + std::to_string(n * n) +
           "\nproperty float x\nproperty float y\nproperty float z\n"
           "property float confidence\nproperty ushort intensity\n"
           "element face " + std::to_string(2 * (n - 1) * (n - 1)) +
           "\nproperty list uchar int vertex_indices\nend_header\n");
    for (int r = 0; r < n; ++r) {
        for (int c = 0; c < n; ++c) {
            const float x = (c - (n - 1) / 2.0f) / 4.0f, z = (r - (n - 1) / 2.0f) / 4.0f;
            const float bump = std::sin(x * 1.3f) * std::cos(z * 0.9f);
            w.f32(x); w.f32(0.6f * bump); w.f32(z);
            w.f32(std::max(0.0f, 1.0f - (x * x + z * z) / 50.0f));
            w.u16(uint16_t(12000 + 40000 * (bump + 1) / 2));
        }
    }
    for (int r = 0; r + 1 < n; ++r) {
        for (int c = 0; c + 1 < n; ++c) {
            const int a = r * n + c;
            w.u8(3); w.i32(a); w.i32(a + n); w.i32(a + 1);
            w.u8(3); w.i32(a + 1); w.i32(a + n); w.i32(a + n + 1);
        }
    }
    return w.save(path);
}

// A torus of quads each with the quality a mesh tool computed for it (here
// how far the face lies from the torus' axis); the import keeps it as a
// channel of one value a face.
bool WriteFaceQuality(const char* path) {
    const int around = 32, tube = 12;
    std::string text = "ply\nformat ascii 1.0\ncomment torus with a quality per face\n"
                       "element vertex " + std::to_string(around * tube) +
                       "\nproperty float x\nproperty float y\nproperty float z\n"
                       "element face " + std::to_string(around * tube) +
                       "\nproperty list uchar int vertex_indices\nproperty float quality\nend_header\n";
    char line[128];
    const float pi = 3.14159265f;
    for (int i = 0; i < around; ++i) {
        for (int j = 0; j < tube; ++j) {
            const float u = 2 * pi * i / around, v = 2 * pi * j / tube;
            const float ring = 2.0f + 0.7f * std::cos(v);
            std::snprintf(line, sizeof line, "%g %g %g\n", ring * std::cos(u), ring * std::sin(u),
                          0.7f * std::sin(v));
            text += line;
        }
    }
    for (int i = 0; i < around; ++i) {
        for (int j = 0; j < tube; ++j) {
            const int a = i * tube + j, b = ((i + 1) % around) * tube + j;
            const int a1 = i * tube + (j + 1) % tube, b1 = ((i + 1) % around) * tube + (j + 1) % tube;
            const float v = 2 * pi * (j + 0.5f) / tube;
            std::snprintf(line, sizeof line, "4 %d %d %d %d %g\n", a, b, b1, a1,
                          2.0f + 0.7f * std::cos(v));
            text += line;
        }
    }
    Writer w;
    w.text(text);
    return w.save(path);
}

}  // namespace

int main(int argc, char** argv) {
    std::string dir = argc > 1 ? argv[1] : ".";
    bool ok = WriteColouredCube((dir + "/cube_colours_ascii.ply").c_str()) &&
              WriteSphere((dir + "/sphere_normals_uv_le.ply").c_str()) &&
              WriteQuadGrid((dir + "/quads_materials_be.ply").c_str()) &&
              WriteStrips((dir + "/strips_grid_ascii.ply").c_str()) &&
              WriteCheckerBitmap((dir + "/cube_texcoords_le.bmp").c_str()) &&
              WriteTexturedCube((dir + "/cube_texcoords_le.ply").c_str()) &&
              WriteFaceColours((dir + "/cube_face_colours_ascii.ply").c_str(), false) &&
              WriteFaceColours((dir + "/cube_white_vertices_face_colours_ascii.ply").c_str(),
                               true) &&
              WriteDiffuseColours((dir + "/ground_diffuse_colours_le.ply").c_str()) &&
              WriteRangeGrid((dir + "/dome_range_grid_ascii.ply").c_str()) &&
              WriteVertexAlpha((dir + "/strip_vertex_alpha_le.ply").c_str()) &&
              WriteSplats((dir + "/splats_sphere_le.ply").c_str()) &&
              WriteFarOrigin((dir + "/terrain_far_origin_double_le.ply").c_str()) &&
              WriteScanConfidenceIntensity((dir + "/scan_confidence_intensity_le.ply").c_str()) &&
              WriteFaceQuality((dir + "/torus_face_quality_ascii.ply").c_str());
    if (!ok) std::fprintf(stderr, "make_examples: cannot write into %s\n", dir.c_str());
    return ok ? 0 : 1;
}
