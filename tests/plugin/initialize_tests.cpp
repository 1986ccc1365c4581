#include <gtest/gtest.h>

#include <string>

#include "tests/plugin/plugin_library.h"
#include "tests/support/fake_class_registration_win.h"
#include "tests/support/message_box_watcher_win.h"

namespace {

TEST(LibInitialize, RegistersTheToolkitOnceAndAnswersOneTwice) {
    auto libInitialize = PluginEntry<LibInitializeFn>("LibInitialize");
    ASSERT_NE(libInitialize, nullptr);
    MessageBoxWatcher boxes;
    EXPECT_EQ(libInitialize(), 1);
    EXPECT_EQ(libInitialize(), 1);
    EXPECT_TRUE(boxes.Seen().empty());
    WNDCLASSA registered = {};
    ASSERT_TRUE(GetClassInfoA(PluginLibrary(), "ksMenu", &registered));
    EXPECT_EQ(registered.style, 0x80Bu);
    ASSERT_TRUE(GetClassInfoA(PluginLibrary(), "ksProgressCtrl", &registered));
    EXPECT_EQ(registered.cbWndExtra, int(sizeof(void*)));  // one pointer
}

// A second copy of the library under another name is a module of its own,
// with its own initialised flag, so its start-up can be made to fail.
class PluginCopy {
  public:
    PluginCopy() {
        char dir[MAX_PATH] = "";
        GetTempPathA(MAX_PATH, dir);
        path = std::string(dir) + "ks_dazazu_regfail_" + std::to_string(GetCurrentProcessId()) +
               ".dli";
        if (CopyFileA(PluginPath().c_str(), path.c_str(), FALSE))
            module = LoadLibraryA(path.c_str());
    }
    ~PluginCopy() {
        if (module) FreeLibrary(module);
        DeleteFileA(path.c_str());
    }
    std::string path;
    HMODULE module = nullptr;
};

TEST(LibInitialize, AFailedRegistrationIsReportedOnceAndNotRetried) {
    PluginCopy copy;
    ASSERT_NE(copy.module, nullptr) << copy.path;
    ASSERT_NE(copy.module, PluginLibrary());
    auto libInitialize = PluginEntry<LibInitializeFn>(copy.module, "LibInitialize");
    ASSERT_NE(libInitialize, nullptr);

    FakeClassRegistration fake(copy.module, "ksSpinner", ERROR_NOT_ENOUGH_MEMORY);
    ASSERT_TRUE(fake.Installed());
    MessageBoxWatcher boxes;
    EXPECT_EQ(libInitialize(), 0);
    EXPECT_EQ(fake.Attempts().size(), 7u);
    std::vector<SeenMessageBox> seen = boxes.Seen();
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0].caption, "ksSpinner");
    EXPECT_EQ(seen[0].text, "Failed to Create");
    EXPECT_EQ(seen[1].caption, "ze::DOR Irudoz");
    EXPECT_EQ(seen[1].text, "Failed to create some custom controls\n sorry...");
    for (const RegistrationAttempt& attempt : fake.Attempts())
        EXPECT_EQ(attempt.description.hInstance, copy.module) << attempt.name;

    EXPECT_EQ(libInitialize(), 1);
    EXPECT_EQ(fake.Attempts().size(), 7u);
    EXPECT_EQ(boxes.Seen().size(), 2u);
}

}  // namespace
