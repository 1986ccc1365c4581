// The help lookup: the path it opens, the order in which it looks for the
// HTML Help control (registry, then by name, then ordinal 14), the help
// window's placement, "Help not found", and that a load failure is final.
// A stand-in control records the calls; the system's own control opens the
// real help file on its index.
#include <gtest/gtest.h>
#include <windows.h>
// After windows.h, which it needs.
#include <commctrl.h>

#include <atomic>
#include <string>

#include "frontend/help.h"
#include "tests/frontend/fake_htmlhelp_win.h"
#include "tests/frontend/options_test_support_win.h"
#include "tests/frontend/progress_test_support_win.h"
#include "toolkit/messagebox.h"

namespace {

const char kTestClassKey[] = "CLSID\\{5F0C3D7E-9A41-4C2B-8E6D-1B2A3C4D5E6F}\\InprocServer32";
const char kTestClassParent[] = "CLSID\\{5F0C3D7E-9A41-4C2B-8E6D-1B2A3C4D5E6F}";
const char kMissingClassKey[] = "CLSID\\{00000000-0000-0000-0000-00000000F00D}\\InprocServer32";
const char kMissingModule[] = "no_such_help_control.ocx";

std::string BinDir() {
    char exe[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, exe, sizeof exe);
    std::string path(exe);
    return path.substr(0, path.find_last_of('\\'));
}

std::string FakeControlPath() { return BinDir() + "\\fake_hhctrl.dll"; }

void RegisterTestClass(const std::string& path, DWORD type = REG_SZ) {
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CLASSES_ROOT, kTestClassKey, 0, nullptr, 0, KEY_WRITE, nullptr,
                              &key, nullptr),
              ERROR_SUCCESS);
    RegSetValueExA(key, nullptr, 0, type, reinterpret_cast<const BYTE*>(path.c_str()),
                   static_cast<DWORD>(path.size() + 1));
    RegCloseKey(key);
}

void UnregisterTestClass() {
    RegDeleteKeyA(HKEY_CLASSES_ROOT, kTestClassKey);
    RegDeleteKeyA(HKEY_CLASSES_ROOT, kTestClassParent);
}

// What one press of "Help" showed.
struct Press {
    bool boxShown = false;
    std::string text;
    HWND boxOwner = nullptr;
};

// The first visible top-level window of this process in z-order.
BOOL CALLBACK FindTopmostOfOurs(HWND window, LPARAM found) {
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (process != GetCurrentProcessId() || !IsWindowVisible(window)) return TRUE;
    *reinterpret_cast<HWND*>(found) = window;
    return FALSE;
}

HWND TopmostOfOurs() {
    HWND found = nullptr;
    EnumWindows(FindTopmostOfOurs, reinterpret_cast<LPARAM>(&found));
    return found;
}

class HelpLookupTest : public ::testing::Test, public ImporterFixture {
  protected:
    void SetUp() override {
        fakeModule = LoadLibraryA(FakeControlPath().c_str());
        ASSERT_NE(fakeModule, nullptr);
        fake = reinterpret_cast<FakeHelpStateFunction>(
            reinterpret_cast<void*>(GetProcAddress(fakeModule, "FakeHelpStateOf")))();
        fake->calls = 0;
        fake->answerNone = 0;
        core.SetDir(APP_HELP_DIR, "C:\\host\\help");
    }
    void TearDown() override {
        SetHtmlHelpLookup(kSystemHtmlHelp);
        UnregisterTestClass();
        if (fake && fake->window && IsWindow(fake->window)) DestroyWindow(fake->window);
    }

    // Presses "Help" for owner and answers the message box, if one shows.
    Press PressHelp(HWND owner) {
        Press press;
        std::atomic<bool> done{false};
        Watcher watcher([&] {
            while (!done) {
                HWND box = WaitForOwnedDialog(owner, 0);
                if (box && IsToolkitMessageBox(box)) {
                    const MessageRecord* record = reinterpret_cast<const MessageRecord*>(
                        GetWindowLongPtrA(box, GWLP_USERDATA));
                    press.boxShown = true;
                    press.text = record ? record->text : "";
                    press.boxOwner = GetWindow(box, GW_OWNER);
                    ClickItem(box, 1);
                    WaitUntilGone(box);
                }
                Sleep(5);
            }
        });
        ShowHelp(owner, *importer);
        done = true;
        watcher.Join();
        return press;
    }

    HMODULE fakeModule = nullptr;
    FakeHelpState* fake = nullptr;
};

TEST_F(HelpLookupTest, ThePathIsTheHelpFolderTwoBackslashesAndTheFileName) {
    EXPECT_STREQ(HelpFilePath(*importer).data(), "C:\\host\\help\\\\ksDazAzu.chm");
}

TEST_F(HelpLookupTest, TheRegisteredControlOpensTheIndexAtTheTopLeft) {
    RegisterTestClass(FakeControlPath());
    SetHtmlHelpLookup({kTestClassKey, kMissingModule});
    const Press press = PressHelp(mainWindow.Window());
    EXPECT_FALSE(press.boxShown);
    ASSERT_EQ(fake->calls, 1);
    EXPECT_EQ(fake->owner, mainWindow.Window());
    EXPECT_STREQ(fake->path, "C:\\host\\help\\\\ksDazAzu.chm");
    EXPECT_EQ(fake->command, 2u);  // HH_DISPLAY_INDEX
    EXPECT_EQ(fake->data, 0u);
    ASSERT_NE(fake->window, nullptr);
    RECT rect;
    GetWindowRect(fake->window, &rect);
    EXPECT_EQ(rect.left, 0);
    EXPECT_EQ(rect.top, 0);
    EXPECT_EQ(rect.right, 200);  // its size kept
    EXPECT_EQ(rect.bottom, 150);
    EXPECT_EQ(TopmostOfOurs(), fake->window);
}

// The name here loads, but as no help control: only a lookup that tries
// the registered path first finds the control.
TEST_F(HelpLookupTest, TheRegisteredPathIsTriedBeforeTheName) {
    char exe[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, exe, sizeof exe);  // a program exports nothing
    RegisterTestClass(FakeControlPath());
    SetHtmlHelpLookup({kTestClassKey, exe});
    const Press press = PressHelp(mainWindow.Window());
    EXPECT_FALSE(press.boxShown) << press.text;
    EXPECT_EQ(fake->calls, 1);
}

// As newer systems register it: "%SystemRoot%\System32\hhctrl.ocx".
TEST_F(HelpLookupTest, ARegisteredPathWithVariablesIsExpanded) {
    SetEnvironmentVariableA("KS_FAKE_HELP_DIR", BinDir().c_str());
    RegisterTestClass("%KS_FAKE_HELP_DIR%\\fake_hhctrl.dll", REG_EXPAND_SZ);
    SetHtmlHelpLookup({kTestClassKey, kMissingModule});
    const Press press = PressHelp(mainWindow.Window());
    EXPECT_FALSE(press.boxShown) << press.text;
    EXPECT_EQ(fake->calls, 1);
}

TEST_F(HelpLookupTest, WithoutTheRegistryEntryTheControlIsLoadedByName) {
    SetHtmlHelpLookup({kMissingClassKey, "fake_hhctrl.dll"});
    const Press press = PressHelp(mainWindow.Window());
    EXPECT_FALSE(press.boxShown);
    EXPECT_EQ(fake->calls, 1);
}

// A registered path that does not load falls back to the name as well.
TEST_F(HelpLookupTest, ARegisteredPathThatDoesNotLoadFallsBackToTheName) {
    RegisterTestClass("C:\\nowhere\\hhctrl.ocx");
    SetHtmlHelpLookup({kTestClassKey, "fake_hhctrl.dll"});
    PressHelp(mainWindow.Window());
    EXPECT_EQ(fake->calls, 1);
}

TEST_F(HelpLookupTest, NoHelpWindowSaysHelpNotFound) {
    SetHtmlHelpLookup({kMissingClassKey, "fake_hhctrl.dll"});
    fake->answerNone = 1;
    const Press press = PressHelp(mainWindow.Window());
    EXPECT_EQ(fake->calls, 1);
    EXPECT_TRUE(press.boxShown);
    EXPECT_EQ(press.text, "Help not found");
    EXPECT_EQ(press.boxOwner, mainWindow.Window());
}

TEST_F(HelpLookupTest, WithoutPromptsNothingIsShown) {
    SetHtmlHelpLookup({kMissingClassKey, kMissingModule});
    importer->showPrompts = 0;
    const Press press = PressHelp(mainWindow.Window());
    EXPECT_FALSE(press.boxShown);
}

TEST_F(HelpLookupTest, AfterALoadFailureEveryPressSaysSoAtOnce) {
    SetHtmlHelpLookup({kTestClassKey, kMissingModule});
    const Press first = PressHelp(mainWindow.Window());
    EXPECT_TRUE(first.boxShown);
    EXPECT_EQ(first.text, "Help not found");
    // The control can be found now, but nothing looks for it any more.
    RegisterTestClass(FakeControlPath());
    for (int i = 0; i < 2; ++i) {
        const Press later = PressHelp(mainWindow.Window());
        EXPECT_TRUE(later.boxShown);
        EXPECT_EQ(later.text, "Help not found");
    }
    EXPECT_EQ(fake->calls, 0);
    EXPECT_EQ(CallHtmlHelp(mainWindow.Window(), "x.chm", 2, 0), nullptr);
}

// A module without ordinal 14 is no help control: that failure is final too.
TEST_F(HelpLookupTest, AModuleWithoutOrdinal14IsALoadFailure) {
    char exe[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, exe, sizeof exe);  // a program exports nothing
    SetHtmlHelpLookup({kMissingClassKey, exe});
    EXPECT_EQ(PressHelp(mainWindow.Window()).text, "Help not found");
    RegisterTestClass(FakeControlPath());
    EXPECT_EQ(PressHelp(mainWindow.Window()).text, "Help not found");
    EXPECT_EQ(fake->calls, 0);
}

TEST_F(HelpLookupTest, TheOptionsDialogsHelpButtonKeepsTheDialogOpen) {
    SetHtmlHelpLookup({kMissingClassKey, "fake_hhctrl.dll"});
    HWND dialogSeen = nullptr;
    bool openAfterHelp = false;
    DriveOptionsDialog(*importer, [&](HWND d) {
        dialogSeen = d;
        ClickItem(d, 9);
        openAfterHelp = IsWindowVisible(d) != FALSE;
        ClickItem(d, 2);
    });
    EXPECT_EQ(fake->calls, 1);
    EXPECT_EQ(fake->owner, dialogSeen);
    EXPECT_TRUE(openAfterHelp);
}

// The system's HTML Help control with the help file that the build compiles.
class SystemHelpTest : public HelpLookupTest {
  protected:
    void SetUp() override {
        HelpLookupTest::SetUp();
        SetHtmlHelpLookup(kSystemHtmlHelp);
        helpDir = BinDir() + "\\help";
        core.SetDir(APP_HELP_DIR, helpDir.c_str());
    }
    std::string helpDir;
};

struct HelpWindowSearch {
    const char* title;
    HWND found;
};

BOOL CALLBACK FindHelpWindow(HWND window, LPARAM search) {
    HelpWindowSearch* s = reinterpret_cast<HelpWindowSearch*>(search);
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (process == GetCurrentProcessId() && IsWindowVisible(window) &&
        WindowText(window) == s->title) {
        s->found = window;
        return FALSE;
    }
    return TRUE;
}

BOOL CALLBACK FindTabs(HWND window, LPARAM found) {
    if (ClassName(window) != "SysTabControl32") return TRUE;
    *reinterpret_cast<HWND*>(found) = window;
    return FALSE;
}

// Closed by the user, it opens again on the next press.
TEST_F(SystemHelpTest, OpensTheHelpFileOnItsIndex) {
    if (GetFileAttributesA((helpDir + "\\ksDazAzu.chm").c_str()) == INVALID_FILE_ATTRIBUTES)
        GTEST_SKIP() << "no compiled help file in " << helpDir;
    for (int press = 0; press < 2; ++press) {
        SCOPED_TRACE(press);
        const Press shown = PressHelp(mainWindow.Window());
        EXPECT_FALSE(shown.boxShown) << shown.text;
        HelpWindowSearch search = {"ks::DazAzu - PLY Importer Help", nullptr};
        EnumWindows(FindHelpWindow, reinterpret_cast<LPARAM>(&search));
        ASSERT_NE(search.found, nullptr);
        RECT rect;
        GetWindowRect(search.found, &rect);
        EXPECT_EQ(rect.left, 0);
        EXPECT_EQ(rect.top, 0);
        HWND tabs = nullptr;
        EnumChildWindows(search.found, FindTabs, reinterpret_cast<LPARAM>(&tabs));
        ASSERT_NE(tabs, nullptr);
        EXPECT_EQ(SendMessageA(tabs, TCM_GETCURSEL, 0, 0), 1);  // Contents, Index, Search
        SendMessageA(search.found, WM_CLOSE, 0, 0);             // as the user closes it
    }
}

TEST_F(SystemHelpTest, AMissingHelpFileSaysHelpNotFound) {
    core.SetDir(APP_HELP_DIR, TestFolder("ks_no_help").c_str());
    const Press press = PressHelp(mainWindow.Window());
    EXPECT_TRUE(press.boxShown);
    EXPECT_EQ(press.text, "Help not found");
}

}  // namespace
