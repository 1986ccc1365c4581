// plyhost.exe: the reference host. Loads an importer plug-in as the host
// does and imports files into its scene, in a window or from the command line.
#include <fcntl.h>
#include <io.h>
#include <windows.h>
// after windows.h, which it needs
#include <psapi.h>

#include <cstdio>
#include <new>
#include <string>
#include <vector>

#include "hostapp/autodriver_win.h"
#include "hostapp/batch.h"
#include "hostapp/cmdline.h"
#include "hostapp/hostpaths_win.h"
#include "hostapp/mainwindow_win.h"
#include "hostapp/pluginloader_win.h"
#include "hostapp/toolkitpanel_win.h"
#include "hostapp/viewer/bmpwriter.h"
#include "hostapp/viewer/imagefile_win.h"
#include "hostapp/viewer/legend_win.h"
#include "hostapp/viewer/renderer.h"
#include "hostapp/viewer/scenehelpers.h"
#include "hostapp/viewer/scenetriangles.h"

namespace {

FILE* reportStream = stdout;

void PrintLine(FILE* f, const std::string& line) {
    std::fputs((line + "\n").c_str(), f);
    std::fflush(f);  // lines written survive a plug-in that crashes later
}

void Report(const std::string& line) { PrintLine(reportStream, line); }
void Error(const std::string& line) { PrintLine(stderr, "plyhost: " + line); }

// A crashing plug-in ends the run with one line and status 1, never with a
// debugger dialog that would hold an unattended run forever.
LONG WINAPI ReportCrash(EXCEPTION_POINTERS* e) {
    char line[128];
    std::snprintf(line, sizeof line, "crashed: exception 0x%08lX at %p",
                  e->ExceptionRecord->ExceptionCode, e->ExceptionRecord->ExceptionAddress);
    Error(line);
    TerminateProcess(GetCurrentProcess(), 1);
    return EXCEPTION_EXECUTE_HANDLER;
}

void ReportMessages(DialogWatcher& watcher) {
    for (const std::string& m : watcher.TakeMessages()) Report(MessageReportLine(m));
}

// The most memory the process has held at once, as the system counts it
// (under wine, the resident size of the whole process).
std::string PeakMemoryLine() {
    PROCESS_MEMORY_COUNTERS counters = {};
    counters.cb = sizeof counters;
    if (!GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters))
        return "peak memory: unknown";
    char line[64];
    std::snprintf(line, sizeof line, "peak memory: %llu MB",
                  static_cast<unsigned long long>(counters.PeakWorkingSetSize >> 20));
    return line;
}

// A scene too large to draw in this process's memory fails the snapshot
// with a line, not the program.
bool WriteSnapshot(const HostOptions& options, const HostScene& scene) {
    Image picture;
    try {
        TextureCache textures(WindowsImageFiles());
        SceneDrawing drawing = textures.Draw(scene, true, options.colourBy);
        if (textures.OverBudget()) Report(std::string("snapshot: ") + kOverBudgetText);
        Camera camera = FrameScene(drawing, LookFrom(DefaultCamera(), options.view),
                                   kSnapshotWidth, kSnapshotHeight);
        RenderOptions render;
        render.mode = options.mode;
        picture = RenderView(drawing, camera, kSnapshotWidth, kSnapshotHeight, render);
        DrawLegend(picture, drawing.scale);
        if (!options.colourBy.empty() && drawing.scale.channel.empty())
            Report("snapshot: no map channel is named \"" + options.colourBy + "\"");
    } catch (const std::bad_alloc&) {
        Error(std::string("snapshot: ") + kTooLargeToDrawText);
        return false;
    }
    WriteResult r = WriteBmpFile(options.snapshotPath, picture);
    if (!r.ok) Error("snapshot: " + r.reason);
    return r.ok;
}

int WriteToolkitSnapshot(HINSTANCE instance, const std::string& path) {
    Image picture;
    std::string reason;
    if (!CaptureToolkitPanel(instance, picture, reason)) {
        Error("toolkit snapshot: " + reason);
        return 1;
    }
    WriteResult r = WriteBmpFile(path, picture);
    if (!r.ok) Error("toolkit snapshot: " + r.reason);
    return r.ok ? 0 : 1;
}

// Prompts are shown for an export with --auto, and whenever a format or
// setting is to be entered (the watcher answers them).
bool ExportPromptsSuppressed(const HostOptions& options) {
    return options.quiet && options.exportFormat < 0 && options.exportSettings.empty();
}

bool RunBatchExport(const HostOptions& options, const std::string& exporterPath,
                    RecordingScene& scene, HostCore& core, BatchServices& services) {
    PluginLoader exporter;
    LoadResult loaded = exporter.Load(exporterPath, SCENE_EXPORT_CLASS_ID);
    if (!loaded.ok) {
        Error(loaded.reason);
        return false;
    }
    services.createExporter = [&exporter](std::string& reason) {
        return exporter.CreateExporter(reason);
    };
    ExportRecord record =
        RunExport(options.exportPath, ExportPromptsSuppressed(options), scene, core, services);
    return record.ran && record.result == IMPEXP_SUCCESS;
}

int RunBatch(const HostOptions& options, const HostPaths& paths, PluginLoader& plugin,
             RecordingScene& scene, HostCore& core, DialogWatcher& watcher) {
    BatchServices services;
    services.fullPath = FullWindowsPath;
    services.createImporter = [&plugin](const std::string& path, std::string& reason) {
        return plugin.CreateImporter(path, reason);
    };
    services.takeMessages = [&watcher] { return watcher.TakeMessages(); };
    services.report = Report;
    services.error = Error;
    services.reportTiming = options.timing;
    std::vector<ImportRecord> records =
        RunImports(options.files, options.quiet, scene, core, services);
    bool ok = AllImportsSucceeded(records);
    if (!options.exportPath.empty())
        ok = RunBatchExport(options, paths.exporter, scene, core, services) && ok;
    if (options.timing) Report(PeakMemoryLine());
    if (!options.dumpPath.empty()) {
        WriteResult r = WriteTextFile(options.dumpPath, SceneDumpText(records, scene));
        if (!r.ok) Error("dump: " + r.reason);
        ok = ok && r.ok;
    }
    if (!options.snapshotPath.empty()) ok = WriteSnapshot(options, scene) && ok;
    return ok ? 0 : 1;
}

int RunHost(const HostOptions& options) {
    HINSTANCE instance = GetModuleHandleA(nullptr);
    HostPaths paths = ResolveHostPaths(options, Error);
    RecordingScene scene;
    HostCore core(scene);
    core.SetDir(APP_PLUGCFG_DIR, paths.cfgDir.c_str());
    core.SetDir(APP_HELP_DIR, paths.helpDir.c_str());
    SetCOREInterface(&core);
    // The panel needs the host's colours, not the plug-in.
    if (!options.toolkitSnapshotPath.empty()) {
        int status = WriteToolkitSnapshot(instance, options.toolkitSnapshotPath);
        SetCOREInterface(nullptr);
        return status;
    }
    if (options.toolkitPanel) {
        int status = RunToolkitPanel(instance);
        SetCOREInterface(nullptr);
        return status;
    }

    // Unattended runs (--quiet, --auto) answer every box, even one a plug-in
    // shows while it loads; otherwise the person at the screen does.
    AutoAnswers answers{options.settings, options.hasName, options.name, options.exportSettings,
                        options.exportFormat};
    DialogWatcher watcher(options.quiet || options.autoAnswer, answers);
    watcher.note = [](const std::string& text) { Error("--auto: " + text); };
    watcher.Start();

    int status = 1;
    PluginLoader plugin;
    LoadResult loaded = plugin.Load(paths.plugin);
    ReportMessages(watcher);
    if (!loaded.ok) {
        Error(loaded.reason);
    } else if (options.Interactive()) {
        MainWindowContext context{&plugin,       &scene,         &core,  &watcher,
                                  options.quiet, options.timing, Report, Error,
                                  options.files, paths.exporter, false};
        status = RunMainWindow(instance, context);
    } else {
        HWND owner = CreateOwnerWindow(instance);
        core.SetMainWindow(owner);
        status = RunBatch(options, paths, plugin, scene, core, watcher);
        core.SetMainWindow(nullptr);
        if (owner) DestroyWindow(owner);
    }

    // The scene goes before the plug-in that may still own code its objects reach.
    scene.NewScene();
    watcher.Stop();
    plugin.Unload();
    SetCOREInterface(nullptr);
    return status;
}

}  // namespace

int main(int argc, char** argv) {
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX | SEM_NOOPENFILEERRORBOX);
    SetUnhandledExceptionFilter(ReportCrash);
    // Plain line feeds on both streams, as the dump format and scripts expect.
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);

    HostOptions options;
    ParseResult parsed = ParseCommandLine(std::vector<std::string>(argv + 1, argv + argc), options);
    if (!parsed.ok) {
        Error(parsed.reason);
        return 1;
    }
    if (options.showUsage) {
        std::fputs(UsageText(), stdout);
        return 0;
    }
    if (options.dumpPath == "-") reportStream = stderr;
    return RunHost(options);
}
