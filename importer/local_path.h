// The one test of whether a path from a file may be opened: shared by the
// plug-in, which resolves texture names, and the reference host, which
// decodes the images a scene names.
#pragma once

namespace local_path_detail {
inline bool IsSeparator(char c) { return c == '\\' || c == '/'; }
}  // namespace local_path_detail

// True when an ANSI path names a file through the file system only: not a
// share (\\server\share, //server/share, mixed slashes), a device or
// namespace (\\.\, \\?\, \??\), nor an alternate data stream (a ':' other
// than a drive's, at index 1). Bytes are enough here: the separators are
// tested at the start, where each byte begins a character once a separator
// came first, and ':' (0x3A) is never a trail byte of a double-byte code page.
inline bool IsPlainLocalPath(const char* path) {
    using local_path_detail::IsSeparator;
    if (IsSeparator(path[0]) && IsSeparator(path[1])) return false;
    // Win32 file functions hand \??\ to the object manager as it is.
    if (IsSeparator(path[0]) && path[1] == '?' && path[2] == '?' && IsSeparator(path[3]))
        return false;
    const char drive = static_cast<char>(path[0] | 0x20);
    const bool driveColon = drive >= 'a' && drive <= 'z' && path[1] == ':';
    for (const char* p = path; *p; ++p)
        if (*p == ':' && !(driveColon && p == path + 1)) return false;
    return true;
}
