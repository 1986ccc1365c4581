#include "hostapp/hostpaths_win.h"

#include <windows.h>

#include <cstring>
#include <vector>

namespace {

void EnsureDirectory(const std::string& dir, void (*warn)(const std::string&)) {
    if (CreateDirectoryA(dir.c_str(), nullptr)) return;
    DWORD error = GetLastError();
    DWORD attributes = GetFileAttributesA(dir.c_str());
    if (error == ERROR_ALREADY_EXISTS && attributes != INVALID_FILE_ATTRIBUTES &&
        (attributes & FILE_ATTRIBUTE_DIRECTORY))
        return;
    warn("cannot create the directory " + dir + " (error " + std::to_string(error) + ")");
}

}  // namespace

size_t LastSeparator(const std::string& path, const char* separators) {
    size_t last = std::string::npos;
    for (const char* p = path.c_str(); *p; p = CharNextA(p))
        if (std::strchr(separators, *p)) last = size_t(p - path.c_str());
    return last;
}

std::string ExeDirectory() {
    std::vector<char> buf(MAX_PATH);
    for (;;) {
        DWORD n = GetModuleFileNameA(nullptr, buf.data(), DWORD(buf.size()));
        if (n == 0) return ".";
        if (n < buf.size()) break;
        buf.resize(buf.size() * 2);
    }
    std::string path = buf.data();
    size_t slash = LastSeparator(path, "\\/");
    return slash == std::string::npos ? "." : path.substr(0, slash);
}

std::string FullWindowsPath(const std::string& path) {
    DWORD n = GetFullPathNameA(path.c_str(), 0, nullptr, nullptr);
    if (n == 0) return path;
    std::vector<char> buf(n + 1);
    DWORD got = GetFullPathNameA(path.c_str(), DWORD(buf.size()), buf.data(), nullptr);
    return (got == 0 || got >= buf.size()) ? path : std::string(buf.data());
}

HostPaths ResolveHostPaths(const HostOptions& options, void (*warn)(const std::string&)) {
    std::string exeDir = ExeDirectory();
    HostPaths paths;
    paths.plugin = FullWindowsPath(options.pluginPath.empty() ? exeDir + "\\ks_dazazu.dli"
                                                              : options.pluginPath);
    paths.exporter = FullWindowsPath(options.exporterPath.empty() ? exeDir + "\\ks_dazazu.dle"
                                                                  : options.exporterPath);
    paths.cfgDir = FullWindowsPath(options.cfgDir.empty() ? exeDir + "\\plugcfg" : options.cfgDir);
    paths.helpDir = FullWindowsPath(options.helpDir.empty() ? exeDir + "\\help" : options.helpDir);
    // GetFullPathName keeps a trailing separator; the plug-in adds its own.
    for (std::string* dir : {&paths.cfgDir, &paths.helpDir})
        while (dir->size() > 3 && LastSeparator(*dir, "\\/") == dir->size() - 1) dir->pop_back();
    EnsureDirectory(paths.cfgDir, warn);
    EnsureDirectory(paths.helpDir, warn);
    return paths;
}
