// The whole import, natively, against the read floors of the same file.
//
//   import_bench [--repeat R] [--passes] [--imports-only] FILE...
//
// Runs DoImport as the host does (prompts suppressed) against the stand-in
// host and the seam doubles of the import core's tests, and prints for each
// file the best of R runs of: the chunked read floor, the fresh-buffer floor,
// the reader's full read sequence and the whole import, as ms and as a
// multiple of the chunked floor, with the peak memory of the import above
// the host mesh arrays it leaves. A 12-triangle cube, written beside the
// first file, comes first. --passes adds the cost of each host mesh pass
// and of the first touch of the mesh arrays, on the imported mesh;
// --imports-only leaves the floors and the full read out, for a profiler.
#include <malloc.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "bench/read_floors.h"
#include "hostsdk/object.h"
#include "hostsdk/standin.h"
#include "importer/dazazu.h"
#include "tests/support/import_doubles.h"

namespace {

const char kCube[] =
    "ply\nformat ascii 1.0\nelement vertex 8\nproperty float x\nproperty float y\n"
    "property float z\nelement face 6\nproperty list uchar int vertex_indices\nend_header\n"
    "0 0 0\n1 0 0\n1 1 0\n0 1 0\n0 0 1\n1 0 1\n1 1 1\n0 1 1\n"
    "4 0 3 2 1\n4 4 5 6 7\n4 0 1 5 4\n4 1 2 6 5\n4 2 3 7 6\n4 3 0 4 7\n";

std::string DirectoryOf(const std::string& path) {
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? "." : path.substr(0, slash);
}

bool WriteText(const std::string& path, const char* text) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) return false;
    const size_t size = std::strlen(text);
    const bool written = std::fwrite(text, 1, size, file) == size;
    return std::fclose(file) == 0 && written;
}

struct ImportRun {
    double seconds = -1;
    double peakOverArrays = 0;  // bytes the import held above what it leaves
    size_t messages = 0;        // sent to the progress dialog
    Mesh* mesh = nullptr;       // the imported mesh, owned by the scene
};

// One import as the host makes it: a new importer, prompts suppressed.
ImportRun ImportOnce(const std::string& path, HostScene& scene, HostCore& core) {
    ImportRun run;
    ResetImportDoubles();
    scene.NewScene();
    const size_t heapBefore = HostHeapBytesInUse();
    ResetPeakMemory();
    const uint64_t residentBefore = StatusBytes("VmRSS");
    const BenchClock::time_point start = BenchClock::now();
    {
        DazAzu importer;
        importer.DoImport(path.c_str(), &scene, &core, TRUE);
    }
    const double seconds = SecondsSince(start);
    const uint64_t peak = StatusBytes("VmHWM");
    if (scene.NodeCount() != 1 || !Doubles().messages.empty()) {
        std::fprintf(stderr, "%s: %s\n", path.c_str(),
                     Doubles().messages.empty() ? "no node" : Doubles().messages[0].c_str());
        return run;
    }
    const double arrays = double(HostHeapBytesInUse() - heapBefore);
    run.seconds = seconds;
    run.messages = Doubles().sent.size();
    run.peakOverArrays = double(peak) - double(residentBefore) - arrays;
    run.mesh = &static_cast<TriObject*>(scene.GetNode(0)->GetObjectRef())->GetMesh();
    return run;
}

template <typename Pass>
double TimePass(Pass pass) {
    const BenchClock::time_point start = BenchClock::now();
    pass();
    return SecondsSince(start) * 1000;
}

// Each host mesh pass of the build's last steps, on the imported mesh, and
// the sizing calls of its arrays on a new mesh (allocation and first touch).
void PrintPasses(Mesh& mesh) {
    const int n = mesh.getNumVerts(), f = mesh.getNumFaces();
    const bool colours = mesh.vertCol != nullptr, texCoords = mesh.tVerts != nullptr;
    Mesh fresh;
    std::printf("    sizing: verts %.1f", TimePass([&] { fresh.setNumVerts(n); }));
    std::printf(", normals %.1f", TimePass([&] { fresh.setNormal(0, Point3(0, 0, 1)); }));
    if (colours) std::printf(", colours %.1f", TimePass([&] { fresh.setNumVertCol(n); }));
    std::printf(", faces %.1f", TimePass([&] { fresh.setNumFaces(f); }));
    if (colours) std::printf(", colour faces %.1f", TimePass([&] { fresh.setNumVCFaces(f); }));
    std::printf(" ms\n    passes: isolated vertices %.1f",
                TimePass([&] { mesh.DeleteIsoVerts(); }));
    if (texCoords) std::printf(", map channels %.1f", TimePass([&] { mesh.DeleteIsoMapVerts(); }));
    std::printf(", bounding box %.1f", TimePass([&] { mesh.buildBoundingBox(); }));
    // What centring the pivot does: one shift of every vertex and a new box.
    std::printf(", centre pivot %.1f", TimePass([&] {
                    const Point3 centre = mesh.getBoundingBox().Center();
                    for (int i = 0; i < n; ++i) mesh.verts[i] -= centre;
                    mesh.buildBoundingBox();
                }));
    std::printf(", normals (option) %.1f ms\n", TimePass([&] { mesh.buildNormals(); }));
}

}  // namespace

int main(int argc, char** argv) {
    int repeat = 5;
    bool passes = false, importsOnly = false;
    std::vector<std::string> files;
    for (int i = 1; i < argc; ++i) {
        if (!std::strcmp(argv[i], "--repeat") && i + 1 < argc) {
            repeat = std::atoi(argv[++i]);
        } else if (!std::strcmp(argv[i], "--passes")) {
            passes = true;
        } else if (!std::strcmp(argv[i], "--imports-only")) {
            importsOnly = true;
        } else {
            files.push_back(argv[i]);
        }
    }
    if (files.empty() || repeat < 1) {
        std::fprintf(stderr,
                     "usage: import_bench [--repeat R] [--passes] [--imports-only] FILE...\n");
        return 2;
    }
    const std::string cube = DirectoryOf(files[0]) + "/cube_12.ply";
    if (!WriteText(cube, kCube)) {
        std::fprintf(stderr, "cannot write %s\n", cube.c_str());
        return 1;
    }
    files.insert(files.begin(), cube);
    // Large blocks always get pages of their own, as a Windows heap gives
    // them: each import pays its page faults and its peak shows in full.
    mallopt(M_MMAP_THRESHOLD, 1 << 20);

    HostScene scene;
    HostCore core(scene);
    SetCOREInterface(&core);
    core.SetDir(APP_PLUGCFG_DIR, DirectoryOf(files[0]).c_str());

    std::printf("native import, best of %d runs; ms and multiple of the chunked read floor\n",
                repeat);
    std::printf("%-24s %8s | %8s | %8s %6s | %8s %6s | %8s %6s | %9s | %8s\n", "file", "MB",
                "floor", "fresh", "x", "full", "x", "import", "x", "peak-MB", "messages");
    uint64_t bytesChecksum = 0;
    double valueChecksum = 0;
    for (const std::string& path : files) {
        std::vector<double> chunked, fresh, full, import;
        double peak = 0;
        size_t messages = 0;
        for (int r = 0; r < repeat; ++r) {
            if (!importsOnly) {
                chunked.push_back(MeasureChunkedFloor(path, &bytesChecksum) * 1000);
                fresh.push_back(MeasureFreshFloor(path, &bytesChecksum) * 1000);
                full.push_back(MeasureFullRead(path, &valueChecksum) * 1000);
            }
            const ImportRun run = ImportOnce(path, scene, core);
            if (run.seconds < 0) return 1;
            import.push_back(run.seconds * 1000);
            if (run.peakOverArrays > peak) peak = run.peakOverArrays;
            messages = run.messages;
        }
        const double floor = Best(chunked);
        const size_t slash = path.rfind('/');
        const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
        std::printf("%-24s %8.1f | %8.3f | %8.3f %6.1f | %8.3f %6.1f | %8.3f %6.1f | %9.1f | %8zu\n",
                    name.c_str(), FileSize(path) / 1e6, floor, Best(fresh), Best(fresh) / floor,
                    Best(full), Best(full) / floor, Best(import), Best(import) / floor, peak / 1e6,
                    messages);
        if (passes) {
            const ImportRun run = ImportOnce(path, scene, core);
            if (run.mesh) PrintPasses(*run.mesh);
        }
        std::fflush(stdout);
    }
    scene.NewScene();
    SetCOREInterface(nullptr);
    std::printf("(checksums %llu %g)\n", (unsigned long long)bytesChecksum, valueChecksum);
    return 0;
}
