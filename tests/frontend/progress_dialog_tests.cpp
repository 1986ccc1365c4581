// The progress dialog and its worker, with stand-in builds that play the
// mesh build's part on the worker thread: step texts, counts and fractions,
// the end of the build, the fade, cancel, and a worker that cannot start.
#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <cstring>
#include <string>
#include <type_traits>

#include "frontend/progress.h"
#include "importer/dazazu.h"
#include "importer/importedmesh.h"
#include "importer/progress.h"
#include "tests/frontend/progress_test_support_win.h"
#include "tests/support/import_patch_win.h"
#include "tests/toolkit/window_test_support_win.h"
#include "toolkit/colours.h"

namespace {

// What a stand-in build saw of the dialog, from the worker thread.
struct BuildLog {
    bool dialogVisibleAtStart = false;
    bool cancelFlagClearAtStart = false;
    std::string baseName;
    std::string stepText;
    std::string clearedText;
    float fractionAfterCount = -1;
    float fractionAfterFraction = -1;
    bool cancelVisibleBeforeEnd = false;
    std::string textAfterFinish = "?";
    bool cancelVisibleAfterFinish = true;
    bool openAfterFinish = false;
    int countsSent = 0;
    bool sawCancel = false;
    std::atomic<bool> workerEnded{false};
};

// Where the fade ends: the face (68, 68, 68), green truncated just below it.
const COLORREF kFadedBar = RGB(68, 67, 68);

BuildLog* buildLog;
HANDLE proceed;  // set by a test's watcher when a waiting build may go on

LRESULT Send(HWND dialog, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
    return SendMessageA(dialog, message, wParam, lParam);
}

void NoteStart(DazAzu& importer, HWND dialog) {
    buildLog->dialogVisibleAtStart = IsWindowVisible(dialog) != FALSE;
    buildLog->cancelFlagClearAtStart = importer.cancelFlag == 0;
    buildLog->baseName = ControlText(dialog, kBaseNameId);
}

// Shows steps, counts and a fraction, then reports the build finished.
void BuildThatFinishes(DazAzu& importer, HWND dialog) {
    NoteStart(importer, dialog);
    importer.progressTotal = 200;
    Send(dialog, kProgressStepText, 25);
    buildLog->stepText = ControlText(dialog, kStepTextId);
    Send(dialog, kProgressCount, 0, 50);
    buildLog->fractionAfterCount = BarFraction(dialog);
    float fraction = 0.75f;
    Send(dialog, kProgressFraction, 0, reinterpret_cast<LPARAM>(&fraction));
    buildLog->fractionAfterFraction = BarFraction(dialog);
    Send(dialog, kProgressStepText, 0);
    buildLog->clearedText = ControlText(dialog, kStepTextId);
    Send(dialog, kProgressStepText, 29);
    buildLog->cancelVisibleBeforeEnd = ControlVisible(dialog, kCancelImportId);
    Send(dialog, kProgressFinished);
    buildLog->openAfterFinish = IsWindow(dialog) && IsWindowVisible(dialog);
    if (buildLog->openAfterFinish) {
        buildLog->textAfterFinish = ControlText(dialog, kStepTextId);
        buildLog->cancelVisibleAfterFinish = ControlVisible(dialog, kCancelImportId);
    }
}

void BuildThatFails(DazAzu& importer, HWND dialog) {
    NoteStart(importer, dialog);
    Send(dialog, kProgressFailed);
}

// Reports counts like a long vertex section, testing the flag after each
// report as the mesh build does; stops with the failed message on cancel.
void BuildThatRunsUntilCancelled(DazAzu& importer, HWND dialog) {
    NoteStart(importer, dialog);
    importer.progressTotal = 100000000;
    const DWORD start = GetTickCount();
    for (unsigned done = 2000;; done += 2001) {
        Send(dialog, kProgressCount, 0, done);
        ++buildLog->countsSent;
        if (importer.cancelFlag) {
            buildLog->sawCancel = true;
            break;
        }
        if (GetTickCount() - start > 20000) break;  // never hang a test
        Sleep(1);
    }
    Send(dialog, kProgressFailed);
}

// Fails, then takes its time before the thread ends.
void BuildThatEndsSlowly(DazAzu& importer, HWND dialog) {
    Send(dialog, kProgressFailed);
    Sleep(300);
    buildLog->workerEnded = true;
}

// Finishes, but "Cancel Import" came after the build's last test.
void BuildCancelledAfterItsLastTest(DazAzu& importer, HWND dialog) {
    Send(dialog, kProgressFinished);
    importer.cancelFlag = 1;
}

// Waits for the test's watcher before it finishes.
void BuildThatWaits(DazAzu& importer, HWND dialog) {
    NoteStart(importer, dialog);
    WaitForSingleObject(proceed, 20000);
    Send(dialog, kProgressFinished);
}

void BuildWithNothingToCount(DazAzu& importer, HWND dialog) {
    importer.progressTotal = 0;
    Send(dialog, kProgressCount, 0, 500);
    buildLog->fractionAfterCount = BarFraction(dialog);
    Send(dialog, kProgressFinished);
}

class ProgressDialogTest : public ::testing::Test {
  protected:
    void SetUp() override {
        PrepareFrontend();
        importer = new DazAzu();
        std::strcpy(importer->baseName, "bunny");
        importer->showPrompts = 0;
        buildLog = &log;
        proceed = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    }
    void TearDown() override {
        SetImportBuild(nullptr);
        delete importer;
        CloseHandle(proceed);
        buildLog = nullptr;
    }

    int Run(ImportBuild build) {
        SetImportBuild(build);
        return ShowProgressDialog(*importer);
    }

    DazAzu* importer = nullptr;
    BuildLog log;
};

TEST_F(ProgressDialogTest, WorkerStartsOnceTheDialogShowsWithTheFlagCleared) {
    importer->cancelFlag = 1;
    EXPECT_EQ(Run(BuildThatFinishes), 1);
    EXPECT_TRUE(log.dialogVisibleAtStart);
    EXPECT_TRUE(log.cancelFlagClearAtStart);
    EXPECT_EQ(log.baseName, "bunny");
}

TEST_F(ProgressDialogTest, ShowsStepTextsCountsAndFractions) {
    DialogRecorder recorder;
    EXPECT_EQ(Run(BuildThatFinishes), 1);
    EXPECT_EQ(log.stepText, "creating mesh...");
    EXPECT_EQ(log.fractionAfterCount, 0.25f);  // 50 of 200
    EXPECT_EQ(log.fractionAfterFraction, 0.75f);
    EXPECT_EQ(log.clearedText, "");
    ASSERT_GE(recorder.colours.size(), 1u);
    EXPECT_EQ(recorder.colours[0], kImportBarColour);
    EXPECT_EQ(recorder.fractions, (std::vector<float>{0.25f, 0.75f}));
}

TEST_F(ProgressDialogTest, CountsWithoutATotalShowAnEmptyBar) {
    EXPECT_EQ(Run(BuildWithNothingToCount), 1);
    EXPECT_EQ(log.fractionAfterCount, 0.0f);
}

TEST_F(ProgressDialogTest, WithoutPromptsItClosesAtOnceWithoutAFade) {
    DialogRecorder recorder;
    EXPECT_EQ(Run(BuildThatFinishes), 1);
    EXPECT_FALSE(log.openAfterFinish);
    EXPECT_EQ(recorder.colours, (std::vector<COLORREF>{kImportBarColour}));
    for (UINT_PTR timer : recorder.timers) EXPECT_EQ(timer, kStartWorkerTimer);
}

// With prompts, after the build-finished message: step text cleared,
// "Cancel Import" gone, ten fade steps from the bar colour to the face
// colour, then the close timer and the result 1.
TEST_F(ProgressDialogTest, WithPromptsTheBarFadesThenTheDialogClosesWithOne) {
    importer->showPrompts = 1;
    DialogRecorder recorder;
    EXPECT_EQ(Run(BuildThatFinishes), 1);
    EXPECT_TRUE(log.openAfterFinish);
    EXPECT_EQ(log.textAfterFinish, "");
    EXPECT_TRUE(log.cancelVisibleBeforeEnd);
    EXPECT_FALSE(log.cancelVisibleAfterFinish);

    std::vector<COLORREF> expected = {kImportBarColour};
    float factor = 1.0f;
    for (int step = 0; step < 10; ++step) {
        factor = factor - 0.1f;
        expected.push_back(BlendColour(kImportBarColour, factor));
    }
    EXPECT_LT(factor, 0.0f);
    EXPECT_EQ(recorder.colours, expected);
    EXPECT_EQ(recorder.colours.back(), kFadedBar);

    std::vector<UINT_PTR> afterStart;
    for (UINT_PTR timer : recorder.timers)
        if (timer != kStartWorkerTimer) afterStart.push_back(timer);
    std::vector<UINT_PTR> fade(10, kFadeTimer);
    fade.push_back(kCloseTimer);
    EXPECT_EQ(afterStart, fade);
}

TEST_F(ProgressDialogTest, ABuildFailureClosesWithZeroAndRaisesTheFlag) {
    EXPECT_EQ(Run(BuildThatFails), 0);
    EXPECT_EQ(importer->cancelFlag, 1);
}

TEST_F(ProgressDialogTest, CancelImportStopsTheBuildAtItsNextProgressPoint) {
    importer->showPrompts = 1;
    BoxSpy spy;
    std::atomic<bool> stillOpenAfterPress{false};
    Watcher user([&] {
        HWND dialog = WaitForProgressDialog();
        if (!dialog) return;
        while (IsWindow(dialog) && BarFraction(dialog) <= 0.0f) Sleep(2);
        PressCancelImport(dialog);
        stillOpenAfterPress = IsWindow(dialog) != FALSE;
    });
    EXPECT_EQ(Run(BuildThatRunsUntilCancelled), 0);
    user.Join();
    EXPECT_TRUE(stillOpenAfterPress);
    EXPECT_TRUE(log.sawCancel);
    EXPECT_TRUE(spy.Stop().empty());
}

TEST_F(ProgressDialogTest, EscapeAndClosingDoNotEndIt) {
    std::atomic<bool> openAfterKeys{false};
    Watcher user([&] {
        HWND dialog = WaitForProgressDialog();
        if (dialog) {
            while (!buildLog->dialogVisibleAtStart && IsWindow(dialog)) Sleep(2);
            SendMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
            SendMessageA(dialog, WM_CLOSE, 0, 0);
            SendMessageA(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
            PostMessageA(GetDlgItem(dialog, kCancelImportId), WM_KEYDOWN, VK_ESCAPE, 0);
            SendMessageA(dialog, WM_NULL, 0, 0);  // the posted key has been handled after this
            openAfterKeys = IsWindow(dialog) && IsWindowVisible(dialog);
        }
        SetEvent(proceed);
    });
    EXPECT_EQ(Run(BuildThatWaits), 1);
    EXPECT_TRUE(openAfterKeys);
    EXPECT_EQ(importer->cancelFlag, 0);
}

// The importer must outlive its worker: the dialog's result is given only
// once the worker thread has ended.
TEST_F(ProgressDialogTest, ReturnsOnlyAfterTheWorkerHasEnded) {
    EXPECT_EQ(Run(BuildThatEndsSlowly), 0);
    EXPECT_TRUE(log.workerEnded);
}

TEST_F(ProgressDialogTest, ACancelAfterTheLastTestStillCancels) {
    importer->showPrompts = 1;
    EXPECT_EQ(Run(BuildCancelledAfterItsLastTest), 0);
}

// The hidden "-= DONE =-" command ends the dialog, but an import whose
// build never reported its end is not taken for a finished one: the build
// is stopped and the result is 0.
TEST_F(ProgressDialogTest, TheDoneCommandDuringTheBuildDoesNotCountAsFinished) {
    Watcher user([&] {
        HWND dialog = WaitForProgressDialog();
        if (!dialog) return;
        while (IsWindow(dialog) && BarFraction(dialog) <= 0.0f) Sleep(2);
        PostMessageA(dialog, WM_COMMAND, kDoneId, 0);
    });
    EXPECT_EQ(Run(BuildThatRunsUntilCancelled), 0);
    user.Join();
    EXPECT_TRUE(log.sawCancel);
}

TEST_F(ProgressDialogTest, TheDialogHasTheSkinnedShapeAndNamesTheImport) {
    bool shaped = false, groupSubclassed = false;
    std::string shownName;
    std::string group;
    Watcher user([&] {
        HWND dialog = WaitForProgressDialog();
        if (dialog) {
            HRGN region = CreateRectRgn(0, 0, 0, 0);
            shaped = GetWindowRgn(dialog, region) != ERROR;
            DeleteObject(region);
            shownName = ControlText(dialog, kBaseNameId);
            HWND box = GetDlgItem(dialog, kGroupId);
            char name[32] = "";
            GetClassNameA(box, name, sizeof name);
            WNDCLASSA system;
            GetClassInfoA(nullptr, name, &system);
            groupSubclassed = GetWindowLongPtrA(box, GWLP_WNDPROC) !=
                              reinterpret_cast<LONG_PTR>(system.lpfnWndProc);
            group = ControlText(dialog, kGroupId);
        }
        SetEvent(proceed);
    });
    EXPECT_EQ(Run(BuildThatWaits), 1);
    EXPECT_TRUE(shaped);
    EXPECT_EQ(shownName, "bunny");
    EXPECT_TRUE(groupSubclassed);
    EXPECT_EQ(group, " importing... ");
}

uintptr_t __cdecl FailToStartThread(void*, unsigned, unsigned(__stdcall*)(void*), void*, unsigned,
                                    unsigned*) {
    return 0;
}

class ThreadStartFailureTest : public ProgressDialogTest {
  protected:
    void SetUp() override {
        ProgressDialogTest::SetUp();
        original = PatchImport(ThisModule(), "msvcrt.dll", "_beginthreadex",
                               reinterpret_cast<void*>(FailToStartThread));
        ASSERT_NE(original, nullptr);
    }
    void TearDown() override {
        PatchImport(ThisModule(), "msvcrt.dll", "_beginthreadex", original);
        ProgressDialogTest::TearDown();
    }
    void* original = nullptr;
};

TEST_F(ThreadStartFailureTest, WithPromptsSaysSoOverTheDialogThenEndsWithZero) {
    importer->showPrompts = 1;
    BoxSpy spy;
    EXPECT_EQ(Run(BuildThatFinishes), 0);
    std::vector<SpiedBox> boxes = spy.Stop();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "cannot create Import-thread");
    EXPECT_EQ(boxes[0].style, 0x30u);
    EXPECT_TRUE(boxes[0].ownerIsProgressDialog);
    EXPECT_FALSE(log.dialogVisibleAtStart);  // the build never ran
}

TEST_F(ThreadStartFailureTest, WithoutPromptsEndsWithZeroSilently) {
    BoxSpy spy;
    EXPECT_EQ(Run(BuildThatFinishes), 0);
    EXPECT_TRUE(spy.Stop().empty());
}

INT_PTR WINAPI FailToMakeDialog(HINSTANCE, LPCSTR, HWND, DLGPROC, LPARAM) { return -1; }

// Where the system makes no window for the progress, the mesh is built
// without it, rather than the import answering success with nothing.
TEST_F(ProgressDialogTest, WithoutAWindowForTheProgressTheMeshIsStillBuilt) {
    static const char kPly[] =
        "ply\nformat ascii 1.0\nelement vertex 3\nproperty float x\nproperty float y\n"
        "property float z\nelement face 1\nproperty list uchar int vertex_indices\nend_header\n"
        "0 0 0\n1 0 0\n0 1 0\n3 0 1 2\n";
    ASSERT_TRUE(importer->reader.OpenMemory(kPly, sizeof kPly - 1));
    importer->vertexCount = 3;
    importer->triangleCount = unsigned(importer->reader.CountTriangles());
    void* original = PatchImport(ThisModule(), "user32.dll", "DialogBoxParamA",
                                 reinterpret_cast<void*>(FailToMakeDialog));
    ASSERT_NE(original, nullptr);
    const int built = Run(BuildThatFinishes);
    PatchImport(ThisModule(), "user32.dll", "DialogBoxParamA", original);
    EXPECT_EQ(built, 1);
    ASSERT_NE(importer->importedMesh, nullptr);
    EXPECT_EQ(importer->importedMesh->triObject->mesh.numFaces, 1);
    DeleteImportedMesh(importer->importedMesh);
}

TEST(BlendColour, MovesFromTheColourToTheFaceColour) {
    const COLORREF face = ToolkitColour(kFaceColour);
    EXPECT_EQ(BlendColour(kImportBarColour, 1.0f), kImportBarColour);
    EXPECT_EQ(BlendColour(kImportBarColour, 0.0f), face);
    // Bar (62, 145, 103) half way to the face (68, 68, 68), each truncated.
    ASSERT_EQ(face, RGB(68, 68, 68));
    EXPECT_EQ(BlendColour(kImportBarColour, 0.5f), RGB(65, 106, 85));
    EXPECT_EQ(BlendColour(kImportBarColour, 0.9f), RGB(62, 137, 99));
    // The fade's last factor lies just below zero: the face colour, but a
    // channel above the face's is truncated to one below it.
    EXPECT_EQ(BlendColour(kImportBarColour, -7.4505806e-8f), kFadedBar);
    EXPECT_EQ(BlendColour(RGB(255, 255, 255), 1.0f), RGB(255, 255, 255));
    EXPECT_EQ(BlendColour(RGB(0, 0, 0), 0.25f), RGB(51, 51, 51));
}

// The flag the two threads share is read and written without a data race.
static_assert(std::is_same<decltype(DazAzu::cancelFlag), std::atomic<int>>::value,
              "cancelFlag is shared by the interface thread and the worker");

TEST(BarColour, IsRed62Green145Blue103) { EXPECT_EQ(kImportBarColour, RGB(62, 145, 103)); }

}  // namespace
