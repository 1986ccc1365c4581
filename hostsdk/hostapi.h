// Basic types and the export macro of the host SDK stand-in.
// Portable: no windows.h. The handle typedefs match the ones windows.h makes,
// so both may be included together.
#pragma once

#include <cstddef>

#if defined(_WIN32) && defined(HOSTSDK_BUILD)
#define HOSTSDK_API __declspec(dllexport)
#elif defined(_WIN32)
#define HOSTSDK_API __declspec(dllimport)
#else
#define HOSTSDK_API __attribute__((visibility("default")))
#endif

typedef int BOOL;
#ifdef _WIN32
typedef unsigned long DWORD;
typedef unsigned long ULONG;
#else
typedef unsigned int DWORD;
typedef unsigned int ULONG;
#endif
typedef DWORD COLORREF;
typedef int TimeValue;
typedef unsigned short MtlID;
typedef ULONG SClass_ID;

struct HWND__;
typedef HWND__* HWND;
struct HINSTANCE__;
typedef HINSTANCE__* HINSTANCE;
struct HBRUSH__;
typedef HBRUSH__* HBRUSH;

#ifndef TRUE
#define TRUE 1
#define FALSE 0
#endif

// Super-class ids.
const SClass_ID SCENE_IMPORT_CLASS_ID = 0x0A10;
const SClass_ID SCENE_EXPORT_CLASS_ID = 0x0A20;
const SClass_ID MATERIAL_CLASS_ID = 0x0C00;
const SClass_ID TEXMAP_CLASS_ID = 0x0C10;
const SClass_ID GEOMOBJECT_CLASS_ID = 0x0010;

// Directory codes of Interface::GetDir.
const int APP_HELP_DIR = 4;
const int APP_PLUGCFG_DIR = 9;

// The release, interface number and revision a plug-in must report from LibVersion.
const ULONG VERSION_3DSMAX = (11000UL << 16) | (25UL << 8) | 0UL;

class Class_ID {
public:
    Class_ID() : a(0xFFFFFFFF), b(0xFFFFFFFF) {}
    Class_ID(ULONG aa, ULONG bb) : a(aa), b(bb) {}
    ULONG PartA() const { return a; }
    ULONG PartB() const { return b; }
    bool operator==(const Class_ID& o) const { return a == o.a && b == o.b; }
    bool operator!=(const Class_ID& o) const { return !(*this == o); }

private:
    ULONG a, b;
};

const Class_ID TRIOBJ_CLASS_ID(0x0009, 0);
const Class_ID DMTL_CLASS_ID(0x0002, 0);
const Class_ID MULTI_CLASS_ID(0x0200, 0);
const Class_ID VERTEX_COLOR_CLASS_ID(0x934851, 0);
const Class_ID BMTEX_CLASS_ID(0x0240, 0);

// Host heap. Allocation never throws: a failed new-expression yields null.
HOSTSDK_API void* MAX_malloc(size_t size);
HOSTSDK_API void* MAX_calloc(size_t count, size_t size);
HOSTSDK_API void zfree(void* p);  // frees and tolerates null

class HOSTSDK_API MaxHeapOperators {
public:
    static void* operator new(size_t size) noexcept;
    static void* operator new[](size_t size) noexcept;
    static void operator delete(void* p) noexcept;
    static void operator delete[](void* p) noexcept;
};

// Test hook of the stand-in: every host allocation above this many bytes in
// total fails (mesh sizing answers false). 0 lifts the limit.
HOSTSDK_API void HostSetAllocationLimit(size_t bytes);
// Test hook: bytes currently held on the host heap (leaks show here).
HOSTSDK_API size_t HostHeapBytesInUse();
