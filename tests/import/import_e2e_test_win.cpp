// The import end to end: plyhost.exe loads the real plug-in and imports
// files of every encoding and channel combination; the scene dump is checked.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "ply/ply_reader.h"
#include "tests/ply/ply_test_files.h"
#include "tests/support/plyhost_run_win.h"

namespace {

std::string TempFolder(const std::string& name) {
    char tmp[MAX_PATH];
    GetTempPathA(sizeof tmp, tmp);
    std::string dir = std::string(tmp) + name + "_" + std::to_string(GetCurrentProcessId());
    CreateDirectoryA(dir.c_str(), nullptr);
    return dir;
}

void WriteBytes(const std::string& path, const std::string& bytes) {
    HANDLE f = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    WriteFile(f, bytes.data(), DWORD(bytes.size()), &written, nullptr);
    CloseHandle(f);
}

// A quad and a triangle over five vertices (one isolated), with normals,
// texture coordinates, colours and two materials.
std::vector<TestElement> FullMesh() {
    TestElement vertex{"vertex",
                       {"float x", "float y", "float z", "float nx", "float ny", "float nz",
                        "float u", "float v", "uchar red", "uchar green", "uchar blue"},
                       {{0, 0, 0, 0, 0, 1, 0, 0, 255, 0, 0},
                        {1, 0, 0, 0, 0, 1, 1, 0, 0, 255, 0},
                        {1, 1, 0, 0, 0, 1, 1, 1, 0, 0, 255},
                        {0, 1, 0, 0, 0, 1, 0, 1, 255, 255, 255},
                        {5, 5, 5, 0, 1, 0, 0.5, 0.5, 10, 20, 30},
                        {2, 1, 0, 0, 0, 1, 0.25, 0.75, 0, 0, 0}}};
    TestElement material{
        "material",
        {"uchar ambient_red", "uchar ambient_green", "uchar ambient_blue", "float ambient_coeff",
         "uchar diffuse_red", "uchar diffuse_green", "uchar diffuse_blue", "float specular_power",
         "float opacity"},
        {{255, 255, 255, 0.5, 255, 0, 0, 20, 1}, {0, 0, 255, 1, 0, 255, 0, 10, 0.5}}};
    TestElement face{"face",
                     {"list uchar int vertex_indices", "int material_index"},
                     {{4, 0, 1, 2, 3, 0}, {3, 1, 5, 2, 1}}};
    return {vertex, material, face};
}

class ImportEndToEnd : public testing::Test {
  protected:
    static void SetUpTestSuite() { dir = TempFolder("import_e2e"); }

    // Imports the files with --quiet into one scene; answers the dump lines
    // after the import lines.
    std::vector<std::string> Import(const std::vector<std::string>& files,
                                    std::vector<std::string> options = {"--quiet"}) {
        std::string dump = dir + "\\scene.txt";
        DeleteFileA(dump.c_str());
        if (std::find(options.begin(), options.end(), "--cfg-dir") == options.end())
            options.insert(options.end(), {"--cfg-dir", dir});
        options.insert(options.end(), {"--dump", dump});
        options.insert(options.end(), files.begin(), files.end());
        last = RunPlyhost(options, dir);
        std::vector<std::string> lines = SplitLines(ReadTextFile(dump));
        auto first = std::find_if(lines.begin(), lines.end(), [](const std::string& l) {
            return l.rfind("import ", 0) != 0 && l.rfind("message ", 0) != 0;
        });
        header.assign(lines.begin(), first);
        return std::vector<std::string>(first, lines.end());
    }
    std::string WritePly(const std::string& name, const std::string& bytes) {
        std::string path = dir + "\\" + name;
        WriteBytes(path, bytes);
        return path;
    }

    static std::string dir;
    PlyhostResult last;
    std::vector<std::string> header;
};

std::string ImportEndToEnd::dir;

// A line that is the text, or with prefix one that starts with it.
bool Contains(const std::vector<std::string>& lines, const std::string& line, bool prefix = false) {
    return std::find_if(lines.begin(), lines.end(), [&](const std::string& l) {
               return prefix ? l.rfind(line, 0) == 0 : l == line;
           }) != lines.end();
}

TEST_F(ImportEndToEnd, EveryEncodingGivesTheSameScene) {
    std::vector<std::vector<std::string>> dumps;
    for (PlyFormat format : kAllFormats) {
        std::vector<std::string> dump = Import({WritePly("same.ply", MakePly(format, FullMesh()))});
        ASSERT_EQ(last.status, 0u) << last.out << last.err;
        ASSERT_GT(dump.size(), 30u);
        dumps.push_back(dump);
    }
    EXPECT_EQ(dumps[0], dumps[1]);
    EXPECT_EQ(dumps[0], dumps[2]);
}

TEST_F(ImportEndToEnd, FullMeshHasEveryChannelAndAMultiMaterial) {
    std::vector<std::string> dump =
        Import({WritePly("full.ply", MakePly(kPlyBinaryLittleEndian, FullMesh()))});
    ASSERT_EQ(last.status, 0u) << last.out;
    EXPECT_EQ(dump[0], "node full");
    // Isolated vertex 4 is gone; three triangles; every channel filled.
    EXPECT_EQ(dump[2], "mesh verts 5 faces 3 tverts 5 tvfaces 3 cverts 5 cvfaces 3 normals 5");
    // Flip ZY and scale 100, centred on the box from (0,0,0) to (200,0,100).
    EXPECT_TRUE(Contains(dump, "v -100 0 -50")) << testing::PrintToString(dump);
    EXPECT_TRUE(Contains(dump, "f 0 1 2 1 0 1 1 0"));
    EXPECT_TRUE(Contains(dump, "f 0 2 3 1 0 0 1 1"));
    EXPECT_TRUE(Contains(dump, "f 1 4 2 1 1 1 1 1"));
    EXPECT_TRUE(Contains(dump, "vn 0 -1 0"));
    EXPECT_TRUE(Contains(dump, "material multi \"full_mso\" 3"));
    // uchar colours are divided by 255 (the specular default too), the
    // ambient weighted by its coefficient.
    const std::string sub0 = "sub 0 material std \"full_0\" ambient 0.5 0.5 0.5 diffuse 1 0 0 ";
    EXPECT_TRUE(std::any_of(dump.begin(), dump.end(), [&](const std::string& l) {
        return l.rfind(sub0, 0) == 0 &&
               l.find("opacity 1 shininess 20 shinstr 1 map none") != std::string::npos;
    }));
    EXPECT_TRUE(Contains(dump,
                         "sub 2 material std \"full_VtxCol\" ambient 0.588235319 "
                         "0.588235319 0.588235319 diffuse 0.588235319 0.588235319 "
                         "0.588235319 specular 0.899999976 0.899999976 0.899999976 "
                         "opacity 1 shininess 0.100000001 shinstr 0 map vertexcolor"));
    EXPECT_TRUE(Contains(dump, "transform 1 0 0 0 1 0 0 0 1 100 0 50"));
}

TEST_F(ImportEndToEnd, OptionsOffKeepTheBareMesh) {
    std::string cfg = dir + "\\ks_dazazu.cfg";
    // scale 1, no flip, no pivot, no normals, colours, texture or materials
    const unsigned char settings[20] = {3,    0,    0, 0, 20, 0, 0, 0, 0, 0,
                                        0x80, 0x3F, 1, 0, 0,  0, 0, 0, 0, 0};
    WriteBytes(cfg, std::string(reinterpret_cast<const char*>(settings), 20));
    std::vector<std::string> dump =
        Import({WritePly("bare.ply", MakePly(kPlyBinaryBigEndian, FullMesh()))});
    DeleteFileA(cfg.c_str());
    EXPECT_EQ(dump[1], "transform 1 0 0 0 1 0 0 0 1 0 0 0");
    EXPECT_EQ(dump[2], "mesh verts 5 faces 3 tverts 0 tvfaces 0 cverts 0 cvfaces 0 normals 0");
    EXPECT_TRUE(Contains(dump, "v 2 1 0"));
    EXPECT_TRUE(Contains(dump, "material none"));
}

TEST_F(ImportEndToEnd, TwoFilesWithoutReplaceSceneGiveTwoNodes) {
    const unsigned char settings[20] = {3,    0,    0, 0, 20, 0, 0, 0, 0, 0,
                                        0xC8, 0x42, 0, 1, 1,  0, 1, 1, 1, 1};
    std::string cfg = dir + "\\ks_dazazu.cfg";
    WriteBytes(cfg, std::string(reinterpret_cast<const char*>(settings), 20));
    std::string a = WritePly("one.ply", MakePly(kPlyAscii, FullMesh()));
    std::string b = WritePly("two.ply", MakePly(kPlyAscii, FullMesh()));
    std::vector<std::string> dump = Import({a, b});
    DeleteFileA(cfg.c_str());
    EXPECT_TRUE(Contains(dump, "node one"));
    EXPECT_TRUE(Contains(dump, "node two"));
    ASSERT_EQ(header.size(), 2u);
    EXPECT_EQ(header[0], "import " + a + " result 1");
}

TEST_F(ImportEndToEnd, SettingsFileIsWrittenAfterTheImport) {
    std::string cfg = dir + "\\ks_dazazu.cfg";
    DeleteFileA(cfg.c_str());
    Import({WritePly("s.ply", MakePly(kPlyAscii, FullMesh()))});
    EXPECT_EQ(ReadTextFile(cfg),
              std::string("\x03\0\0\0\x14\0\0\0\0\0\xC8\x42\x01\x01\x01\0\x01\x01\x01\x01", 20));
}

TEST_F(ImportEndToEnd, DamagedFilesLeaveTheSceneEmpty) {
    std::string truncated = MakePly(kPlyBinaryLittleEndian, FullMesh());
    truncated.resize(truncated.size() - 3);
    std::vector<std::string> dump =
        Import({WritePly("notply.ply", "hello\n"), WritePly("cut.ply", truncated)});
    EXPECT_EQ(last.status, 0u);  // both answered 1: the plug-in reported them itself
    EXPECT_EQ(dump, std::vector<std::string>{"end"});
}

TEST_F(ImportEndToEnd, MessagesReachTheUserWithAutoAnswers) {
    std::string truncated = MakePly(kPlyAscii, FullMesh());
    truncated.resize(truncated.size() - 4);
    Import({WritePly("cut2.ply", truncated)}, {"--auto"});
    ASSERT_EQ(header.size(), 2u) << last.out;
    EXPECT_EQ(header[1], "message Face-Reader: file read error");
}

// A configuration folder and a file name outside ASCII, in the ANSI code
// page: the settings file is written into that folder, read back from it,
// and the file's base name keeps its characters. Under a double-byte code
// page the name's trail byte is 0x5C, the backslash.
TEST_F(ImportEndToEnd, NonAsciiFolderAndFileNameImport) {
    const bool doubleByte = GetACP() == 932;
    const std::string folder = dir + (doubleByte ? "\\dossier_\x95\x5C" : "\\dossier_\xE9");
    const std::string base = doubleByte ? "\x95\x5C" : "w\xFCrfel";
    ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr) ||
                GetLastError() == ERROR_ALREADY_EXISTS);
    const std::string ply = folder + "\\" + base + ".ply";
    WriteBytes(ply, MakePly(kPlyAscii, FullMesh()));
    const std::string cfg = folder + "\\ks_dazazu.cfg";
    DeleteFileA(cfg.c_str());
    const std::vector<std::string> paths = {"--quiet", "--cfg-dir", folder, "--help-dir", folder};

    std::vector<std::string> dump = Import({ply}, paths);
    ASSERT_EQ(last.status, 0u) << last.out << last.err;
    ASSERT_FALSE(dump.empty());
    EXPECT_EQ(dump[0], "node " + base);
    EXPECT_EQ(ReadTextFile(cfg),
              std::string("\x03\0\0\0\x14\0\0\0\0\0\xC8\x42\x01\x01\x01\0\x01\x01\x01\x01", 20));

    // scale 1, no flip, no pivot: read back from the same folder
    const std::string bare("\x03\0\0\0\x14\0\0\0\0\0\x80\x3F\x01\0\0\0\0\0\0\0", 20);
    WriteBytes(cfg, bare);
    dump = Import({ply}, paths);
    ASSERT_EQ(last.status, 0u) << last.out << last.err;
    EXPECT_TRUE(Contains(dump, "transform 1 0 0 0 1 0 0 0 1 0 0 0"))
        << testing::PrintToString(dump);
    EXPECT_EQ(ReadTextFile(cfg), bare);
    EXPECT_EQ(GetFileAttributesA((cfg + ".tmp").c_str()), INVALID_FILE_ATTRIBUTES);
    DeleteFileA(cfg.c_str());
}

// Texture names of shares, namespaces and devices are never handed to the
// host: under wine the namespace names reach a real picture in another
// folder, so only the rule keeps them out. The share's and namespaces' file
// names are found beside the file, devices are left out, and the one
// message names them.
TEST_F(ImportEndToEnd, TextureNamesOfSharesAndDevicesStayLocal) {
    CreateDirectoryA((dir + "\\far").c_str(), nullptr);
    WriteBytes(dir + "\\far\\evil.png", "");
    WriteBytes(dir + "\\evil.png", "");
    WriteBytes(dir + "\\COM\xB9.png", "");
    std::string names =
        "comment TextureFile \\\\127.0.0.1\\share\\evil.png\n"
        "comment TextureFile \\\\.\\PhysicalDrive0\n"
        "comment TextureFile COM\xB9.png\n"
        "comment TextureFile Z:evil.png\n";
    for (const char* prefix : {"\\\\?\\unix", "\\??\\unix"}) {
        const std::string elsewhere = UnixNamespacePath(prefix, dir + "\\far\\evil.png");
        if (!elsewhere.empty()) names += "comment TextureFile " + elsewhere + "\n";
    }
    std::vector<TestElement> mesh = FullMesh();
    mesh.erase(mesh.begin() + 1);  // no material records: a material per texture
    std::string ply = MakePly(kPlyAscii, mesh);
    ply.insert(ply.find("element"), names);
    const std::vector<std::string> dump = Import({WritePly("hostile.ply", ply)}, {"--auto"});
    ASSERT_EQ(last.status, 0u) << last.out << last.err;
    ASSERT_EQ(header.size(), 2u) << last.out;
    EXPECT_EQ(header[1],
              "message 2 texture images were not found: \\\\.\\PhysicalDrive0, COM\xB9.png");
    int maps = 0;
    for (const std::string& line : dump) {
        if (line.find("map bitmap") == std::string::npos) continue;
        EXPECT_NE(line.find("map bitmap \"" + dir + "\\evil.png\""), std::string::npos) << line;
        ++maps;
    }
    EXPECT_EQ(maps, 2 + 2 * !UnixNamespacePath("", dir).empty()) << testing::PrintToString(dump);
}

// Every real file of the corpus imports through the reference host with
// prompts shown; only the files the corpus marks damaged show a message,
// and then just the reader's; files whose texture images are not in the
// corpus the one message that names them; and a file without vertices the
// message that says so, adding nothing.
// The values of a vertex or face property of the file, read on their own.
std::vector<float> FileValues(const std::string& path, const std::string& name) {
    PlyReader reader;
    std::vector<float> values;
    if (!reader.Open(path.c_str())) return values;
    for (int kind : {kElementVertex, kElementFace}) {
        int32_t count = reader.SeekElement(kind);
        const PlyElement* element = reader.Element(reader.CurrentElement());
        if (count <= 0 || !element) continue;
        const std::vector<int>& extras = element->extras.scalars;
        auto k = std::find_if(extras.begin(), extras.end(),
                              [&](int p) { return element->properties[size_t(p)].name == name; });
        if (k == extras.end()) continue;
        float position[3], extra[kMaxExtraValues];
        FaceExtras face;
        IndexList indices;
        int32_t corners = 0;
        for (int32_t i = 0; i < count; ++i) {
            const bool read =
                kind == kElementVertex
                    ? reader.ReadVertex(position, nullptr, nullptr, nullptr, nullptr, extra)
                    : reader.ReadFace(&corners, &indices, nullptr, &face);
            if (!read) return {};
            values.push_back(kind == kElementVertex ? extra[k - extras.begin()]
                                                    : face.values[k - extras.begin()]);
        }
    }
    return values;
}

// Each channel the node's user properties name holds values of the file's
// property of that name, in file order (the values of faces left out may
// be missing).
void ExpectChannelsHoldTheFilesValues(const std::string& path, const std::vector<std::string>& dump) {
    auto props = std::find_if(dump.begin(), dump.end(),
                              [](const std::string& l) { return l.rfind("userprops ", 0) == 0; });
    if (props == dump.end()) return;
    std::string text = props->substr(10) + "\\n";
    for (size_t at = 0, end; (end = text.find("\\n", at)) != std::string::npos; at = end + 2) {
        const std::string entry = text.substr(at, end - at);  // MapChannel:N = NAME
        const size_t colon = entry.find(':'), equals = entry.find(" = ");
        ASSERT_TRUE(colon != std::string::npos && equals != std::string::npos) << entry;
        const std::string channel = entry.substr(colon + 1, equals - colon - 1);
        const std::vector<float> file = FileValues(path, entry.substr(equals + 3));
        auto line = std::find_if(dump.begin(), dump.end(), [&](const std::string& l) {
            return l.rfind("map " + channel + " verts ", 0) == 0;
        });
        ASSERT_NE(line, dump.end()) << path << ": " << entry;
        size_t matched = 0;
        for (auto v = line + 1; v != dump.end() && v->rfind("mv ", 0) == 0; ++v) {
            const float value = std::stof(v->substr(3));
            while (matched < file.size() && !(file[matched] == value)) ++matched;
            ASSERT_LT(matched++, file.size()) << path << ": " << entry << " " << *v;
        }
        EXPECT_GT(matched, 0u) << path << ": " << entry;
    }
}

TEST_F(ImportEndToEnd, EveryCorpusFileImports) {
    const std::string corpus = KS_CORPUS_DIR_WIN;
    const std::string readme = ReadTextFile(corpus + "\\README.md");
    ASSERT_FALSE(readme.empty()) << corpus;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((corpus + "\\*.ply").c_str(), &found);
    ASSERT_NE(search, INVALID_HANDLE_VALUE);
    int files = 0, channels = 0;
    do {
        const std::string name = found.cFileName;
        const bool damaged = readme.find("| " + name + " | DAMAGED") != std::string::npos;
        std::vector<std::string> dump = Import({corpus + "\\" + name}, {"--auto"});
        ++files;
        EXPECT_EQ(last.status, 0u) << name << "\n" << last.out << last.err;
        ASSERT_FALSE(header.empty()) << name;
        EXPECT_EQ(header[0].substr(header[0].size() - 9), " result 1") << name;
        const bool noVertices =
            header.size() == 2 &&
            header[1] == "message the file holds no vertices: there is nothing to import";
        if (damaged) {
            EXPECT_EQ(header.size(), 2u) << name;
            EXPECT_TRUE(Contains(dump, "end")) << name;
        } else if (noVertices) {
            EXPECT_EQ(dump, std::vector<std::string>{"end"}) << name;
        } else {
            const bool texturesMissing =
                header.size() == 2 &&
                header[1].find(" texture images were not found: ") != std::string::npos;
            EXPECT_TRUE(header.size() == 1u || texturesMissing)
                << name << ": " << testing::PrintToString(header);
            EXPECT_TRUE(dump.size() > 1 && dump[0].rfind("node ", 0) == 0) << name;
            ExpectChannelsHoldTheFilesValues(corpus + "\\" + name, dump);
            channels += Contains(dump, "map 2 verts ", true);
        }
    } while (FindNextFileA(search, &found));
    FindClose(search);
    EXPECT_GE(files, 30);
    EXPECT_GE(channels, 4);  // the files with values of their own
}

// The PLY files of a folder, as full paths.
std::vector<std::string> PlyFilesIn(const std::string& folder) {
    std::vector<std::string> files;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "\\*.ply").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return files;
    do files.push_back(folder + "\\" + found.cFileName);
    while (FindNextFileA(search, &found));
    FindClose(search);
    return files;
}

// In the 64-bit tree: its host and plug-in import every corpus and example
// file exactly as the 32-bit ones built beside it do, with the same
// messages (a 64-bit prefix runs both), and draw the same toolkit panel.
// The real exporter: the scene exported in each encoding imports as it
// was; a read-only file is left as it was, with one message.
TEST_F(ImportEndToEnd, ExportedFilesImportAsTheScene) {
    const std::string source = WritePly("full.ply", MakePly(kAllFormats[0], FullMesh()));
    const std::vector<std::string> first = Import({source});
    for (const char* format : {"ascii", "binary_little_endian", "binary_big_endian"}) {
        const std::string folder = dir + "\\" + format;
        CreateDirectoryA(folder.c_str(), nullptr);
        const std::string out = folder + "\\full.ply";
        Import({source}, {"--auto", "--export", out, "--export-format", format});
        EXPECT_TRUE(Contains(SplitLines(last.out), out + ": export result 1, 5 vertices, 2 faces"))
            << last.out << last.err;
        EXPECT_EQ(SplitLines(ReadTextFile(out))[1], std::string("format ") + format + " 1.0");
        EXPECT_EQ(Import({out}), first) << format;
    }
    const std::string locked = dir + "\\ascii\\full.ply", before = ReadTextFile(locked);
    SetFileAttributesA(locked.c_str(), FILE_ATTRIBUTE_READONLY);
    Import({source}, {"--auto", "--export", locked});
    SetFileAttributesA(locked.c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_TRUE(Contains(SplitLines(last.out), locked + ": export result 0, 0 vertices, 0 faces"));
    EXPECT_TRUE(Contains(SplitLines(last.out), "message: Cannot replace " + locked, true));
    EXPECT_EQ(ReadTextFile(locked), before);
}

TEST_F(ImportEndToEnd, SixtyFourBitImportsEqualTheThirtyTwoBitOnes) {
    if (sizeof(void*) != 8) GTEST_SKIP() << "runs in the 64-bit tree";
    const std::string hosts[2] = {TestBinDir() + "\\plyhost.exe",
                                  TestBinDir() + "\\..\\..\\win32\\bin\\plyhost.exe"};
    ASSERT_NE(GetFileAttributesA(hosts[1].c_str()), INVALID_FILE_ATTRIBUTES) << hosts[1];
    // Both hosts at once, each with settings of its own.
    const auto runBoth = [&](const std::vector<std::string>& args, PlyhostResult(&results)[2]) {
        PlyhostChild children[2];
        for (int k = 0; k < 2; ++k) {
            std::vector<std::string> own = {"--cfg-dir", dir + "\\cfg" + std::to_string(k)};
            own.insert(own.end(), args.begin(), args.end());
            children[k] = StartPlyhost(own, dir, hosts[k]);
        }
        for (int k = 0; k < 2; ++k) results[k] = FinishPlyhost(children[k]);
    };
    std::vector<std::string> files = PlyFilesIn(KS_CORPUS_DIR_WIN);
    const std::vector<std::string> examples = PlyFilesIn(KS_EXAMPLES_DIR_WIN);
    files.insert(files.end(), examples.begin(), examples.end());
    EXPECT_GE(files.size(), 40u);
    // --auto adds the messages the dialogs showed to the dump.
    PlyhostResult r[2];
    for (const std::string& file : files) {
        for (const char* prompts : {"--quiet", "--auto"}) {
            runBoth({prompts, "--dump", "-", file}, r);
            EXPECT_EQ(r[0].status, r[1].status) << prompts << " " << file;
            EXPECT_FALSE(r[0].out.empty()) << prompts << " " << file;
            EXPECT_EQ(r[0].out, r[1].out) << prompts << " " << file;
        }
    }
    std::string snapshots[2];
    for (int k = 0; k < 2; ++k) {
        const std::string path = dir + "\\toolkit" + std::to_string(k) + ".bmp";
        PlyhostChild child = StartPlyhost({"--toolkit-snapshot", path}, dir, hosts[k]);
        EXPECT_EQ(FinishPlyhost(child).status, 0u);
        snapshots[k] = ReadTextFile(path);
    }
    EXPECT_FALSE(snapshots[0].empty());
    EXPECT_TRUE(snapshots[0] == snapshots[1]) << "the toolkit snapshots differ";
}

}  // namespace
