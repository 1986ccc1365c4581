#include "tests/support/fake_class_registration_win.h"

#include "tests/support/import_patch_win.h"

namespace {
// The fake is a plain function, so it finds its recorder here. One at a time.
FakeClassRegistration* active;
}  // namespace

FakeClassRegistration::FakeClassRegistration(HMODULE m, const char* failing, DWORD e)
    : module(m), previous(nullptr), failingClass(failing ? failing : ""), error(e) {
    active = this;
    previous = PatchImport(module, "user32.dll", "RegisterClassA",
                           reinterpret_cast<void*>(&FakeClassRegistration::Register));
}

FakeClassRegistration::~FakeClassRegistration() {
    if (previous) PatchImport(module, "user32.dll", "RegisterClassA", previous);
    active = nullptr;
}

ATOM WINAPI FakeClassRegistration::Register(const WNDCLASSA* description) {
    RegistrationAttempt attempt;
    attempt.name = description->lpszClassName ? description->lpszClassName : "";
    attempt.description = *description;
    attempt.description.lpszClassName = nullptr;
    active->attempts.push_back(attempt);
    if (!active->failingClass.empty() && attempt.name == active->failingClass) {
        SetLastError(active->error);
        return 0;
    }
    return static_cast<ATOM>(0xC000 + active->attempts.size());
}
