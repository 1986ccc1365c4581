#include "hostapp/pluginloader_win.h"

#include "hostapp/hostpaths_win.h"

#include <cstdio>

namespace {

typedef const char* (*LibDescriptionFn)();
typedef int (*LibNumberClassesFn)();
typedef ClassDesc* (*LibClassDescFn)(int);
typedef ULONG (*LibVersionFn)();
typedef int (*LibInitializeFn)();

// GetProcAddress answers one generic type; each export has its own.
template <class Fn>
Fn Export(HMODULE module, const char* name) {
    return reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

std::string Hex(ULONG v) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "0x%08lX", v);
    return buf;
}

std::string SystemErrorText(DWORD code) {
    char buf[256] = "";
    DWORD n = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                             code, 0, buf, sizeof buf, nullptr);
    while (n > 0 &&
           (buf[n - 1] == '\n' || buf[n - 1] == '\r' || buf[n - 1] == ' ' || buf[n - 1] == '.'))
        buf[--n] = '\0';
    std::string text = "error " + std::to_string(code);
    return n > 0 ? text + ": " + buf : text;
}

bool SameIgnoringCase(const std::string& a, const std::string& b) {
    return a.size() == b.size() &&
           CompareStringA(LOCALE_INVARIANT, NORM_IGNORECASE, a.data(), int(a.size()), b.data(),
                          int(b.size())) == CSTR_EQUAL;
}

std::string Copy(const char* text) { return text ? text : ""; }

}  // namespace

std::string FileExtension(const std::string& path) {
    size_t nameStart = LastSeparator(path, "\\/:");
    nameStart = nameStart == std::string::npos ? 0 : nameStart + 1;
    size_t dot = path.rfind('.');
    if (dot == std::string::npos || dot < nameStart) return "";
    return path.substr(dot + 1);
}

LoadResult PluginLoader::Fail(const std::string& why) const { return {false, path + ": " + why}; }

LoadResult PluginLoader::Load(const std::string& pluginPath, SClass_ID wanted) {
    Unload();
    path = pluginPath;
    kind = wanted;
    // The plug-in's own folder comes first when its DLLs are looked up.
    module = LoadLibraryExA(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
    if (!module)
        return {false,
                "cannot load plug-in " + path + " (" + SystemErrorText(GetLastError()) + ")"};

    auto version = Export<LibVersionFn>(module, "LibVersion");
    auto initialize = Export<LibInitializeFn>(module, "LibInitialize");
    auto numberClasses = Export<LibNumberClassesFn>(module, "LibNumberClasses");
    auto classDesc = Export<LibClassDescFn>(module, "LibClassDesc");
    auto describe = Export<LibDescriptionFn>(module, "LibDescription");
    const char* missing = !version         ? "LibVersion"
                          : !numberClasses ? "LibNumberClasses"
                          : !classDesc     ? "LibClassDesc"
                          : !describe      ? "LibDescription"
                                           : nullptr;
    if (missing) return Fail(std::string("missing export ") + missing);

    ULONG v = version();
    if (v != VERSION_3DSMAX)
        return Fail("LibVersion is " + Hex(v) + ", the host needs " + Hex(VERSION_3DSMAX));
    // LibInitialize is optional, as CanAutoDefer is; when present its 0 is a failed load.
    if (initialize && initialize() == 0) return Fail("LibInitialize failed (answered 0)");
    description = Copy(describe());

    int count = numberClasses();
    if (count <= 0)
        return Fail("LibNumberClasses is " + std::to_string(count) +
                    ": the plug-in offers no class");
    for (int i = 0; i < count; ++i) {
        ClassDesc* desc = classDesc(i);
        if (!desc || desc->SuperClassID() != kind) continue;
        LoadResult added = kind == SCENE_IMPORT_CLASS_ID ? AddClass<SceneImport>(desc, "importer")
                                                         : AddClass<SceneExport>(desc, "exporter");
        if (!added.ok) return added;
    }
    if (importers.empty())
        return Fail(std::string("no scene ") + (kind == SCENE_IMPORT_CLASS_ID ? "importer" : "exporter") +
                    " among its " + std::to_string(count) + " class(es) (super-class id " +
                    Hex(kind) + ")");
    return {true, ""};
}

// The class's extension and description, asked of one fresh object;
// Plugin is the object's base, SceneImport or SceneExport.
template <class Plugin>
LoadResult PluginLoader::AddClass(ClassDesc* desc, const char* what) {
    Plugin* probe = static_cast<Plugin*>(desc->Create(FALSE));
    if (!probe)
        return Fail(std::string("Create of class \"") + Copy(desc->ClassName()) + "\" gave no " +
                    what);
    ImporterClass c;
    c.desc = desc;
    c.ext = probe->ExtCount() > 0 ? Copy(probe->Ext(0)) : "";
    c.shortDesc = Copy(probe->ShortDesc());
    delete probe;
    importers.push_back(c);
    return {true, ""};
}

SceneExport* PluginLoader::CreateExporter(std::string& reason) const {
    SceneExport* exporter = importers.empty() || kind != SCENE_EXPORT_CLASS_ID
                                ? nullptr
                                : static_cast<SceneExport*>(importers[0].desc->Create(FALSE));
    if (!exporter) reason = "the exporter plug-in's Create gave no exporter";
    return exporter;
}

void PluginLoader::Unload() {
    importers.clear();
    if (module) FreeLibrary(module);
    module = nullptr;
}

const ImporterClass* PluginLoader::ForFile(const std::string& file) const {
    std::string ext = FileExtension(file);
    for (const ImporterClass& c : importers)
        if (!ext.empty() && SameIgnoringCase(ext, c.ext)) return &c;
    return nullptr;
}

SceneImport* PluginLoader::CreateImporter(const std::string& file, std::string& reason) const {
    const ImporterClass* c = ForFile(file);
    if (!c) {
        std::string exts;
        for (const ImporterClass& i : importers) exts += (exts.empty() ? "." : ", .") + i.ext;
        reason = "no importer for this file type (the plug-in reads " + exts + ")";
        return nullptr;
    }
    SceneImport* importer = static_cast<SceneImport*>(c->desc->Create(FALSE));
    if (!importer) reason = "the plug-in's Create gave no importer";
    return importer;
}

SceneImport* PluginLoader::CreateAnyImporter() const {
    return importers.empty() ? nullptr
                             : static_cast<SceneImport*>(importers[0].desc->Create(FALSE));
}
