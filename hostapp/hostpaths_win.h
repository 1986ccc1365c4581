// Where the host finds its plug-in and the directories it answers for the
// plug-in's directory queries.
#pragma once

#include <string>

#include "hostapp/cmdline.h"

struct HostPaths {
    std::string plugin;
    std::string exporter;
    std::string cfgDir;   // code 9
    std::string helpDir;  // code 4
};

// Where the last of the separator characters stands in path, or npos.
// Walks by characters of the ANSI code page, so the trail byte of a
// double-byte character (often 0x5C, the backslash) is never taken for one.
size_t LastSeparator(const std::string& path, const char* separators);

// The folder of plyhost.exe, without a trailing backslash.
std::string ExeDirectory();

// The full path the host's own file dialog would give: drive letter,
// backslashes, no "." or ".." parts. The text unchanged when that fails.
std::string FullWindowsPath(const std::string& path);

// The options' paths made full, with the defaults beside plyhost.exe
// (ks_dazazu.dli, ks_dazazu.dle, plugcfg, help). Both directories are created when missing;
// a directory that cannot be made is told through warn.
HostPaths ResolveHostPaths(const HostOptions& options, void (*warn)(const std::string&));
