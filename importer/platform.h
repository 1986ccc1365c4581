// The few things the import core asks of the operating system. Windows
// implements them in platform_win.cpp; native tests bring their own doubles.
#pragma once

#include <cstdint>
#include <cstdio>

#include "hostsdk/hostapi.h"

// Memory the process can still take now, in bytes: the smaller of the free
// physical memory and the free address space (the 32-bit host runs out of
// the second long before the first).
uint64_t AvailableMemory();

// Sends a message to a window and waits until it has been handled.
intptr_t SendToWindow(HWND window, unsigned message, uintptr_t wParam, intptr_t lParam);

// Repaints the window and its children at once.
void RedrawHostWindow(HWND window);

// The size of the file at an ANSI path, from its directory entry; false
// when there is no such file.
bool FileSizeAt(const char* path, uint64_t* size);

// True when a file (not a folder) is at a local ANSI path; asks its
// directory entry and never opens it.
bool FileExists(const char* path);

// True when the file at an ANSI path is marked read-only (the system will
// neither write it nor let another file take its place).
bool FileIsReadOnly(const char* path);

// Moves the file at from onto to, replacing to if it exists; both are ANSI
// paths. False when the move failed (from is then left in place).
bool ReplaceFileWith(const char* from, const char* to);

// Hands what the runtime has written to the open file on to the disk, so
// a file put in place after it is whole even if the system stops. False
// when the system reports a failure.
bool FlushToDisk(FILE* file);

// The character after the one at text, in the current multibyte code page,
// so that a trail byte is never taken for a separator.
const char* NextChar(const char* text);
