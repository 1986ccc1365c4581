#include "hostapp/mainwindow_win.h"

#include <commctrl.h>
#include <commdlg.h>
#include <shellapi.h>

#include <memory>
#include <optional>

#include "hostapp/batch.h"
#include "hostapp/hostpaths_win.h"
#include "hostapp/report.h"
#include "hostapp/toolkitpanel_win.h"
#include "hostapp/viewer/scenetriangles.h"
#include "hostapp/viewer/viewport_win.h"
#include "hostapp/windowexport_win.h"

const char kMainWindowClass[] = "plyhostMainWindow";

namespace {

const char kTitle[] = "plyhost";
const int kStatusBarId = 100;
// Posted to itself on creation: the command line's files go in once the
// window shows, so their dialogs have it behind them.
const UINT kMsgImportCommandLine = WM_APP + 1;

using ErrorSink = std::function<void(const std::string&)>;

struct MainWindow {
    MainWindowContext* context;
    HWND window = nullptr;
    HWND statusBar = nullptr;
    std::unique_ptr<Viewport> viewport;
    std::string titleFile;                   // the last file imported well
    std::optional<ImportRecord> lastImport;  // none since the scene began
    std::optional<ExportRecord> lastExport;  // none since the last import
    std::string note;                        // what went wrong with the last command
    std::unique_ptr<WindowExporter> exporter;
    bool busy = false;                       // an import, or the file dialog before one, is running
    bool closeWhenIdle = false;
};

HMENU BuildMenu() {
    HMENU file = CreatePopupMenu();
    AppendMenuA(file, MF_STRING, kCmdImport, "&Import...");
    AppendMenuA(file, MF_STRING, kCmdExport, "&Export...");
    AppendMenuA(file, MF_STRING, kCmdExportSelected, "Export &Selected...");
    AppendMenuA(file, MF_STRING, kCmdReset, "&Reset");
    AppendMenuA(file, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(file, MF_STRING, kCmdExit, "E&xit");
    HMENU help = CreatePopupMenu();
    AppendMenuA(help, MF_STRING, kCmdToolkit, "&Toolkit...");
    AppendMenuA(help, MF_STRING, kCmdAbout, "&About...");
    HMENU bar = CreateMenu();
    AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(file), "&File");
    AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(CreateSelectMenu()), "&Select");
    AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(CreateViewMenu()), "&View");
    AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(help), "&Help");
    return bar;
}

// Every mesh of the scene counted, for the status line.
ImportCounts SceneCounts(RecordingScene& scene) {
    ImportCounts counts;
    for (int i = 0; i < scene.NodeCount(); ++i) {
        if (Mesh* mesh = NodeMesh(scene.GetNode(i))) {
            counts.vertices += mesh->getNumVerts();
            counts.faces += mesh->getNumFaces();
        }
    }
    return counts;
}

// "bunny.ply - plyhost" once a file was imported, else just "plyhost".
void UpdateTitle(MainWindow& mw) {
    std::string title = mw.titleFile.empty() ? kTitle : mw.titleFile + " - " + kTitle;
    SetWindowTextA(mw.window, title.c_str());
}

int CharsThatFit(HDC dc, const std::string& text, int width) {
    int fit = 0;
    SIZE size;
    GetTextExtentExPointA(dc, text.c_str(), int(text.size()), width > 0 ? width : 0, &fit, nullptr,
                          &size);
    return fit;
}

// The start of text that fits the status bar, ending in "..." when cut: the
// beginning (the counts, then the first message) says the most.
std::string FitStatusBar(HWND bar, const std::string& text) {
    RECT part = {};
    SendMessageA(bar, SB_GETRECT, 0, reinterpret_cast<LPARAM>(&part));
    // The part runs under the size grip; the text must stop before it.
    int width =
        part.right - part.left - 4 * GetSystemMetrics(SM_CXEDGE) - GetSystemMetrics(SM_CXVSCROLL);
    HDC dc = GetDC(bar);
    HGDIOBJ font = reinterpret_cast<HGDIOBJ>(SendMessageA(bar, WM_GETFONT, 0, 0));
    HGDIOBJ old = SelectObject(dc, font ? font : GetStockObject(DEFAULT_GUI_FONT));
    std::string fitted = text;
    if (CharsThatFit(dc, text, width) < int(text.size())) {
        SIZE dots;
        GetTextExtentPoint32A(dc, "...", 3, &dots);
        fitted = text.substr(0, CharsThatFit(dc, text, width - dots.cx)) + "...";
    }
    SelectObject(dc, old);
    ReleaseDC(bar, dc);
    return fitted;
}

void UpdateStatusLine(MainWindow& mw) {
    StatusParts parts;
    parts.scene = SceneCounts(*mw.context->scene);
    parts.selection = DescribeSelection(*mw.context->scene);
    parts.lastImport = mw.lastImport ? &*mw.lastImport : nullptr;
    parts.lastExport = mw.lastExport ? &*mw.lastExport : nullptr;
    parts.note = mw.note;
    parts.drawing = {mw.viewport->TexturesOverBudget(), mw.viewport->TooLargeToDraw()};
    std::string text = StatusLineText(parts);
    SendMessageA(mw.statusBar, SB_SETTEXTA, 0,
                 reinterpret_cast<LPARAM>(FitStatusBar(mw.statusBar, text).c_str()));
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

std::string FileName(const std::string& path) {
    size_t slash = LastSeparator(path, "\\/:");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

void ShowImport(MainWindow& mw, const ImportRecord& record) {
    mw.viewport->SceneChanged();
    if (record.zoomExtents) mw.viewport->ZoomExtents();
    if (record.result == IMPEXP_SUCCESS) mw.titleFile = FileName(record.path);
    mw.lastImport = record;
    mw.lastExport.reset();
    mw.note.clear();
    UpdateTitle(mw);
    UpdateStatusLine(mw);
}

// One file through batch mode's import, so that the window reports it as
// batch mode does; a file the plug-in does not read is told through error.
// False when the import failed.
bool ImportFile(MainWindow& mw, const std::string& file, const ErrorSink& error) {
    MainWindowContext& c = *mw.context;
    BatchServices services;
    services.fullPath = FullWindowsPath;
    services.createImporter = [&c](const std::string& path, std::string& reason) {
        return c.plugin->CreateImporter(path, reason);
    };
    if (c.watcher) services.takeMessages = [&c] { return c.watcher->TakeMessages(); };
    services.report = c.report;
    services.error = error;
    services.reportTiming = c.reportTiming;
    std::vector<ImportRecord> records =
        RunImports({file}, c.suppressPrompts, *c.scene, *c.core, services);
    if (records[0].ran) ShowImport(mw, records[0]);
    return ImportSucceeded(records[0]);
}

// What File > Import... and a drop do with a file the plug-in does not read:
// the error line batch mode prints, and a box. The watcher records every box;
// this one is the host's, not a plug-in message.
ErrorSink ErrorBox(MainWindow& mw) {
    return [&mw](const std::string& line) {
        mw.context->error(line);
        MessageBoxA(mw.window, line.c_str(), kTitle, MB_OK | MB_ICONEXCLAMATION);
        if (mw.context->watcher) mw.context->watcher->TakeMessages();
    };
}

// Runs an import (or the file dialog before one). Its dialogs pump messages:
// mw.busy keeps a drop or a menu command from starting another meanwhile, and
// a close asked for meanwhile happens when it has ended.
void RunBusy(MainWindow& mw, const std::function<void()>& work) {
    mw.busy = true;
    mw.viewport->HoldScene(true);
    work();
    mw.viewport->HoldScene(false);
    mw.busy = false;
    if (mw.closeWhenIdle) DestroyWindow(mw.window);
}

// The files in order, each an import of its own; false when one failed. A
// close asked for meanwhile ends the run before the next file.
bool ImportFiles(MainWindow& mw, const std::vector<std::string>& files, const ErrorSink& error) {
    bool ok = true;
    RunBusy(mw, [&] {
        for (const std::string& file : files) {
            if (mw.closeWhenIdle) break;
            ok = ImportFile(mw, file, error) && ok;
        }
    });
    return ok;
}

std::vector<std::string> DroppedFiles(HDROP drop) {
    std::vector<std::string> files;
    UINT count = DragQueryFileA(drop, 0xFFFFFFFF, nullptr, 0);
    for (UINT i = 0; i < count; ++i) {
        std::vector<char> name(DragQueryFileA(drop, i, nullptr, 0) + 1, '\0');
        DragQueryFileA(drop, i, name.data(), UINT(name.size()));
        files.push_back(name.data());
    }
    return files;
}

// Tells why a command did not do its work: on the status line, as an error
// line and in a box.
void Refuse(MainWindow& mw, const std::string& why) {
    mw.note = why;
    UpdateStatusLine(mw);
    ErrorBox(mw)(why);
}

// The scene has what the export needs: nodes; for Export Selected... a
// selected one, and an exporter that may write the selection alone.
bool CanExport(MainWindow& mw, bool selected) {
    const HostScene& scene = *mw.context->scene;
    if (!selected) return scene.NodeCount() > 0;
    return SelectedNodeCount(scene) > 0 && mw.exporter->MayExportSelection();
}

// Runs the export as batch mode does, so that the window prints it the same.
void ExportTo(MainWindow& mw, const std::string& path, DWORD options) {
    MainWindowContext& c = *mw.context;
    const PluginLoader& loader = mw.exporter->Loader();
    BatchServices services;
    services.fullPath = FullWindowsPath;
    services.createExporter = [&loader](std::string& reason) {
        return loader.CreateExporter(reason);
    };
    if (c.watcher) services.takeMessages = [&c] { return c.watcher->TakeMessages(); };
    services.report = c.report;
    services.error = [&mw](const std::string& line) { Refuse(mw, line); };
    mw.note.clear();
    ExportRecord record = RunExport(path, c.suppressPrompts, *c.scene, *c.core, services, options);
    record.file = FileName(record.path);  // the status line has no room for the folder
    mw.lastImport.reset();
    mw.lastExport = record;
    UpdateStatusLine(mw);
}

// File > Export... (options 0) and Export Selected... (SCENE_EXPORT_SELECTED).
void ExportScene(MainWindow& mw, DWORD options) {
    const bool selected = (options & SCENE_EXPORT_SELECTED) != 0;
    if (mw.busy || !CanExport(mw, selected)) {
        MessageBeep(MB_ICONEXCLAMATION);
        return;
    }
    std::string reason;
    if (!mw.exporter->Load(reason)) return Refuse(mw, "export: " + reason);
    if (!CanExport(mw, selected))
        return Refuse(mw, "export: the exporter cannot write the selected nodes alone");
    RunBusy(mw, [&] {
        std::string path;
        if (AskForExportFile(mw.window, selected ? "Export Selected" : "Export", path))
            ExportTo(mw, path, options);
    });
}

void SelectionChanged(MainWindow& mw) {
    mw.note.clear();
    mw.viewport->SelectionChanged();
    UpdateStatusLine(mw);
}

// A click that picked nothing for its cost leaves the selection as it was.
void OnViewportClick(MainWindow& mw, INT_PTR node, bool toggle) {
    if (mw.busy) return;
    if (node == kClickTooCostly) {
        mw.note = "too many faces to pick from by clicking: use the Select menu";
        UpdateStatusLine(mw);
        return;
    }
    SelectByClick(*mw.context->scene, node, toggle);
    SelectionChanged(mw);
}

void UpdateFileMenu(MainWindow& mw, HMENU menu) {
    EnableMenuItem(menu, kCmdExport,
                   MF_BYCOMMAND | (!mw.busy && CanExport(mw, false) ? MF_ENABLED : MF_GRAYED));
    EnableMenuItem(menu, kCmdExportSelected,
                   MF_BYCOMMAND | (!mw.busy && CanExport(mw, true) ? MF_ENABLED : MF_GRAYED));
}

void OnInitMenuPopup(MainWindow& mw, HMENU menu) {
    const UINT first = GetMenuItemID(menu, 0);
    if (first == UINT(kCmdImport))
        UpdateFileMenu(mw, menu);
    else if (first == UINT(kCmdSelectAll))
        FillSelectMenu(menu, *mw.context->scene, !mw.busy);
    else
        mw.viewport->UpdateMenu(menu);
}

void OnDropFiles(MainWindow& mw, HDROP drop) {
    std::vector<std::string> files = DroppedFiles(drop);
    DragFinish(drop);
    if (mw.busy) {
        MessageBeep(MB_ICONEXCLAMATION);
        return;
    }
    ImportFiles(mw, files, ErrorBox(mw));
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
            if (!mw.busy)
                RunBusy(mw, [&] {
                    if (AskForFile(mw, path)) ImportFile(mw, path, ErrorBox(mw));
                });
            break;
        case kCmdReset:
            if (mw.busy) break;
            mw.viewport->HoldScene(true);
            mw.context->core->FileReset(TRUE);
            mw.viewport->SceneChanged();
            mw.viewport->HoldScene(false);
            mw.viewport->ResetView();
            mw.titleFile.clear();
            mw.lastImport.reset();
            mw.lastExport.reset();
            mw.note.clear();
            UpdateTitle(mw);
            UpdateStatusLine(mw);
            break;
        case kCmdExit:
            // As closing the window: an import under way ends first.
            SendMessageA(mw.window, WM_CLOSE, 0, 0);
            break;
        case kCmdExport:
            ExportScene(mw, 0);
            break;
        case kCmdExportSelected:
            ExportScene(mw, SCENE_EXPORT_SELECTED);
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
            if (!mw.busy && OnSelectCommand(*mw.context->scene, id))
                SelectionChanged(mw);
            else
                mw.viewport->OnCommand(id);
    }
}

HWND CreateStatusBar(HWND parent, HINSTANCE instance) {
    INITCOMMONCONTROLSEX classes = {sizeof classes, ICC_BAR_CLASSES};
    InitCommonControlsEx(&classes);
    return CreateWindowExA(0, STATUSCLASSNAMEA, "", WS_CHILD | WS_VISIBLE | SBARS_SIZEGRIP, 0, 0, 0,
                           0, parent, reinterpret_cast<HMENU>(INT_PTR(kStatusBarId)), instance,
                           nullptr);
}

int WindowHeight(HWND w) {
    RECT rc = {};
    GetWindowRect(w, &rc);
    return rc.bottom - rc.top;
}

void OnCreate(MainWindow& mw, HWND w) {
    mw.window = w;
    HINSTANCE instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(w, GWLP_HINSTANCE));
    mw.viewport.reset(new Viewport(*mw.context->scene));
    mw.viewport->Create(w, instance);
    mw.statusBar = CreateStatusBar(w, instance);
    Viewport* viewport = mw.viewport.get();
    mw.context->scene->onRedraw = [viewport] { viewport->SceneChanged(); };
    DragAcceptFiles(w, TRUE);
    UpdateTitle(mw);
    UpdateStatusLine(mw);
    if (!mw.context->files.empty()) PostMessageA(w, kMsgImportCommandLine, 0, 0);
}

// The status line at the bottom, the viewport above it.
void OnSize(MainWindow& mw, int width, int height) {
    if (!mw.viewport) return;
    SendMessageA(mw.statusBar, WM_SIZE, 0, 0);  // the bar places itself
    MoveWindow(mw.viewport->Window(), 0, 0, width, height - WindowHeight(mw.statusBar), TRUE);
    UpdateStatusLine(mw);
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
            OnSize(*mw, LOWORD(lp), HIWORD(lp));
            return 0;
        case WM_COMMAND:
            OnCommand(*mw, LOWORD(wp));
            return 0;
        case WM_DROPFILES:
            OnDropFiles(*mw, reinterpret_cast<HDROP>(wp));
            return 0;
        case kMsgViewportNews:
            mw->viewport->ShowDecodedTextures();
            UpdateStatusLine(*mw);
            return 0;
        case kMsgImportCommandLine:
            mw->context->filesFailed = !ImportFiles(*mw, mw->context->files, mw->context->error);
            return 0;
        case kMsgViewportClick:
            OnViewportClick(*mw, INT_PTR(wp), lp & MK_CONTROL);
            return 0;
        case WM_CLOSE:
            if (!mw->busy) break;
            mw->closeWhenIdle = true;
            return 0;
        case WM_INITMENUPOPUP:
            OnInitMenuPopup(*mw, reinterpret_cast<HMENU>(wp));
            return 0;
        case WM_SETFOCUS:  // the viewport takes the View menu's keys
            SetFocus(mw->viewport->Window());
            return 0;
        case WM_DESTROY:
            mw->context->scene->onRedraw = nullptr;
            mw->context->core->SetMainWindow(nullptr);
            PostQuitMessage(0);
            return 0;
        case WM_NCDESTROY:
            // The window owns its state from WM_CREATE on; before, its maker does.
            SetWindowLongPtrA(w, GWLP_USERDATA, 0);
            if (mw->window) delete mw;
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

// The outer size that gives the viewport the snapshot's size, with room for
// a status line of the given height under it.
SIZE MainWindowSize(DWORD style, int statusHeight) {
    RECT rc = {0, 0, kSnapshotWidth, kSnapshotHeight + statusHeight};
    AdjustWindowRectEx(&rc, style, TRUE, 0);
    return {rc.right - rc.left, rc.bottom - rc.top};
}

}  // namespace

HWND CreateMainWindow(HINSTANCE instance, MainWindowContext& context) {
    if (!RegisterMainClass(instance)) return nullptr;
    MainWindow* mw = new MainWindow;
    mw->context = &context;
    mw->exporter.reset(new WindowExporter(context.exporterPath));
    DWORD style = WS_OVERLAPPEDWINDOW;
    SIZE size = MainWindowSize(style, 0);
    HWND w = CreateWindowExA(0, kMainWindowClass, kTitle, style, CW_USEDEFAULT, CW_USEDEFAULT,
                             size.cx, size.cy, nullptr, BuildMenu(), instance, mw);
    if (!w) {
        delete mw;
        return nullptr;
    }
    size = MainWindowSize(style, WindowHeight(mw->statusBar));
    SetWindowPos(w, nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER);
    context.core->SetMainWindow(w);
    ShowWindow(w, SW_SHOWNORMAL);
    UpdateWindow(w);
    return w;
}

int RunMainWindow(HINSTANCE instance, MainWindowContext& context) {
    HWND w = CreateMainWindow(instance, context);
    if (!w) return 1;
    ACCEL selectAll = {FVIRTKEY | FCONTROL, 'A', kCmdSelectAll};
    HACCEL keys = CreateAcceleratorTableA(&selectAll, 1);
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        // The window's own keys; another window (the toolkit panel) keeps its Ctrl+A.
        bool ours = IsWindow(w) && (msg.hwnd == w || IsChild(w, msg.hwnd));
        if (ours && TranslateAcceleratorA(w, keys, &msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    DestroyAcceleratorTable(keys);
    return context.filesFailed ? 1 : 0;
}

HWND CreateOwnerWindow(HINSTANCE instance) {
    if (!RegisterMainClass(instance)) return nullptr;
    DWORD style = WS_OVERLAPPEDWINDOW;
    SIZE size = MainWindowSize(style, 0);
    int x = (GetSystemMetrics(SM_CXSCREEN) - size.cx) / 2;
    int y = (GetSystemMetrics(SM_CYSCREEN) - size.cy) / 2;
    // No creation parameter: the procedure then leaves everything to DefWindowProc.
    return CreateWindowExA(0, kMainWindowClass, kTitle, style, x, y, size.cx, size.cy, nullptr,
                           nullptr, instance, nullptr);
}
