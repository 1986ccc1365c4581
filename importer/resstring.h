// Texts of the library's string table.
#pragma once

// Loads string-table entry id into the one shared 256-character buffer and
// returns it; null when the module is not yet known or the entry is missing
// or empty. Every call overwrites the previous text, so a caller that needs
// two entries at once copies the first before loading the second.
const char* LoadResString(int id);
