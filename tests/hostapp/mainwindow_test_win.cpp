// The main window driven in this process: the Select menu, clicks in the
// viewport and the boxes that show the selection, checked on the scene's
// nodes and on the pixels.
#include <gtest/gtest.h>
#include <windows.h>

#include <functional>

#include "hostapp/mainwindow_win.h"
#include "hostapp/viewer/renderer.h"
#include "hostapp/viewer/viewport_win.h"
#include "hostsdk/max.h"
#include "tests/toolkit/window_test_support_win.h"

namespace {

const DWORD kHangGuardMs = 60000;  // only to end a hung wait; never a timing check

// Two squares of 2 x 2 units in z = 0, "left" from x = -3 to -1 and "right"
// from 1 to 3, framed from the top: a quarter of the way in from either
// side of the viewport lies on one, its middle on neither.
class MainWindowTest : public testing::Test {
  protected:
    void SetUp() override {
        AddSquare("left", -3);
        AddSquare("right", 1);
        main = CreateMainWindow(GetModuleHandleA(nullptr), context);
        ASSERT_NE(main, nullptr);
        viewport = FindWindowExA(main, nullptr, "plyhostViewport", nullptr);
        RECT rc;
        GetClientRect(viewport, &rc);
        width = rc.right, height = rc.bottom;
        scene.RedrawViews();
        SendMessageA(main, WM_COMMAND, kCmdFirstView + int(StandardView::kTop), 0);
        SendMessageA(main, WM_COMMAND, kCmdFrameAll, 0);
        const uint8_t* b = kViewportBackground;
        ASSERT_TRUE(PumpUntil(
            [&] { return WindowPixel(viewport, width / 4, height / 2) != RGB(b[0], b[1], b[2]); }));
    }
    void TearDown() override {
        DestroyWindow(main);
        MSG msg;  // the window's end asks this thread to quit; the tests go on
        PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
    }

    void AddSquare(const char* name, float x0) {
        TriObject* obj = CreateNewTriObject();
        Mesh& m = obj->GetMesh();
        m.setNumVerts(4);
        for (int i = 0; i < 4; ++i)
            m.setVert(i, Point3(x0 + (i == 1 || i == 2) * 2, i < 2 ? -1 : 1, 0));
        m.setNumFaces(2);
        m.faces[0].setVerts(0, 1, 2);
        m.faces[1].setVerts(0, 2, 3);
        ImpNode* node = scene.CreateNode();
        node->Reference(obj);
        node->SetName(name);
        scene.AddNodeToScene(node);
    }
    static bool PumpUntil(const std::function<bool()>& done) {
        for (DWORD waited = 0; waited < kHangGuardMs; waited += 10) {
            MSG msg;
            while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
            if (done()) return true;
            Sleep(10);
        }
        return false;
    }
    void Click(int x, int y, WPARAM keys = 0) {
        SendMessageA(viewport, WM_LBUTTONDOWN, MK_LBUTTON | keys, MAKELPARAM(x, y));
        SendMessageA(viewport, WM_LBUTTONUP, keys, MAKELPARAM(x, y));
    }
    bool Selected(int node) const { return scene.GetNode(node)->Selected() != 0; }
    std::string StatusLine() const {
        char text[256] = "";
        GetWindowTextA(FindWindowExA(main, nullptr, "msctls_statusbar32", nullptr), text,
                       sizeof text);
        return text;
    }
    // Pixels of the selection's colour in the viewport from column x0 to x1.
    int SelectionPixels(int x0, int x1) const {
        PaintNow(viewport);
        Canvas canvas(x1 - x0, height);
        HDC dc = GetDC(viewport);
        BitBlt(canvas.dc, 0, 0, x1 - x0, height, dc, x0, 0, SRCCOPY);
        ReleaseDC(viewport, dc);
        const uint8_t* c = kSelectionColour;
        return canvas.CountAll(x1 - x0, height, RGB(c[0], c[1], c[2]));
    }

    RecordingScene scene;
    HostCore core{scene};
    PluginLoader plugin;  // none loaded: nothing is imported here
    MainWindowContext context{&plugin,
                              &scene,
                              &core,
                              nullptr,
                              true,
                              false,
                              [](const std::string&) {},
                              [](const std::string&) {},
                              {},
                              "",
                              false};
    HWND main = nullptr, viewport = nullptr;
    int width = 0, height = 0;
};

TEST_F(MainWindowTest, SelectMenuTogglesANodeAndTheStatusLineNamesIt) {
    SendMessageA(main, WM_COMMAND, kCmdFirstSelectNode + 1, 0);
    EXPECT_FALSE(Selected(0));
    EXPECT_TRUE(Selected(1));
    EXPECT_EQ(StatusLine(), "8 vertices, 4 faces | 1 of 2 nodes selected: right");
    SendMessageA(main, WM_COMMAND, kCmdFirstSelectNode + 1, 0);
    EXPECT_FALSE(Selected(1));
    SendMessageA(main, WM_COMMAND, kCmdSelectAll, 0);
    EXPECT_TRUE(Selected(0) && Selected(1));
    EXPECT_EQ(StatusLine(), "8 vertices, 4 faces | 2 of 2 nodes selected");
}

TEST_F(MainWindowTest, ClickSelectsTheNodeUnderItAndEmptySpaceNone) {
    Click(width / 4, height / 2);
    EXPECT_TRUE(Selected(0));
    EXPECT_FALSE(Selected(1));
    Click(width * 3 / 4, height / 2, MK_CONTROL);
    EXPECT_TRUE(Selected(0) && Selected(1));
    Click(width / 2, height / 2);
    EXPECT_FALSE(Selected(0) || Selected(1));
}

// The box of the selected square shows in the selection's colour; the
// other square, not selected, has none.
TEST_F(MainWindowTest, SelectedNodeIsDrawnInItsBox) {
    EXPECT_EQ(SelectionPixels(0, width / 2), 0);
    SendMessageA(main, WM_COMMAND, kCmdFirstSelectNode + 0, 0);
    EXPECT_GT(SelectionPixels(0, width / 2), 400);
    EXPECT_EQ(SelectionPixels(width / 2, width), 0);
}

}  // namespace
