// The one test of whether a path from a file may be looked up or opened:
// shared by the plug-in, which resolves texture names, and the reference
// host, which decodes the images a scene names. Both call it on the whole
// path they are about to hand to the system, not on a part of it.
#pragma once

#include <cstddef>

// The longest path the system's file functions take, without its terminator.
const size_t kMaxLocalPath = 259;

namespace local_path_detail {

inline bool IsSeparator(char c) { return c == '\\' || c == '/'; }

inline char Upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c; }

inline bool StemIs(const char* stem, size_t length, const char* device) {
    size_t i = 0;
    for (; i < length && device[i]; ++i)
        if (Upper(stem[i]) != device[i]) return false;
    return i == length && !device[i];
}

// The digits Windows takes after COM and LPT: 0-9 and the superscripts
// one, two and three (0xB9, 0xB2, 0xB3 in the Western code page; the same
// bytes in other code pages are refused too, which costs nothing).
inline bool IsDeviceDigit(char c) {
    const unsigned char b = static_cast<unsigned char>(c);
    return (b >= '0' && b <= '9') || b == 0xB9 || b == 0xB2 || b == 0xB3;
}

// A path part that opens a device in any folder and with any extension:
// CON, PRN, AUX, NUL, COM0-9, LPT0-9 and the console's two, however many
// blanks or dots follow the stem.
inline bool IsDevicePart(const char* part, size_t length) {
    size_t stem = 0;
    while (stem < length && part[stem] != '.') ++stem;
    while (stem > 0 && part[stem - 1] == ' ') --stem;
    static const char* const kDevices[] = {"CON", "PRN", "AUX", "NUL", "CONIN$", "CONOUT$"};
    for (const char* device : kDevices)
        if (StemIs(part, stem, device)) return true;
    return stem == 4 && IsDeviceDigit(part[3]) &&
           (StemIs(part, 3, "COM") || StemIs(part, 3, "LPT"));
}

}  // namespace local_path_detail

// True when an ANSI path names a file through the file system only: not a
// share (\\server\share, //server/share, mixed slashes), a namespace (\\.\,
// \\?\, \??\), a device in any part (COM1.png, C:\x\nul, LPT¹.txt), an
// alternate data stream (a ':' other than a drive's, at index 1), nor longer
// than kMaxLocalPath. Bytes are enough: a separator is looked for at the
// start, where each byte begins a character once a separator came first;
// ':' (0x3A) is never a trail byte of a double-byte code page; and a trail
// byte taken for a separator only splits a part in two, which can refuse a
// name but never let one through.
inline bool IsPlainLocalPath(const char* path) {
    using local_path_detail::IsSeparator;
    if (!path[0] || (IsSeparator(path[0]) && IsSeparator(path[1]))) return false;
    // Win32 file functions hand \??\ to the object manager as it is.
    if (IsSeparator(path[0]) && path[1] == '?' && path[2] == '?' && IsSeparator(path[3]))
        return false;
    const char drive = static_cast<char>(path[0] | 0x20);
    const bool driveColon = drive >= 'a' && drive <= 'z' && path[1] == ':';
    const char* part = driveColon ? path + 2 : path;
    for (const char* p = part;; ++p) {
        if (static_cast<size_t>(p - path) > kMaxLocalPath || *p == ':') return false;
        if (*p && !IsSeparator(*p)) continue;
        if (local_path_detail::IsDevicePart(part, static_cast<size_t>(p - part))) return false;
        if (!*p) break;
        part = p + 1;
    }
    return true;
}
