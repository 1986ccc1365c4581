#include "hostapp/viewer/viewport_win.h"

#include <cmath>
#include <cstdlib>
#include <limits>
#include <new>

#include "hostapp/viewer/imagefile_win.h"
#include "hostapp/viewer/legend_win.h"
#include "hostapp/viewer/picking.h"
#include "hostapp/viewer/reducedmesh.h"
#include "hostapp/viewer/scenehelpers.h"
#include "hostapp/viewer/scenetriangles.h"

namespace {

const char kViewportClass[] = "plyhostViewport";
const UINT_PTR kRestTimer = 1;
const UINT kMsgDecoderDone = WM_APP + 41;
const UINT kMsgBuildDone = WM_APP + 42;
// The mouse has rested this long: draw the whole scene again.
const UINT kRestMs = 200;
// One wheel notch zooms by this factor.
const float kWheelZoom = 1.25f;

// The View menu, and the keys of its commands (a separator has none).
struct ViewItem {
    int command;
    const char* text;
    UINT key;  // a letter or digit key (the keypad's digits work as well)
    bool ctrl;
};

const ViewItem kViewItems[] = {
    {kCmdFirstMode + int(DisplayMode::kShaded), "&Shaded\tS", 'S', false},
    {kCmdFirstMode + int(DisplayMode::kEdges), "Shaded with &edges\tE", 'E', false},
    {kCmdFirstMode + int(DisplayMode::kWireframe), "&Wireframe\tW", 'W', false},
    {kCmdFirstMode + int(DisplayMode::kPoints), "P&oints\tV", 'V', false},
    {0, nullptr, 0, false},
    {kCmdFrameAll, "Frame &all\tF", 'F', false},
    {kCmdPerspective, "&Perspective\tP", 'P', false},
    {0, nullptr, 0, false},
    {kCmdFirstView + int(StandardView::kFront), "&Front\t1", '1', false},
    {kCmdFirstView + int(StandardView::kBack), "&Back\tCtrl+1", '1', true},
    {kCmdFirstView + int(StandardView::kRight), "&Right\t3", '3', false},
    {kCmdFirstView + int(StandardView::kLeft), "&Left\tCtrl+3", '3', true},
    {kCmdFirstView + int(StandardView::kTop), "&Top\t7", '7', false},
    {kCmdFirstView + int(StandardView::kBottom), "Botto&m\tCtrl+7", '7', true},
    {kCmdFirstView + int(StandardView::kThreeQuarter), "T&hree-quarter\t0", '0', false},
};

void FillBackground(HDC dc, SIZE size) {
    const uint8_t* b = kViewportBackground;
    HBRUSH brush = CreateSolidBrush(RGB(b[0], b[1], b[2]));
    RECT all = {0, 0, size.cx, size.cy};
    FillRect(dc, &all, brush);
    DeleteObject(brush);
}

}  // namespace

HMENU CreateViewMenu() {
    HMENU menu = CreatePopupMenu();
    for (const ViewItem& item : kViewItems)
        AppendMenuA(menu, item.command ? MF_STRING : MF_SEPARATOR, item.command, item.text);
    HMENU colours = CreatePopupMenu();
    AppendMenuA(colours, MF_STRING, kCmdOwnColours, "&Own colours");
    AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(colours), "&Colour by");
    return menu;
}

void BlitImage(HDC dc, const Image& image, int x, int y) {
    if (image.width <= 0 || image.height <= 0) return;
    // DIB rows are BGR and padded to four bytes.
    int stride = (image.width * 3 + 3) & ~3;
    std::vector<uint8_t> bgr(size_t(stride) * image.height, 0);
    for (int row = 0; row < image.height; ++row) {
        for (int col = 0; col < image.width; ++col) {
            const uint8_t* p = image.Pixel(col, row);
            uint8_t* q = &bgr[size_t(row) * stride + col * 3];
            q[0] = p[2];
            q[1] = p[1];
            q[2] = p[0];
        }
    }
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = image.width;
    info.bmiHeader.biHeight = -image.height;  // top-down rows
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    SetDIBitsToDevice(dc, x, y, image.width, image.height, 0, 0, 0, image.height, bgr.data(), &info,
                      DIB_RGB_COLORS);
}

bool Viewport::Create(HWND parent, HINSTANCE instance) {
    WNDCLASSA wc = {};
    if (!GetClassInfoA(instance, kViewportClass, &wc)) {
        wc.style = CS_DBLCLKS;
        wc.lpfnWndProc = WindowProc;
        wc.hInstance = instance;
        wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
        wc.lpszClassName = kViewportClass;
        if (!RegisterClassA(&wc)) return false;
    }
    window = CreateWindowExA(WS_EX_CLIENTEDGE, kViewportClass, "", WS_CHILD | WS_VISIBLE, 0, 0,
                             kSnapshotWidth, kSnapshotHeight, parent, nullptr, instance, this);
    return window != nullptr;
}

Viewport::Viewport(const HostScene& scene) : scene(scene), textures(WindowsImageFiles()) {}

Viewport::~Viewport() {
    StopDecoding();
    if (builder.joinable()) builder.join();
}

void Viewport::SceneChanged() {
    drawingStale = true;
    StartBuild();
}

// Held first: the build waited for must not start another. The drawing
// reads the scene's own arrays, so while held the last picture stands in.
void Viewport::HoldScene(bool hold) {
    held = hold;
    if (hold) return WaitForDrawing();
    StartBuild();
    if (!building && frameWhenBuilt) {
        frameWhenBuilt = false;
        ZoomExtents();
    }
    InvalidateRect(window, nullptr, FALSE);
}

void Viewport::WaitForDrawing() {
    if (building) FinishBuild();
}

// Building the drawing of a large scan takes longer than a frame: never on
// this thread. The old drawing goes first, so that two are never held.
void Viewport::StartBuild() {
    if (!window || held || !drawingStale || building) return;
    building = true;
    drawingStale = false;
    texturesWaiting = false;
    drawing = SceneDrawing();
    InvalidateRect(window, nullptr, FALSE);
    auto build = [this, channel = colourBy] {
        try {
            built = textures.Draw(scene, false, channel);
            AddReducedMeshes(built);
            AddMeshBoxes(built);
            builtFits = true;
        } catch (const std::bad_alloc&) {
            built = SceneDrawing();
            builtFits = false;
        }
        PostMessageA(window, kMsgBuildDone, 0, 0);
    };
    try {
        builder = std::thread(build);
    } catch (...) {
        build();  // no thread to be had: built here, shown when the post comes
    }
}

// A scene too large for this process's memory stays imported; it is just
// not drawn, and the status line says so.
void Viewport::FinishBuild() {
    if (builder.joinable()) builder.join();
    building = false;
    ++builds;
    drawing = std::move(built);
    built = SceneDrawing();
    sceneSize = SceneSize(drawing);
    overBudget = textures.OverBudget();
    SetTooLarge(!builtFits);
    if (frameWhenBuilt) {
        frameWhenBuilt = false;
        ZoomExtents();
    }
    InvalidateRect(window, nullptr, FALSE);
    if (decodedWaiting) OnDecoded();
    StartDecoding();
    StartBuild();
}

void Viewport::SetTooLarge(bool failed) {
    if (failed == tooLarge) return;
    tooLarge = failed;
    if (window) PostMessageA(GetParent(window), kMsgViewportNews, 0, 0);
}

void Viewport::ShowDecodedTextures() {
    if (!texturesWaiting) return;
    drawingStale = true;
    StartBuild();
}

// Decoding a large picture takes about a second: never on this thread.
void Viewport::StartDecoding() {
    if (!window || decoder.joinable() || building || !textures.HasWork()) return;
    job = textures.TakeJob();
    try {
        decoder = std::thread([this] {
            RunDecodeJob(job, textures.Files(), cancelDecoding);
            PostMessageA(window, kMsgDecoderDone, 0, 0);
        });
    } catch (...) {
        textures.Finish(job);  // nothing done: tried again when the scene changes
    }
}

void Viewport::OnDecoded() {
    if (decoder.joinable()) decoder.join();
    decodedWaiting = building;
    if (decodedWaiting) return;  // the cache is the builder's until it ends
    texturesWaiting = textures.Finish(job) || texturesWaiting;
    overBudget = textures.OverBudget();
    StartDecoding();
    SendMessageA(GetParent(window), kMsgViewportNews, 0, 0);
}

void Viewport::StopDecoding() {
    cancelDecoding = true;
    if (decoder.joinable()) decoder.join();
}

void Viewport::ZoomExtents() {
    if (held || drawingStale || building) {
        frameWhenBuilt = true;
        return;
    }
    SIZE size = ClientSize();
    Show(FrameScene(drawing, camera, size.cx, size.cy), false);
}

void Viewport::ResetView() { Show(DefaultCamera(), false); }

bool Viewport::OnCommand(int id) {
    if (id == kCmdFrameAll) {
        ZoomExtents();
    } else if (id == kCmdPerspective) {
        Camera c = camera;
        c.perspective = !c.perspective;
        Show(c, false);
    } else if (id >= kCmdFirstMode && id < kCmdFirstMode + kDisplayModeCount) {
        mode = DisplayMode(id - kCmdFirstMode);
        InvalidateRect(window, nullptr, FALSE);
    } else if (id >= kCmdFirstView && id < kCmdFirstView + kStandardViewCount) {
        Show(LookFrom(camera, StandardView(id - kCmdFirstView)), false);
    } else if (id == kCmdOwnColours) {
        ColourBy("");
    } else if (id >= kCmdFirstChannel && id < kCmdFirstChannel + int(channelNames.size())) {
        ColourBy(channelNames[size_t(id - kCmdFirstChannel)]);
    } else {
        return false;
    }
    return true;
}

void Viewport::ColourBy(const std::string& channel) {
    if (channel == colourBy) return;
    colourBy = channel;
    drawingStale = true;
    StartBuild();
}

// The Colour by menu lists the channels the scene names when it opens (not
// while an import holds the scene).
void Viewport::UpdateMenu(HMENU menu) {
    if (GetMenuItemID(menu, 0) == UINT(kCmdOwnColours)) {
        if (!held) channelNames = ChannelNames(scene);
        if (channelNames.size() > size_t(kMaxChannelCommands)) channelNames.resize(kMaxChannelCommands);
        while (GetMenuItemCount(menu) > 1) DeleteMenu(menu, 1, MF_BYPOSITION);
        int checked = kCmdOwnColours;
        for (size_t i = 0; i < channelNames.size(); ++i) {
            AppendMenuA(menu, MF_STRING, kCmdFirstChannel + int(i), channelNames[i].c_str());
            if (channelNames[i] == colourBy) checked = kCmdFirstChannel + int(i);
        }
        CheckMenuRadioItem(menu, kCmdOwnColours, kCmdFirstChannel + int(channelNames.size()),
                           checked, MF_BYCOMMAND);
        return;
    }
    CheckMenuRadioItem(menu, kCmdFirstMode, kCmdFirstMode + kDisplayModeCount - 1,
                       kCmdFirstMode + int(mode), MF_BYCOMMAND);
    CheckMenuItem(menu, kCmdPerspective,
                  MF_BYCOMMAND | (camera.perspective ? MF_CHECKED : MF_UNCHECKED));
}

SIZE Viewport::ClientSize() const {
    RECT rc;
    GetClientRect(window, &rc);
    return {rc.right, rc.bottom};
}

Vec3 Viewport::PointUnder(int x, int y, bool* hit) const {
    SIZE size = ClientSize();
    bool inside = x >= 0 && y >= 0 && x < shownSize.cx && y < shownSize.cy;
    float z = inside ? depth[size_t(y) * shownSize.cx + x] : std::numeric_limits<float>::infinity();
    if (hit) *hit = std::isfinite(z);
    if (std::isfinite(z))
        return ViewProjection(shown, shownSize.cx, shownSize.cy).Unproject(x + 0.5f, y + 0.5f, z);
    ViewProjection view(camera, size.cx, size.cy);
    return view.Unproject(x + 0.5f, y + 0.5f, view.TargetDepth());
}

// A still picture ends the wait for rest: one full frame, not two.
void Viewport::Show(const Camera& c, bool moving) {
    camera = c;
    this->moving = moving;
    if (moving)
        SetTimer(window, kRestTimer, kRestMs, nullptr);
    else
        KillTimer(window, kRestTimer);
    InvalidateRect(window, nullptr, FALSE);
}

// An orbit turns about what the user points at: the detail zoomed onto
// stays in view.
void Viewport::OnButtonDown(Drag kind, int x, int y) {
    SetFocus(window);
    if (drag != Drag::kNone) return;
    drag = kind;
    last = pressed = {x, y};
    stillClick = kind == Drag::kOrbit;
    bool hit = false;
    grabbed = PointUnder(x, y, &hit);
    pivot = hit ? grabbed : camera.target;
    SetCapture(window);
}

void Viewport::OnMouseMove(int x, int y) {
    if (drag == Drag::kNone || (x == last.x && y == last.y)) return;
    // A hand that shakes a little while clicking turns nothing.
    if (stillClick && std::abs(x - pressed.x) <= GetSystemMetrics(SM_CXDRAG) / 2 &&
        std::abs(y - pressed.y) <= GetSystemMetrics(SM_CYDRAG) / 2)
        return;
    stillClick = false;
    SIZE size = ClientSize();
    if (drag == Drag::kOrbit)
        Show(Orbit(camera, pivot, float(x - last.x), float(y - last.y)), true);
    else
        Show(PanTo(camera, grabbed, x + 0.5f, y + 0.5f, size.cx, size.cy), true);
    last = {x, y};
}

// A left press and release without a drag between is a click.
void Viewport::OnLeftButtonUp(int x, int y, WPARAM keys) {
    const bool click = drag == Drag::kOrbit && stillClick;
    ReleaseCapture();
    if (click) OnClick(x, y, keys);
}

// Only the drawing shown can be picked from: while it is held or built
// anew, a click picks nothing and changes nothing.
void Viewport::OnClick(int x, int y, WPARAM keys) {
    if (held || building || drawingStale) return;
    SIZE size = ClientSize();
    Pick pick = PickMesh(drawing, camera, size.cx, size.cy, x, y);
    INT_PTR node = pick.abandoned  ? kClickTooCostly
                   : pick.mesh < 0 ? kClickedNothing
                                   : drawing.meshes[size_t(pick.mesh)].node;
    SendMessageA(GetParent(window), kMsgViewportClick, WPARAM(node), LPARAM(keys & MK_CONTROL));
}

std::vector<Box> Viewport::SelectedBoxes() const {
    std::vector<Box> boxes;
    for (size_t i = 0; i < drawing.meshes.size() && i < drawing.boxes.size(); ++i) {
        int node = drawing.meshes[i].node;
        if (node >= 0 && node < scene.NodeCount() && scene.GetNode(node)->Selected())
            boxes.push_back(drawing.boxes[i]);
    }
    return boxes;
}

// Ends a drag however the capture was lost; the whole scene is drawn again.
void Viewport::EndDrag() {
    if (drag == Drag::kNone) return;
    drag = Drag::kNone;
    Show(camera, false);
}

void Viewport::OnWheel(int delta, int screenX, int screenY) {
    POINT p = {screenX, screenY};
    ScreenToClient(window, &p);
    Show(ZoomAt(camera, PointUnder(p.x, p.y), std::pow(kWheelZoom, delta / float(WHEEL_DELTA)),
                sceneSize),
         true);
}

// An arrow key moves the picture a tenth of its height that way, as a pan
// drag would.
void Viewport::PanByKey(int dx, int dy) {
    SIZE size = ClientSize();
    const float step = size.cy / 10.0f;
    Show(PanTo(camera, camera.target, size.cx / 2.0f + dx * step, size.cy / 2.0f + dy * step,
               size.cx, size.cy),
         false);
}

void Viewport::OnKey(UINT key) {
    if (key == VK_LEFT || key == VK_RIGHT) return PanByKey(key == VK_LEFT ? -1 : 1, 0);
    if (key == VK_UP || key == VK_DOWN) return PanByKey(0, key == VK_UP ? -1 : 1);
    if (key >= VK_NUMPAD0 && key <= VK_NUMPAD9) key = '0' + (key - VK_NUMPAD0);
    bool ctrl = GetKeyState(VK_CONTROL) < 0;
    for (const ViewItem& item : kViewItems)
        if (item.command && item.key == key && item.ctrl == ctrl) OnCommand(item.command);
}

void Viewport::OnPaint() {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(window, &ps);
    SIZE size = ClientSize();
    RenderOptions options;
    options.mode = mode;
    options.moving = moving;
    options.depth = &depth;
    options.axisTriad = true;
    // Held or being built, the drawing may not be read: the last picture stays.
    if (held || building) {
        if (picture.width == size.cx && picture.height == size.cy)
            BlitImage(dc, picture, 0, 0);
        else
            FillBackground(dc, size);
        EndPaint(window, &ps);
        return;
    }
    try {
        std::vector<Box> selected = SelectedBoxes();
        options.selected = &selected;
        picture = RenderView(drawing, camera, size.cx, size.cy, options);
        DrawLegend(picture, drawing.scale);
        BlitImage(dc, picture, 0, 0);
    } catch (const std::bad_alloc&) {
        depth.clear();
        picture = Image();
        FillBackground(dc, size);
        SetTooLarge(true);
    }
    shown = camera;
    shownSize = depth.empty() ? SIZE{0, 0} : size;
    EndPaint(window, &ps);
}

LRESULT CALLBACK Viewport::WindowProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_NCCREATE) {
        auto* cs = reinterpret_cast<CREATESTRUCTA*>(lp);
        SetWindowLongPtrA(w, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(cs->lpCreateParams));
    }
    Viewport* self = reinterpret_cast<Viewport*>(GetWindowLongPtrA(w, GWLP_USERDATA));
    if (!self) return DefWindowProcA(w, msg, wp, lp);
    const int x = short(LOWORD(lp)), y = short(HIWORD(lp));
    switch (msg) {
        case WM_PAINT:
            self->OnPaint();
            return 0;
        case WM_ERASEBKGND:
            return 1;  // the picture covers every pixel
        case WM_SIZE:
            InvalidateRect(w, nullptr, FALSE);
            return 0;
        case WM_LBUTTONDOWN:
            self->OnButtonDown(wp & MK_SHIFT ? Drag::kPan : Drag::kOrbit, x, y);
            return 0;
        case WM_MBUTTONDOWN:
            self->OnButtonDown(Drag::kPan, x, y);
            return 0;
        case WM_MOUSEMOVE:
            self->OnMouseMove(x, y);
            return 0;
        case WM_LBUTTONUP:
            self->OnLeftButtonUp(x, y, wp);
            return 0;
        case WM_MBUTTONUP:
            ReleaseCapture();
            return 0;
        case WM_CAPTURECHANGED:
            self->EndDrag();
            return 0;
        case WM_LBUTTONDBLCLK:
            self->ZoomExtents();
            return 0;
        case WM_MOUSEWHEEL:
            self->OnWheel(short(HIWORD(wp)), x, y);
            return 0;
        case WM_KEYDOWN:
            self->OnKey(UINT(wp));
            return 0;
        case WM_TIMER:
            KillTimer(w, kRestTimer);
            self->Show(self->camera, false);
            return 0;
        case kMsgDecoderDone:
            if (self->decoder.joinable()) self->OnDecoded();
            return 0;
        case kMsgBuildDone:
            self->WaitForDrawing();
            return 0;
        case WM_DESTROY:
            self->StopDecoding();
            if (self->builder.joinable()) self->builder.join();
            self->window = nullptr;
            return 0;
    }
    return DefWindowProcA(w, msg, wp, lp);
}
