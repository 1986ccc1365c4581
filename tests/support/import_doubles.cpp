#include "tests/support/import_doubles.h"

#include <sys/stat.h>

#include <cstdio>
#include <cstring>
#include <filesystem>

#include "importer/dazazu.h"
#include "importer/dialogs.h"
#include "importer/platform.h"
#include "importer/progress.h"
#include "importer/resstring.h"

namespace {

ImportDoubles doubles;

struct ResText {
    int id;
    const char* text;
};

// The entries of the string tables the import and export cores load.
const ResText kTexts[] = {
    {4, "3ds max PLY Importer (Kestrova)"},
    {5, "ks::REV-Ezedidav"},
    {6, "Copyright (c) 2026 Kestrova. All rights reserved."},
    {9, "kest"},
    {12, "ks_dazazu.cfg"},
    {15, "not enough memory to create %d vertices"},
    {16, "not enough memory to create %d texture-vertices"},
    {17, "not enough memory to create %d texture-faces"},
    {18, "not enough memory to create %d color-vertices"},
    {19, "not enough memory to create %d color-faces"},
    {20, "not enough memory to create %d faces"},
    {22, "error creating nodes"},
    {23, "%s_mso"},
    {24, "%s_VtxCol"},
    {25, "creating mesh..."},
    {26, "removing isolated vertices..."},
    {27, "building normals..."},
    {28, "updating edges..."},
    {29, "building bounding box..."},
    {30, "center pivot..."},
    // The exporter's own (its library's string table).
    {200, "The scene has no mesh to export."},
    {201, "No mesh is selected: nothing was exported."},
    {202, "Cannot create a file in the folder of %s: nothing was written."},
    {203, "Writing %s failed (is the disk full?): the file was left as it was."},
    {204, "Cannot replace %s (is it read-only or open in another program?): the file was left as it was."},
    {205, "Not enough memory to export %d vertices: nothing was written."},
    {206, "The mesh of node %s cannot be read: nothing was written."},
    {211, "The export was cancelled: %s was left as it was."},
    {207, "cannot create Export-thread"},
    {208, "gathering meshes..."},
    {209, "writing vertices..."},
    {210, "writing faces..."},
};

char sharedBuffer[256];

}  // namespace

void* const kProgressWindowDouble = reinterpret_cast<void*>(0x1234);

ImportDoubles& Doubles() { return doubles; }

void ResetImportDoubles() { doubles = ImportDoubles(); }

const char* LoadResString(int id) {
    for (const ResText& t : kTexts) {
        if (t.id == id) {
            std::strncpy(sharedBuffer, t.text, sizeof sharedBuffer - 1);
            return sharedBuffer;
        }
    }
    return nullptr;
}

uint64_t AvailableMemory() {
    if (doubles.memoryChecksLeft == 0) return 0;
    if (doubles.memoryChecksLeft > 0) --doubles.memoryChecksLeft;
    return doubles.availableMemory;
}

intptr_t SendToWindow(HWND window, unsigned message, uintptr_t wParam, intptr_t lParam) {
    SentMessage m{message, wParam, lParam, 0.0f};
    if (message == kProgressFraction) m.fraction = *reinterpret_cast<const float*>(lParam);
    doubles.sent.push_back(m);
    if (doubles.onSend && doubles.running) doubles.onSend(*doubles.running, m);
    return 1;
}

void RedrawHostWindow(HWND window) { ++doubles.redraws; }

const char* NextChar(const char* text) {
    const bool lead = doubles.doubleByteCodePage && static_cast<unsigned char>(*text) >= 0x81;
    return text + (lead && text[1] ? 2 : 1);
}

bool FileSizeAt(const char* path, uint64_t* size) {
    struct stat info;
    if (stat(path, &info) != 0) return false;
    *size = static_cast<uint64_t>(info.st_size);
    return true;
}

bool FileExists(const char* path) {
    doubles.existenceChecks.push_back(path);
    for (const std::string& file : doubles.existingFiles)
        if (file == path) return true;
    std::error_code error;
    return std::filesystem::is_regular_file(path, error);
}

bool ReplaceFileWith(const char* from, const char* to) {
#ifdef _WIN32
    std::remove(to);  // the Windows runtime's rename does not replace a file
#endif
    return std::rename(from, to) == 0;
}

// Root may write anything: the mode bits, as the system shows them.
bool FileIsReadOnly(const char* path) {
    struct stat info;
    return stat(path, &info) == 0 && !(info.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH));
}

bool FlushToDisk(FILE* file) { return std::fflush(file) == 0; }

void PrepareDialogs() {}

int RunOptionsDialog(DazAzu& importer) {
    ++doubles.optionsDialogRuns;
    return doubles.optionsDialogResult;
}

// Acts as the progress dialog: runs the build and answers as the dialog
// does on the build's last message and on a cancel pressed meanwhile.
int RunProgressDialog(DazAzu& importer) {
    ++doubles.progressDialogRuns;
    doubles.running = &importer;
    importer.cancelFlag = 0;
    importer.RunMeshBuild(static_cast<HWND>(kProgressWindowDouble));
    doubles.running = nullptr;
    const SentMessage& last = doubles.sent.back();
    if (last.message == kProgressFailed) importer.cancelFlag = 1;
    return (last.message == kProgressFinished && !importer.cancelFlag) ? 1 : 0;
}

void ShowAboutBox(HWND owner) {}

void ShowMessage(HWND owner, const char* text, unsigned style) { doubles.messages.push_back(text); }
