// What the toolkit gives back when the library is unloaded.
#pragma once

// Deletes the cached fonts and frees the USER32 module of the opacity lookup.
void ReleaseToolkit();
