// The base name of a path (the import's object name, the export's name on
// its progress dialog), and a bounded copy of one.
#include <cstring>

#include "importer/dazazu.h"
#include "importer/platform.h"

// The file name after the last backslash (else after the first colon), cut
// at its first full stop. Walks the path by characters of the current code
// page so a trail byte is never taken for a separator. A name longer than
// the 63 characters of the field is cut there.
void DeriveBaseName(const char* path, char* baseName, size_t size) {
    const char* lastBackslash = nullptr;
    const char* firstColon = nullptr;
    for (const char* p = path; *p; p = NextChar(p)) {
        if (*p == '\\') lastBackslash = p;
        if (*p == ':' && !firstColon) firstColon = p;
    }
    const char* name = lastBackslash ? lastBackslash + 1 : firstColon ? firstColon + 1 : path;
    const char* end = name;
    while (*end && *end != '.') end = NextChar(end);
    size_t n = static_cast<size_t>(end - name);
    if (n >= size) n = size - 1;
    std::memcpy(baseName, name, n);
    baseName[n] = '\0';
}

void CopyBounded(char* to, size_t size, const char* from) {
    size_t n = std::strlen(from);
    if (n >= size) n = size - 1;
    std::memcpy(to, from, n);
    to[n] = '\0';
}
