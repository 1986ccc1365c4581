#include <gtest/gtest.h>
#include <windows.h>

#include "hostsdk/colorman.h"
#include "toolkit/colours.h"
#include "toolkit/fonts.h"
#include "toolkit/subclass.h"
#include "toolkit/window_record.h"

namespace {

TEST(ToolkitColours, ComeFromTheHostColourManager) {
    IColorManager* manager = GetColorManager();
    ASSERT_NE(manager, nullptr);
    for (int index : {0, 1, 4, 5, 6, 7, 11, 15, 16})
        EXPECT_EQ(ToolkitColour(index), manager->GetColor(index));
    EXPECT_EQ(ToolkitBrush(kFieldColour), manager->GetBrush(kFieldColour));
    EXPECT_NE(ToolkitBrush(kFieldColour), nullptr);
}

// A window with the toolkit's 4 extra bytes.
class RecordWindowTest : public ::testing::Test {
  protected:
    void SetUp() override {
        WNDCLASSA description = {};
        description.lpfnWndProc = DefWindowProcA;
        description.cbWndExtra = sizeof(void*);
        description.hInstance = GetModuleHandleA(nullptr);
        description.lpszClassName = "ksRecordTestWindow";
        RegisterClassA(&description);
        window = CreateWindowExA(0, "ksRecordTestWindow", "", WS_POPUP, 0, 0, 10, 10, nullptr,
                                 nullptr, GetModuleHandleA(nullptr), nullptr);
        ASSERT_NE(window, nullptr);
    }
    void TearDown() override { DestroyWindow(window); }

    HWND window = nullptr;
};

struct SampleRecord {
    int values[16];
};

TEST_F(RecordWindowTest, RecordIsZeroFilledAndKeptInTheExtraBytes) {
    SampleRecord* record = CreateWindowRecord<SampleRecord>(window);
    ASSERT_NE(record, nullptr);
    for (int v : record->values) EXPECT_EQ(v, 0);
    EXPECT_EQ(GetWindowLongPtrA(window, 0), reinterpret_cast<LONG_PTR>(record));
    EXPECT_EQ(GetWindowRecord<SampleRecord>(window), record);
    DestroyWindowRecord(window);
    EXPECT_EQ(GetWindowLongPtrA(window, 0), 0);
    EXPECT_EQ(GetWindowRecord<SampleRecord>(window), nullptr);
    DestroyWindowRecord(window);  // a second free is harmless
}

TEST_F(RecordWindowTest, ControlFontFollowsBitZeroOfTheUserData) {
    SetWindowLongPtrA(window, GWLP_USERDATA, 0);
    EXPECT_EQ(ControlFont(window), GetToolkitFont(0));
    SetWindowLongPtrA(window, GWLP_USERDATA, 1);
    EXPECT_EQ(ControlFont(window), GetToolkitFont(1));
    SetWindowLongPtrA(window, GWLP_USERDATA, 2);
    EXPECT_EQ(ControlFont(window), GetToolkitFont(0));
}

SubclassSlot editSlot;
int swallowedMessages;
const UINT kSwallowed = WM_APP + 1;

LRESULT CALLBACK CountingEditProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == kSwallowed) {
        ++swallowedMessages;
        return 42;
    }
    return CallSubclassed(editSlot, window, message, wParam, lParam);
}

TEST(Subclassing, EditSubclassForwardsGetsMarginsAndIsRestored) {
    HWND edit = CreateWindowExA(0, "EDIT", "abc", WS_POPUP | ES_LEFT, 0, 0, 80, 20, nullptr,
                                nullptr, GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(edit, nullptr);
    SendMessageA(edit, EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, MAKELPARAM(5, 5));
    LONG_PTR system = GetWindowLongPtrA(edit, GWLP_WNDPROC);

    InstallEditSubclass(edit, CountingEditProc, editSlot);
    EXPECT_EQ(reinterpret_cast<LONG_PTR>(editSlot.previous), system);
    EXPECT_EQ(GetWindowLongPtrA(edit, GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(CountingEditProc));
    EXPECT_EQ(SendMessageA(edit, EM_GETMARGINS, 0, 0), MAKELONG(1, 1));

    swallowedMessages = 0;
    EXPECT_EQ(SendMessageA(edit, kSwallowed, 0, 0), 42);
    EXPECT_EQ(swallowedMessages, 1);
    SetWindowTextA(edit, "forwarded");
    char text[32] = "";
    GetWindowTextA(edit, text, sizeof text);
    EXPECT_STREQ(text, "forwarded");

    RestoreSubclass(edit, editSlot);
    EXPECT_EQ(GetWindowLongPtrA(edit, GWLP_WNDPROC), system);
    SendMessageA(edit, kSwallowed, 0, 0);
    EXPECT_EQ(swallowedMessages, 1);
    DestroyWindow(edit);
}

SubclassSlot staticSlot;

LRESULT CALLBACK PassingStaticProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return CallSubclassed(staticSlot, window, message, wParam, lParam);
}

TEST(Subclassing, PlainSubclassLeavesMarginsAlone) {
    HWND edit = CreateWindowExA(0, "EDIT", "", WS_POPUP, 0, 0, 80, 20, nullptr, nullptr,
                                GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(edit, nullptr);
    SendMessageA(edit, EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, MAKELPARAM(5, 5));
    InstallSubclass(edit, PassingStaticProc, staticSlot);
    EXPECT_EQ(SendMessageA(edit, EM_GETMARGINS, 0, 0), MAKELONG(5, 5));
    RestoreSubclass(edit, staticSlot);
    DestroyWindow(edit);
}

}  // namespace
