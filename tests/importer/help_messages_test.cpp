// The help page of messages against the texts the code can show: every
// message the page explains must be one the code has, and every message the
// code has must be explained there. Read from the sources themselves, so the
// two cannot drift apart.
#include <gtest/gtest.h>

#include <fstream>
#include <regex>
#include <set>
#include <sstream>
#include <string>

namespace {

std::string ReadSource(const std::string& relative) {
    std::ifstream in(std::string(KS_SOURCE_DIR) + "/" + relative, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

// The value of one C string literal body, escapes resolved.
std::string Unescape(const std::string& body) {
    std::string text;
    for (size_t i = 0; i < body.size(); ++i) {
        if (body[i] != '\\' || i + 1 == body.size()) {
            text += body[i];
            continue;
        }
        const char c = body[++i];
        text += c == 'n' ? '\n' : c == 't' ? '\t' : c;
    }
    return text;
}

const char* const kLiteral = R"re("((?:[^"\\]|\\.)*)")re";

// Each constant of a messages header: `const char* const kName = "…" "…";`.
std::set<std::string> HeaderMessages(const std::string& relative) {
    std::set<std::string> texts;
    const std::string source = ReadSource(relative);
    const std::regex constant(R"re(=\s*((?:"(?:[^"\\]|\\.)*"\s*)+);)re");
    const std::regex literal(kLiteral);
    for (std::sregex_iterator c(source.begin(), source.end(), constant), end; c != end; ++c) {
        const std::string pieces = (*c)[1];
        std::string text;
        for (std::sregex_iterator l(pieces.begin(), pieces.end(), literal); l != end; ++l)
            text += Unescape((*l)[1]);
        texts.insert(text);
    }
    return texts;
}

// String-table entries that are messages (the rest are names and labels).
std::set<std::string> StringTableMessages() {
    const char* const ids[] = {"IDS_CONTROLS_FAILED",    "IDS_HELP_NOT_FOUND",
                               "IDS_NO_MEMORY_VERTICES", "IDS_NO_MEMORY_TVERTICES",
                               "IDS_NO_MEMORY_TVFACES",  "IDS_NO_MEMORY_CVERTICES",
                               "IDS_NO_MEMORY_CVFACES",  "IDS_NO_MEMORY_FACES",
                               "IDS_NO_IMPORT_THREAD",   "IDS_NODE_FAILED"};
    const std::string script = ReadSource("resources/ks_dazazu.rc");
    std::set<std::string> texts;
    for (const char* id : ids) {
        std::smatch m;
        const std::regex entry(std::string("\\n\\s*") + id + "\\s+" + kLiteral);
        if (std::regex_search(script, m, entry))
            texts.insert(Unescape(m[1]));
        else
            ADD_FAILURE() << id << " not in the string table";
    }
    return texts;
}

// The page's messages: each <span class="msg">; a line break inside one is
// "\n", an <i>placeholder</i> is the "%d" the code formats and a
// <var>placeholder</var> its "%s".
std::set<std::string> HelpMessages() {
    const std::string page = ReadSource("help/messages.html");
    const std::regex span(R"re(<span class="msg">([\s\S]*?)</span>)re");
    std::set<std::string> texts;
    for (std::sregex_iterator s(page.begin(), page.end(), span), end; s != end; ++s) {
        std::string text = std::regex_replace(std::string((*s)[1]), std::regex(R"(\s+)"), " ");
        text = std::regex_replace(text, std::regex("<br>"), "\n");
        text = std::regex_replace(text, std::regex("<i>[^<]*</i>"), "%d");
        text = std::regex_replace(text, std::regex("<var>[^<]*</var>"), "%s");
        text = std::regex_replace(text, std::regex("&quot;"), "\"");
        text = std::regex_replace(text, std::regex("&lt;"), "<");
        text = std::regex_replace(text, std::regex("&gt;"), ">");
        text = std::regex_replace(text, std::regex("&amp;"), "&");
        texts.insert(text);
    }
    return texts;
}

TEST(HelpMessages, ThePageExplainsExactlyTheMessagesTheCodeCanShow) {
    std::set<std::string> code = HeaderMessages("ply/ply_messages.h");
    const std::set<std::string> build = HeaderMessages("importer/build_messages.h");
    const std::set<std::string> table = StringTableMessages();
    code.insert(build.begin(), build.end());
    code.insert(table.begin(), table.end());
    ASSERT_GT(code.size(), 20u);
    const std::set<std::string> help = HelpMessages();
    for (const std::string& text : code)
        EXPECT_TRUE(help.count(text)) << "not in the help page: " << testing::PrintToString(text);
    for (const std::string& text : help)
        EXPECT_TRUE(code.count(text)) << "the code never shows: " << testing::PrintToString(text);
}

}  // namespace
