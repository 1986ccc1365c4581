#include "hostapp/cmdline.h"

#include <gtest/gtest.h>

namespace {

HostOptions Parse(const std::vector<std::string>& args) {
    HostOptions o;
    ParseResult r = ParseCommandLine(args, o);
    EXPECT_TRUE(r.ok) << r.reason;
    return o;
}

std::string Failure(const std::vector<std::string>& args) {
    HostOptions o;
    ParseResult r = ParseCommandLine(args, o);
    EXPECT_FALSE(r.ok);
    return r.reason;
}

TEST(CommandLineTest, NothingMeansTheInteractiveWindow) {
    HostOptions o = Parse({});
    EXPECT_TRUE(o.Interactive());
    EXPECT_TRUE(o.pluginPath.empty());
    EXPECT_FALSE(o.quiet);
    EXPECT_FALSE(o.autoAnswer);
}

TEST(CommandLineTest, FilesAndOutputsMeanBatch) {
    EXPECT_FALSE(Parse({"a.ply"}).Interactive());
    EXPECT_FALSE(Parse({"--dump", "-"}).Interactive());
    EXPECT_FALSE(Parse({"--snapshot", "x.bmp"}).Interactive());
}

TEST(CommandLineTest, ValueOptionsAndFilesInOrder) {
    HostOptions o = Parse({"--plugin", "p.dli", "a.ply", "--quiet", "--cfg-dir", "c", "--help-dir",
                           "h", "--dump", "d.txt", "--snapshot", "s.bmp", "--timing", "b.PLY"});
    EXPECT_EQ(o.pluginPath, "p.dli");
    EXPECT_EQ(o.cfgDir, "c");
    EXPECT_EQ(o.helpDir, "h");
    EXPECT_EQ(o.dumpPath, "d.txt");
    EXPECT_EQ(o.snapshotPath, "s.bmp");
    EXPECT_TRUE(o.quiet);
    EXPECT_TRUE(o.timing);
    EXPECT_FALSE(Parse({"a.ply"}).timing);
    EXPECT_EQ(o.files, (std::vector<std::string>{"a.ply", "b.PLY"}));
}

TEST(CommandLineTest, AutoTakesSettingsAndName) {
    HostOptions o = Parse({"--auto", "--set", "scale=2.5", "--set", "vertexColors=off", "--set",
                           "materials=1", "--name", "My Box", "x.ply"});
    ASSERT_EQ(o.settings.size(), 3u);
    EXPECT_STREQ(o.settings[0].field->name, "scale");
    EXPECT_EQ(o.settings[0].field->controlId, 1010);
    EXPECT_EQ(o.settings[0].text, "2.5");
    EXPECT_EQ(o.settings[1].field->controlId, 1002);
    EXPECT_FALSE(o.settings[1].checked);
    EXPECT_TRUE(o.settings[2].checked);
    EXPECT_TRUE(o.hasName);
    EXPECT_EQ(o.name, "My Box");
}

TEST(CommandLineTest, EveryOptionFieldHasItsDialogControl) {
    const std::pair<const char*, int> expected[] = {
        {"replaceScene", 1016}, {"flipZY", 1009},          {"centerPivot", 1012},
        {"scale", 1010},        {"generateNormals", 1005}, {"vertexNormals", 1001},
        {"vertexColors", 1002}, {"textureCoords", 1003},   {"materials", 1004}};
    for (const auto& e : expected) {
        const OptionField* f = FindOptionField(e.first);
        ASSERT_NE(f, nullptr) << e.first;
        EXPECT_EQ(f->controlId, e.second) << e.first;
        EXPECT_EQ(f->isNumber, e.second == 1010);
    }
    EXPECT_EQ(FindOptionField("Scale"), nullptr);
}

TEST(CommandLineTest, EmptyNameIsANameToo) {
    HostOptions o = Parse({"--auto", "--name", "", "x.ply"});
    EXPECT_TRUE(o.hasName);
    EXPECT_EQ(o.name, "");
}

TEST(CommandLineTest, DoubleDashEndsTheOptions) {
    HostOptions o = Parse({"--quiet", "--", "--odd.ply"});
    EXPECT_EQ(o.files, std::vector<std::string>{"--odd.ply"});
}

TEST(CommandLineTest, MistakesAreRefusedWithAReason) {
    EXPECT_NE(Failure({"--frobnicate"}).find("--frobnicate"), std::string::npos);
    EXPECT_NE(Failure({"--plugin"}).find("needs a value"), std::string::npos);
    EXPECT_NE(Failure({"--dump", ""}).find("needs a value"), std::string::npos);
    EXPECT_NE(Failure({"--auto", "--set", "scale"}).find("NAME=VALUE"), std::string::npos);
    EXPECT_NE(Failure({"--auto", "--set", "size=1"}).find("unknown option \"size\""),
              std::string::npos);
    EXPECT_NE(Failure({"--auto", "--set", "scale=big"}).find("not a number"), std::string::npos);
    EXPECT_NE(Failure({"--auto", "--set", "scale=1e999"}).find("not a number"), std::string::npos);
    EXPECT_NE(Failure({"--auto", "--set", "flipZY=maybe"}).find("flipZY"), std::string::npos);
    EXPECT_NE(Failure({"--quiet", "--auto"}).find("exclude"), std::string::npos);
    EXPECT_NE(Failure({"--set", "flipZY=1", "x.ply"}).find("--auto"), std::string::npos);
    EXPECT_NE(Failure({"--name", "x", "x.ply"}).find("--auto"), std::string::npos);
    EXPECT_NE(Failure({"--toolkit-snapshot", "t.bmp", "x.ply"}).find("stands alone"),
              std::string::npos);
    EXPECT_NE(Failure({"--toolkit-snapshot", "t.bmp", "--dump", "-"}).find("stands alone"),
              std::string::npos);
}

TEST(CommandLineTest, ToolkitOpensThePanelAloneInsteadOfTheMainWindow) {
    HostOptions o = Parse({"--toolkit"});
    EXPECT_TRUE(o.toolkitPanel);
    EXPECT_FALSE(o.Interactive());
    EXPECT_FALSE(Parse({}).toolkitPanel);
    for (const std::vector<std::string>& mixed : {std::vector<std::string>{"--toolkit", "x.ply"},
                                                  {"--toolkit", "--dump", "-"},
                                                  {"--toolkit", "--snapshot", "s.bmp"},
                                                  {"--toolkit", "--toolkit-snapshot", "t.bmp"}})
        EXPECT_NE(Failure(mixed).find("--toolkit stands alone"), std::string::npos);
    EXPECT_NE(std::string(UsageText()).find("--toolkit "), std::string::npos);
}

TEST(CommandLineTest, WindowTakesTheFilesIntoTheMainWindow) {
    HostOptions o = Parse({"--window", "--auto", "--set", "scale=2", "a.ply", "b.ply"});
    EXPECT_TRUE(o.window);
    EXPECT_TRUE(o.Interactive());
    EXPECT_EQ(o.files, (std::vector<std::string>{"a.ply", "b.ply"}));
    EXPECT_TRUE(Parse({"--window"}).Interactive());
    EXPECT_FALSE(Parse({"a.ply"}).window);
    for (const std::vector<std::string>& mixed :
         {std::vector<std::string>{"--window", "--dump", "-", "a.ply"},
          {"--window", "--snapshot", "s.bmp"},
          {"--window", "--toolkit"},
          {"--window", "--toolkit-snapshot", "t.bmp"}})
        EXPECT_NE(Failure(mixed).find("--window keeps the scene open"), std::string::npos);
    EXPECT_NE(std::string(UsageText()).find("--window"), std::string::npos);
}

// The window's File > Export loads the exporter named on the command line.
TEST(CommandLineTest, ExporterGoesWithExportOrTheWindow) {
    EXPECT_EQ(Parse({"--exporter", "e.dle", "--window", "a.ply"}).exporterPath, "e.dle");
    EXPECT_EQ(Parse({"--exporter", "e.dle"}).exporterPath, "e.dle");
    EXPECT_EQ(Parse({"--exporter", "e.dle", "--export", "o.ply", "a.ply"}).exporterPath, "e.dle");
    EXPECT_EQ(Failure({"--exporter", "e.dle", "a.ply"}),
              "--exporter goes with --export or the window");
}

TEST(CommandLineTest, SnapshotTakesAViewAModeAndAChannelByName) {
    HostOptions o = Parse({"--snapshot", "s.bmp", "--view", "back", "--mode", "edges", "x.ply"});
    EXPECT_EQ(o.view, StandardView::kBack);
    EXPECT_EQ(o.mode, DisplayMode::kEdges);
    o = Parse({"--snapshot", "s.bmp", "x.ply"});
    EXPECT_EQ(o.view, StandardView::kThreeQuarter);
    EXPECT_EQ(o.mode, DisplayMode::kShaded);
    EXPECT_NE(Failure({"--snapshot", "s.bmp", "--view", "side"})
                  .find("--view: unknown name \"side\" (one of front, back, left, right, top, "
                        "bottom, three-quarter)"),
              std::string::npos);
    EXPECT_NE(Failure({"--snapshot", "s.bmp", "--mode", "solid"})
                  .find("(one of shaded, edges, wireframe, points)"),
              std::string::npos);
    EXPECT_NE(Failure({"--mode", "points", "x.ply"}).find("need --snapshot"), std::string::npos);
    EXPECT_EQ(Parse({"--snapshot", "s.bmp", "--colour-by", "confidence", "x.ply"}).colourBy,
              "confidence");
    EXPECT_NE(Failure({"--colour-by", "quality", "x.ply"}).find("need --snapshot"),
              std::string::npos);
}

TEST(CommandLineTest, ExportTakesAFormatSettingsAndAnExporter) {
    HostOptions o = Parse({"--auto", "--export", "out.ply", "--export-format", "binary_big_endian",
                           "--export-set", "scale=1", "--export-set", "normals=off", "--exporter",
                           "e.dle", "in.ply"});
    EXPECT_EQ(o.exportPath, "out.ply");
    EXPECT_EQ(o.exportFormat, 2);
    EXPECT_EQ(o.exporterPath, "e.dle");
    ASSERT_EQ(o.exportSettings.size(), 2u);
    EXPECT_EQ(o.exportSettings[0].field->controlId, 1111);
    EXPECT_EQ(o.exportSettings[1].field->controlId, 1105);
    EXPECT_FALSE(o.exportSettings[1].checked);
    EXPECT_FALSE(Parse({"--export", "out.ply"}).Interactive());
    EXPECT_EQ(Parse({"--quiet", "--export", "o.ply", "--export-format", "ascii"}).exportFormat, 0);
    EXPECT_NE(Failure({"--export-format", "ascii"}).find("go with --export"), std::string::npos);
    EXPECT_NE(Failure({"--export", "o.ply", "--export-set", "normals=1"}).find("needs --auto"),
              std::string::npos);
    EXPECT_NE(Failure({"--export", "o.ply", "--export-format", "ascii"}).find("--quiet"),
              std::string::npos);
    EXPECT_NE(Failure({"--auto", "--export", "o.ply", "--export-format", "text"}).find("ascii"),
              std::string::npos);
    EXPECT_NE(Failure({"--auto", "--export", "o.ply", "--export-set", "flip=1"}).find("flipZY"),
              std::string::npos);
}

TEST(CommandLineTest, HelpIsAskedFor) {
    EXPECT_TRUE(Parse({"--help"}).showUsage);
    EXPECT_NE(std::string(UsageText()).find("--snapshot"), std::string::npos);
}

}  // namespace
