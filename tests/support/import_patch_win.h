// Replaces one imported function of a loaded module through its import
// address table: the way tests make a system call fail on purpose.
#pragma once

#include <windows.h>

// Points module's import of dll!function at replacement. Returns the entry it
// replaced, or null when the module does not import that function.
void* PatchImport(HMODULE module, const char* dll, const char* function, void* replacement);
