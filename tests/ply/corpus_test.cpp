// Smoke test over real PLY files written by other programs: plydump must read
// each one to its end, except the files the corpus README marks DAMAGED,
// which must fail with the reader's message and nothing else.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

const char* const kCorpusDir = KS_CORPUS_DIR_PATH;
const char* const kPlydump = PLYDUMP_PATH;

// The messages the damaged files are known to fail with.
const std::map<std::string, std::string> kExpectedFailures = {
    {"assimp_issue623_malformed_ascii.ply", "number of properties (7) != number of read data (6)"},
    {"turk_spec_box_inline_braces_ascii.ply", "error in ply-header"},
};

std::vector<std::string> CorpusFiles() {
    std::vector<std::string> names;
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(kCorpusDir, error)) {
        if (entry.path().extension() == ".ply") names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

// File names in the README's table rows that say DAMAGED.
std::set<std::string> DamagedFiles() {
    std::set<std::string> names;
    std::ifstream readme(fs::path(kCorpusDir) / "README.md");
    std::string line;
    while (std::getline(readme, line)) {
        if (line.rfind("| ", 0) != 0 || line.find("DAMAGED") == std::string::npos) continue;
        const size_t end = line.find(" |", 2);
        if (end != std::string::npos) names.insert(line.substr(2, end - 2));
    }
    return names;
}

struct DumpResult {
    int status = -1;
    std::vector<std::string> lines;
};

DumpResult RunPlydump(const std::string& path) {
    DumpResult result;
    const std::string command = std::string("'") + kPlydump + "' '" + path + "'";
    std::FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return result;
    std::string text;
    char chunk[65536];
    size_t got;
    while ((got = std::fread(chunk, 1, sizeof chunk, pipe)) > 0) text.append(chunk, got);
    const int status = pclose(pipe);
    result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    std::istringstream stream(text);
    std::string line;
    while (std::getline(stream, line)) result.lines.push_back(line);
    return result;
}

long CountAfter(const std::vector<std::string>& lines, const std::string& prefix) {
    for (const std::string& line : lines) {
        if (line.rfind(prefix, 0) == 0) return std::stol(line.substr(prefix.size()));
    }
    return -1;
}

// Count of the first element of this name in the dumped schema, 0 when none.
long ElementCount(const std::vector<std::string>& lines, const std::string& name) {
    for (const std::string& line : lines) {
        std::istringstream fields(line);
        std::string keyword, element;
        long count = 0;
        fields >> keyword >> element >> count;
        if (keyword == "element" && element == name) return count;
    }
    return 0;
}

class Corpus : public ::testing::TestWithParam<std::string> {};

std::string TestName(const ::testing::TestParamInfo<std::string>& info) {
    std::string name = info.param;
    for (char& c : name) {
        if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
    }
    return name;
}

}  // namespace

TEST(CorpusDirectory, HoldsFilesAndItsReadme) {
    EXPECT_TRUE(fs::exists(fs::path(kCorpusDir) / "README.md")) << kCorpusDir;
    EXPECT_GE(CorpusFiles().size(), 10u) << kCorpusDir;
    EXPECT_GE(DamagedFiles().size(), 1u);
}

// The range scan's grid of 512 by 400 cells is its surface.
TEST(CorpusRangeGrid, BunnyScanGivesItsTriangles) {
    const DumpResult dump =
        RunPlydump((fs::path(kCorpusDir) / "stanford_bun000_rangegrid_ascii.ply").string());
    EXPECT_EQ(CountAfter(dump.lines, "triangles "), 79312);
}

// The names of the extra properties once, their values on each record.
TEST(CorpusExtras, PlydumpPrintsTheExtraValues) {
    const DumpResult dump = RunPlydump(
        (fs::path(kCorpusDir) / "cgal_colored_tetra_edges_facecolor_ascii.ply").string());
    ASSERT_EQ(dump.status, 0);
    const auto has = [&](const std::string& line) {
        return std::find(dump.lines.begin(), dump.lines.end(), line) != dump.lines.end();
    };
    EXPECT_TRUE(has("extras id"));
    EXPECT_TRUE(has("extras label"));
    EXPECT_TRUE(has("v 1 0 0 0 -0.5 -0.5 0 0 0 1 0.501960814 0 e 3"));
    EXPECT_TRUE(has("f 3 0 3 1 -1 rgba 0 1 0 1 e 1"));
}

TEST_P(Corpus, ReadsToTheEndOrFailsWithTheReadersMessage) {
    const std::string name = GetParam();
    const DumpResult dump = RunPlydump((fs::path(kCorpusDir) / name).string());
    ASSERT_FALSE(dump.lines.empty());
    const std::string& last = dump.lines.back();
    if (DamagedFiles().count(name)) {
        EXPECT_EQ(dump.status, 1);
        ASSERT_EQ(last.rfind("error ", 0), 0u) << last;
        const auto expected = kExpectedFailures.find(name);
        if (expected != kExpectedFailures.end()) {
            EXPECT_EQ(last, "error " + expected->second);
        }
        return;
    }
    EXPECT_EQ(dump.status, 0) << last;
    ASSERT_NE(last.rfind("error ", 0), 0u) << last;

    // Every record was read, and the faces (or strips) yield the triangles counted.
    const long vertices = CountAfter(dump.lines, "vertices ");
    const long triangles = CountAfter(dump.lines, "triangles ");
    long vertexLines = 0, faceLines = 0, materialLines = 0, fanTriangles = 0, stripTriangles = 0;
    for (const std::string& line : dump.lines) {
        if (line.rfind("v ", 0) == 0) ++vertexLines;
        if (line.rfind("m ", 0) == 0) ++materialLines;
        if (line.rfind("t ", 0) == 0) ++stripTriangles;
        if (line.rfind("f ", 0) == 0) {
            ++faceLines;
            const long n = std::stol(line.substr(2));
            if (n >= 3) fanTriangles += n - 2;
        }
    }
    EXPECT_EQ(vertexLines, vertices);
    EXPECT_EQ(faceLines, ElementCount(dump.lines, "face"));
    EXPECT_EQ(materialLines, ElementCount(dump.lines, "material"));
    EXPECT_EQ(fanTriangles + stripTriangles, triangles);
}

INSTANTIATE_TEST_SUITE_P(RealFiles, Corpus, ::testing::ValuesIn(CorpusFiles()), TestName);
GTEST_ALLOW_UNINSTANTIATED_PARAMETERIZED_TEST(Corpus);
