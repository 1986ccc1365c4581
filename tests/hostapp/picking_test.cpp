// Picking a mesh by the ray through a pixel: the nearest of those it meets,
// and nothing once the budget is spent.
#include "hostapp/viewer/picking.h"

#include <gtest/gtest.h>

namespace {

// A square facing the camera's default front view (along +Y) at depth y.
DrawMesh Square(float y, int node) {
    DrawMesh m;
    m.node = node;
    m.vertices = {{-1, y, -1}, {1, y, -1}, {1, y, 1}, {-1, y, 1}};
    m.corners = {0, 1, 2, 0, 2, 3};
    return m;
}

class PickingTest : public testing::Test {
  protected:
    void SetUp() override {
        // The far square first: the order of the meshes must not matter.
        drawing.meshes = {Square(5, 0), Square(-5, 1)};
        AddMeshBoxes(drawing);
        camera = LookFrom(DefaultCamera(), StandardView::kFront);
        camera.halfHeight = 2;
    }
    SceneDrawing drawing;
    Camera camera;
};

TEST_F(PickingTest, TheNearestMeshUnderThePixelIsPicked) {
    for (bool perspective : {false, true}) {
        camera.perspective = perspective;
        camera.target = {0, perspective ? -20.0f : 0.0f, 0};
        Pick middle = PickMesh(drawing, camera, 100, 100, 50, 50);
        EXPECT_EQ(middle.mesh, 1) << perspective;
        EXPECT_EQ(PickMesh(drawing, camera, 100, 100, 2, 2).mesh, -1) << perspective;
    }
}

// A budget of the near square's two faces is enough: the far one's box
// lies behind the hit and is never tested. One face less gives up.
TEST_F(PickingTest, OnlyFacesThatMayBeNearerCountAgainstTheBudget) {
    EXPECT_EQ(PickMesh(drawing, camera, 100, 100, 50, 50, 2).mesh, 1);
    Pick pick = PickMesh(drawing, camera, 100, 100, 50, 50, 1);
    EXPECT_TRUE(pick.abandoned);
    EXPECT_EQ(pick.mesh, -1);
}

}  // namespace
