// The --auto driver against stand-in dialogs, in this process.
#include <gtest/gtest.h>

#include <memory>
#include <set>

#include "hostapp/autodriver_win.h"
#include "hostapp/cmdline.h"
#include "tests/hostapp/fakedialogs_win.h"

namespace {

AutoAnswers Answers(const std::vector<std::string>& args) {
    HostOptions o;
    std::vector<std::string> all = {"--auto"};
    all.insert(all.end(), args.begin(), args.end());
    ParseResult r = ParseCommandLine(all, o);
    EXPECT_TRUE(r.ok) << r.reason;
    return {o.settings, o.hasName, o.name, {}, -1};
}

class AutoDriverTest : public testing::Test {
  protected:
    void StartWatcher(bool answer, const AutoAnswers& answers = AutoAnswers()) {
        watcher.reset(new DialogWatcher(answer, answers));
        watcher->note = [this](const std::string& n) { notes.push_back(n); };
        watcher->Start();
    }
    void TearDown() override {
        if (watcher) watcher->Stop();
    }

    std::unique_ptr<DialogWatcher> watcher;
    std::vector<std::string> notes;
};

TEST_F(AutoDriverTest, OptionsDialogGetsTheSettingsAndImport) {
    StartWatcher(true, Answers({"--set", "replaceScene=0", "--set", "vertexColors=off", "--set",
                                "generateNormals=yes", "--set", "scale=2.5", "--name", "Box"}));
    FakeOptions o;
    ASSERT_EQ(RunFakeOptionsDialog(nullptr, o), 1);
    EXPECT_FALSE(o.replaceScene);
    EXPECT_FALSE(o.vertexColors);
    EXPECT_TRUE(o.generateNormals);
    EXPECT_TRUE(o.flipZY);  // untouched options keep what the dialog showed
    EXPECT_TRUE(o.materials);
    EXPECT_DOUBLE_EQ(o.scale, 2.5);
    EXPECT_EQ(o.name, "Box");
    EXPECT_TRUE(notes.empty());
}

// "Import" is clicked as with the mouse, so the focus moves to it, as it
// does for a user (a spinner commits its typed text on losing the focus).
TEST_F(AutoDriverTest, ImportIsClickedSoTheFocusMovesToIt) {
    for (const char* setting : {"flipZY=0", "scale=7"}) {
        SCOPED_TRACE(setting);
        StartWatcher(true, Answers({"--set", setting}));
        FakeOptions o;
        ASSERT_EQ(RunFakeOptionsDialog(nullptr, o), 1);
        EXPECT_EQ(o.focusAtImport, 1025);
        watcher->Stop();
    }
}

TEST_F(AutoDriverTest, SettingAStateAlreadyShownChangesNothing) {
    StartWatcher(true,
                 Answers({"--set", "flipZY=1", "--set", "materials=0", "--set", "materials=1"}));
    FakeOptions o;
    ASSERT_EQ(RunFakeOptionsDialog(nullptr, o), 1);
    EXPECT_TRUE(o.flipZY);
    EXPECT_TRUE(o.materials);
}

TEST_F(AutoDriverTest, DisabledCheckBoxIsLeftAsShownAndNoted) {
    StartWatcher(true, Answers({"--set", "vertexNormals=0"}));
    FakeOptions o;
    o.normalsAvailable = false;
    ASSERT_EQ(RunFakeOptionsDialog(nullptr, o), 1);
    EXPECT_TRUE(o.vertexNormals);
    ASSERT_EQ(notes.size(), 1u);
    EXPECT_NE(notes[0].find("vertexNormals"), std::string::npos);
    EXPECT_NE(notes[0].find("disabled"), std::string::npos);
}

TEST_F(AutoDriverTest, EmptyNameIsTypedAsEmpty) {
    StartWatcher(true, Answers({"--name", ""}));
    FakeOptions o;
    o.name = "bunny";
    ASSERT_EQ(RunFakeOptionsDialog(nullptr, o), 1);
    EXPECT_EQ(o.name, "");
}

TEST_F(AutoDriverTest, ToolkitStyleMessageBoxIsRecordedAndAnsweredWithOk) {
    StartWatcher(true);
    EXPECT_EQ(RunFakeMessageBox(nullptr, "file not found\nsecond line"), 1);
    EXPECT_EQ(RunFakeMessageBox(nullptr, "another"), 1);
    EXPECT_EQ(watcher->TakeMessages(),
              (std::vector<std::string>{"file not found\nsecond line", "another"}));
    EXPECT_TRUE(watcher->TakeMessages().empty());
}

TEST_F(AutoDriverTest, SystemMessageBoxIsRecordedAndAnsweredWithOk) {
    StartWatcher(true);
    EXPECT_EQ(MessageBoxA(nullptr, "from the system", "caption", MB_OK | MB_ICONEXCLAMATION), IDOK);
    EXPECT_EQ(watcher->TakeMessages(), std::vector<std::string>{"from the system"});
}

TEST_F(AutoDriverTest, MessageBoxOverTheOptionsDialogIsAnsweredFirst) {
    StartWatcher(true, Answers({"--name", "after"}));
    // The box comes up before the options dialog, as a header error would.
    EXPECT_EQ(RunFakeMessageBox(nullptr, "first"), 1);
    FakeOptions o;
    EXPECT_EQ(RunFakeOptionsDialog(nullptr, o), 1);
    EXPECT_EQ(o.name, "after");
    EXPECT_EQ(watcher->TakeMessages(), std::vector<std::string>{"first"});
}

// Plays a slow person: ends every dialog of this thread with 77 once it has
// been on screen for a whole tick, so a test can tell whether the watcher
// answered instead.
std::set<HWND> seenByPerson;

BOOL CALLBACK CloseIfSeenBefore(HWND w, LPARAM) {
    if (!IsWindowVisible(w)) return TRUE;
    if (seenByPerson.count(w))
        EndDialog(w, 77);
    else
        seenByPerson.insert(w);
    return TRUE;
}

void CALLBACK CloseAsPerson(HWND, UINT, UINT_PTR, DWORD) {
    EnumThreadWindows(GetCurrentThreadId(), CloseIfSeenBefore, 0);
}

TEST_F(AutoDriverTest, WithoutAnsweringItOnlyRecords) {
    StartWatcher(false, Answers({"--name", "ignored"}));
    UINT_PTR person = SetTimer(nullptr, 0, 400, CloseAsPerson);
    EXPECT_EQ(RunFakeMessageBox(nullptr, "seen only"), 77);
    FakeOptions o;
    o.name = "kept";
    EXPECT_EQ(RunFakeOptionsDialog(nullptr, o), 77);
    KillTimer(nullptr, person);
    EXPECT_EQ(o.name, "kept");
    EXPECT_EQ(watcher->TakeMessages(), std::vector<std::string>{"seen only"});
}

TEST(MessageBoxTextTest, UnreadableUserDataGivesAnEmptyText) {
    HWND w = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr,
                             nullptr);
    ASSERT_NE(w, nullptr);
    SetWindowLongPtrA(w, GWLP_USERDATA, 16);
    EXPECT_EQ(MessageBoxText(w), "");
    SetWindowLongPtrA(w, GWLP_USERDATA, 0);
    EXPECT_EQ(MessageBoxText(w), "");
    DestroyWindow(w);
}

}  // namespace
