// The main window's viewport: the scene drawn by the software renderer at
// the window's size, in a frame that follows the importer's zoom request.
#pragma once

#include <windows.h>

#include <vector>

#include "hostapp/renderer.h"
#include "hostapp/scenetriangles.h"
#include "hostsdk/standin.h"

class Viewport {
  public:
    explicit Viewport(const HostScene& scene) : scene(scene) {}
    Viewport(const Viewport&) = delete;
    Viewport& operator=(const Viewport&) = delete;

    // The child window; false when it cannot be made.
    bool Create(HWND parent, HINSTANCE instance);
    HWND Window() const { return window; }

    // The scene changed: take its triangles, points and textures anew and repaint.
    void SceneChanged();
    // Frames the whole scene in the current window size.
    void ZoomExtents();
    void ResetView();

  private:
    static LRESULT CALLBACK WindowProc(HWND w, UINT msg, WPARAM wp, LPARAM lp);
    void OnPaint();

    const HostScene& scene;
    HWND window = nullptr;
    SceneDrawing drawing;
    ViewFrame frame = DefaultViewFrame();
};

// Copies a picture onto a device context at (x, y), pixel for pixel.
void BlitImage(HDC dc, const Image& image, int x, int y);
