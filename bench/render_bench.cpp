// The viewport's frame time, the renderer alone: the benchmark grid that
// ply_bench writes (2000 x 1000 vertices with a colour each, about 4
// million triangles), built in memory as the importer would build it, drawn
// at the window's first size from the three-quarter camera framing it. The
// full frame, and the frame drawn while the camera moves, in each mode.
#include <benchmark/benchmark.h>

#include <cmath>

#include "hostapp/viewer/reducedmesh.h"
#include "hostapp/viewer/renderer.h"
#include "hostapp/viewer/scenehelpers.h"

namespace {

const int kColumns = 2000, kRows = 1000;

SceneDrawing MakeGrid() {
    SceneDrawing d;
    d.meshes.emplace_back();
    DrawMesh& m = d.meshes.back();
    m.vertices.reserve(size_t(kColumns) * kRows);
    m.colours.reserve(size_t(kColumns) * kRows);
    for (int j = 0; j < kRows; ++j)
        for (int i = 0; i < kColumns; ++i) {
            const float height = 0.05f * float(std::sin(i * 0.01) * std::cos(j * 0.013));
            m.vertices.push_back({i * 0.001f, j * 0.001f, height});
            m.colours.push_back({(i & 255) / 255.0f, (j & 255) / 255.0f, 128 / 255.0f});
        }
    m.looks.push_back({{0.69f, 0.69f, 0.69f}, nullptr});
    const size_t faces = 2 * size_t(kColumns - 1) * (kRows - 1);
    m.corners.reserve(3 * faces);
    m.styles.assign(faces, {0, kShadeCornerColours, kEdge01 | kEdge12 | kEdge20});
    for (int j = 0; j + 1 < kRows; ++j)
        for (int i = 0; i + 1 < kColumns; ++i) {
            const uint32_t a = j * kColumns + i, b = a + 1, c = a + kColumns, e = c + 1;
            for (uint32_t v : {a, b, e, a, e, c}) m.corners.push_back(v);
        }
    SetPointColours(m);
    AddReducedMeshes(d);
    return d;
}

const SceneDrawing& Grid() {
    static const SceneDrawing grid = MakeGrid();
    return grid;
}

void Frame(benchmark::State& state, bool moving) {
    RenderOptions options;
    options.mode = DisplayMode(state.range(0));
    options.moving = moving;
    const Camera camera = FrameScene(Grid(), DefaultCamera(), kSnapshotWidth, kSnapshotHeight);
    for (auto _ : state) {
        Image image = RenderView(Grid(), camera, kSnapshotWidth, kSnapshotHeight, options);
        benchmark::DoNotOptimize(image.rgb.data());
    }
    state.SetLabel(DisplayModeName(options.mode));
    const DrawMesh& drawn = moving ? Grid().reduced[0] : Grid().meshes[0];
    state.counters["faces"] = double(drawn.FaceCount());
}

void FullFrame(benchmark::State& state) { Frame(state, false); }
void MovingFrame(benchmark::State& state) { Frame(state, true); }

}  // namespace

BENCHMARK(FullFrame)
    ->DenseRange(0, kDisplayModeCount - 1)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK(MovingFrame)
    ->DenseRange(0, kDisplayModeCount - 1)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

BENCHMARK_MAIN();
