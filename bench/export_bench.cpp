// The whole export, natively, against the write floor of the same bytes.
//
//   export_bench [--repeat R] [--around N] DIR
//
// Builds a torus of 2 x N x N/2 triangles (4 million by default) as one
// scene node, with normals, vertex colours and texture coordinates, twice:
// as an import leaves it (every channel indexed by vertex) and as a
// modeller leaves it (texture coordinates kept per corner, split along the
// seam). Exports each in the three encodings into DIR as the host does
// (prompts suppressed) and prints the best of R runs: the write floor (the
// same number of bytes written from memory in 1 MiB blocks), the export as
// ms, as a multiple of the floor and as MB/s, the part of it that plans the
// file (before a byte is written), and the peak memory above the scene.
#include <malloc.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "bench/read_floors.h"
#include "exporter/dazazuexport.h"
#include "exporter/export_plan.h"
#include "hostsdk/standin.h"
#include "tests/support/export_doubles.h"
#include "tests/support/import_doubles.h"

namespace {

const double kPi = 3.14159265358979323846;

// Corner k of face f of an around x tube grid, closed both ways.
int GridVertex(int around, int tube, int i, int j) { return (j % tube) * around + (i % around); }

void BuildTorus(Mesh& m, int around, int tube, bool cornerTexCoords) {
    const int verts = around * tube, faces = 2 * verts;
    m.setNumVerts(verts);
    m.setNumFaces(faces);
    m.setNumVertCol(verts);
    m.setNumVCFaces(faces);
    m.setNumTVerts(cornerTexCoords ? 3 * faces : verts);
    m.setNumTVFaces(faces);
    Point3* normals = m.explicitNormalArray();
    for (int j = 0; j < tube; ++j)
        for (int i = 0; i < around; ++i) {
            const double a = 2 * kPi * i / around, b = 2 * kPi * j / tube;
            const Point3 n(float(std::cos(a) * std::cos(b)), float(std::sin(a) * std::cos(b)),
                           float(std::sin(b)));
            const int v = GridVertex(around, tube, i, j);
            m.verts[v] = Point3(float(std::cos(a) * 100), float(std::sin(a) * 100), 0) + n * 30;
            normals[v] = n;
            m.vertCol[v] = Point3(float(i) / around, float(j) / tube, 0.5f);
            if (!cornerTexCoords) m.tVerts[v] = Point3(float(i) / around, float(j) / tube, 0);
        }
    for (int j = 0, f = 0; j < tube; ++j)
        for (int i = 0; i < around; ++i, f += 2) {
            const int corners[2][3][2] = {{{i, j}, {i + 1, j}, {i + 1, j + 1}},
                                          {{i, j}, {i + 1, j + 1}, {i, j + 1}}};
            for (int t = 0; t < 2; ++t) {
                int v[3];
                for (int k = 0; k < 3; ++k) {
                    v[k] = GridVertex(around, tube, corners[t][k][0], corners[t][k][1]);
                    // Along the seam the last column's corners read 1, not 0.
                    if (cornerTexCoords)
                        m.tVerts[3 * (f + t) + k] = Point3(float(corners[t][k][0]) / around,
                                                           float(corners[t][k][1]) / tube, 0);
                }
                m.faces[f + t].setVerts(v[0], v[1], v[2]);
                m.faces[f + t].setEdgeVisFlags(t == 1, 1, t == 0);
                m.vcFace[f + t].setTVerts(v[0], v[1], v[2]);
                if (cornerTexCoords)
                    m.tvFace[f + t].setTVerts(3 * (f + t), 3 * (f + t) + 1, 3 * (f + t) + 2);
                else
                    m.tvFace[f + t].setTVerts(v[0], v[1], v[2]);
            }
        }
}

// The same number of bytes from memory, in the export's 1 MiB blocks.
double MeasureWriteFloor(const std::string& path, uint64_t bytes) {
    std::vector<char> block(1 << 20, 'x');
    const BenchClock::time_point start = BenchClock::now();
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return -1;
    for (uint64_t left = bytes; left > 0;) {
        const size_t n = left < block.size() ? size_t(left) : block.size();
        std::fwrite(block.data(), 1, n, f);
        left -= n;
    }
    std::fclose(f);
    return SecondsSince(start);
}

struct ExportRun {
    double seconds = -1;
    double peakOverScene = 0;
};

ExportRun ExportOnce(HostScene& scene, HostCore& core, const std::string& path, ExportFormat format) {
    ExportRun run;
    ResetImportDoubles();
    ResetExportDoubles();
    ExportDoublesNow().optionsDialog = [format](DazAzuExport& e) {
        e.options.format = format;
        return 1;
    };
    std::remove(path.c_str());
    ResetPeakMemory();
    const uint64_t residentBefore = StatusBytes("VmRSS");
    const BenchClock::time_point start = BenchClock::now();
    int result;
    {
        DazAzuExport exporter;
        result = exporter.DoExport(path.c_str(), &scene, &core, FALSE);
    }
    run.seconds = SecondsSince(start);
    run.peakOverScene = double(StatusBytes("VmHWM")) - double(residentBefore);
    if (result != IMPEXP_SUCCESS) {
        std::fprintf(stderr, "%s: export result %d %s\n", path.c_str(), result,
                     ExportDoublesNow().messages.empty() ? "" : ExportDoublesNow().messages[0].c_str());
        run.seconds = -1;
    }
    return run;
}

double MeasurePlan(HostScene& scene) {
    const BenchClock::time_point start = BenchClock::now();
    ExportPlan plan;
    PlanExport(&scene, ExportOptions(), plan);
    return SecondsSince(start);
}

}  // namespace

int main(int argc, char** argv) {
    int repeat = 3, around = 2000;
    std::string dir;
    for (int i = 1; i < argc; ++i) {
        if (!std::strcmp(argv[i], "--repeat") && i + 1 < argc)
            repeat = std::atoi(argv[++i]);
        else if (!std::strcmp(argv[i], "--around") && i + 1 < argc)
            around = std::atoi(argv[++i]);
        else
            dir = argv[i];
    }
    if (dir.empty() || repeat < 1 || around < 4) {
        std::fprintf(stderr, "usage: export_bench [--repeat R] [--around N] DIR\n");
        return 2;
    }
    mallopt(M_MMAP_THRESHOLD, 1 << 20);
    const std::string path = dir + "/export_out.ply", floorPath = dir + "/export_floor.bin";
    const char* const kFormats[] = {"ascii", "binary_le", "binary_be"};
    std::printf("native export of a %d-triangle torus, best of %d runs; ms, multiple of the write floor, MB/s\n",
                around * around, repeat);
    std::printf("%-8s %-10s %8s | %8s | %8s %6s %8s | %8s | %9s\n", "torus", "format", "MB",
                "floor", "export", "x", "MB/s", "plan", "peak-MB");
    for (bool corners : {false, true}) {
        HostScene scene;
        HostCore core(scene);
        core.SetDir(APP_PLUGCFG_DIR, dir.c_str());
        HostNode* node = static_cast<HostNode*>(scene.CreateNode());
        TriObject* tri = CreateNewTriObject();
        BuildTorus(tri->GetMesh(), around, around / 2, corners);
        node->Reference(tri);
        scene.AddNodeToScene(node);
        for (ExportFormat format : {kExportAscii, kExportBinaryLittleEndian, kExportBinaryBigEndian}) {
            std::vector<double> floors, exports, plans;
            double peak = 0;
            uint64_t bytes = 0;
            for (int r = 0; r < repeat; ++r) {
                const ExportRun run = ExportOnce(scene, core, path, format);
                if (run.seconds < 0) return 1;
                exports.push_back(run.seconds * 1000);
                peak = std::max(peak, run.peakOverScene);
                bytes = FileSize(path);
                floors.push_back(MeasureWriteFloor(floorPath, bytes) * 1000);
                plans.push_back(MeasurePlan(scene) * 1000);
            }
            const double floor = Best(floors), best = Best(exports), mb = double(bytes) / 1e6;
            std::printf("%-8s %-10s %8.1f | %8.1f | %8.1f %6.2f %8.1f | %8.1f | %9.1f\n",
                        corners ? "corners" : "vertices", kFormats[format], mb, floor, best,
                        best / floor, mb / (best / 1000), Best(plans), peak / 1e6);
        }
    }
    std::remove(path.c_str());
    std::remove(floorPath.c_str());
    return 0;
}
