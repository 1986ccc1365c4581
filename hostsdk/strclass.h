// The host's string: owns a zero-terminated text on the host heap.
#pragma once

#include "hostsdk/hostapi.h"

class HOSTSDK_API CStr : public MaxHeapOperators {
public:
    CStr();
    CStr(const char* s);
    CStr(const CStr& s);
    ~CStr();
    CStr& operator=(const CStr& s);
    CStr& operator=(const char* s);

    const char* data() const;  // never null: "" when empty
    operator const char*() const { return data(); }
    int Length() const;
    bool isNull() const { return Length() == 0; }
    // printf-style formatting into this string; returns the length written.
    int printf(const char* format, ...);
    bool operator==(const char* s) const;

private:
    char* buf;
};
