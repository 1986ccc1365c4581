// Closes every message box of this process as a user pressing "OK" would, and
// records what each one said, so a test never hangs on a modal box.
#pragma once

#include <windows.h>

#include <atomic>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

struct SeenMessageBox {
    std::string caption;
    std::string text;
};

class MessageBoxWatcher {
  public:
    MessageBoxWatcher();
    ~MessageBoxWatcher();  // stops watching

    // The boxes closed so far, in the order they appeared.
    std::vector<SeenMessageBox> Seen();

    MessageBoxWatcher(const MessageBoxWatcher&) = delete;
    MessageBoxWatcher& operator=(const MessageBoxWatcher&) = delete;

  private:
    void Watch();
    void Answer(HWND box);

    std::atomic<bool> stopping;
    std::mutex seenLock;
    std::vector<SeenMessageBox> seen;
    std::thread watcher;
};
