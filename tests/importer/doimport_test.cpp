#include <clocale>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <limits>
#include <string>
#include <vector>

#include "tests/importer/import_fixture.h"

namespace {

namespace fs = std::filesystem;

TEST(BaseNameTest, CutsDirectoryAndExtension) {
    char name[64];
    const char* cases[][2] = {
        {"C:\\models\\bunny.ply", "bunny"},
        {"C:\\models\\scan.final.ply", "scan"},
        {"bunny.ply", "bunny"},
        {"C:bunny.ply", "bunny"},
        {"D:/data/bunny.ply", "/data/bunny"},
        {"C:\\models\\noextension", "noextension"},
    };
    for (auto& c : cases) {
        DeriveBaseName(c[0], name, sizeof name);
        EXPECT_STREQ(name, c[1]) << c[0];
    }
}

TEST(BaseNameTest, LongNamesAreCutToTheField) {
    std::string path = "C:\\" + std::string(100, 'a') + ".ply";
    char name[64];
    DeriveBaseName(path.c_str(), name, sizeof name);
    EXPECT_EQ(std::string(name), std::string(63, 'a'));
}

class DoImportTest : public ImportTest {
  protected:
    void SetUp() override {
        ImportTest::SetUp();
        dir = fs::temp_directory_path() /
              ("ks_doimport_" +
               std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(dir);
        fs::create_directories(dir);
        core.SetDir(APP_PLUGCFG_DIR, dir.string().c_str());
        settings = (dir / "ks_dazazu.cfg").string();
    }
    void TearDown() override {
        ImportTest::TearDown();
        fs::remove_all(dir);
    }

    std::string WriteFile(const std::string& name, const std::string& content) {
        std::string path = (dir / name).string();
        std::ofstream(path, std::ios::binary) << content;
        return path;
    }
    int Import(const std::string& path, bool suppressPrompts = false) {
        return importer->DoImport(path.c_str(), &scene, &core, suppressPrompts);
    }
    // On an importer of its own, as the host makes one for every import.
    int ImportAnew(const std::string& path) {
        DazAzu fresh;
        return fresh.DoImport(path.c_str(), &scene, &core, FALSE);
    }
    std::string ReadFile(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    // One node with a triangle already in the scene.
    void AddExistingNode() {
        ImpNode* node = scene.CreateNode();
        node->Reference(CreateNewTriObject());
        scene.AddNodeToScene(node);
    }

    fs::path dir;
    std::string settings;
};

const std::string kTriangle = AsciiPly(
    "element vertex 3\nproperty float x\nproperty float y\nproperty float z\n"
    "element face 1\nproperty list uchar int vertex_indices\n",
    "0 0 0\n1 0 0\n1 1 0\n3 0 1 2\n");

// A host whose scene reset and file reset only write down that they ran.
class RecordingScene : public HostScene {
  public:
    explicit RecordingScene(std::vector<std::string>& calls) : calls(calls) {}
    int NewScene() override {
        calls.push_back("NewScene");
        return HostScene::NewScene();
    }
    std::vector<std::string>& calls;
};

class RecordingCore : public HostCore {
  public:
    RecordingCore(HostScene& scene, std::vector<std::string>& calls)
        : HostCore(scene), calls(calls) {}
    BOOL FileReset(BOOL noPrompt) override {
        calls.push_back(noPrompt ? "FileReset(TRUE)" : "FileReset(FALSE)");
        return TRUE;
    }
    std::vector<std::string>& calls;
};

TEST_F(DoImportTest, SuccessfulImportMakesOneNodeNamedAfterTheFile) {
    std::string path = WriteFile("tri.angle.ply", kTriangle);
    EXPECT_EQ(Import(path), IMPEXP_SUCCESS);
    ASSERT_EQ(scene.NodeCount(), 1);
    char expected[64];
    DeriveBaseName(path.c_str(), expected, sizeof expected);
    EXPECT_STREQ(scene.GetNode(0)->GetName(), expected);
    EXPECT_EQ(scene.RedrawCount(), 1);
    EXPECT_EQ(Doubles().optionsDialogRuns, 1);
    EXPECT_TRUE(Doubles().messages.empty());
    EXPECT_EQ(fs::file_size(settings), 20u);
}

TEST_F(DoImportTest, NotAPlyFileIsReportedOnceAndChangesNothing) {
    std::string path = WriteFile("bad.ply", "this is no ply file\n");
    EXPECT_EQ(Import(path), IMPEXP_SUCCESS);
    ASSERT_EQ(Doubles().messages.size(), 1u);
    EXPECT_EQ(Doubles().optionsDialogRuns, 0);
    EXPECT_FALSE(fs::exists(settings));
}

TEST_F(DoImportTest, CancelledOptionsAnswerTwoAndTouchNothing) {
    AddExistingNode();
    Doubles().optionsDialogResult = 0;
    EXPECT_EQ(Import(WriteFile("a.ply", kTriangle)), IMPEXP_CANCEL);
    EXPECT_EQ(scene.NodeCount(), 1);  // Replace Scene is on, yet the scene stays
    EXPECT_FALSE(fs::exists(settings));
    EXPECT_EQ(Doubles().progressDialogRuns, 0);
}

TEST_F(DoImportTest, SuppressedPromptsUseSavedOptionsAndShowNothing) {
    ImportOptions saved;
    saved.replaceScene = 0;
    saved.scale = 3;
    SaveSettingsFile(settings, saved);
    AddExistingNode();
    EXPECT_EQ(Import(WriteFile("b.ply", kTriangle), true), IMPEXP_SUCCESS);
    EXPECT_EQ(Doubles().optionsDialogRuns, 0);
    EXPECT_EQ(Doubles().progressDialogRuns, 1);
    EXPECT_EQ(scene.NodeCount(), 2);
    ImportOptions back;
    ASSERT_TRUE(LoadSettingsFile(settings, back));
    EXPECT_EQ(back.scale, 3.0f);
    EXPECT_EQ(back.replaceScene, 0);
}

TEST_F(DoImportTest, CancelledBuildLeavesTheResetSceneEmpty) {
    AddExistingNode();
    std::string data;
    for (int i = 0; i < 3000; ++i) data += "0 0 0\n";
    std::string path = WriteFile(
        "big.ply",
        AsciiPly("element vertex 3000\nproperty float x\nproperty float y\nproperty float z\n",
                 data));
    Doubles().onSend = [](DazAzu& im, const SentMessage& m) {
        if (m.message == kProgressCount) im.cancelFlag = 1;
    };
    EXPECT_EQ(Import(path), IMPEXP_SUCCESS);
    EXPECT_EQ(scene.NodeCount(), 0);
    EXPECT_TRUE(Doubles().messages.empty());
    EXPECT_EQ(importer->importedMesh, nullptr);
    EXPECT_TRUE(fs::exists(settings));
}

TEST_F(DoImportTest, BuildErrorIsShownAfterTheDialogAndDeletesEverything) {
    std::string path = WriteFile(
        "short.ply",
        AsciiPly("element vertex 3\nproperty float x\nproperty float y\nproperty float z\n"
                 "element material 1\nproperty float opacity\n"
                 "element face 1\nproperty list uchar int vertex_indices\n",
                 "0 0 0\n1 0 0\n1 1 0\n1\n3 0 1\n"));
    EXPECT_EQ(Import(path), IMPEXP_SUCCESS);
    ASSERT_EQ(Doubles().messages.size(), 1u);
    EXPECT_EQ(scene.NodeCount(), 0);
    EXPECT_TRUE(importer->hostMaterials.empty());
    // TearDown checks that no host object is left behind.
}

// A header without vertices, announced or not, adds no empty object.
TEST_F(DoImportTest, FileWithoutVerticesAddsNothingAndSaysSo) {
    const std::string empty[] = {
        AsciiPly("element vertex 0\nproperty float x\n", ""),
        AsciiPly("element face 0\nproperty list uchar int vertex_indices\n", "")};
    for (const std::string& content : empty) {
        Doubles().messages.clear();
        fs::remove(settings);
        EXPECT_EQ(Import(WriteFile("empty.ply", content)), IMPEXP_SUCCESS);
        EXPECT_EQ(scene.NodeCount(), 0);
        EXPECT_EQ(
            Doubles().messages,
            std::vector<std::string>{"the file holds no vertices: there is nothing to import"});
        EXPECT_TRUE(fs::exists(settings));
    }
}

TEST_F(DoImportTest, MaterialsPastWhatFacesCanNameAreLeftOutAndReported) {
    const int kept = DazAzu::kMaxMaterialRecords;
    std::string data = "0 0 0\n1 0 0\n1 1 0\n";
    for (int k = 0; k < kept + 2; ++k) data += "0.5\n";
    std::string path = WriteFile(
        "many.ply",
        AsciiPly("element vertex 3\nproperty float x\nproperty float y\nproperty float z\n"
                 "element material " +
                     std::to_string(kept + 2) +
                     "\nproperty float opacity\n"
                     "element face 1\nproperty list uchar int vertex_indices\n",
                 data + "3 0 1 2\n"));
    EXPECT_EQ(Import(path), IMPEXP_SUCCESS);
    ASSERT_EQ(scene.NodeCount(), 1);
    Mtl* mtl = scene.GetNode(0)->GetMtl();
    ASSERT_NE(mtl, nullptr);
    ASSERT_EQ(mtl->NumSubMtls(), kept);
    const std::string last = mtl->GetSubMtl(kept - 1)->GetName().data();
    EXPECT_EQ(last.substr(last.size() - 6), "_65535") << last;
    ASSERT_EQ(Doubles().messages.size(), 1u);
    EXPECT_EQ(Doubles().messages[0],
              "2 materials were left out: faces can refer to the first 65536 only");
    importer->hostMaterials.clear();  // the scene holds them now
}

TEST_F(DoImportTest, SkippedFacesAreReportedAfterASuccessfulImport) {
    std::string path = WriteFile(
        "holes.ply",
        AsciiPly("element vertex 3\nproperty float x\nproperty float y\nproperty float z\n"
                 "element face 2\nproperty list uchar int vertex_indices\n",
                 "0 0 0\n1 0 0\n1 1 0\n3 0 1 2\n3 0 1 9\n"));
    EXPECT_EQ(Import(path), IMPEXP_SUCCESS);
    EXPECT_EQ(scene.NodeCount(), 1);
    ASSERT_EQ(Doubles().messages.size(), 1u);
    EXPECT_EQ(Doubles().messages[0], "1 faces refer to missing vertices and were skipped");
}

TEST_F(DoImportTest, ReplaceSceneResetsFileAndSceneBeforeTheBuild) {
    std::vector<std::string> calls;
    RecordingScene recordingScene(calls);
    RecordingCore recordingCore(recordingScene, calls);
    recordingCore.SetDir(APP_PLUGCFG_DIR, dir.string().c_str());
    Doubles().onSend = [&calls](DazAzu&, const SentMessage&) {
        if (calls.empty() || calls.back() != "build") calls.push_back("build");
    };
    const std::string path = WriteFile("a.ply", kTriangle);
    EXPECT_EQ(importer->DoImport(path.c_str(), &recordingScene, &recordingCore, FALSE),
              IMPEXP_SUCCESS);
    EXPECT_EQ(calls, (std::vector<std::string>{"FileReset(TRUE)", "NewScene", "build"}));
    EXPECT_EQ(recordingScene.NodeCount(), 1);
}

TEST_F(DoImportTest, HeaderFailureAndCancelLeaveTheSettingsFileByteForByte) {
    // Scale 3 and flags that no dialog would store.
    const std::string saved("\x03\0\0\0\x14\0\0\0\0\0\x40\x40\0\0\0\x01\0\x07\0\x02", 20);
    WriteFile("ks_dazazu.cfg", saved);
    EXPECT_EQ(ImportAnew(WriteFile("bad.ply", "this is no ply file\n")), IMPEXP_SUCCESS);
    EXPECT_EQ(ReadFile(settings), saved);
    Doubles().optionsDialogResult = 0;
    EXPECT_EQ(ImportAnew(WriteFile("a.ply", kTriangle)), IMPEXP_CANCEL);
    EXPECT_EQ(ReadFile(settings), saved);
    EXPECT_EQ(Doubles().optionsDialogRuns, 1);
}

// The locale is switched for the whole import and restored on every way
// out: header, count, cancelled options, build failure and success.
TEST_F(DoImportTest, LocaleIsEnglishDuringTheBuildAndRestoredOnEveryReturn) {
    const char* english = std::setlocale(LC_ALL, "English");
    if (!english) GTEST_SKIP() << "no locale named English on this system";
    const std::string englishName = english;
    std::setlocale(LC_ALL, "C");
    std::string during;
    Doubles().onSend = [&during](DazAzu&, const SentMessage&) {
        during = std::setlocale(LC_ALL, nullptr);
    };
    const std::string vertex3 =
        "element vertex 3\nproperty float x\nproperty float y\nproperty float z\n";
    const std::string face = "element face 2\nproperty list uchar int vertex_indices\n";
    struct Case {
        const char* name;
        std::string content;
        int optionsResult;
        bool builds;
    } cases[] = {
        {"header", "this is no ply file\n", 1, false},
        {"count", AsciiPly(vertex3 + face, "0 0 0\n1 0 0\n1 1 0\n3 0 1 2\n"), 1, false},
        {"options", kTriangle, 0, false},
        {"build", AsciiPly(vertex3, "0 0 0\n1 0\n"), 1, true},
        {"success", kTriangle, 1, true},
    };
    for (const Case& c : cases) {
        during.clear();
        Doubles().optionsDialogResult = c.optionsResult;
        ImportAnew(WriteFile(std::string(c.name) + ".ply", c.content));
        EXPECT_STREQ(std::setlocale(LC_ALL, nullptr), "C") << c.name;
        EXPECT_EQ(during, c.builds ? englishName : "") << c.name;
    }
    EXPECT_EQ(Doubles().messages.size(), 3u);  // header, count and build failures
}

TEST_F(DoImportTest, VerticesOutOfRangeAreReportedAfterASuccessfulImport) {
    const float inf = std::numeric_limits<float>::infinity();
    EXPECT_EQ(Import(WriteFile("far.ply", BinaryPointCloud({{0, 0, 0}, {inf, 1, 1}, {1, 1, 1}}))),
              IMPEXP_SUCCESS);
    EXPECT_EQ(scene.NodeCount(), 1);
    ASSERT_EQ(Doubles().messages.size(), 1u);
    EXPECT_EQ(Doubles().messages[0],
              "1 vertices have coordinates out of range and were moved to the centre");
}

// Images beside the file, "<this>" its base name; each its own
// sub-material, chosen by texnumber; one on a share is not looked for there
// and, not beside the file either, keeps its sub-material without a map. A
// texcoord list that does not fit its face and the missing image are
// reported once each.
TEST_F(DoImportTest, TextureFilesBesideTheFileGiveOneSubMaterialEach) {
    WriteFile("scan_A.png", "");
    WriteFile("b b.png", "");
    const std::string path = WriteFile(
        "scan.v2.ply",
        AsciiPly("comment TextureFile <this>_A.png\ncomment TextureFile b b.png\n"
                 "comment TextureFile \\\\srv\\share\\gone.png\n"
                 "element vertex 4\nproperty float x\nproperty float y\nproperty float z\n"
                 "element face 3\nproperty list uchar int vertex_indices\n"
                 "property list uchar float texcoord\nproperty int texnumber\n",
                 "0 0 0\n1 0 0\n1 1 0\n0 1 0\n3 0 1 2 6 0 0 1 0 1 1 1\n"
                 "3 0 2 3 6 0 0 1 1 0 1 0\n3 0 1 3 2 0 0 1\n"));
    EXPECT_EQ(Import(path), IMPEXP_SUCCESS);
    ASSERT_EQ(scene.NodeCount(), 1);
    Mtl* mtl = scene.GetNode(0)->GetMtl();
    ASSERT_NE(mtl, nullptr);
    ASSERT_EQ(mtl->NumSubMtls(), 3);
    const std::string expected[2] = {(dir / "scan_A.png").string(), (dir / "b b.png").string()};
    for (int k = 0; k < 2; ++k) {
        EXPECT_EQ(std::string(mtl->GetSubMtl(k)->GetName().data()),
                  std::string(importer->baseName) + "_" + std::to_string(k));
        Texmap* map = mtl->GetSubMtl(k)->GetSubTexmap(ID_DI);
        ASSERT_NE(map, nullptr);
        ASSERT_EQ(map->ClassID(), BMTEX_CLASS_ID);
        EXPECT_EQ(std::string(static_cast<BitmapTex*>(map)->GetMapName()), expected[k]);
    }
    EXPECT_EQ(std::string(mtl->GetSubMtl(2)->GetName().data()),
              std::string(importer->baseName) + "_2");
    EXPECT_EQ(mtl->GetSubMtl(2)->GetSubTexmap(ID_DI), nullptr);
    const Mesh& mesh = static_cast<TriObject*>(scene.GetNode(0)->GetObjectRef())->mesh;
    ASSERT_EQ(mesh.numFaces, 3);
    EXPECT_EQ(mesh.faces[0].getMatID(), 1);
    EXPECT_EQ(mesh.faces[1].getMatID(), 0);
    EXPECT_EQ(core.ActivatedTextureCount(), 2);
    EXPECT_EQ(
        Doubles().messages,
        (std::vector<std::string>{"1 faces have texture coordinates that do not match their "
                                  "corners and were given (0, 0)",
                                  "1 texture images were not found: \\\\srv\\share\\gone.png"}));
    importer->hostMaterials.clear();  // the scene holds them now
}

// Every missing image is counted; the names are listed in file order and
// the list is cut at its length, between characters, with "...". Here the
// 200th byte would be the lead byte of a double-byte character.
TEST_F(DoImportTest, MissingTexturesAreNamedInOneMessageCutToItsLength) {
    Doubles().doubleByteCodePage = true;
    std::string comments, list;
    for (int k = 0; k < 40; ++k) {
        const std::string name = k == 0 ? "a0.png" : "\x95\x5C" + std::to_string(k) + ".png";
        comments += "comment TextureFile " + name + "\n";
        list += (k ? ", " : "") + name;
    }
    const std::string ply = AsciiPly(comments +
                                         "element vertex 3\nproperty float x\nproperty float y\n"
                                         "property float z\nproperty float u\nproperty float v\n",
                                     "0 0 0 0 0\n1 0 0 1 0\n1 1 0 1 1\n");
    EXPECT_EQ(Import(WriteFile("many.ply", ply)), IMPEXP_SUCCESS);
    ASSERT_EQ(list.substr(199, 1), "\x95");
    EXPECT_EQ(Doubles().messages, std::vector<std::string>{"40 texture images were not found: " +
                                                           list.substr(0, 199) + "..."});
    importer->hostMaterials.clear();  // the scene holds them now
}

TEST_F(DoImportTest, FailingTriangleCountStopsBeforeTheDialog) {
    std::string path = WriteFile(
        "cut.ply",
        AsciiPly("element vertex 1\nproperty float x\nproperty float y\nproperty float z\n"
                 "element face 2\nproperty list uchar int vertex_indices\n",
                 "0 0 0\n3 0 0 0\n"));
    EXPECT_EQ(Import(path), IMPEXP_SUCCESS);
    ASSERT_EQ(Doubles().messages.size(), 1u);
    EXPECT_EQ(Doubles().messages[0], "file read error");
    EXPECT_EQ(Doubles().optionsDialogRuns, 0);
}

}  // namespace
