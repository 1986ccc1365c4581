// Start-up of the toolkit: registration of its fifteen window classes.
#pragma once

#include <windows.h>

// Registers every toolkit class with the given module, in a fixed order.
// A class that exists already counts as registered, so a second call succeeds.
// Answers 1 when all are registered; 0 at the first real failure, after a
// "Failed to Create" message box naming the class (later classes are not tried).
int RegisterToolkitClasses(HINSTANCE module);

// Every toolkit window keeps one pointer in its extra bytes.
const int kToolkitWindowExtraBytes = sizeof(void*);
