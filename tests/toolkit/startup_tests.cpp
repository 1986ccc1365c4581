#include <gtest/gtest.h>
#include <windows.h>

#include "tests/support/fake_class_registration_win.h"
#include "tests/support/message_box_watcher_win.h"
#include "toolkit/startup.h"

namespace {

struct ExpectedClass {
    const char* name;
    UINT style;
};

const ExpectedClass kExpectedClasses[] = {
    {"ksStatic", 3},    {"ksGroupBox", 3},   {"ksButton", 3},          {"ksArrowButton", 3},
    {"ksCheckBox", 3},  {"ksSpinButton", 3}, {"ksSpinner", 3},         {"ksListBox", 11},
    {"ksComboBox", 11}, {"ksScrollBar", 11}, {"ksInplaceEdit", 0x80B}, {"ksMenu", 0x80B},
    {"ksTreeCtrl", 11}, {"ksListCtrl", 11},  {"ksProgressCtrl", 11},
};
const int kClassCount = sizeof kExpectedClasses / sizeof kExpectedClasses[0];

HINSTANCE ThisModule() { return GetModuleHandleA(nullptr); }

// A made-up instance, so the fake's records never collide with real classes.
HINSTANCE FakeModule() { return reinterpret_cast<HINSTANCE>(0x5A5A0000); }

TEST(ToolkitRegistration, RegistersFifteenClassesInOrderWithTheirDescriptions) {
    FakeClassRegistration fake(ThisModule(), nullptr, 0);
    ASSERT_TRUE(fake.Installed());
    MessageBoxWatcher boxes;
    EXPECT_EQ(RegisterToolkitClasses(FakeModule()), 1);
    ASSERT_EQ(static_cast<int>(fake.Attempts().size()), kClassCount);
    HCURSOR arrow = LoadCursorA(nullptr, IDC_ARROW);
    for (int i = 0; i < kClassCount; ++i) {
        const RegistrationAttempt& attempt = fake.Attempts()[i];
        SCOPED_TRACE(attempt.name);
        EXPECT_EQ(attempt.name, kExpectedClasses[i].name);
        EXPECT_EQ(attempt.description.style, kExpectedClasses[i].style);
        EXPECT_EQ(attempt.description.cbWndExtra, int(sizeof(void*)));  // one pointer
        EXPECT_EQ(attempt.description.cbClsExtra, 0);
        EXPECT_EQ(attempt.description.hInstance, FakeModule());
        EXPECT_EQ(attempt.description.hCursor, arrow);
        EXPECT_EQ(attempt.description.hIcon, nullptr);
        EXPECT_EQ(attempt.description.hbrBackground, nullptr);
        EXPECT_EQ(attempt.description.lpszMenuName, nullptr);
        EXPECT_NE(attempt.description.lpfnWndProc, nullptr);
    }
    EXPECT_TRUE(boxes.Seen().empty());
}

TEST(ToolkitRegistration, AFailureShowsOneMessageAndStopsTheStartUp) {
    FakeClassRegistration fake(ThisModule(), "ksSpinner", ERROR_NOT_ENOUGH_MEMORY);
    ASSERT_TRUE(fake.Installed());
    MessageBoxWatcher boxes;
    EXPECT_EQ(RegisterToolkitClasses(FakeModule()), 0);
    // ksSpinner is the seventh class; the eight after it are not attempted.
    ASSERT_EQ(fake.Attempts().size(), 7u);
    EXPECT_EQ(fake.Attempts().back().name, "ksSpinner");
    std::vector<SeenMessageBox> seen = boxes.Seen();
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].caption, "ksSpinner");
    EXPECT_EQ(seen[0].text, "Failed to Create");
}

TEST(ToolkitRegistration, AClassThatExistsAlreadyCountsAsRegistered) {
    FakeClassRegistration fake(ThisModule(), "ksButton", ERROR_CLASS_ALREADY_EXISTS);
    ASSERT_TRUE(fake.Installed());
    MessageBoxWatcher boxes;
    EXPECT_EQ(RegisterToolkitClasses(FakeModule()), 1);
    EXPECT_EQ(static_cast<int>(fake.Attempts().size()), kClassCount);
    EXPECT_TRUE(boxes.Seen().empty());
}

TEST(ToolkitRegistration, RegisteringTwiceSucceedsWithoutAMessage) {
    MessageBoxWatcher boxes;
    EXPECT_EQ(RegisterToolkitClasses(ThisModule()), 1);
    EXPECT_EQ(RegisterToolkitClasses(ThisModule()), 1);
    EXPECT_TRUE(boxes.Seen().empty());
    for (const ExpectedClass& expected : kExpectedClasses) {
        SCOPED_TRACE(expected.name);
        WNDCLASSA registered = {};
        ASSERT_TRUE(GetClassInfoA(ThisModule(), expected.name, &registered));
        EXPECT_EQ(registered.style, expected.style);
        EXPECT_EQ(registered.cbWndExtra, int(sizeof(void*)));  // one pointer
    }
}

TEST(ToolkitRegistration, RegisteredClassesMakeWindows) {
    ASSERT_EQ(RegisterToolkitClasses(ThisModule()), 1);
    HWND window = CreateWindowExA(0, "ksStatic", "", WS_POPUP, 0, 0, 40, 10, nullptr, nullptr,
                                  ThisModule(), nullptr);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(GetWindowLongPtrA(window, 0), 0);  // the record slot starts empty
    DestroyWindow(window);
}

}  // namespace
