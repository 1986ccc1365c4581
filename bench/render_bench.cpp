// The viewport's frame time, the renderer alone: the benchmark grid that
// ply_bench writes (2000 x 1000 vertices with a colour each, about 4
// million triangles), built in memory as the importer would build it, drawn
// at the window's first size from the three-quarter camera framing it. The
// full frame, and the frame drawn while the camera moves, in each mode.
// Then a scan's point cloud of 4 million points, full and moving.
#include <benchmark/benchmark.h>

#include <cmath>

#include "hostapp/viewer/reducedmesh.h"
#include "hostapp/viewer/renderer.h"
#include "hostapp/viewer/scenehelpers.h"

namespace {

const int kColumns = 2000, kRows = 1000;

// A waving surface of kColumns x rows vertices with a colour each.
void AddSurface(DrawMesh& m, int rows) {
    m.vertices.reserve(size_t(kColumns) * rows);
    m.colours.reserve(size_t(kColumns) * rows);
    for (int j = 0; j < rows; ++j)
        for (int i = 0; i < kColumns; ++i) {
            const float height = 0.05f * float(std::sin(i * 0.01) * std::cos(j * 0.013));
            m.vertices.push_back({i * 0.001f, j * 0.001f, height});
            m.colours.push_back({(i & 255) / 255.0f, (j & 255) / 255.0f, 128 / 255.0f});
        }
}

SceneDrawing MakeGrid() {
    SceneDrawing d;
    d.meshes.emplace_back();
    DrawMesh& m = d.meshes.back();
    AddSurface(m, kRows);
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

// The grid's waving surface, twice as deep, as points with a colour each.
SceneDrawing MakeCloud() {
    SceneDrawing d;
    d.meshes.emplace_back();
    DrawMesh& m = d.meshes.back();
    AddSurface(m, 2 * kRows);
    SetPointColours(m);
    AddReducedMeshes(d);
    return d;
}

const SceneDrawing& Cloud() {
    static const SceneDrawing cloud = MakeCloud();
    return cloud;
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
    state.counters["points"] = double(drawn.vertices.size());
}

void FullFrame(benchmark::State& state) { Frame(state, false); }
void MovingFrame(benchmark::State& state) { Frame(state, true); }

// A cloud draws as points in every mode.
void CloudFrame(benchmark::State& state) {
    RenderOptions options;
    options.moving = state.range(0) != 0;
    const Camera camera = FrameScene(Cloud(), DefaultCamera(), kSnapshotWidth, kSnapshotHeight);
    for (auto _ : state) {
        Image image = RenderView(Cloud(), camera, kSnapshotWidth, kSnapshotHeight, options);
        benchmark::DoNotOptimize(image.rgb.data());
    }
    state.SetLabel(options.moving ? "moving" : "full");
    // The CSV table wants the same counters in every row.
    const DrawMesh& drawn = options.moving ? Cloud().reduced[0] : Cloud().meshes[0];
    state.counters["faces"] = 0;
    state.counters["points"] = double(drawn.vertices.size());
}

}  // namespace

BENCHMARK(FullFrame)
    ->DenseRange(0, kDisplayModeCount - 1)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK(MovingFrame)
    ->DenseRange(0, kDisplayModeCount - 1)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

BENCHMARK(CloudFrame)->DenseRange(0, 1)->Unit(benchmark::kMillisecond)->UseRealTime();

BENCHMARK_MAIN();
