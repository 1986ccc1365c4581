// plyhost.exe end to end: the test plug-ins (a good one and one broken
// variant per loading step) and, when it is built, the real plug-in.
#include <gtest/gtest.h>
#include <shlobj.h>
#include <windows.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <functional>
#include <sstream>

#include "hostapp/mainwindow_win.h"
#include "hostapp/viewer/bmpwriter.h"
#include "hostapp/viewer/legend_win.h"
#include "hostapp/viewer/renderer.h"
#include "tests/hostapp/bmpreader.h"
#include "tests/support/plyhost_run_win.h"
#include "tests/toolkit/window_test_support_win.h"

namespace {

const DWORD kHangGuardMs = 120000;  // only to end a hung child; never a timing check

std::string TestPlugin(const char* variant) {
    return TestBinDir() + "\\hosttest_" + variant + ".dli";
}

std::string FullPath(const std::string& path) {
    char buf[MAX_PATH];
    GetFullPathNameA(path.c_str(), sizeof buf, buf, nullptr);
    return buf;
}

class PlyhostTest : public testing::Test {
  protected:
    static void SetUpTestSuite() {
        char tmp[MAX_PATH];
        GetTempPathA(sizeof tmp, tmp);
        dir = std::string(tmp) + "plyhost_tests_" + std::to_string(GetCurrentProcessId());
        CreateDirectoryA(dir.c_str(), nullptr);
        const std::pair<const char*, const char*> files[] = {
            {"cube.ply", "mesh\n"},
            {"plain.ply", "plain\n"},
            {"hello.ply", "message hello\\nworld\nmesh\n"},
            {"path.ply", "path\n"},
            {"dirs.ply", "dirs\n"},
            {"zero.ply", "result 0\n"},
            {"two.ply", "result 2\n"},
            {"crash.ply", "crash\n"},
            {"UPPER.PLY", "mesh\n"},
            {"notes.txt", "mesh\n"},
            {"tri.ply",
             "ply\nformat ascii 1.0\nelement vertex 3\nproperty float x\nproperty float y\n"
             "property float z\nelement face 1\nproperty list uchar int vertex_indices\n"
             "end_header\n0 0 0\n1 0 0\n0 1 0\n3 0 1 2\n"},
        };
        for (const auto& f : files)
            std::ofstream(dir + "\\" + f.first, std::ios::binary) << f.second;
    }

    // plyhost with the good test plug-in and private directories, run in the test folder.
    PlyhostResult Run(std::vector<std::string> args, const char* plugin = "good") {
        std::vector<std::string> all = {"--plugin",    TestPlugin(plugin), "--cfg-dir",
                                        dir + "\\cfg", "--help-dir",       dir + "\\help"};
        all.insert(all.end(), args.begin(), args.end());
        PlyhostChild c = StartPlyhost(all, dir);
        return FinishPlyhost(c);
    }

    // plyhost --auto --window FILE with the test plug-in.
    static PlyhostChild StartWindowWith(const std::string& file) {
        return StartPlyhost({"--plugin", TestPlugin("good"), "--auto", "--cfg-dir", dir + "\\cfg",
                             "--window", file},
                            dir);
    }

    static std::string dir;
};
std::string PlyhostTest::dir;

TEST_F(PlyhostTest, QuietImportPrintsOneReportLine) {
    PlyhostResult r = Run({"--quiet", "cube.ply"});
    EXPECT_EQ(r.status, 0u);
    EXPECT_EQ(r.out, "cube.ply: result 1, 1 node(s), 8 vertices, 12 faces\n");
    EXPECT_EQ(r.err, "");
}

TEST_F(PlyhostTest, ImportsRunInOrderIntoOneScene) {
    PlyhostResult r = Run({"--quiet", "cube.ply", "two.ply", "UPPER.PLY", "hello.ply"});
    EXPECT_EQ(r.status, 0u);
    EXPECT_EQ(SplitLines(r.out),
              (std::vector<std::string>{"cube.ply: result 1, 1 node(s), 8 vertices, 12 faces",
                                        "two.ply: result 2, 0 node(s), 0 vertices, 0 faces",
                                        "UPPER.PLY: result 1, 1 node(s), 8 vertices, 12 faces",
                                        "hello.ply: result 1, 1 node(s), 8 vertices, 12 faces"}));
}

// The peak memory is the process's own: a plyhost holds at least a megabyte.
TEST_F(PlyhostTest, TimingGivesEachImportsTimeThenThePeakMemory) {
    const std::vector<std::string> lines = SplitLines(Run({"--quiet", "--timing", "cube.ply"}).out);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[1].rfind("time: DoImport ", 0), 0u) << lines[1];
    unsigned megabytes = 0;
    EXPECT_EQ(std::sscanf(lines[2].c_str(), "peak memory: %u MB", &megabytes), 1) << lines[2];
    EXPECT_GT(megabytes, 0u);
}

TEST_F(PlyhostTest, AResultOtherThanOneOrTwoFailsTheRun) {
    PlyhostResult r = Run({"--quiet", "zero.ply", "cube.ply"});
    EXPECT_EQ(r.status, 1u);
    ASSERT_EQ(SplitLines(r.out).size(), 2u) << r.out;
    EXPECT_EQ(SplitLines(r.out)[0], "zero.ply: result 0, 0 node(s), 0 vertices, 0 faces");
}

TEST_F(PlyhostTest, FileTheImporterDoesNotReadIsOneErrorLine) {
    PlyhostResult r = Run({"--quiet", "notes.txt", "cube.ply"});
    EXPECT_EQ(r.status, 1u);
    EXPECT_EQ(r.err,
              "plyhost: notes.txt: no importer for this file type (the plug-in reads .ply)\n");
    EXPECT_EQ(r.out, "cube.ply: result 1, 1 node(s), 8 vertices, 12 faces\n");
}

TEST_F(PlyhostTest, DumpIsExactlyTheFormat) {
    PlyhostResult r = Run({"--quiet", "--dump", "-", "plain.ply"});
    EXPECT_EQ(r.status, 0u);
    std::string expected = "import " + FullPath(dir + "\\plain.ply") + " result 1\n" +
                           "node plain\n"
                           "transform 1 0 0 0 1 0 0 0 1 0 0 0\n"
                           "mesh verts 8 faces 12 tverts 0 tvfaces 0 cverts 0 cvfaces 0 normals 0\n"
                           "v -1 -1 -1\nv 1 -1 -1\nv -1 1 -1\nv 1 1 -1\n"
                           "v -1 -1 1\nv 1 -1 1\nv -1 1 1\nv 1 1 1\n"
                           "f 0 2 3 1 0 1 1 0\nf 0 3 1 1 0 0 1 1\n"
                           "f 4 5 7 1 0 1 1 0\nf 4 7 6 1 0 0 1 1\n"
                           "f 0 1 5 1 0 1 1 0\nf 0 5 4 1 0 0 1 1\n"
                           "f 2 6 7 1 0 1 1 0\nf 2 7 3 1 0 0 1 1\n"
                           "f 0 4 6 1 0 1 1 0\nf 0 6 2 1 0 0 1 1\n"
                           "f 1 3 7 1 0 1 1 0\nf 1 7 5 1 0 0 1 1\n"
                           "bbox -1 -1 -1 1 1 1\n"
                           "material std \"red\" ambient 0.588235319 0.588235319 0.588235319 "
                           "diffuse 1 0 0 specular 0.899999976 0.899999976 0.899999976 opacity 1 "
                           "shininess 0.100000001 shinstr 0 map none\n"
                           "end\n";
    EXPECT_EQ(r.out, expected);
    // With the dump on standard output the report moves to standard error.
    EXPECT_EQ(r.err, "plain.ply: result 1, 1 node(s), 8 vertices, 12 faces\n");
}

TEST_F(PlyhostTest, DumpFileHasImportAndMessageLinesInOrder) {
    std::string dump = dir + "\\dump.txt";
    PlyhostResult r = Run({"--auto", "--dump", dump, "hello.ply", "zero.ply"});
    EXPECT_EQ(r.status, 1u);
    std::vector<std::string> lines = SplitLines(ReadTextFile(dump));
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[0], "import " + FullPath(dir + "\\hello.ply") + " result 1");
    EXPECT_EQ(lines[1], "message hello\\nworld");
    EXPECT_EQ(lines[2], "import " + FullPath(dir + "\\zero.ply") + " result 0");
    EXPECT_EQ(lines[3], "end");  // zero.ply replaced the scene with nothing
}

TEST_F(PlyhostTest, AutoEntersTheSettingsAndRecordsMessages) {
    PlyhostResult r = Run({"--auto", "--set", "vertexColors=0", "--set", "scale=2", "--name", "Box",
                           "--dump", "-", "hello.ply"});
    EXPECT_EQ(r.status, 0u);
    std::vector<std::string> dump = SplitLines(r.out);
    ASSERT_GE(dump.size(), 6u);
    EXPECT_EQ(dump[1], "message hello\\nworld");
    EXPECT_EQ(dump[2], "node Box");
    EXPECT_EQ(dump[4], "mesh verts 8 faces 12 tverts 0 tvfaces 0 cverts 0 cvfaces 0 normals 0");
    EXPECT_EQ(dump[5], "v -2 -2 -2");
    EXPECT_EQ(SplitLines(r.err),
              (std::vector<std::string>{"hello.ply: result 1, 1 node(s), 8 vertices, 12 faces",
                                        "message: hello\\nworld"}));
}

TEST_F(PlyhostTest, AutoNotesAControlAUserCouldNotChange) {
    PlyhostResult r = Run({"--auto", "--set", "vertexNormals=0", "cube.ply"});
    EXPECT_EQ(r.status, 0u);
    EXPECT_EQ(r.err, "plyhost: --auto: vertexNormals: the check box is disabled, left as shown\n");
}

TEST_F(PlyhostTest, ImporterGetsTheFullWindowsPath) {
    PlyhostResult r = Run({"--auto", "path.ply"});
    std::vector<std::string> lines = SplitLines(r.out);
    ASSERT_EQ(lines.size(), 2u);
    std::string path = lines[1].substr(std::string("message: ").size());
    EXPECT_EQ(path, FullPath(dir + "\\path.ply"));
    ASSERT_GT(path.size(), 3u);
    EXPECT_TRUE(isalpha(path[0]) && path[1] == ':' && path[2] == '\\') << path;
    EXPECT_EQ(path.find('/'), std::string::npos);
}

TEST_F(PlyhostTest, DirectoriesAreAnsweredFullAndCreated) {
    std::string cfg = dir + "\\made_cfg", help = dir + "\\made_help";
    PlyhostChild c = StartPlyhost({"--plugin", TestPlugin("good"), "--auto", "--cfg-dir",
                                   "made_cfg", "--help-dir", "made_help\\", "dirs.ply"},
                                  dir);
    PlyhostResult r = FinishPlyhost(c);
    EXPECT_EQ(r.status, 0u);
    ASSERT_EQ(SplitLines(r.out).size(), 2u) << r.out << r.err;
    EXPECT_EQ(SplitLines(r.out)[1], "message: cfg=" + FullPath(cfg) + " help=" + FullPath(help));
    EXPECT_NE(GetFileAttributesA(cfg.c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_NE(GetFileAttributesA(help.c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST_F(PlyhostTest, DefaultDirectoriesAreBesideTheExeAndMadeWhenMissing) {
    // A copy of the host in a fresh folder, so the defaults do not exist yet.
    std::string copy = dir + "\\copy";
    CreateDirectoryA(copy.c_str(), nullptr);
    ASSERT_TRUE(CopyFileA((TestBinDir() + "\\plyhost.exe").c_str(),
                          (copy + "\\plyhost.exe").c_str(), FALSE));
    ASSERT_TRUE(CopyFileA((TestBinDir() + "\\hostsdk.dll").c_str(),
                          (copy + "\\hostsdk.dll").c_str(), FALSE));
    PlyhostChild c = StartPlyhost({"--plugin", TestPlugin("good"), "--auto", "dirs.ply"}, dir,
                                  copy + "\\plyhost.exe");
    PlyhostResult r = FinishPlyhost(c);
    EXPECT_EQ(r.status, 0u);
    ASSERT_EQ(SplitLines(r.out).size(), 2u) << r.out << r.err;
    EXPECT_EQ(SplitLines(r.out)[1], "message: cfg=" + copy + "\\plugcfg help=" + copy + "\\help");
    EXPECT_NE(GetFileAttributesA((copy + "\\plugcfg").c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_NE(GetFileAttributesA((copy + "\\help").c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST_F(PlyhostTest, SnapshotIsAn800By600BmpShowingTheMesh) {
    std::string bmp = dir + "\\snap.bmp";
    PlyhostResult r = Run({"--quiet", "--snapshot", bmp, "cube.ply"});
    EXPECT_EQ(r.status, 0u);
    BmpInfo info;
    Image image;
    std::string reason;
    ASSERT_TRUE(DecodeBmp24(ReadWholeFile(bmp), info, image, reason)) << reason;
    EXPECT_EQ(info.width, 800);
    EXPECT_EQ(info.height, 600);
    EXPECT_EQ(info.bitsPerPixel, 24);
    int drawn = 0, colourful = 0;
    for (int y = 0; y < 600; ++y)
        for (int x = 0; x < 800; ++x) {
            const uint8_t* p = image.Pixel(x, y);
            bool background = p[0] == kViewportBackground[0] && p[1] == kViewportBackground[1] &&
                              p[2] == kViewportBackground[2];
            drawn += !background;
            colourful += !background && (p[0] != p[1] || p[1] != p[2]);
        }
    EXPECT_GT(drawn, 800 * 600 / 10);  // zoomed to the cube, not a speck
    EXPECT_GT(colourful, drawn / 2);   // the vertex colours show
    const uint8_t* corner = image.Pixel(0, 0);
    EXPECT_EQ(corner[0], kViewportBackground[0]);
    const uint8_t* centre = image.Pixel(400, 300);
    EXPECT_FALSE(centre[0] == kViewportBackground[0] && centre[1] == kViewportBackground[1]);
}

// Coloured by a channel the real plug-in made of a file's confidence: the
// lowest value blue, the highest red, and the legend's ramp the same from
// its left end to its right in the top right corner.
TEST_F(PlyhostTest, SnapshotColouredByAChannelShowsTheRampAndItsLegend) {
    std::string real = TestBinDir() + "\\ks_dazazu.dli";
    if (GetFileAttributesA(real.c_str()) == INVALID_FILE_ATTRIBUTES) GTEST_SKIP() << "no " << real;
    std::ofstream(dir + "\\confidence.ply")
        << "ply\nformat ascii 1.0\nelement vertex 4\nproperty float x\nproperty float y\n"
           "property float z\nproperty float confidence\nelement face 1\n"
           "property list uchar int vertex_indices\nend_header\n"
           "0 0 0 2\n1 0 0 2\n1 1 0 10\n0 1 0 10\n4 0 1 2 3\n";
    const std::string bmp = dir + "\\ramp.bmp";
    PlyhostChild c = StartPlyhost({"--quiet", "--cfg-dir", dir + "\\rampcfg", "--snapshot", bmp,
                                   "--view", "front", "--colour-by", "confidence", "confidence.ply"},
                                  dir);
    PlyhostResult r = FinishPlyhost(c);
    EXPECT_EQ(r.status, 0u) << r.out << r.err;
    BmpInfo info;
    Image image;
    std::string reason;
    ASSERT_TRUE(DecodeBmp24(ReadWholeFile(bmp), info, image, reason)) << reason;
    auto shows = [&](int x, int y, const uint8_t (&rgb)[3]) {
        const uint8_t* p = image.Pixel(x, y);
        for (int k = 0; k < 3; ++k)
            if (std::abs(int(p[k]) - int(rgb[k])) > 40) return false;
        return true;
    };
    const uint8_t blue[3] = {0, 0, 255}, red[3] = {255, 0, 0};
    const int left = 800 - kLegendInset - kLegendWidth + kLegendPad;
    const int right = 800 - kLegendInset - kLegendPad - 1, row = kLegendInset + kLegendRampTop + 2;
    EXPECT_TRUE(shows(left, row, blue) && shows(right, row, red));
    int blues = 0, reds = 0;
    for (int y = 0; y < 600; ++y)  // left of the legend
        for (int x = 0; x < 600; ++x) blues += shows(x, y, blue), reds += shows(x, y, red);
    EXPECT_GT(blues, 100);
    EXPECT_GT(reds, 100);
}

TEST_F(PlyhostTest, SnapshotOfAnEmptySceneIsBackgroundOnly) {
    std::string bmp = dir + "\\empty.bmp";
    PlyhostResult r = Run({"--snapshot", bmp});
    EXPECT_EQ(r.status, 0u);
    BmpInfo info;
    Image image;
    std::string reason;
    ASSERT_TRUE(DecodeBmp24(ReadWholeFile(bmp), info, image, reason)) << reason;
    for (size_t i = 0; i < image.rgb.size(); i += 3)
        ASSERT_EQ(image.rgb[i], kViewportBackground[0]);
}

// The panel is 600 x 344 with the combo box at (62, 181), 136 x 20: its
// drop-down's black frame runs down from the combo over the list box below.
TEST_F(PlyhostTest, ToolkitSnapshotShowsThePanelWithTheDropDownOpen) {
    std::string bmp = dir + "\\toolkit.bmp";
    PlyhostResult r = Run({"--toolkit-snapshot", bmp});
    EXPECT_EQ(r.status, 0u) << r.err;
    BmpInfo info;
    Image image;
    std::string reason;
    ASSERT_TRUE(DecodeBmp24(ReadWholeFile(bmp), info, image, reason)) << reason;
    ASSERT_EQ(info.width, 600);
    ASSERT_EQ(info.height, 344);
    auto black = [&image](int x, int y) {
        const uint8_t* p = image.Pixel(x, y);
        return p[0] == 0 && p[1] == 0 && p[2] == 0;
    };
    for (int y = 202; y < 235; ++y) {
        EXPECT_TRUE(black(62, y)) << "left edge, row " << y;
        EXPECT_TRUE(black(196, y)) << "right edge, row " << y;
        EXPECT_FALSE(black(130, y) && black(131, y) && black(132, y)) << "inside, row " << y;
    }
    EXPECT_FALSE(black(599, 343));  // the panel's face, not an empty picture
}

TEST_F(PlyhostTest, UnwritableOutputsFailTheRun) {
    PlyhostResult r = Run({"--quiet", "--dump", dir + "\\no\\such\\d.txt", "cube.ply"});
    EXPECT_EQ(r.status, 1u);
    EXPECT_NE(r.err.find("plyhost: dump: cannot create"), std::string::npos) << r.err;
}

TEST_F(PlyhostTest, CrashingImporterEndsTheRunWithOneLine) {
    PlyhostResult r = Run({"--quiet", "crash.ply"});
    EXPECT_EQ(r.status, 1u);
    EXPECT_EQ(r.err.find("plyhost: crashed: exception 0xC0000005"), 0u) << r.err;
    EXPECT_EQ(SplitLines(r.err).size(), 1u);
}

TEST_F(PlyhostTest, CommandLineMistakeIsOneLineAndStatusOne) {
    PlyhostResult r = Run({"--set", "scale=2", "cube.ply"});
    EXPECT_EQ(r.status, 1u);
    EXPECT_EQ(SplitLines(r.err).size(), 1u);
    EXPECT_EQ(r.out, "");
}

struct BrokenPlugin {
    const char* variant;
    const char* says;
};

class BrokenPluginTest : public PlyhostTest, public testing::WithParamInterface<BrokenPlugin> {};

TEST_P(BrokenPluginTest, IsReportedInOneLineWithStatusOne) {
    PlyhostResult r = Run({"--quiet", "cube.ply"}, GetParam().variant);
    EXPECT_EQ(r.status, 1u);
    std::vector<std::string> err = SplitLines(r.err);
    ASSERT_EQ(err.size(), 1u) << r.err;
    EXPECT_EQ(err[0].find("plyhost: "), 0u);
    EXPECT_NE(err[0].find(GetParam().says), std::string::npos) << err[0];
    EXPECT_EQ(r.out.find("cube.ply"), std::string::npos);  // nothing was imported
}

INSTANTIATE_TEST_SUITE_P(
    Variants, BrokenPluginTest,
    testing::Values(BrokenPlugin{"badversion",
                                 "LibVersion is 0x2AF81800, the host needs 0x2AF81900"},
                    BrokenPlugin{"initfails", "LibInitialize failed"},
                    BrokenPlugin{"noclass", "LibNumberClasses is 0"},
                    BrokenPlugin{"wrongsuper", "no scene importer among its 1 class(es)"},
                    BrokenPlugin{"noexport", "missing export LibClassDesc"},
                    BrokenPlugin{"missing", "cannot load plug-in"}),
    [](const testing::TestParamInfo<BrokenPlugin>& info) {
        return std::string(info.param.variant);
    });

TEST_F(PlyhostTest, StartUpMessageOfAFailingPlugInIsAnsweredAndRecorded) {
    PlyhostResult r = Run({"--quiet", "cube.ply"}, "initfails");
    EXPECT_EQ(r.out, "message: test plug-in cannot start\n");
}

TEST_F(PlyhostTest, FileThatIsNoLibraryCannotBeLoaded) {
    PlyhostChild c = StartPlyhost({"--plugin", dir + "\\notes.txt", "--quiet", "cube.ply"}, dir);
    PlyhostResult r = FinishPlyhost(c);
    EXPECT_EQ(r.status, 1u);
    EXPECT_EQ(r.err.find("plyhost: cannot load plug-in"), 0u) << r.err;
}

TEST_F(PlyhostTest, RealPlugInLoadsAndImports) {
    std::string real = TestBinDir() + "\\ks_dazazu.dli";
    if (GetFileAttributesA(real.c_str()) == INVALID_FILE_ATTRIBUTES) GTEST_SKIP() << "no " << real;
    // The default plug-in is the one beside plyhost.exe.
    PlyhostChild c = StartPlyhost({"--quiet", "--cfg-dir", dir + "\\realcfg", "tri.ply"}, dir);
    PlyhostResult r = FinishPlyhost(c);
    EXPECT_EQ(r.status, 0u) << r.err;
    EXPECT_EQ(r.out.find("tri.ply: result 1, "), 0u) << r.out;
}

// A binary file of 3 vertices, one face and a material element of the given
// size with one byte per record, written in blocks.
void WriteManyMaterialsPly(const std::string& path, unsigned materials) {
    std::ofstream f(path, std::ios::binary);
    f << "ply\nformat binary_little_endian 1.0\nelement vertex 3\nproperty float x\n"
         "property float y\nproperty float z\nelement material "
      << materials
      << "\nproperty uchar diffuse_red\nelement face 1\nproperty list uchar int vertex_indices\n"
         "end_header\n";
    const float vertices[9] = {0, 0, 0, 1, 0, 0, 0, 1, 0};
    f.write(reinterpret_cast<const char*>(vertices), sizeof vertices);
    const std::string block(1 << 20, '\x80');
    for (unsigned left = materials; left > 0;) {
        unsigned n = left < block.size() ? left : unsigned(block.size());
        f.write(block.data(), n);
        left -= n;
    }
    const char face[13] = {3, 0, 0, 0, 0, 1, 0, 0, 0, 2, 0, 0, 0};
    f.write(face, sizeof face);
}

// Each record used to be one allocation of its own, and a 32-bit host ran out
// of memory and died; only what faces can name is kept now.
TEST_F(PlyhostTest, RealPlugInImportsFortyMillionMaterials) {
    std::string real = TestBinDir() + "\\ks_dazazu.dli";
    if (GetFileAttributesA(real.c_str()) == INVALID_FILE_ATTRIBUTES) GTEST_SKIP() << "no " << real;
    const std::string file = dir + "\\materials.ply";
    WriteManyMaterialsPly(file, 40000000);
    PlyhostChild c =
        StartPlyhost({"--quiet", "--cfg-dir", dir + "\\realcfg", "materials.ply"}, dir);
    PlyhostResult r = FinishPlyhost(c);
    DeleteFileA(file.c_str());
    EXPECT_EQ(r.status, 0u) << r.err;
    EXPECT_EQ(r.out, "materials.ply: result 1, 1 node(s), 3 vertices, 1 faces\n");
}

// ---- the interactive window, driven as a person would through its menu

struct FoundWindow {
    DWORD pid;
    const char* cls;
    HWND found;
};

bool IsVisibleWindowOf(HWND w, DWORD pid, const char* cls) {
    DWORD owner = 0;
    GetWindowThreadProcessId(w, &owner);
    char name[64] = "";
    GetClassNameA(w, name, sizeof name);
    return owner == pid && IsWindowVisible(w) && strcmp(name, cls) == 0;
}

BOOL CALLBACK FindProcessWindow(HWND w, LPARAM lp) {
    FoundWindow* f = reinterpret_cast<FoundWindow*>(lp);
    if (!IsVisibleWindowOf(w, f->pid, f->cls)) return TRUE;
    f->found = w;
    return FALSE;
}

HWND WaitForWindow(DWORD pid, const char* cls) {
    for (DWORD waited = 0; waited < kHangGuardMs; waited += 50) {
        FoundWindow f = {pid, cls, nullptr};
        EnumWindows(FindProcessWindow, reinterpret_cast<LPARAM>(&f));
        if (f.found) return f.found;
        Sleep(50);
    }
    return nullptr;
}

// Waits until the child's standard output holds the text.
bool WaitForOutput(const PlyhostChild& c, const std::string& text) {
    for (DWORD waited = 0; waited < kHangGuardMs; waited += 50) {
        if (ReadTextFile(c.outPath).find(text) != std::string::npos) return true;
        Sleep(50);
    }
    return false;
}

std::string Title(HWND w) {
    char buf[256] = "";
    GetWindowTextA(w, buf, sizeof buf);
    return buf;
}

bool WaitUntil(const std::function<bool()>& done) {
    for (DWORD waited = 0; waited < kHangGuardMs; waited += 50) {
        if (done()) return true;
        Sleep(50);
    }
    return false;
}

bool WaitForTitle(HWND w, const std::string& title) {
    return WaitUntil([&] { return Title(w) == title; });
}

// The main window's status line. Sent: GetWindowTextA does not ask a control
// of another process for its text.
std::string StatusLine(HWND main) {
    HWND bar = FindWindowExA(main, nullptr, "msctls_statusbar32", nullptr);
    char buf[256] = "";
    SendMessageA(bar, WM_GETTEXT, sizeof buf, reinterpret_cast<LPARAM>(buf));
    return buf;
}

bool WaitForStatusLine(HWND main, const std::string& text) {
    return WaitUntil([&] { return StatusLine(main) == text; });
}

// Drops files onto a window of another process. A posted message carries the
// handle's value only, so the HDROP (fixed memory, which DragQueryFileA reads
// in place) is written into that process's memory; DragFinish leaves it there.
void DropFiles(HANDLE process, HWND window, const std::vector<std::string>& files) {
    DROPFILES header = {};
    header.pFiles = sizeof header;
    std::string block(reinterpret_cast<const char*>(&header), sizeof header);
    for (const std::string& f : files) block += f + '\0';
    block += '\0';
    void* remote =
        VirtualAllocEx(process, nullptr, block.size(), MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    ASSERT_NE(remote, nullptr);
    ASSERT_TRUE(WriteProcessMemory(process, remote, block.data(), block.size(), nullptr));
    PostMessageA(window, WM_DROPFILES, reinterpret_cast<WPARAM>(remote), 0);
}

BOOL CALLBACK FindEdit(HWND w, LPARAM lp) {
    char cls[32] = "";
    GetClassNameA(w, cls, sizeof cls);
    if (_stricmp(cls, "Edit") != 0 || !IsWindowVisible(w)) return TRUE;
    *reinterpret_cast<HWND*>(lp) = w;
    return FALSE;
}

// The file-name field of the open dialog: its one visible edit field.
HWND FileNameField(HWND dialog) {
    HWND field = nullptr;
    EnumChildWindows(dialog, FindEdit, reinterpret_cast<LPARAM>(&field));
    return field;
}

// Ends a child the test gave up on, so a failed check never leaves it running.
struct ChildGuard {
    PlyhostChild& child;
    ~ChildGuard() {
        if (child.pi.hProcess && WaitForSingleObject(child.pi.hProcess, 0) == WAIT_TIMEOUT)
            TerminateProcess(child.pi.hProcess, 98);
    }
};

TEST_F(PlyhostTest, WindowImportsThroughItsFileDialogAndResets) {
    PlyhostChild c =
        StartPlyhost({"--plugin", TestPlugin("good"), "--auto", "--cfg-dir", dir + "\\cfg"}, dir);
    ChildGuard guard{c};
    HWND main = WaitForWindow(c.pi.dwProcessId, kMainWindowClass);
    ASSERT_NE(main, nullptr);
    EXPECT_EQ(Title(main), "plyhost");

    PostMessageA(main, WM_COMMAND, kCmdImport, 0);
    HWND dialog = WaitForWindow(c.pi.dwProcessId, "#32770");
    ASSERT_NE(dialog, nullptr);
    HWND field = FileNameField(dialog);
    ASSERT_NE(field, nullptr);
    SendMessageA(field, WM_SETTEXT, 0, reinterpret_cast<LPARAM>((dir + "\\cube.ply").c_str()));
    PostMessageA(dialog, WM_COMMAND, IDOK, 0);
    EXPECT_TRUE(WaitForTitle(main, "cube.ply - plyhost")) << Title(main);

    // Leaves time to look at the window (PLYHOST_TEST_HOLD_MS), for screenshots.
    if (const char* hold = std::getenv("PLYHOST_TEST_HOLD_MS")) Sleep(DWORD(std::atoi(hold)));

    PostMessageA(main, WM_COMMAND, kCmdReset, 0);
    EXPECT_TRUE(WaitForTitle(main, "plyhost")) << Title(main);
    EXPECT_EQ(StatusLine(main), "0 vertices, 0 faces");
    // The test importer's about box is a message box, which --auto answers.
    PostMessageA(main, WM_COMMAND, kCmdAbout, 0);
    EXPECT_TRUE(WaitForOutput(c, "message: about the test importer\n"));
    PostMessageA(main, WM_CLOSE, 0, 0);
    PlyhostResult r = FinishPlyhost(c);
    EXPECT_EQ(r.status, 0u);
    EXPECT_EQ(r.out, FullPath(dir + "\\cube.ply") +
                         ": result 1, 1 node(s), 8 vertices, 12 faces\n"
                         "message: about the test importer\n");
}

TEST_F(PlyhostTest, WindowImportsItsFilesAndDropsAndShowsTheLastInTitleAndStatusLine) {
    PlyhostChild c = StartWindowWith("hello.ply");
    ChildGuard guard{c};
    HWND main = WaitForWindow(c.pi.dwProcessId, kMainWindowClass);
    ASSERT_NE(main, nullptr);
    EXPECT_TRUE(WaitForStatusLine(main, "8 vertices, 12 faces | hello world")) << StatusLine(main);
    EXPECT_EQ(Title(main), "hello.ply - plyhost");

    // In the order dropped: zero.ply last, which empties the scene and fails.
    // The system drops files only on a window that takes them.
    EXPECT_TRUE(GetWindowLongPtrA(main, GWL_EXSTYLE) & WS_EX_ACCEPTFILES);
    DropFiles(c.pi.hProcess, main, {dir + "\\cube.ply", dir + "\\zero.ply"});
    EXPECT_TRUE(WaitForStatusLine(main, "0 vertices, 0 faces | import failed: result 0"))
        << StatusLine(main);
    EXPECT_EQ(Title(main), "cube.ply - plyhost");  // the last file imported well

    PostMessageA(main, WM_CLOSE, 0, 0);
    PlyhostResult r = FinishPlyhost(c);
    EXPECT_EQ(r.status, 0u);  // as batch mode answers for the command line's files
    EXPECT_EQ(r.out,
              "hello.ply: result 1, 1 node(s), 8 vertices, 12 faces\n"
              "message: hello\\nworld\n" +
                  FullPath(dir + "\\cube.ply") + ": result 1, 1 node(s), 8 vertices, 12 faces\n" +
                  FullPath(dir + "\\zero.ply") + ": result 0, 0 node(s), 0 vertices, 0 faces\n");
}

// File > Exit during an import waits for it to end, as closing the window
// does: the import's options dialog stays, and the program ends after it.
TEST_F(PlyhostTest, ExitDuringAnImportWaitsForIt) {
    PlyhostChild c = StartPlyhost(
        {"--plugin", TestPlugin("good"), "--cfg-dir", dir + "\\cfg", "--window", "cube.ply"}, dir);
    ChildGuard guard{c};
    HWND main = WaitForWindow(c.pi.dwProcessId, kMainWindowClass);
    ASSERT_NE(main, nullptr);
    HWND options = WaitForWindow(c.pi.dwProcessId, "#32770");
    ASSERT_NE(options, nullptr);
    PostMessageA(main, WM_COMMAND, kCmdExit, 0);
    Sleep(500);  // time to act on it; the import must still be there after
    EXPECT_TRUE(IsWindow(main) && IsWindow(options));
    PostMessageA(options, WM_COMMAND, MAKEWPARAM(1025, BN_CLICKED), 0);  // "Import"
    PlyhostResult r = FinishPlyhost(c);
    EXPECT_EQ(r.status, 0u);
    EXPECT_EQ(r.out.find("cube.ply: result 1, 1 node(s)"), 0u) << r.out;
}

// Export Selected... of a scene of two cubes (8 vertices each) through the
// save dialog writes the selected one alone.
TEST_F(PlyhostTest, WindowExportsTheSelectedNodeThroughItsSaveDialog) {
    if (GetFileAttributesA((TestBinDir() + "\\ks_dazazu.dle").c_str()) == INVALID_FILE_ATTRIBUTES)
        GTEST_SKIP() << "no exporter";
    std::ofstream(dir + "\\pair.ply", std::ios::binary) << "plain\nmesh\n";
    const std::string out = dir + "\\picked.ply";
    DeleteFileA(out.c_str());  // the folder outlives a run: no overwrite prompt
    PlyhostChild c = StartPlyhost({"--plugin", TestPlugin("good"), "--quiet", "--cfg-dir",
                                   dir + "\\cfg", "--window", "pair.ply"},
                                  dir);
    ChildGuard guard{c};
    HWND main = WaitForWindow(c.pi.dwProcessId, kMainWindowClass);
    ASSERT_NE(main, nullptr);
    ASSERT_TRUE(WaitForStatusLine(main, "16 vertices, 24 faces")) << StatusLine(main);
    PostMessageA(main, WM_COMMAND, kCmdFirstSelectNode + 1, 0);
    PostMessageA(main, WM_COMMAND, kCmdExportSelected, 0);
    HWND dialog = WaitForWindow(c.pi.dwProcessId, "#32770");
    ASSERT_NE(dialog, nullptr);
    SendMessageA(FileNameField(dialog), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(out.c_str()));
    PostMessageA(dialog, WM_COMMAND, IDOK, 0);
    EXPECT_TRUE(WaitForOutput(c, "picked.ply: export result 1"));
    const std::string written = ReadTextFile(out);
    EXPECT_NE(written.find("\nelement vertex 8\n"), std::string::npos) << written.substr(0, 80);
    PostMessageA(main, WM_CLOSE, 0, 0);
    EXPECT_EQ(FinishPlyhost(c).status, 0u);
}

// Every other pixel of the window as the screen shows it, copied in one go.
std::vector<COLORREF> ScreenPixels(HWND w) {
    RECT rc;
    GetWindowRect(w, &rc);
    const int width = rc.right - rc.left, height = rc.bottom - rc.top;
    Canvas canvas(width, height);
    HDC screen = GetDC(nullptr);
    BitBlt(canvas.dc, 0, 0, width, height, screen, rc.left, rc.top, SRCCOPY);
    ReleaseDC(nullptr, screen);
    std::vector<COLORREF> pixels;
    for (int y = 0; y < height; y += 2)
        for (int x = 0; x < width; x += 2) pixels.push_back(canvas.At(x, y));
    return pixels;
}

TEST_F(PlyhostTest, ViewportKeysAndDragsChangeThePicture) {
    PlyhostChild c = StartWindowWith("cube.ply");
    ChildGuard guard{c};
    HWND main = WaitForWindow(c.pi.dwProcessId, kMainWindowClass);
    ASSERT_NE(main, nullptr);
    HWND viewport = FindWindowExA(main, nullptr, "plyhostViewport", nullptr);
    ASSERT_NE(viewport, nullptr);
    // The framed cube covers the middle.
    const COLORREF background =
        RGB(kViewportBackground[0], kViewportBackground[1], kViewportBackground[2]);
    std::vector<COLORREF> shaded;
    ASSERT_TRUE(WaitUntil([&] {
        std::vector<COLORREF> before = ScreenPixels(viewport);
        Sleep(100);
        shaded = ScreenPixels(viewport);
        return shaded == before && shaded[shaded.size() / 2] != background;
    }));

    auto shows = [&](bool same) {
        return WaitUntil([&] { return (ScreenPixels(viewport) == shaded) == same; });
    };
    PostMessageA(viewport, WM_KEYDOWN, 'W', 0);  // wireframe
    EXPECT_TRUE(shows(false));
    PostMessageA(viewport, WM_KEYDOWN, 'S', 0);  // shaded again
    EXPECT_TRUE(shows(true));
    PostMessageA(viewport, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(400, 300));
    PostMessageA(viewport, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(460, 320));
    PostMessageA(viewport, WM_LBUTTONUP, 0, MAKELPARAM(460, 320));
    EXPECT_TRUE(shows(false));  // turned
    PostMessageA(main, WM_CLOSE, 0, 0);
    EXPECT_EQ(FinishPlyhost(c).status, 0u);
}

// The window shows an imported file at once and its texture when the
// decoder thread has read it: a red picture on a square facing the view.
TEST_F(PlyhostTest, WindowShowsATextureDecodedInTheBackground) {
    std::string real = TestBinDir() + "\\ks_dazazu.dli";
    if (GetFileAttributesA(real.c_str()) == INVALID_FILE_ATTRIBUTES) GTEST_SKIP() << "no " << real;
    Image red(64, 64);
    for (size_t i = 0; i < red.rgb.size(); i += 3) red.rgb[i] = 255;
    ASSERT_TRUE(WriteBmpFile(dir + "\\red.bmp", red).ok);
    std::ofstream(dir + "\\textured.ply", std::ios::binary)
        << "ply\nformat ascii 1.0\ncomment TextureFile red.bmp\nelement vertex 4\n"
           "property float x\nproperty float y\nproperty float z\nproperty float u\n"
           "property float v\nelement face 1\nproperty list uchar int vertex_indices\n"
           "end_header\n-1 -1 0 0 0\n1 -1 0 1 0\n1 1 0 1 1\n-1 1 0 0 1\n4 0 1 2 3\n";
    PlyhostChild c =
        StartPlyhost({"--quiet", "--cfg-dir", dir + "\\realcfg", "--window", "textured.ply"}, dir);
    ChildGuard guard{c};
    HWND main = WaitForWindow(c.pi.dwProcessId, kMainWindowClass);
    ASSERT_NE(main, nullptr);
    HWND viewport = FindWindowExA(main, nullptr, "plyhostViewport", nullptr);
    ASSERT_NE(viewport, nullptr);
    auto isRed = [](COLORREF p) {
        return GetRValue(p) > 150 && GetGValue(p) < 40 && GetBValue(p) < 40;
    };
    long shown = 0;
    EXPECT_TRUE(WaitUntil([&] {
        std::vector<COLORREF> pixels = ScreenPixels(viewport);
        return (shown = std::count_if(pixels.begin(), pixels.end(), isRed)) > 5000;
    })) << shown;
    PostMessageA(main, WM_CLOSE, 0, 0);
    EXPECT_EQ(FinishPlyhost(c).status, 0u);
}

struct CountedWindows {
    DWORD pid;
    const char* cls;
    int count;
};

BOOL CALLBACK CountProcessWindow(HWND w, LPARAM lp) {
    CountedWindows* c = reinterpret_cast<CountedWindows*>(lp);
    c->count += IsVisibleWindowOf(w, c->pid, c->cls);
    return TRUE;
}

int WindowCount(DWORD pid, const char* cls) {
    CountedWindows c = {pid, cls, 0};
    EnumWindows(CountProcessWindow, reinterpret_cast<LPARAM>(&c));
    return c.count;
}

TEST_F(PlyhostTest, HelpToolkitOpensOnePanelOwnedByTheMainWindow) {
    PlyhostChild c =
        StartPlyhost({"--plugin", TestPlugin("good"), "--cfg-dir", dir + "\\cfg"}, dir);
    ChildGuard guard{c};
    HWND main = WaitForWindow(c.pi.dwProcessId, kMainWindowClass);
    ASSERT_NE(main, nullptr);
    const char panelClass[] = "plyhostToolkitPanel";
    // Sent, not posted: each has been handled when the call returns.
    SendMessageA(main, WM_COMMAND, kCmdToolkit, 0);
    HWND panel = WaitForWindow(c.pi.dwProcessId, panelClass);
    ASSERT_NE(panel, nullptr);
    EXPECT_EQ(GetWindow(panel, GW_OWNER), main);
    SendMessageA(main, WM_COMMAND, kCmdToolkit, 0);
    EXPECT_EQ(WindowCount(c.pi.dwProcessId, panelClass), 1);
    SendMessageA(panel, WM_CLOSE, 0, 0);
    EXPECT_EQ(WindowCount(c.pi.dwProcessId, panelClass), 0);
    SendMessageA(main, WM_COMMAND, kCmdToolkit, 0);
    EXPECT_EQ(WindowCount(c.pi.dwProcessId, panelClass), 1);
    PostMessageA(main, WM_CLOSE, 0, 0);
    EXPECT_EQ(FinishPlyhost(c).status, 0u);
}

TEST_F(PlyhostTest, ToolkitOpensThePanelAloneAndEndsWhenItIsClosed) {
    PlyhostChild c = StartPlyhost({"--toolkit"}, dir);
    ChildGuard guard{c};
    HWND panel = WaitForWindow(c.pi.dwProcessId, "plyhostToolkitPanel");
    ASSERT_NE(panel, nullptr);
    EXPECT_EQ(Title(panel), "Toolkit");
    EXPECT_EQ(GetWindow(panel, GW_OWNER), nullptr);
    EXPECT_EQ(WindowCount(c.pi.dwProcessId, kMainWindowClass), 0);
    PostMessageA(panel, WM_CLOSE, 0, 0);
    PlyhostResult r = FinishPlyhost(c);
    EXPECT_EQ(r.status, 0u);
    EXPECT_EQ(r.out + r.err, "");
}

}  // namespace
