// Texture names from a PLY file resolved to local files beside it.
#include "importer/texture_path.h"

#include <cstring>

#include "importer/dazazu.h"
#include "importer/local_path.h"
#include "importer/platform.h"

namespace {

const char kThisName[] = "<this>";
const size_t kThisLength = sizeof kThisName - 1;

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

bool HasDrive(const char* name) {
    const char letter = static_cast<char>(name[0] | 0x20);
    return letter >= 'a' && letter <= 'z' && name[1] == ':';
}

// A path of at most kMaxLocalPath characters, built by appending; what
// does not fit marks it too long and is not copied.
struct PathBuffer {
    char text[kMaxLocalPath + 1] = {};
    size_t length = 0;
    bool tooLong = false;

    void Append(const char* more, size_t n) {
        if (tooLong || n > kMaxLocalPath - length) {
            tooLong = true;
            return;
        }
        std::memcpy(text + length, more, n);
        length += n;
        text[length] = '\0';
    }
};

// One past the path's last separator (else its drive's colon): where the
// folder ends. Walked by characters, so a trail byte is never a separator.
const char* FolderEnd(const char* path) {
    const char* end = path;
    for (const char* p = path; *p; p = NextChar(p))
        if (IsSeparator(*p) || (*p == ':' && end == path)) end = p + 1;
    return end;
}

// The name with each "<this>" replaced by base, in one pass that stops once
// the buffer is full. '<' is never a trail byte, so a match is a whole "<this>".
void ExpandName(const char* name, const char* base, PathBuffer& out) {
    const size_t baseLength = std::strlen(base);
    for (const char* p = name; *p && !out.tooLong;) {
        if (std::strncmp(p, kThisName, kThisLength) == 0) {
            out.Append(base, baseLength);
            p += kThisLength;
        } else {
            const char* next = NextChar(p);
            out.Append(p, static_cast<size_t>(next - p));
            p = next;
        }
    }
}

// The file name of a name: after its last separator or drive colon, up to
// any further ':'. For "a.png:stream" that is "a.png": the picture a user
// sees in the folder, not the data hidden beside it.
size_t FileNameLength(const char* name, const char** start) {
    *start = HasDrive(name) ? name + 2 : name;
    for (const char* p = *start; *p; p = NextChar(p))
        if (IsSeparator(*p)) *start = p + 1;
    const char* end = *start;
    while (*end && *end != ':') end = NextChar(end);
    return static_cast<size_t>(end - *start);
}

// Only a whole path the rule lets through is ever looked up.
bool Accept(const PathBuffer& candidate, CStr* path) {
    if (candidate.tooLong || !IsPlainLocalPath(candidate.text) || !FileExists(candidate.text))
        return false;
    *path = candidate.text;
    return true;
}

}  // namespace

bool ResolveTexturePath(const char* plyPath, const char* name, CStr* path) {
    const char* folderEnd = FolderEnd(plyPath);
    const size_t folderLength = static_cast<size_t>(folderEnd - plyPath);
    char base[DazAzu::kBaseNameSize];
    DeriveBaseName(folderEnd, base, sizeof base);
    PathBuffer expanded;
    ExpandName(name, base, expanded);
    const char* fileName = nullptr;
    const size_t fileNameLength = FileNameLength(expanded.text, &fileName);
    if (expanded.tooLong || fileNameLength == 0) return false;

    // Z:a.png means a.png in drive Z's working folder, which is no place a
    // user chose: it is a name beside the PLY file like any relative one.
    const char* named = expanded.text;
    if (HasDrive(named) && !IsSeparator(named[2])) named += 2;
    const bool absolute = HasDrive(named) || IsSeparator(named[0]);
    PathBuffer asNamed;
    if (!absolute) asNamed.Append(plyPath, folderLength);
    asNamed.Append(named, std::strlen(named));
    if (Accept(asNamed, path)) return true;
    if (!absolute && !asNamed.tooLong && IsPlainLocalPath(asNamed.text)) return false;
    // Scanners write the path of the machine that made the scan; users move
    // the PLY file with its images, so the file name is tried beside it. So
    // are the names the rule refuses: a share's, a stream's.
    PathBuffer beside;
    beside.Append(plyPath, folderLength);
    beside.Append(fileName, fileNameLength);
    return Accept(beside, path);
}
