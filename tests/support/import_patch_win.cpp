#include "tests/support/import_patch_win.h"

#include <cstring>

namespace {

template <typename T>
T* At(HMODULE module, DWORD offset) {
    return reinterpret_cast<T*>(reinterpret_cast<BYTE*>(module) + offset);
}

void* ReplaceEntry(IMAGE_THUNK_DATA* entry, void* replacement) {
    void* previous = reinterpret_cast<void*>(entry->u1.Function);
    DWORD protection = 0;
    VirtualProtect(entry, sizeof *entry, PAGE_READWRITE, &protection);
    entry->u1.Function = reinterpret_cast<DWORD_PTR>(replacement);
    VirtualProtect(entry, sizeof *entry, protection, &protection);
    return previous;
}

}  // namespace

void* PatchImport(HMODULE module, const char* dll, const char* function, void* replacement) {
    IMAGE_DOS_HEADER* dos = reinterpret_cast<IMAGE_DOS_HEADER*>(module);
    IMAGE_NT_HEADERS* nt = At<IMAGE_NT_HEADERS>(module, dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& imports =
        nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    if (imports.VirtualAddress == 0) return nullptr;
    for (IMAGE_IMPORT_DESCRIPTOR* d = At<IMAGE_IMPORT_DESCRIPTOR>(module, imports.VirtualAddress);
         d->Name != 0; ++d) {
        if (lstrcmpiA(At<char>(module, d->Name), dll) != 0 || d->OriginalFirstThunk == 0) continue;
        IMAGE_THUNK_DATA* names = At<IMAGE_THUNK_DATA>(module, d->OriginalFirstThunk);
        IMAGE_THUNK_DATA* entries = At<IMAGE_THUNK_DATA>(module, d->FirstThunk);
        for (; names->u1.AddressOfData != 0; ++names, ++entries) {
            if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal)) continue;
            IMAGE_IMPORT_BY_NAME* byName =
                At<IMAGE_IMPORT_BY_NAME>(module, static_cast<DWORD>(names->u1.AddressOfData));
            if (std::strcmp(reinterpret_cast<char*>(byName->Name), function) == 0)
                return ReplaceEntry(entries, replacement);
        }
    }
    return nullptr;
}
