// Stands in for RegisterClassA in one module while alive: records every
// attempt and answers success without registering, except for one class
// name, which fails with a chosen error.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

struct RegistrationAttempt {
    std::string name;
    WNDCLASSA description;  // lpszClassName is not kept: see name
};

class FakeClassRegistration {
  public:
    // failingClass may be null: then every registration succeeds.
    FakeClassRegistration(HMODULE module, const char* failingClass, DWORD error);
    ~FakeClassRegistration();  // puts the real RegisterClassA back

    bool Installed() const { return previous != nullptr; }
    const std::vector<RegistrationAttempt>& Attempts() const { return attempts; }

    FakeClassRegistration(const FakeClassRegistration&) = delete;
    FakeClassRegistration& operator=(const FakeClassRegistration&) = delete;

  private:
    static ATOM WINAPI Register(const WNDCLASSA* description);

    HMODULE module;
    void* previous;
    std::string failingClass;
    DWORD error;
    std::vector<RegistrationAttempt> attempts;
};
