// Loading a plug-in by path, the way the host does: version check,
// initialisation, the class descriptors, and the scene importers (or, for an
// exporter library, the scene exporters) among them.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "hostsdk/plugapi.h"

// A scene-importer (or scene-exporter) class of the plug-in, with what its
// objects answer.
struct ImporterClass {
    ClassDesc* desc;
    std::string ext;        // Ext(0)
    std::string shortDesc;  // ShortDesc(), for the file dialog
};

struct LoadResult {
    bool ok;
    std::string reason;  // one line, naming the plug-in, when !ok
};

class PluginLoader {
  public:
    PluginLoader() = default;
    ~PluginLoader() { Unload(); }
    PluginLoader(const PluginLoader&) = delete;
    PluginLoader& operator=(const PluginLoader&) = delete;

    // LoadLibrary, LibVersion (must be the host's), LibInitialize (0 is a
    // failed load), LibNumberClasses, LibClassDesc(i); keeps the classes of
    // the super-class (0x0A10 importers, 0x0A20 exporters), each asked once
    // through a fresh object for its extension. Fails when any step fails or
    // no class of the kind is found.
    LoadResult Load(const std::string& path, SClass_ID kind = SCENE_IMPORT_CLASS_ID);
    void Unload();

    const std::vector<ImporterClass>& Importers() const { return importers; }
    // The importer class whose Ext(0) matches the file's extension, ignoring case.
    const ImporterClass* ForFile(const std::string& path) const;
    // A new importer for the file from its class's Create, or null with the reason.
    SceneImport* CreateImporter(const std::string& path, std::string& reason) const;
    // A new importer of the first class (the about box needs one), or null.
    SceneImport* CreateAnyImporter() const;
    // A new exporter of the first class of an exporter library, or null
    // with the reason.
    SceneExport* CreateExporter(std::string& reason) const;
    const std::string& Description() const { return description; }

  private:
    LoadResult Fail(const std::string& why) const;
    template <class Plugin>
    LoadResult AddClass(ClassDesc* desc, const char* what);

    HMODULE module = nullptr;
    std::string path;
    std::string description;
    SClass_ID kind = SCENE_IMPORT_CLASS_ID;
    std::vector<ImporterClass> importers;  // or exporters, by kind
};

// The extension of a file name (after its last full stop), empty when none.
std::string FileExtension(const std::string& path);
