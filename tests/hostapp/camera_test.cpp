#include "hostapp/viewer/camera.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

const int kWidth = 400, kHeight = 300;

Camera Perspective(Camera c) {
    c.perspective = true;
    return c;
}

float Heading(const Camera& c) { return std::atan2(c.forward.y, c.forward.x); }
float Elevation(const Camera& c) { return std::asin(-c.forward.z); }

TEST(CameraTest, StandardViewsLookAlongTheirAxesWithZUp) {
    struct Case {
        StandardView view;
        Vec3 forward, up;
    };
    const Case cases[] = {
        {StandardView::kFront, {0, 1, 0}, {0, 0, 1}},
        {StandardView::kBack, {0, -1, 0}, {0, 0, 1}},
        {StandardView::kLeft, {1, 0, 0}, {0, 0, 1}},
        {StandardView::kRight, {-1, 0, 0}, {0, 0, 1}},
        {StandardView::kTop, {0, 0, -1}, {0, 1, 0}},
        {StandardView::kBottom, {0, 0, 1}, {0, -1, 0}},
    };
    for (const Case& k : cases) {
        Camera c = LookFrom(DefaultCamera(), k.view);
        Vec3 up = c.Up();
        EXPECT_EQ(c.forward.x, k.forward.x) << StandardViewName(k.view);
        EXPECT_EQ(c.forward.y, k.forward.y) << StandardViewName(k.view);
        EXPECT_EQ(c.forward.z, k.forward.z) << StandardViewName(k.view);
        EXPECT_NEAR(up.x, k.up.x, 1e-6) << StandardViewName(k.view);
        EXPECT_NEAR(up.y, k.up.y, 1e-6) << StandardViewName(k.view);
        EXPECT_NEAR(up.z, k.up.z, 1e-6) << StandardViewName(k.view);
    }
    // The three-quarter view looks from front (-Y) right (+X) above.
    Camera q = DefaultCamera();
    EXPECT_LT(q.forward.x, 0);
    EXPECT_GT(q.forward.y, 0);
    EXPECT_LT(q.forward.z, 0);
}

TEST(CameraTest, EachPixelOfDragTurnsTheSameAngleAndThePivotStays) {
    const Vec3 pivot = {3, -2, 1};
    Camera c = DefaultCamera();
    c.target = {4, 0, 2};  // panned away from the pivot
    for (int step = 0; step < 6; ++step) {
        Camera across = Orbit(c, pivot, 25, 0);
        float turned = std::remainder(Heading(c) - Heading(across), 2 * 3.14159265f);
        EXPECT_NEAR(turned, 25 * kOrbitRadiansPerPixel, 1e-5);
        EXPECT_NEAR(Elevation(across), Elevation(c), 1e-5);
        Camera down = Orbit(across, pivot, 0, -15);
        EXPECT_NEAR(Elevation(across) - Elevation(down), 15 * kOrbitRadiansPerPixel, 1e-5);
        EXPECT_EQ(down.right.z, 0);  // world Z stays up on screen
        EXPECT_GT(down.Up().z, 0);
        for (const Camera* moved : {&across, &down}) {
            ScreenPoint before = ViewProjection(c, kWidth, kHeight).Project(pivot);
            ScreenPoint after = ViewProjection(*moved, kWidth, kHeight).Project(pivot);
            EXPECT_NEAR(after.x, before.x, 1e-3);
            EXPECT_NEAR(after.y, before.y, 1e-3);
        }
        c = down;
    }
    // Tilting stops at straight down.
    Camera top = Orbit(c, pivot, 0, 1000);
    EXPECT_NEAR(top.forward.z, -1, 1e-6);
    EXPECT_NEAR(Orbit(top, pivot, 0, 50).forward.z, -1, 1e-6);
}

TEST(CameraTest, ZoomAndPanKeepTheWorldPointUnderTheCursorInBothProjections) {
    for (const Camera& start : {DefaultCamera(), Perspective(DefaultCamera())}) {
        ViewProjection view(start, kWidth, kHeight);
        // A point nearer than the target's plane, under pixel (310, 70).
        Vec3 under = view.Unproject(310, 70, view.TargetDepth() - 30);
        for (float factor : {1.25f, 0.8f, 7.0f}) {
            Camera zoomed = ZoomAt(start, under, factor, 200);
            EXPECT_NEAR(zoomed.halfHeight, start.halfHeight / factor, 1e-3);
            ScreenPoint s = ViewProjection(zoomed, kWidth, kHeight).Project(under);
            EXPECT_NEAR(s.x, 310, 1e-2);
            EXPECT_NEAR(s.y, 70, 1e-2);
        }
        Camera panned = PanTo(start, under, 120, 240, kWidth, kHeight);
        ScreenPoint s = ViewProjection(panned, kWidth, kHeight).Project(under);
        EXPECT_NEAR(s.x, 120, 1e-2);
        EXPECT_NEAR(s.y, 240, 1e-2);
        EXPECT_EQ(panned.halfHeight, start.halfHeight);
    }
}

// A model of any size frames to fill the picture, and a wheel notch zooms
// it by one notch, out or in, until the range around its own size ends.
TEST(CameraTest, FramingAndZoomHoldAtEveryScale) {
    for (float size : {1e-9f, 1e-3f, 1.0f, 1e10f, 1e30f}) {
        Vec3 box[2] = {{size, size, size}, {2 * size, 2 * size, 2 * size}};
        for (const Camera& start : {DefaultCamera(), Perspective(DefaultCamera())}) {
            Camera framed = FitPoints(start, {{&box[0].x, 2, {}}}, kWidth, kHeight);
            EXPECT_GT(framed.halfHeight, size / 2) << size;
            EXPECT_LT(framed.halfHeight, size * 4) << size;
            Camera out = ZoomAt(framed, framed.target, 0.8f, size);
            EXPECT_FLOAT_EQ(out.halfHeight, framed.halfHeight / 0.8f) << size;
            EXPECT_FLOAT_EQ(ZoomAt(framed, framed.target, 1e12f, size).halfHeight,
                            size / kZoomRange);
            EXPECT_FLOAT_EQ(ZoomAt(framed, framed.target, 1e-12f, size).halfHeight,
                            size * kZoomRange);
        }
    }
}

TEST(CameraTest, FramingFitsTheBoxInsideTheMarginInBothProjections) {
    Vec3 box[8];
    for (int i = 0; i < 8; ++i)
        box[i] = {i & 1 ? 7.0f : -3.0f, i & 2 ? 2.0f : 1.0f, i & 4 ? 40.0f : 35.0f};
    for (Camera c : {DefaultCamera(), LookFrom(DefaultCamera(), StandardView::kTop),
                     Orbit(DefaultCamera(), {0, 0, 0}, 100, -60)}) {
        for (bool perspective : {false, true}) {
            c.perspective = perspective;
            Camera fitted = FitPoints(c, {{&box[0].x, 8, {}}}, kWidth, kHeight);
            EXPECT_EQ(fitted.forward.x, c.forward.x);  // the direction stays
            ViewProjection view(fitted, kWidth, kHeight);
            float widest = 0;  // of the picture's half size
            for (const Vec3& p : box) {
                ScreenPoint s = view.Project(p);
                float across = std::fabs(s.x - kWidth / 2.0f) / (kWidth / 2.0f);
                float up = std::fabs(s.y - kHeight / 2.0f) / (kHeight / 2.0f);
                EXPECT_LE(across, 1 / kFitMargin + 1e-4);
                EXPECT_LE(up, 1 / kFitMargin + 1e-4);
                EXPECT_TRUE(!perspective || s.depth > view.NearDepth());
                widest = std::max({widest, across, up});
            }
            EXPECT_NEAR(widest, 1 / kFitMargin, 1e-4) << perspective;
        }
    }
}

}  // namespace
