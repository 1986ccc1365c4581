// The viewport's frame time, the renderer alone: the benchmark grid that
// ply_bench writes (2000 x 1000 vertices with a colour each, about 4
// million triangles), built in a scene as the importer would build it, drawn
// at the window's first size from the three-quarter camera framing it. The
// full frame, and the frame drawn while the camera moves, in each mode.
// Then a scan's point cloud of 4 million points, full and moving.
#include <benchmark/benchmark.h>

#include <cmath>

#include "hostapp/viewer/reducedmesh.h"
#include "hostapp/viewer/renderer.h"
#include "hostapp/viewer/scenehelpers.h"
#include "hostapp/viewer/scenetriangles.h"
#include "hostsdk/object.h"

namespace {

const int kColumns = 2000, kRows = 1000;

// A node whose mesh is a waving surface of kColumns x rows vertices with a
// colour each, as the importer builds one; with faces, two triangles a
// grid square, all their edges visible.
void AddSurface(HostScene& scene, int rows, bool faces) {
    TriObject* object = CreateNewTriObject();
    Mesh& m = object->GetMesh();
    const int vertices = kColumns * rows;
    m.setNumVerts(vertices);
    m.setNumVertCol(vertices);
    for (int j = 0; j < rows; ++j)
        for (int i = 0; i < kColumns; ++i) {
            const float height = 0.05f * float(std::sin(i * 0.01) * std::cos(j * 0.013));
            m.verts[j * kColumns + i] = Point3(i * 0.001f, j * 0.001f, height);
            m.vertCol[j * kColumns + i] = Point3((i & 255) / 255.0f, (j & 255) / 255.0f, 128 / 255.0f);
        }
    if (faces) {
        m.setNumFaces(2 * (kColumns - 1) * (rows - 1));
        m.setNumVCFaces(m.numFaces);
        int f = 0;
        for (int j = 0; j + 1 < rows; ++j)
            for (int i = 0; i + 1 < kColumns; ++i) {
                const int a = j * kColumns + i, b = a + 1, c = a + kColumns, e = c + 1;
                const int corners[2][3] = {{a, b, e}, {a, e, c}};
                for (const int* v : corners) {
                    m.faces[f].setVerts(v[0], v[1], v[2]);
                    m.faces[f].setEdgeVisFlags(1, 1, 1);
                    m.vcFace[f++].setTVerts(v[0], v[1], v[2]);
                }
            }
    }
    ImpNode* node = scene.CreateNode();
    node->Reference(object);
    scene.AddNodeToScene(node);
}

const SceneDrawing& Drawing(int rows, bool faces) {
    static HostScene scenes[2];
    static SceneDrawing drawings[2];
    SceneDrawing& d = drawings[faces];
    if (d.meshes.empty()) {
        AddSurface(scenes[faces], rows, faces);
        d = BuildSceneDrawing(scenes[faces]);
        AddReducedMeshes(d);
    }
    return d;
}

const SceneDrawing& Grid() { return Drawing(kRows, true); }
// The grid's waving surface, twice as deep, as points with a colour each.
const SceneDrawing& Cloud() { return Drawing(2 * kRows, false); }

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
    state.counters["points"] = double(drawn.VertexCount());
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
    state.counters["points"] = double(drawn.VertexCount());
}

// What the window's own thread does when a built drawing arrives, before
// its first frame: the scene's size and the framing.
void SwapIn(benchmark::State& state) {
    const SceneDrawing& grid = Grid();
    for (auto _ : state) {
        float size = SceneSize(grid);
        Camera camera = FrameScene(grid, DefaultCamera(), kSnapshotWidth, kSnapshotHeight);
        benchmark::DoNotOptimize(size);
        benchmark::DoNotOptimize(camera);
    }
    state.counters["faces"] = double(Grid().meshes[0].FaceCount());
    state.counters["points"] = double(Grid().meshes[0].VertexCount());
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

BENCHMARK(SwapIn)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(CloudFrame)->DenseRange(0, 1)->Unit(benchmark::kMillisecond)->UseRealTime();

BENCHMARK_MAIN();
