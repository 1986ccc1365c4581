// The main window's viewport: the scene drawn by the software renderer at
// the window's size through a camera the user moves. Left drag orbits
// about the point under the cursor (else the view's centre), middle drag
// or Shift + left drag pans, as do the arrow keys, the wheel zooms toward
// the cursor, a double-click frames everything; the View menu's keys work
// while the viewport has the focus. A left click without a drag tells the
// parent which node it is on, and the selected nodes show in their boxes.
#pragma once

#include <windows.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "hostapp/viewer/renderer.h"
#include "hostapp/viewer/texturecache.h"
#include "hostsdk/standin.h"

// View menu commands; tests post them to the main window.
const int kCmdFrameAll = 40101;
const int kCmdPerspective = 40102;
const int kCmdFirstMode = 40110;  // + DisplayMode
const int kCmdFirstView = 40120;  // + StandardView
const int kCmdOwnColours = 40140;
const int kCmdFirstChannel = 40141;  // + the channel's place in the Colour by menu
const int kMaxChannelCommands = 200;

// Sent to the viewport's parent on a left click without a drag: wParam
// the index of the scene node under the cursor (kClickedNothing,
// kClickTooCostly), lParam the click's MK_CONTROL.
const UINT kMsgViewportClick = WM_APP + 43;
const INT_PTR kClickedNothing = -1;
const INT_PTR kClickTooCostly = -2;  // too many faces to pick from

// Sent to the viewport's parent when decoded textures wait to be shown
// (ShowDecodedTextures), or what the status line says of the drawing may
// have changed (TexturesOverBudget, TooLargeToDraw).
const UINT kMsgViewportNews = WM_APP + 40;

// The View menu: the display modes, framing, projection and the standard
// views, each with its key, and Colour by: the meshes' own colours or a
// named map channel of the scene.
HMENU CreateViewMenu();

class Viewport {
  public:
    explicit Viewport(const HostScene& scene);
    ~Viewport();
    Viewport(const Viewport&) = delete;
    Viewport& operator=(const Viewport&) = delete;

    // The child window; false when it cannot be made.
    bool Create(HWND parent, HINSTANCE instance);
    HWND Window() const { return window; }

    // The scene changed: its drawing is built anew on a thread of its own,
    // once however often it changed while held. Textures not yet decoded
    // are decoded in the background too; their faces draw untextured until
    // ShowDecodedTextures.
    void SceneChanged();
    // While held, nothing reads the scene, so it may change (an import, a
    // reset); a build under way is waited for first. Let go, a change made
    // meanwhile is built.
    void HoldScene(bool hold);
    // Waits for a build under way and shows it (tests, and before a change).
    void WaitForDrawing();
    // Draws the scene again with the textures decoded since.
    void ShowDecodedTextures();
    // Some texture of the scene is left out for the pixel budget.
    bool TexturesOverBudget() const { return overBudget; }
    // The last drawing or picture failed for memory: nothing is drawn.
    bool TooLargeToDraw() const { return tooLarge; }
    // How often the scene's drawing was built (the tests count them).
    int DrawingBuilds() const { return builds; }
    const Camera& GetCamera() const { return camera; }
    // Frames the whole scene in the current window size and direction (once
    // its drawing is built).
    void ZoomExtents();
    void ResetView();
    // The scene's selection changed: the boxes of the selected nodes are
    // drawn anew.
    void SelectionChanged() { InvalidateRect(window, nullptr, FALSE); }
    // Carries out a View menu command; false when id is none.
    bool OnCommand(int id);
    // Checks the display mode and the projection in the View menu; fills
    // the Colour by menu with the scene's channels and checks the one shown.
    void UpdateMenu(HMENU menu);
    // The named map channel the meshes are coloured by; empty: their own colours.
    void ColourBy(const std::string& channel);

  private:
    enum class Drag { kNone, kOrbit, kPan };

    static LRESULT CALLBACK WindowProc(HWND w, UINT msg, WPARAM wp, LPARAM lp);
    void OnPaint();
    void OnButtonDown(Drag kind, int x, int y);
    void OnMouseMove(int x, int y);
    void OnLeftButtonUp(int x, int y, WPARAM keys);
    // Tells the parent which node is under (x, y).
    void OnClick(int x, int y, WPARAM keys);
    // The boxes of the meshes whose nodes are selected.
    std::vector<Box> SelectedBoxes() const;
    void OnWheel(int delta, int screenX, int screenY);
    void OnKey(UINT key);
    void EndDrag();
    SIZE ClientSize() const;
    // The world point shown at pixel (x, y) in the last picture (hit), or
    // in the target's plane where that showed nothing.
    Vec3 PointUnder(int x, int y, bool* hit = nullptr) const;
    void PanByKey(int dx, int dy);
    // A new camera; while it moves, large meshes are drawn reduced until
    // the mouse rests.
    void Show(const Camera& c, bool moving);
    // One build at a time on the builder thread; it posts back when done.
    void StartBuild();
    void FinishBuild();
    void SetTooLarge(bool failed);
    // One job at a time on the decoder thread; it posts back when done.
    void StartDecoding();
    void OnDecoded();
    void StopDecoding();

    const HostScene& scene;
    HWND window = nullptr;
    SceneDrawing drawing;
    // The texture cache is the builder's while it runs.
    TextureCache textures;
    std::thread builder;
    SceneDrawing built;  // the builder's alone while it runs
    bool builtFits = true;
    bool building = false;
    bool held = false;
    bool frameWhenBuilt = false;
    bool overBudget = false;
    bool decodedWaiting = false;  // a decoding job ended during a build
    std::thread decoder;
    DecodeJob job;  // the decoder's alone while it runs
    std::atomic<bool> cancelDecoding{false};
    bool texturesWaiting = false;
    bool drawingStale = false;
    bool tooLarge = false;
    int builds = 0;
    float sceneSize = 0;  // sets the zoom's range
    Vec3 pivot{0, 0, 0};  // what the current orbit turns around
    Camera camera = DefaultCamera();
    DisplayMode mode = DisplayMode::kShaded;
    std::string colourBy;
    std::vector<std::string> channelNames;  // as the Colour by menu lists them
    bool moving = false;
    Drag drag = Drag::kNone;
    POINT last = {0, 0};    // the mouse at the last move of a drag
    POINT pressed = {0, 0};   // where the left button went down
    bool stillClick = false;  // an orbit that has not left the drag rectangle yet
    Vec3 grabbed{0, 0, 0};  // what a pan holds under the cursor
    // The last picture, its depths and the camera they were seen through.
    Image picture;
    std::vector<float> depth;
    Camera shown;
    SIZE shownSize = {0, 0};
};

// Copies a picture onto a device context at (x, y), pixel for pixel.
void BlitImage(HDC dc, const Image& image, int x, int y);
