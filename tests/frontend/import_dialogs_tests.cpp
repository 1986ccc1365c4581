// Whole imports through DoImport with the real mesh build behind the
// progress dialog: a cancel in a large vertex section, a build error shown
// after the dialog, and finished imports with and without prompts.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "hostsdk/standin.h"
#include "importer/dazazu.h"
#include "tests/frontend/progress_test_support_win.h"
#include "tests/toolkit/window_test_support_win.h"
#include "toolkit/colours.h"

namespace {

std::string TempPath(const std::string& name) {
    char dir[MAX_PATH] = "";
    GetTempPathA(sizeof dir, dir);
    return std::string(dir) + name;
}

const char kXyzHeader[] =
    "ply\n"
    "format binary_little_endian 1.0\n"
    "element vertex %u\n"
    "property float x\n"
    "property float y\n"
    "property float z\n";

// A binary file with the given vertices, all at the origin, and one
// triangle; or, when vertexBytes is short, vertex data that ends early.
std::string WriteBinaryFile(const std::string& name, unsigned vertices, size_t vertexBytes,
                            bool face) {
    std::string path = TempPath(name);
    FILE* file = std::fopen(path.c_str(), "wb");
    std::fprintf(file, kXyzHeader, vertices);
    if (face) std::fprintf(file, "element face 1\nproperty list uchar int vertex_indices\n");
    std::fprintf(file, "end_header\n");
    std::vector<char> zeros(1 << 20, 0);
    for (size_t left = vertexBytes; left > 0;) {
        size_t n = left < zeros.size() ? left : zeros.size();
        std::fwrite(zeros.data(), 1, n, file);
        left -= n;
    }
    if (face) {
        const unsigned char count = 3;
        const int indices[3] = {0, 1, 2};
        std::fwrite(&count, 1, 1, file);
        std::fwrite(indices, sizeof indices, 1, file);
    }
    std::fclose(file);
    return path;
}

std::string WriteSmallAsciiFile() {
    std::string path = TempPath("ks_frontend_quad.ply");
    FILE* file = std::fopen(path.c_str(), "wb");
    std::fprintf(file,
                 "ply\nformat ascii 1.0\nelement vertex 4\nproperty float x\nproperty float y\n"
                 "property float z\nelement face 1\nproperty list uchar int vertex_indices\n"
                 "end_header\n0 0 0\n1 0 0\n1 1 0\n0 1 0\n4 0 1 2 3\n");
    std::fclose(file);
    return path;
}

class ImportThroughDialogsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        PrepareFrontend();
        core.SetMainWindow(mainWindow.Window());
        core.SetDir(APP_PLUGCFG_DIR, TempPath("").c_str());
    }

    int Import(const std::string& path, bool prompts) {
        DazAzu* importer = new DazAzu();
        int result = importer->DoImport(path.c_str(), &scene, &core, prompts ? FALSE : TRUE);
        delete importer;
        return result;
    }

    TestParent mainWindow{320, 200};
    HostScene scene;
    HostCore core{scene};
};

TEST_F(ImportThroughDialogsTest, CancelInALargeVertexSectionClosesWithNoMessage) {
    const unsigned vertices = 2000000;
    std::string path = WriteBinaryFile("ks_frontend_large.ply", vertices, vertices * 12u, true);
    DialogRecorder recorder;
    BoxSpy spy;
    Watcher user([&] {
        HWND dialog = WaitForProgressDialog();
        if (!dialog) return;
        // Once the first count is shown the worker is in the vertex section.
        while (IsWindow(dialog) && BarFraction(dialog) <= 0.0f) Sleep(1);
        recorder.Mark();
        PressCancelImport(dialog);
    });
    EXPECT_EQ(Import(path, true), 1);
    user.Join();
    EXPECT_TRUE(spy.Stop().empty());
    EXPECT_EQ(scene.NodeCount(), 0);
    // The build stopped at its next progress point, still among the vertices.
    EXPECT_GE(recorder.fractionsAfterMark, 0);
    EXPECT_LE(recorder.fractionsAfterMark, 2);
    ASSERT_FALSE(recorder.fractions.empty());
    for (float fraction : recorder.fractions) EXPECT_LT(fraction, vertices / (vertices + 1.0f));
    // No fade: the dialog closed as failed.
    EXPECT_EQ(recorder.colours.size(), 1u);
    std::remove(path.c_str());
}

TEST_F(ImportThroughDialogsTest, ABuildErrorIsShownOnceAfterTheDialogHasClosed) {
    std::string path = WriteBinaryFile("ks_frontend_short.ply", 5000, 100 * 12, false);
    DialogRecorder recorder;
    BoxSpy spy;
    EXPECT_EQ(Import(path, true), 1);
    std::vector<SpiedBox> boxes = spy.Stop();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_FALSE(boxes[0].text.empty());
    EXPECT_FALSE(boxes[0].progressDialogOpen);
    EXPECT_EQ(boxes[0].owner, mainWindow.Window());
    EXPECT_EQ(recorder.colours.size(), 1u);  // closed without a fade
    EXPECT_EQ(scene.NodeCount(), 0);
    std::remove(path.c_str());
}

TEST_F(ImportThroughDialogsTest, AFinishedImportWithPromptsFadesAndAddsTheNode) {
    std::string path = WriteSmallAsciiFile();
    DialogRecorder recorder;
    BoxSpy spy;
    EXPECT_EQ(Import(path, true), 1);
    EXPECT_TRUE(spy.Stop().empty());
    EXPECT_EQ(recorder.colours.size(), 11u);
    EXPECT_EQ(recorder.colours.back(), RGB(68, 67, 68));  // the face colour, green truncated
    ASSERT_FALSE(recorder.fractions.empty());
    EXPECT_EQ(recorder.fractions.back(), 1.0f);
    EXPECT_EQ(scene.NodeCount(), 1);
}

TEST_F(ImportThroughDialogsTest, AFinishedImportWithoutPromptsClosesAtOnce) {
    std::string path = WriteSmallAsciiFile();
    DialogRecorder recorder;
    BoxSpy spy;
    EXPECT_EQ(Import(path, false), 1);
    EXPECT_TRUE(spy.Stop().empty());
    EXPECT_EQ(recorder.colours.size(), 1u);
    EXPECT_EQ(scene.NodeCount(), 1);
}

}  // namespace
