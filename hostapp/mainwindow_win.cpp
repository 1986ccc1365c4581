#include "hostapp/mainwindow_win.h"

#include <commdlg.h>

#include <memory>

#include "hostapp/report.h"
#include "hostapp/toolkitpanel_win.h"
#include "hostapp/viewport_win.h"

const char kMainWindowClass[] = "plyhostMainWindow";

namespace {

const char kTitle[] = "plyhost";

struct MainWindow {
    MainWindowContext* context;
    HWND window = nullptr;
    std::unique_ptr<Viewport> viewport;
};

HMENU BuildMenu() {
    HMENU file = CreatePopupMenu();
    AppendMenuA(file, MF_STRING, kCmdImport, "&Import...");
    AppendMenuA(file, MF_STRING, kCmdReset, "&Reset");
    AppendMenuA(file, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(file, MF_STRING, kCmdExit, "E&xit");
    HMENU help = CreatePopupMenu();
    AppendMenuA(help, MF_STRING, kCmdToolkit, "&Toolkit...");
    AppendMenuA(help, MF_STRING, kCmdAbout, "&About...");
    HMENU bar = CreateMenu();
    AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(file), "&File");
    AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(CreateViewMenu()), "&View");
    AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(help), "&Help");
    return bar;
}

// The scene's totals in the title, so a glance tells what was imported.
void UpdateTitle(MainWindow& mw) {
    RecordingScene& scene = *mw.context->scene;
    int vertices = 0, faces = 0;
    for (int i = 0; i < scene.NodeCount(); ++i) {
        if (Mesh* mesh = NodeMesh(scene.GetNode(i))) {
            vertices += mesh->getNumVerts();
            faces += mesh->getNumFaces();
        }
    }
    char title[160];
    wsprintfA(title, "%s - %d node(s), %d vertices, %d faces", kTitle, scene.NodeCount(), vertices,
              faces);
    SetWindowTextA(mw.window, title);
}

// "ShortDesc (*.ply)" with the pattern, then all files; the list ends with two zeros.
std::string FileFilter(const PluginLoader& plugin) {
    std::string filter;
    for (const ImporterClass& c : plugin.Importers()) {
        std::string pattern = "*." + c.ext;
        filter += c.shortDesc + " (" + pattern + ")" + '\0' + pattern + '\0';
    }
    filter += std::string("All files (*.*)") + '\0' + "*.*" + '\0';
    return filter;
}

bool AskForFile(MainWindow& mw, std::string& path) {
    char buf[MAX_PATH] = "";
    std::string filter = FileFilter(*mw.context->plugin);
    OPENFILENAMEA ofn = {};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = mw.window;
    ofn.lpstrFilter = filter.c_str();
    ofn.nFilterIndex = 1;
    ofn.lpstrFile = buf;
    ofn.nMaxFile = sizeof buf;
    ofn.lpstrTitle = "Import";
    ofn.Flags = OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_EXPLORER;
    if (!GetOpenFileNameA(&ofn)) return false;
    path = buf;
    return true;
}

// Messages belong to what showed them: print them as soon as that has ended.
void ReportMessages(MainWindowContext& c) {
    if (c.watcher)
        for (const std::string& m : c.watcher->TakeMessages()) c.report(MessageReportLine(m));
}

void ImportFile(MainWindow& mw, const std::string& path) {
    MainWindowContext& c = *mw.context;
    std::string reason;
    SceneImport* importer = c.plugin->CreateImporter(path, reason);
    if (!importer) {
        MessageBoxA(mw.window, (path + ": " + reason).c_str(), kTitle, MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    ImportRecord record;
    record.file = record.path = path;
    c.scene->BeginImport();
    record.result = importer->DoImport(path.c_str(), c.scene, c.core, c.suppressPrompts);
    record.ran = true;
    bool zoom = importer->ZoomExtents() == 1;
    delete importer;
    record.counts = c.scene->AddedCounts();
    c.report(ImportReportLine(record));
    ReportMessages(c);
    mw.viewport->SceneChanged();
    if (zoom) mw.viewport->ZoomExtents();
    UpdateTitle(mw);
}

void ShowAbout(MainWindow& mw) {
    SceneImport* importer = mw.context->plugin->CreateAnyImporter();
    if (!importer) return;
    importer->ShowAbout(mw.window);
    delete importer;
    ReportMessages(*mw.context);
}

void OnCommand(MainWindow& mw, int id) {
    std::string path;
    switch (id) {
        case kCmdImport:
            if (AskForFile(mw, path)) ImportFile(mw, path);
            break;
        case kCmdReset:
            mw.context->core->FileReset(TRUE);
            mw.viewport->SceneChanged();
            mw.viewport->ResetView();
            UpdateTitle(mw);
            break;
        case kCmdExit:
            DestroyWindow(mw.window);
            break;
        case kCmdAbout:
            ShowAbout(mw);
            break;
        case kCmdToolkit:
            if (!ShowToolkitPanel(
                    reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(mw.window, GWLP_HINSTANCE)),
                    mw.window))
                MessageBoxA(mw.window, "The toolkit panel could not be opened.", kTitle,
                            MB_OK | MB_ICONEXCLAMATION);
            break;
        default:
            mw.viewport->OnCommand(id);
    }
}

void OnCreate(MainWindow& mw, HWND w) {
    mw.window = w;
    mw.viewport.reset(new Viewport(*mw.context->scene));
    mw.viewport->Create(w, reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(w, GWLP_HINSTANCE)));
    Viewport* viewport = mw.viewport.get();
    mw.context->scene->onRedraw = [viewport] { viewport->SceneChanged(); };
    UpdateTitle(mw);
}

LRESULT CALLBACK MainWindowProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_NCCREATE) {
        auto* cs = reinterpret_cast<CREATESTRUCTA*>(lp);
        SetWindowLongPtrA(w, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(cs->lpCreateParams));
    }
    MainWindow* mw = reinterpret_cast<MainWindow*>(GetWindowLongPtrA(w, GWLP_USERDATA));
    if (!mw) return DefWindowProcA(w, msg, wp, lp);
    switch (msg) {
        case WM_CREATE:
            OnCreate(*mw, w);
            return 0;
        case WM_SIZE:
            if (mw->viewport)
                MoveWindow(mw->viewport->Window(), 0, 0, LOWORD(lp), HIWORD(lp), TRUE);
            return 0;
        case WM_COMMAND:
            OnCommand(*mw, LOWORD(wp));
            return 0;
        case WM_INITMENUPOPUP:
            mw->viewport->UpdateMenu(reinterpret_cast<HMENU>(wp));
            return 0;
        case WM_SETFOCUS:  // the viewport takes the View menu's keys
            SetFocus(mw->viewport->Window());
            return 0;
        case WM_DESTROY:
            mw->context->scene->onRedraw = nullptr;
            PostQuitMessage(0);
            return 0;
    }
    return DefWindowProcA(w, msg, wp, lp);
}

bool RegisterMainClass(HINSTANCE instance) {
    WNDCLASSA wc = {};
    if (GetClassInfoA(instance, kMainWindowClass, &wc)) return true;
    wc.lpfnWndProc = MainWindowProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.hIcon = LoadIcon(nullptr, IDI_APPLICATION);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = kMainWindowClass;
    return RegisterClassA(&wc) != 0;
}

// The outer size that gives the viewport the snapshot's size.
SIZE MainWindowSize(DWORD style) {
    RECT rc = {0, 0, kSnapshotWidth, kSnapshotHeight};
    AdjustWindowRectEx(&rc, style, TRUE, 0);
    return {rc.right - rc.left, rc.bottom - rc.top};
}

}  // namespace

int RunMainWindow(HINSTANCE instance, MainWindowContext& context) {
    if (!RegisterMainClass(instance)) return 1;
    MainWindow mw;
    mw.context = &context;
    DWORD style = WS_OVERLAPPEDWINDOW;
    SIZE size = MainWindowSize(style);
    HWND w = CreateWindowExA(0, kMainWindowClass, kTitle, style, CW_USEDEFAULT, CW_USEDEFAULT,
                             size.cx, size.cy, nullptr, BuildMenu(), instance, &mw);
    if (!w) return 1;
    context.core->SetMainWindow(w);
    ShowWindow(w, SW_SHOWNORMAL);
    UpdateWindow(w);
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    context.core->SetMainWindow(nullptr);
    return 0;
}

HWND CreateOwnerWindow(HINSTANCE instance) {
    if (!RegisterMainClass(instance)) return nullptr;
    DWORD style = WS_OVERLAPPEDWINDOW;
    SIZE size = MainWindowSize(style);
    int x = (GetSystemMetrics(SM_CXSCREEN) - size.cx) / 2;
    int y = (GetSystemMetrics(SM_CYSCREEN) - size.cy) / 2;
    // No creation parameter: the procedure then leaves everything to DefWindowProc.
    return CreateWindowExA(0, kMainWindowClass, kTitle, style, x, y, size.cx, size.cy, nullptr,
                           nullptr, instance, nullptr);
}
