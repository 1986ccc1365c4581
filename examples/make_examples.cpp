// Writes the small PLY files of examples/: a coloured cube in ASCII, a binary
// little-endian mesh with normals and texture coordinates, and a big-endian
// quad mesh with a material element. Run by examples/make.
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
            int a = r * (segments + 1) + s, b = a + segments + 1;
            w.u8(3); w.i32(a); w.i32(b); w.i32(a + 1);
            w.u8(3); w.i32(a + 1); w.i32(b); w.i32(b + 1);
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

}  // namespace

int main(int argc, char** argv) {
    std::string dir = argc > 1 ? argv[1] : ".";
    bool ok = WriteColouredCube((dir + "/cube_colours_ascii.ply").c_str()) &&
              WriteSphere((dir + "/sphere_normals_uv_le.ply").c_str()) &&
              WriteQuadGrid((dir + "/quads_materials_be.ply").c_str());
    if (!ok) std::fprintf(stderr, "make_examples: cannot write into %s\n", dir.c_str());
    return ok ? 0 : 1;
}
