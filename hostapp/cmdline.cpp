#include "hostapp/cmdline.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>

namespace {

ParseResult Fail(const std::string& reason) { return {false, reason}; }

bool ParseTruth(const std::string& v, bool& out) {
    static const char* const kOn[] = {"1", "on", "true", "yes"};
    static const char* const kOff[] = {"0", "off", "false", "no"};
    for (const char* s : kOn)
        if (v == s) return out = true, true;
    for (const char* s : kOff)
        if (v == s) return out = false, true;
    return false;
}

bool IsNumber(const std::string& v) {
    if (v.empty()) return false;
    char* end = nullptr;
    errno = 0;
    double d = std::strtod(v.c_str(), &end);
    return *end == '\0' && errno == 0 && std::isfinite(d);
}

// --set for the import options, --export-set for the export options.
ParseResult ParseSetting(const std::string& option, const std::string& arg, OptionSetting& out) {
    const bool exporting = option == "--export-set";
    size_t eq = arg.find('=');
    if (eq == std::string::npos) return Fail(option + " needs NAME=VALUE, got \"" + arg + "\"");
    std::string name = arg.substr(0, eq), value = arg.substr(eq + 1);
    out.field = exporting ? FindExportField(name) : FindOptionField(name);
    if (!out.field) {
        std::string known;
        const OptionField* fields = exporting ? kExportFields : kOptionFields;
        const int count = exporting ? kExportFieldCount : kOptionFieldCount;
        for (int i = 0; i < count; ++i) known += std::string(known.empty() ? "" : ", ") + fields[i].name;
        return Fail(option + ": unknown option \"" + name + "\" (one of " + known + ")");
    }
    out.text = value;
    out.checked = false;
    if (out.field->isNumber) {
        if (!IsNumber(value)) return Fail(option + " " + name + ": \"" + value + "\" is not a number");
    } else if (!ParseTruth(value, out.checked)) {
        return Fail(option + " " + name + ": \"" + value +
                    "\" is not 0/1, on/off, true/false or yes/no");
    }
    return {true, ""};
}

// A name out of a table of count names; the reason lists them all.
template <typename Enum>
ParseResult ParseName(const std::string& option, const std::string& value, int count,
                      const char* (*nameOf)(Enum), Enum& out) {
    std::string known;
    for (int i = 0; i < count; ++i) {
        if (value == nameOf(Enum(i))) return out = Enum(i), ParseResult{true, ""};
        known += std::string(i ? ", " : "") + nameOf(Enum(i));
    }
    return Fail(option + ": unknown name \"" + value + "\" (one of " + known + ")");
}

// Options that take a value: where the value goes.
std::string* ValueSlot(const std::string& opt, HostOptions& o) {
    if (opt == "--plugin") return &o.pluginPath;
    if (opt == "--cfg-dir") return &o.cfgDir;
    if (opt == "--help-dir") return &o.helpDir;
    if (opt == "--dump") return &o.dumpPath;
    if (opt == "--snapshot") return &o.snapshotPath;
    if (opt == "--toolkit-snapshot") return &o.toolkitSnapshotPath;
    if (opt == "--name") return &o.name;
    if (opt == "--colour-by") return &o.colourBy;
    if (opt == "--exporter") return &o.exporterPath;
    if (opt == "--export") return &o.exportPath;
    return nullptr;
}

ParseResult CheckCombination(const HostOptions& o) {
    if (o.quiet && o.autoAnswer) return Fail("--quiet and --auto exclude each other");
    // Without --auto nobody would enter them: saying so beats ignoring them.
    if (!o.autoAnswer && (!o.settings.empty() || o.hasName))
        return Fail("--set and --name are entered into the options dialog: they need --auto");
    if (!o.autoAnswer && !o.exportSettings.empty())
        return Fail("--export-set is entered into the export options dialog: it needs --auto");
    if (o.exportPath.empty() && (o.exportFormat >= 0 || !o.exportSettings.empty()))
        return Fail("--export-format and --export-set go with --export");
    // The window loads the exporter on its first File > Export.
    if (o.exportPath.empty() && !o.exporterPath.empty() && !o.Interactive())
        return Fail("--exporter goes with --export or the window");
    // Without a dialog answered for it, only the saved option can carry the format.
    if (o.exportFormat >= 0 && !o.quiet && !o.autoAnswer)
        return Fail("--export-format needs --auto (entered into the dialog) or --quiet (saved as the option)");
    if ((o.viewOrModeGiven || !o.colourBy.empty()) && o.snapshotPath.empty())
        return Fail(
            "--view, --mode and --colour-by choose how --snapshot draws the scene: they need "
            "--snapshot");
    if (!o.toolkitSnapshotPath.empty() &&
        (!o.files.empty() || !o.dumpPath.empty() || !o.snapshotPath.empty()))
        return Fail("--toolkit-snapshot stands alone: no files, --dump or --snapshot with it");
    if (o.toolkitPanel && (!o.files.empty() || !o.dumpPath.empty() || !o.snapshotPath.empty() ||
                           !o.toolkitSnapshotPath.empty()))
        return Fail(
            "--toolkit stands alone: no files, --dump, --snapshot or --toolkit-snapshot with it");
    // The window's scene changes until it is closed: no one final scene to write.
    if (o.window && (!o.dumpPath.empty() || !o.snapshotPath.empty() || !o.exportPath.empty() ||
                     o.toolkitPanel || !o.toolkitSnapshotPath.empty()))
        return Fail(
            "--window keeps the scene open: no --dump, --snapshot, --export, --toolkit or "
            "--toolkit-snapshot with it");
    return {true, ""};
}

}  // namespace

ParseResult ParseCommandLine(const std::vector<std::string>& args, HostOptions& out) {
    out = HostOptions();
    bool optionsEnded = false;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (optionsEnded || a.size() < 2 || a.compare(0, 2, "--") != 0) {
            out.files.push_back(a);
            continue;
        }
        if (a == "--") {
            optionsEnded = true;
        } else if (a == "--quiet") {
            out.quiet = true;
        } else if (a == "--auto") {
            out.autoAnswer = true;
        } else if (a == "--timing") {
            out.timing = true;
        } else if (a == "--toolkit") {
            out.toolkitPanel = true;
        } else if (a == "--window") {
            out.window = true;
        } else if (a == "--help") {
            out.showUsage = true;
        } else if (a == "--export-format") {
            if (i + 1 >= args.size()) return Fail(a + " needs a value");
            ParseResult r = ParseName(a, args[++i], kExportFormatCount, ExportFormatName, out.exportFormat);
            if (!r.ok) return r;
        } else if (a == "--view" || a == "--mode") {
            if (i + 1 >= args.size()) return Fail(a + " needs a value");
            const std::string& name = args[++i];
            ParseResult r = a == "--view"
                                ? ParseName(a, name, kStandardViewCount, StandardViewName, out.view)
                                : ParseName(a, name, kDisplayModeCount, DisplayModeName, out.mode);
            if (!r.ok) return r;
            out.viewOrModeGiven = true;
        } else if (a == "--set" || a == "--export-set" || ValueSlot(a, out)) {
            if (i + 1 >= args.size()) return Fail(a + " needs a value");
            const std::string& value = args[++i];
            if (a == "--set" || a == "--export-set") {
                OptionSetting s;
                ParseResult r = ParseSetting(a, value, s);
                if (!r.ok) return r;
                (a == "--set" ? out.settings : out.exportSettings).push_back(s);
            } else {
                if (value.empty() && a != "--name") return Fail(a + " needs a value");
                *ValueSlot(a, out) = value;
                if (a == "--name") out.hasName = true;
            }
        } else {
            return Fail("unknown option " + a + " (see --help)");
        }
    }
    return CheckCombination(out);
}

const char* UsageText() {
    return "usage: plyhost.exe [options] [FILE...]\n"
           "       plyhost.exe --window [options] [FILE...]\n"
           "       plyhost.exe --toolkit\n"
           "       plyhost.exe --toolkit-snapshot FILE\n"
           "Without files (and without --dump, --snapshot, --toolkit or --toolkit-snapshot) the\n"
           "host opens its window; PLY files dropped onto it are imported.\n"
           "With files it imports each in order into one scene, prints one line per import\n"
           "and exits with 0 when every import answered 1 or 2, else 1.\n"
           "  --window           import the files into the window and keep it open; the exit\n"
           "                     status, when it is closed, is that of the files' imports\n"
           "                     (no --dump, --snapshot, --toolkit or --toolkit-snapshot)\n"
           "  --plugin PATH      the importer plug-in (default: ks_dazazu.dli beside plyhost.exe)\n"
           "  --quiet            import with prompts suppressed\n"
           "  --auto             show prompts and answer them: \"Import\" in the options dialog,\n"
           "                     \"OK\" in every message box (each message is recorded)\n"
           "  --set NAME=VALUE   with --auto: enter an option into the options dialog; NAME is\n"
           "                     replaceScene, flipZY, centerPivot, scale, generateNormals,\n"
           "                     vertexNormals, vertexColors, textureCoords or materials\n"
           "  --name TEXT        with --auto: enter the object name\n"
           "  --cfg-dir DIR      the plug-in configuration directory (default: plugcfg beside the "
           "exe)\n"
           "  --help-dir DIR     the help directory (default: help beside the exe)\n"
           "  --dump FILE|-      write the scene dump (\"-\": standard output; the report\n"
           "                     lines then go to standard error)\n"
           "  --snapshot FILE    write the viewport picture, 800 x 600, 24-bit BMP, framing the\n"
           "                     whole scene\n"
           "  --view NAME        with --snapshot: look from the front, back, left, right, top,\n"
           "                     bottom or three-quarter (the default: front right above)\n"
           "  --mode NAME        with --snapshot: draw shaded (the default), edges (shaded with\n"
           "                     the visible edges), wireframe or points\n"
           "  --colour-by NAME   with --snapshot: colour the meshes by the map channel of that\n"
           "                     name (blue the scene's smallest value, red its largest), with\n"
           "                     a legend\n"
           "  --export OUT.ply   after the imports, export the whole scene with the exporter\n"
           "                     plug-in (prompts as for the imports); prints\n"
           "                     OUT.ply: export result R, V vertices, F faces\n"
           "  --exporter PATH    the exporter plug-in of --export and the window's File > Export\n"
           "                     (default: ks_dazazu.dle beside plyhost.exe)\n"
           "  --export-format ascii|binary_little_endian|binary_big_endian\n"
           "                     with --auto entered into the export options dialog, with\n"
           "                     --quiet saved as the exporter's option (else the saved one)\n"
           "  --export-set NAME=VALUE\n"
           "                     with --auto: enter an export option; NAME is normals,\n"
           "                     vertexColors, textureCoords, mapChannels, materials, flipZY\n"
           "                     or scale\n"
           "  --toolkit          open the Help > Toolkit... panel as the only window, to try the\n"
           "                     toolkit's controls; the program ends when it is closed\n"
           "  --toolkit-snapshot FILE\n"
           "                     write a picture of the Help > Toolkit... panel with the\n"
           "                     combo box's choices open, 24-bit BMP; nothing else is done\n"
           "  --timing           print the wall time of each import (time: DoImport N ms)\n"
           "                     and of the export (time: DoExport N ms), then the\n"
           "                     process's peak memory (peak memory: N MB)\n"
           "  --help             this text\n"
           "In the window: left drag orbits around the scene, middle drag pans, the wheel\n"
           "zooms toward the cursor, a double-click or F frames everything; the View menu\n"
           "lists the display modes, the standard views and their keys, and Colour by the\n"
           "meshes' own colours or any named map channel of the scene.\n";
}
