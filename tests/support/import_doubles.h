// Doubles of the import core's seams (platform, dialogs, string table) for
// tests that run the import without windows. They record what the import
// sent and showed, and let a test set the memory and the user's answers.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class DazAzu;

struct SentMessage {
    unsigned message;
    uintptr_t wParam;
    intptr_t lParam;
    float fraction;  // the float lParam pointed to, for fraction messages
};

struct ImportDoubles {
    uint64_t availableMemory = 8ull << 30;
    // NextChar takes bytes from 0x81 up as the lead byte of a two-byte
    // character, as a double-byte code page does.
    bool doubleByteCodePage = false;
    // Memory checks answered with availableMemory before it runs out; -1: never.
    int memoryChecksLeft = -1;
    int optionsDialogResult = 1;
    int optionsDialogRuns = 0;
    int progressDialogRuns = 0;
    int redraws = 0;
    std::vector<SentMessage> sent;
    std::vector<std::string> messages;  // texts shown in message boxes
    // FileExists answers true for these paths and for the real files there are.
    std::vector<std::string> existingFiles;
    std::vector<std::string> existenceChecks;  // every path FileExists was asked about
    // Called for every message the build sends, after it is recorded.
    std::function<void(DazAzu&, const SentMessage&)> onSend;
    DazAzu* running = nullptr;  // the importer inside the progress dialog
};

// The one set of doubles; each test starts with ResetImportDoubles().
ImportDoubles& Doubles();
void ResetImportDoubles();

// The window handle the progress double passes to the build.
extern void* const kProgressWindowDouble;
