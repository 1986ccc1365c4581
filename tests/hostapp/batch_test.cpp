#include "hostapp/batch.h"

#include <gtest/gtest.h>

#include "hostsdk/max.h"
#include "hostsdk/standin.h"

namespace {

// An importer whose file name says what it does: "<n>tri" adds a node with
// n triangles (n + 2 vertices, a fan); "keep" imports without replacing the
// scene; "say" leaves a message; the result is the digit after "r", else 1.
class FakeImporter : public SceneImport {
  public:
    explicit FakeImporter(std::vector<std::string>* shown) : shown(shown) {}
    int ExtCount() override { return 1; }
    const char* Ext(int) override { return "ply"; }
    const char* LongDesc() override { return ""; }
    const char* ShortDesc() override { return ""; }
    const char* AuthorName() override { return ""; }
    const char* CopyrightMessage() override { return ""; }
    const char* OtherMessage1() override { return ""; }
    const char* OtherMessage2() override { return ""; }
    unsigned int Version() override { return 1; }
    void ShowAbout(HWND) override {}
    int DoImport(const char* name, ImpInterface* ii, Interface* ip, BOOL suppress) override {
        std::string path = name;
        lastSuppress = suppress;
        if (path.find("keep") == std::string::npos) {
            ip->FileReset(TRUE);
            ii->NewScene();
        }
        size_t tri = path.find("tri");
        if (tri != std::string::npos) AddFan(ii, path[tri - 1] - '0');
        if (path.find("say") != std::string::npos) shown->push_back("said\nby " + path);
        size_t r = path.find(".r");
        return r == std::string::npos ? 1 : path[r + 2] - '0';
    }
    static BOOL lastSuppress;

  private:
    void AddFan(ImpInterface* ii, int n) {
        TriObject* obj = CreateNewTriObject();
        Mesh& m = obj->GetMesh();
        m.setNumVerts(n + 2);
        m.setNumFaces(n);
        for (int i = 0; i < n; ++i) m.faces[i].setVerts(0, i + 1, i + 2);
        ImpNode* node = ii->CreateNode();
        node->Reference(obj);
        node->SetName("fan");
        ii->AddNodeToScene(node);
    }
    std::vector<std::string>* shown;
};
BOOL FakeImporter::lastSuppress = FALSE;

class BatchTest : public testing::Test {
  protected:
    BatchTest() : core(scene) {
        services.fullPath = [](const std::string& f) { return "C:\\data\\" + f; };
        services.createImporter = [this](const std::string& path,
                                         std::string& reason) -> SceneImport* {
            if (path.size() < 4 || path.substr(path.size() - 4) == ".txt") {
                reason = "no importer for this file type";
                return nullptr;
            }
            return new FakeImporter(&shown);
        };
        services.takeMessages = [this] {
            std::vector<std::string> out;
            out.swap(shown);
            return out;
        };
        services.report = [this](const std::string& l) { reports.push_back(l); };
        services.error = [this](const std::string& l) { errors.push_back(l); };
    }

    std::vector<ImportRecord> Run(const std::vector<std::string>& files, bool quiet = true) {
        return RunImports(files, quiet, scene, core, services);
    }

    RecordingScene scene;
    HostCore core;
    BatchServices services;
    std::vector<std::string> shown, reports, errors;
};

TEST_F(BatchTest, OneLinePerImportWithWhatThatImportAdded) {
    auto records = Run({"a3tri.ply", "keep2tri.ply"});
    ASSERT_EQ(reports.size(), 2u);
    EXPECT_EQ(reports[0], "a3tri.ply: result 1, 1 node(s), 5 vertices, 3 faces");
    // The second import keeps the first node, but reports only its own.
    EXPECT_EQ(reports[1], "keep2tri.ply: result 1, 1 node(s), 4 vertices, 2 faces");
    EXPECT_EQ(scene.NodeCount(), 2);
    EXPECT_TRUE(AllImportsSucceeded(records));
}

TEST_F(BatchTest, ReplacingImportCountsOnlyItsOwnNodes) {
    Run({"a3tri.ply", "b1tri.ply"});
    EXPECT_EQ(reports[1], "b1tri.ply: result 1, 1 node(s), 3 vertices, 1 faces");
    EXPECT_EQ(scene.NodeCount(), 1);
}

TEST_F(BatchTest, ImportsGetTheFullPathAndTheQuietFlag) {
    auto records = Run({"x1tri.ply"}, false);
    EXPECT_EQ(records[0].path, "C:\\data\\x1tri.ply");
    EXPECT_EQ(records[0].file, "x1tri.ply");
    EXPECT_FALSE(FakeImporter::lastSuppress);
    Run({"x1tri.ply"}, true);
    EXPECT_TRUE(FakeImporter::lastSuppress);
}

TEST_F(BatchTest, MessagesFollowTheirImportLine) {
    Run({"say.ply", "quiet.ply"});
    ASSERT_EQ(reports.size(), 3u);
    EXPECT_EQ(reports[0], "say.ply: result 1, 0 node(s), 0 vertices, 0 faces");
    EXPECT_EQ(reports[1], "message: said\\nby C:\\data\\say.ply");
    EXPECT_EQ(reports[2], "quiet.ply: result 1, 0 node(s), 0 vertices, 0 faces");
}

TEST_F(BatchTest, TimingLineFollowsEachImportLineWhenAsked) {
    Run({"a3tri.ply"});
    EXPECT_EQ(reports.size(), 1u);
    services.reportTiming = true;
    Run({"say.ply"});
    ASSERT_EQ(reports.size(), 4u);
    EXPECT_EQ(reports[2].rfind("time: DoImport ", 0), 0u) << reports[2];
    EXPECT_EQ(reports[2].substr(reports[2].size() - 3), " ms");
    EXPECT_EQ(reports[3], "message: said\\nby C:\\data\\say.ply");
}

TEST_F(BatchTest, ResultsOtherThanOneOrTwoFailTheRun) {
    EXPECT_TRUE(AllImportsSucceeded(Run({"a.r2.ply"})));
    EXPECT_FALSE(AllImportsSucceeded(Run({"a.r1.ply", "b.r0.ply", "c.r1.ply"})));
    EXPECT_EQ(reports.back(), "c.r1.ply: result 1, 0 node(s), 0 vertices, 0 faces");
    EXPECT_FALSE(AllImportsSucceeded(Run({"a.r3.ply"})));
}

TEST_F(BatchTest, FileWithoutImporterIsOneErrorLineAndFailsTheRun) {
    auto records = Run({"notes.txt", "a1tri.ply"});
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_EQ(errors[0], "notes.txt: no importer for this file type");
    EXPECT_EQ(reports.size(), 1u);
    EXPECT_FALSE(records[0].ran);
    EXPECT_FALSE(AllImportsSucceeded(records));
}

TEST_F(BatchTest, DumpHasImportAndMessageLinesThenTheNodes) {
    auto records = Run({"notes.txt", "say.ply", "keep1tri.ply"});
    std::string dump = SceneDumpText(records, scene);
    std::string lines =
        "import C:\\data\\say.ply result 1\n"
        "message said\\nby C:\\data\\say.ply\n"
        "import C:\\data\\keep1tri.ply result 1\n";
    EXPECT_EQ(dump, lines + DumpScene(scene));
    EXPECT_EQ(DumpScene(scene).substr(0, 9), "node fan\n");
}

TEST(ReportTest, LinesAsTheFormatSays) {
    ImportRecord r;
    r.file = "C:\\m\\bunny.ply";
    r.result = 1;
    r.counts = {2, 35947, 69451};
    EXPECT_EQ(ImportReportLine(r),
              "C:\\m\\bunny.ply: result 1, 2 node(s), 35947 vertices, 69451 faces");
    EXPECT_EQ(MessageReportLine("two\nlines\r\nand\rmore"), "message: two\\nlines\\nand\\nmore");
}

TEST(ReportTest, EmptySceneDumpIsJustEnd) {
    HostScene scene;
    EXPECT_EQ(SceneDumpText({}, scene), "end\n");
    ImportRecord r;
    r.ran = true;
    r.path = "C:\\a.ply";
    r.result = 2;
    r.messages = {"x\ny"};
    EXPECT_EQ(SceneDumpText({r}, scene), "import C:\\a.ply result 2\nmessage x\\ny\nend\n");
}

TEST(ReportTest, DumpToAFileAndItsFailure) {
    std::string path = testing::TempDir() + "plyhost_dump_test.txt";
    ASSERT_TRUE(WriteTextFile(path, "end\n").ok);
    FILE* f = std::fopen(path.c_str(), "rb");
    ASSERT_NE(f, nullptr);
    char buf[16] = {};
    EXPECT_EQ(std::fread(buf, 1, sizeof buf, f), 4u);
    std::fclose(f);
    EXPECT_STREQ(buf, "end\n");
    std::remove(path.c_str());
    EXPECT_FALSE(WriteTextFile(testing::TempDir() + "no-such-dir-plyhost/d.txt", "x").ok);
}

}  // namespace
