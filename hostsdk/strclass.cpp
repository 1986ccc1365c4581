// The host string. Its text lives on the host heap; when memory runs out the
// string stays empty rather than failing loudly.
#include "hostsdk/strclass.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>

namespace {

char* CopyText(const char* s) {
    if (!s || !*s) return nullptr;
    size_t n = std::strlen(s) + 1;
    char* p = static_cast<char*>(MAX_malloc(n));
    if (p) std::memcpy(p, s, n);
    return p;
}

}  // namespace

CStr::CStr() : buf(nullptr) {}
CStr::CStr(const char* s) : buf(CopyText(s)) {}
CStr::CStr(const CStr& s) : buf(CopyText(s.buf)) {}
CStr::~CStr() { zfree(buf); }

CStr& CStr::operator=(const CStr& s) { return *this = s.buf; }

CStr& CStr::operator=(const char* s) {
    char* fresh = CopyText(s);  // copy first: s may be our own text
    zfree(buf);
    buf = fresh;
    return *this;
}

const char* CStr::data() const { return buf ? buf : ""; }

int CStr::Length() const { return buf ? int(std::strlen(buf)) : 0; }

// Returns the length written, or -1 (string unchanged) when the format is
// bad or memory cannot be had. The arguments may point into this string.
int CStr::printf(const char* format, ...) {
    if (!format) return -1;
    va_list args;
    va_start(args, format);
    va_list copy;
    va_copy(copy, args);
    int n = std::vsnprintf(nullptr, 0, format, copy);
    va_end(copy);
    char* fresh = nullptr;
    if (n > 0) {
        fresh = static_cast<char*>(MAX_malloc(size_t(n) + 1));
        if (fresh) std::vsnprintf(fresh, size_t(n) + 1, format, args);
    }
    va_end(args);
    if (n < 0 || (n > 0 && !fresh)) return -1;
    zfree(buf);
    buf = fresh;
    return n;
}

bool CStr::operator==(const char* s) const { return std::strcmp(data(), s ? s : "") == 0; }
