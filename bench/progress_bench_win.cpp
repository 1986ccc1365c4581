// The cost of one progress message in the Windows build: the import's worker
// thread sends each to the progress dialog on the interface thread, which
// draws the bar at once. scripts/bench runs it under wine:
//   progress_bench [COUNT]
// and it prints the microseconds per message, bare and with the bar drawn.
#include <windows.h>

#include <cstdio>
#include <cstdlib>

#include "toolkit/class_names.h"
#include "toolkit/progress.h"
#include "toolkit/startup.h"

namespace {

struct Job {
    HWND bar;
    int count;
    DWORD interfaceThread;
    double bareUs = 0;
    double drawnUs = 0;
};

double MicrosecondsEach(LARGE_INTEGER from, LARGE_INTEGER to, int count) {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return double(to.QuadPart - from.QuadPart) * 1e6 / double(frequency.QuadPart) / count;
}

DWORD WINAPI SendFromWorker(void* parameter) {
    Job& job = *static_cast<Job*>(parameter);
    LARGE_INTEGER start, bare, drawn;
    QueryPerformanceCounter(&start);
    for (int i = 0; i < job.count; ++i) SendMessageA(job.bar, WM_NULL, 0, 0);
    QueryPerformanceCounter(&bare);
    for (int i = 0; i < job.count; ++i) {
        float fraction = float(i % 100) / 100.0f;
        SendMessageA(job.bar, PGM_SETFRACTION, 0, reinterpret_cast<LPARAM>(&fraction));
    }
    QueryPerformanceCounter(&drawn);
    job.bareUs = MicrosecondsEach(start, bare, job.count);
    job.drawnUs = MicrosecondsEach(bare, drawn, job.count);
    PostThreadMessageA(job.interfaceThread, WM_QUIT, 0, 0);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    const int count = argc > 1 ? std::atoi(argv[1]) : 3000;
    HINSTANCE module = GetModuleHandleA(nullptr);
    if (count <= 0 || !RegisterToolkitClasses(module)) return 1;
    HWND window = CreateWindowExA(0, "STATIC", "", WS_POPUP | WS_VISIBLE, 100, 100, 300, 40,
                                  nullptr, nullptr, module, nullptr);
    HWND bar = CreateWindowExA(0, kProgressCtrlClass, "", WS_CHILD | WS_VISIBLE, 10, 16, 280, 8,
                               window, nullptr, module, nullptr);
    if (!bar) return 1;
    Job job{bar, count, GetCurrentThreadId()};
    HANDLE worker = CreateThread(nullptr, 0, SendFromWorker, &job, 0, nullptr);
    if (!worker) return 1;
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) DispatchMessageA(&message);
    WaitForSingleObject(worker, INFINITE);
    CloseHandle(worker);
    DestroyWindow(window);
    std::printf("progress messages: %d; %.1f us each bare, %.1f us each with the bar drawn\n",
                count, job.bareUs, job.drawnUs);
    return 0;
}
