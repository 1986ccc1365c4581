// The viewport driven in this process, as the mouse and keys drive it.
#include <gtest/gtest.h>

#include <cmath>

#include "hostapp/viewer/viewport_win.h"
#include "hostsdk/max.h"

namespace {

class ViewportTest : public testing::Test {
  protected:
    void SetUp() override {
        // A floor of 200 x 200 units in z = 0, seen from above at three-quarter.
        TriObject* obj = CreateNewTriObject();
        Mesh& m = obj->GetMesh();
        m.setNumVerts(4);
        const Point3 corners[4] = {{-100, -100, 0}, {100, -100, 0}, {100, 100, 0}, {-100, 100, 0}};
        for (int i = 0; i < 4; ++i) m.setVert(i, corners[i]);
        m.setNumFaces(2);
        m.faces[0].setVerts(0, 1, 2);
        m.faces[1].setVerts(0, 2, 3);
        ImpNode* node = scene.CreateNode();
        node->Reference(obj);
        scene.AddNodeToScene(node);
        parent =
            CreateWindowA("STATIC", "", WS_POPUP | WS_VISIBLE, 0, 0, kSnapshotWidth,
                          kSnapshotHeight, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
        ASSERT_TRUE(viewport.Create(parent, GetModuleHandleA(nullptr)));
        viewport.SceneChanged();
        viewport.ZoomExtents();
        viewport.WaitForDrawing();
        Paint();
    }
    void TearDown() override { DestroyWindow(parent); }
    void Paint() {
        InvalidateRect(viewport.Window(), nullptr, FALSE);
        UpdateWindow(viewport.Window());
    }
    void Drag(WPARAM keys, int x0, int y0, int x1, int y1) {
        HWND w = viewport.Window();
        SendMessageA(w, WM_LBUTTONDOWN, MK_LBUTTON | keys, MAKELPARAM(x0, y0));
        SendMessageA(w, WM_MOUSEMOVE, MK_LBUTTON | keys, MAKELPARAM(x1, y1));
        SendMessageA(w, WM_LBUTTONUP, keys, MAKELPARAM(x1, y1));
    }
    // The viewport's camera on its client area.
    ViewProjection View() const {
        RECT rc;
        GetClientRect(viewport.Window(), &rc);
        return ViewProjection(viewport.GetCamera(), rc.right, rc.bottom);
    }
    // The floor's point under pixel (x, y), through the camera.
    Vec3 FloorUnder(int x, int y) const {
        ViewProjection view = View();
        Vec3 a = view.Unproject(x + 0.5f, y + 0.5f, 0), b = view.Unproject(x + 0.5f, y + 0.5f, 1);
        float t = a.z / (a.z - b.z);
        return {a.x + (b.x - a.x) * t, a.y + (b.y - a.y) * t, 0};
    }

    HostScene scene;
    Viewport viewport{scene};
    HWND parent = nullptr;
};

// An import redraws the views and then shows its scene: one drawing, made
// once the scene is let go, and framed when made.
TEST_F(ViewportTest, TheDrawingIsBuiltOncePerChangeOfTheScene) {
    const int before = viewport.DrawingBuilds();
    const Vec3 framed = viewport.GetCamera().target;
    SendMessageA(viewport.Window(), WM_KEYDOWN, VK_LEFT, 0);
    viewport.HoldScene(true);
    viewport.SceneChanged();
    viewport.SceneChanged();
    viewport.ZoomExtents();
    EXPECT_NE(viewport.GetCamera().target.x, framed.x);
    viewport.HoldScene(false);
    viewport.WaitForDrawing();
    EXPECT_EQ(viewport.DrawingBuilds(), before + 1);
    EXPECT_FLOAT_EQ(viewport.GetCamera().target.x, framed.x);
}

// An orbit turns about the point under the cursor: it stays there. The drag
// ends with one full frame: no rest timer is left (id 1) to draw another.
TEST_F(ViewportTest, OrbitTurnsAboutThePointUnderTheCursor) {
    const Vec3 under = FloorUnder(330, 340);
    Drag(0, 330, 340, 410, 300);
    EXPECT_FALSE(KillTimer(viewport.Window(), 1));
    ScreenPoint s = View().Project(under);
    EXPECT_NEAR(s.x, 330.5f, 0.5f);
    EXPECT_NEAR(s.y, 340.5f, 0.5f);
}

// Shift + left drag and the arrow keys pan: the view turns not, the floor
// point under the cursor follows it, an arrow moves the picture its way.
TEST_F(ViewportTest, ShiftDragAndArrowKeysPan) {
    const Camera start = viewport.GetCamera();
    const Vec3 under = FloorUnder(300, 300);
    Drag(MK_SHIFT, 300, 300, 340, 260);
    EXPECT_EQ(viewport.GetCamera().forward.x, start.forward.x);
    EXPECT_EQ(viewport.GetCamera().forward.z, start.forward.z);
    ViewProjection view = View();
    EXPECT_NEAR(view.Project(under).x, 340.5f, 0.5f);
    EXPECT_NEAR(view.Project(under).y, 260.5f, 0.5f);

    const struct {
        UINT key;
        float dx, dy;
    } arrows[] = {{VK_LEFT, -60, 0}, {VK_RIGHT, 60, 0}, {VK_UP, 0, -60}, {VK_DOWN, 0, 60}};
    for (const auto& a : arrows) {
        const ScreenPoint before = View().Project(under);
        SendMessageA(viewport.Window(), WM_KEYDOWN, a.key, 0);
        const ScreenPoint after = View().Project(under);
        EXPECT_NEAR(after.x - before.x, a.dx, 0.5f) << a.key;
        EXPECT_NEAR(after.y - before.y, a.dy, 0.5f) << a.key;
    }
}

}  // namespace
