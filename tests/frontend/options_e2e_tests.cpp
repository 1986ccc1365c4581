// The options dialog end to end: plyhost.exe --auto loads the real plug-in
// and enters --set and --name through the dialog's own controls before it
// clicks "Import"; the scene dump shows what the dialog took over.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "tests/frontend/options_test_support_win.h"
#include "tests/support/plyhost_run_win.h"

namespace {

// A quad standing on the XY plane's diagonal: flipping the axes shows.
const char kQuad[] =
    "ply\nformat ascii 1.0\nelement vertex 4\nproperty float x\nproperty float y\n"
    "property float z\nelement face 1\nproperty list uchar int vertex_indices\nend_header\n"
    "0 0 0\n2 0 0\n2 2 4\n0 2 4\n4 0 1 2 3\n";

class OptionsEndToEnd : public ::testing::Test {
  protected:
    void SetUp() override {
        dir = TestFolder("ks_options_e2e");
        DeleteFileA((dir + "\\ks_dazazu.cfg").c_str());
        ply = dir + "\\quad.ply";
        HANDLE f = CreateFileA(ply.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        DWORD written = 0;
        WriteFile(f, kQuad, sizeof kQuad - 1, &written, nullptr);
        CloseHandle(f);
    }
    void TearDown() override { DeleteFileA(ply.c_str()); }

    // Runs plyhost --auto with the extra options on the quad; the dump goes
    // to standard output.
    PlyhostResult Run(const std::vector<std::string>& extra) {
        std::vector<std::string> args = {"--auto", "--cfg-dir", dir, "--help-dir", dir};
        args.insert(args.end(), extra.begin(), extra.end());
        args.insert(args.end(), {ply, "--dump", "-"});
        return RunPlyhost(args, dir);
    }

    // The dump's node lines, after the report lines of the imports.
    static std::vector<std::string> Dump(const PlyhostResult& r) {
        std::vector<std::string> lines = SplitLines(r.out);
        auto first = std::find_if(lines.begin(), lines.end(), [](const std::string& l) {
            return l.rfind("import ", 0) != 0 && l.rfind("message ", 0) != 0;
        });
        return std::vector<std::string>(first, lines.end());
    }

    static bool Has(const std::vector<std::string>& lines, const std::string& line) {
        return std::find(lines.begin(), lines.end(), line) != lines.end();
    }

    std::string dir, ply;
};

TEST_F(OptionsEndToEnd, ScaleFlipAndNameAreEnteredThroughTheDialog) {
    const PlyhostResult r = Run({"--set", "scale=50", "--set", "flipZY=0", "--name", "thing"});
    ASSERT_EQ(r.status, 0u) << r.out << r.err;
    const std::vector<std::string> dump = Dump(r);
    ASSERT_GE(dump.size(), 10u) << r.out;
    EXPECT_EQ(dump[0], "node thing");
    // Scaled by 50, not flipped, centred on the box (0,0,0)-(100,100,200).
    EXPECT_EQ(dump[1], "transform 1 0 0 0 1 0 0 0 1 50 50 100");
    EXPECT_EQ(dump[2], "mesh verts 4 faces 2 tverts 0 tvfaces 0 cverts 0 cvfaces 0 normals 0");
    EXPECT_EQ(dump[3], "v -50 -50 -100");
    EXPECT_EQ(dump[4], "v 50 -50 -100");
    EXPECT_EQ(dump[5], "v 50 50 100");
    EXPECT_EQ(dump[6], "v -50 50 100");
    EXPECT_TRUE(Has(dump, "f 0 1 2 1 0 1 1 0"));
    EXPECT_TRUE(Has(dump, "f 0 2 3 1 0 0 1 1"));
    EXPECT_EQ(dump.back(), "end");
}

// The defaults, untouched: flipped, scale 100, named after the file.
TEST_F(OptionsEndToEnd, WithoutSettingsTheDialogsDefaultsImport) {
    const PlyhostResult r = Run({});
    ASSERT_EQ(r.status, 0u) << r.out << r.err;
    const std::vector<std::string> dump = Dump(r);
    ASSERT_GE(dump.size(), 4u) << r.out;
    EXPECT_EQ(dump[0], "node quad");
    // (x, y, z) becomes (x, -z, y): the box (0,-400,0)-(200,0,200).
    EXPECT_EQ(dump[1], "transform 1 0 0 0 1 0 0 0 1 100 -200 100");
    EXPECT_EQ(dump[3], "v -100 200 -100");
}

// Typed as a user types it, the scale meets the spinner's limit.
TEST_F(OptionsEndToEnd, ATypedScaleAboveTheMaximumIsHeldAt10000) {
    const PlyhostResult r = Run({"--set", "scale=20000", "--set", "centerPivot=0"});
    ASSERT_EQ(r.status, 0u) << r.out << r.err;
    const std::vector<std::string> dump = Dump(r);
    ASSERT_GE(dump.size(), 5u) << r.out;
    EXPECT_EQ(dump[1], "transform 1 0 0 0 1 0 0 0 1 0 0 0");
    EXPECT_EQ(dump[4], "v 20000 0 0");  // 2 x 10000
}

}  // namespace
