// What an export leaves behind when it cannot finish: the old file as it
// was, no temporary file, one message and a result that says so.
#include <gtest/gtest.h>
#ifndef _WIN32
#include <sys/resource.h>
#endif

#include <csignal>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "exporter/dazazuexport.h"
#include "exporter/export_write.h"
#include "ply/ply_reader.h"
#include "hostsdk/standin.h"
#include "tests/support/export_doubles.h"
#include "tests/support/import_doubles.h"

namespace {

namespace fs = std::filesystem;

std::string ReadAll(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// A grid of n x n quads as one node, moved by offset.
HostNode* AddGrid(HostScene& scene, int n, float offset) {
    HostNode* node = static_cast<HostNode*>(scene.CreateNode());
    TriObject* tri = CreateNewTriObject();
    Mesh& m = tri->GetMesh();
    m.setNumVerts((n + 1) * (n + 1));
    m.setNumFaces(2 * n * n);
    for (int y = 0; y <= n; ++y)
        for (int x = 0; x <= n; ++x) m.verts[y * (n + 1) + x] = Point3(float(x), float(y), 0);
    for (int y = 0, f = 0; y < n; ++y)
        for (int x = 0; x < n; ++x, f += 2) {
            const int a = y * (n + 1) + x, b = a + 1, c = a + n + 2, d = a + n + 1;
            m.faces[f].setVerts(a, b, c);
            m.faces[f].setEdgeVisFlags(1, 1, 0);
            m.faces[f + 1].setVerts(a, c, d);
            m.faces[f + 1].setEdgeVisFlags(0, 1, 1);
        }
    node->Reference(tri);
    Matrix3 tm;
    tm.SetTransRow(Point3(offset, 0, 0));
    node->SetTransform(0, tm);
    scene.AddNodeToScene(node);
    return node;
}

class DoExportTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ResetImportDoubles();
        ResetExportDoubles();
        dir = fs::temp_directory_path() / "ks_doexport";
        fs::remove_all(dir);
        fs::create_directories(dir);
        core.SetDir(APP_PLUGCFG_DIR, dir.string().c_str());
        target = dir / "scene.ply";
        std::ofstream(target) << "the old file";
    }
    void TearDown() override {
        fs::permissions(target, fs::perms::owner_all, fs::perm_options::add);
        fs::remove_all(dir);
    }
    int Export(BOOL suppressPrompts = FALSE, DWORD options = 0) {
        DazAzuExport* exporter = new DazAzuExport;
        const int result = exporter->DoExport(target.string().c_str(), &scene, &core,
                                              suppressPrompts, options);
        delete exporter;
        return result;
    }
    // The old file as it was, and nothing else beside it.
    void ExpectOldFileAlone() {
        EXPECT_EQ(ReadAll(target), "the old file");
        int files = 0;
        for (const fs::directory_entry& e : fs::directory_iterator(dir))
            files += e.path().extension() != ".cfg";
        EXPECT_EQ(files, 1);
    }

    HostScene scene;
    HostCore core{scene};
    fs::path dir, target;
};

TEST_F(DoExportTest, ACancelLeavesTheOldFile) {
    AddGrid(scene, 300, 0);  // past one progress point
    ExportDoublesNow().onProgress = [](DazAzuExport& e) { e.cancelFlag = 1; };
    EXPECT_EQ(Export(), IMPEXP_CANCEL);
    ExpectOldFileAlone();
    ASSERT_EQ(ExportDoublesNow().messages.size(), 1u);
    EXPECT_NE(ExportDoublesNow().messages[0].find("cancelled"), std::string::npos);
}

TEST_F(DoExportTest, AReadOnlyFileIsLeftAsItWas) {
    AddGrid(scene, 2, 0);
    fs::permissions(target, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);
    EXPECT_EQ(Export(), IMPEXP_FAIL);
    ExpectOldFileAlone();
    ASSERT_EQ(ExportDoublesNow().messages.size(), 1u);
    EXPECT_NE(ExportDoublesNow().messages[0].find("Cannot replace"), std::string::npos);
}

#ifndef _WIN32
// A file size limit fails the writes as a full disk does.
TEST_F(DoExportTest, AFullDiskLeavesTheOldFile) {
    AddGrid(scene, 300, 0);
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit before;
    getrlimit(RLIMIT_FSIZE, &before);
    rlimit limited = before;
    limited.rlim_cur = 100000;
    setrlimit(RLIMIT_FSIZE, &limited);
    const int result = Export();
    setrlimit(RLIMIT_FSIZE, &before);
    EXPECT_EQ(result, IMPEXP_FAIL);
    ExpectOldFileAlone();
    ASSERT_EQ(ExportDoublesNow().messages.size(), 1u);
    EXPECT_NE(ExportDoublesNow().messages[0].find("disk full"), std::string::npos);
}
#endif

// World space: the node's turn and move reach the positions, its turn the
// normals; without the flip and at scale 1 nothing else changes them.
TEST_F(DoExportTest, PositionsAndNormalsAreInWorldSpace) {
    HostNode* node = AddGrid(scene, 1, 0);
    Mesh& m = static_cast<TriObject*>(node->GetObjectRef())->GetMesh();
    m.setNormal(1, Point3(0, 0, 2));
    m.setNormal(2, Point3(1, 0, 0));
    Matrix3 tm;  // a quarter turn about z, then a move
    tm.SetRow(0, Point3(0, 1, 0));
    tm.SetRow(1, Point3(-1, 0, 0));
    tm.SetTransRow(Point3(5, 6, 7));
    tm.SetIdentFlags(0);
    node->SetTransform(0, tm);
    ExportDoublesNow().optionsDialog = [](DazAzuExport& e) {
        e.options.flipZY = 0;
        e.options.scale = 1.0f;
        return 1;
    };
    ASSERT_EQ(Export(), IMPEXP_SUCCESS);
    PlyReader reader;
    ASSERT_TRUE(reader.Open(target.string().c_str()));
    ASSERT_EQ(reader.SeekElement(kElementVertex), 4);
    const float expected[3][6] = {{5, 6, 7, 0, 0, 0}, {5, 7, 7, 0, 0, 2}, {4, 6, 7, 0, 1, 0}};
    for (const auto& e : expected) {
        float p[3], n[3], t[3], c[3];
        ASSERT_TRUE(reader.ReadVertex(p, n, t, c, nullptr));
        EXPECT_EQ((std::vector<float>{p[0], p[1], p[2], n[0], n[1], n[2]}),
                  std::vector<float>(e, e + 6));
    }
}

TEST_F(DoExportTest, AMeshTheHostCannotGiveLeavesTheOldFile) {
    AddGrid(scene, 2, 0);
    static_cast<TriObject*>(scene.GetNode(0)->GetObjectRef())->GetMesh().faces[3].v[1] = 99;
    EXPECT_EQ(Export(), IMPEXP_FAIL);
    ExpectOldFileAlone();
    ASSERT_EQ(ExportDoublesNow().messages.size(), 1u);
    EXPECT_NE(ExportDoublesNow().messages[0].find("cannot be read"), std::string::npos);
}

TEST_F(DoExportTest, APathTooLongIsRefusedNotCut) {
    AddGrid(scene, 1, 0);
    const std::string longer = target.string() + std::string(300, 'x');
    DazAzuExport* exporter = new DazAzuExport;
    EXPECT_EQ(exporter->DoExport(longer.c_str(), &scene, &core, FALSE), IMPEXP_FAIL);
    delete exporter;
    ExpectOldFileAlone();
    ASSERT_EQ(ExportDoublesNow().messages.size(), 1u);
}

TEST_F(DoExportTest, WithoutPromptsNothingIsShown) {
    EXPECT_EQ(Export(TRUE), IMPEXP_FAIL);  // no mesh
    EXPECT_EQ(ExportDoublesNow().optionsDialogRuns, 0);
    EXPECT_TRUE(ExportDoublesNow().messages.empty());
    ExpectOldFileAlone();
}

TEST_F(DoExportTest, TheSelectionAloneIsWritten) {
    AddGrid(scene, 1, 0);
    AddGrid(scene, 2, 10)->SetSelected(true);
    EXPECT_EQ(Export(TRUE, SCENE_EXPORT_SELECTED), IMPEXP_SUCCESS);
    const std::string file = ReadAll(target);
    EXPECT_NE(file.find("element vertex 9\n"), std::string::npos);
    EXPECT_NE(file.find("element face 4\n"), std::string::npos);  // the quads, rejoined
    EXPECT_EQ(Export(TRUE), IMPEXP_SUCCESS);
    EXPECT_NE(ReadAll(target).find("element vertex 13\n"), std::string::npos);
}

TEST(TextureFileNameTest, RelativeBesideOrBelowTheFile) {
    const char* const kCases[][3] = {
        {"C:\\scans\\tex.png", "C:\\scans\\out.ply", "tex.png"},
        {"c:/Scans/maps\\tex.png", "C:\\scans\\out.ply", "maps\\tex.png"},
        {"C:\\other\\tex.png", "C:\\scans\\out.ply", "C:\\other\\tex.png"},
        {"C:\\scans2\\tex.png", "C:\\scans\\out.ply", "C:\\scans2\\tex.png"},
        {"C:\\sc@ns\\tex.png", "C:\\sc`ns\\out.ply", "C:\\sc@ns\\tex.png"},
        {"tex.png", "out.ply", "tex.png"},
    };
    for (const auto& c : kCases) EXPECT_STREQ(TextureFileName(c[0], c[1]), c[2]) << c[0];
}

}  // namespace
