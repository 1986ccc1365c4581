// Plays the user in front of the plug-in's dialogs. A thread timer runs inside
// every modal loop of the calling thread and looks at its visible dialogs:
// message boxes have their text recorded and, when answering, "OK" pressed;
// the options dialog, when answering, gets the --set values and --name
// entered into its controls and "Import" pressed; the export options dialog
// the --export-set values and --export-format, and "Export" pressed.
#pragma once

#include <windows.h>

#include <functional>
#include <set>
#include <string>
#include <vector>

#include "hostapp/cmdline.h"

struct AutoAnswers {
    std::vector<OptionSetting> settings;
    bool hasName = false;
    std::string name;
    // The export options dialog's: its settings and format (-1: as shown).
    std::vector<OptionSetting> exportSettings;
    int exportFormat = -1;
};

class DialogWatcher {
  public:
    // answer false: only record message texts, a person answers.
    DialogWatcher(bool answer, const AutoAnswers& answers);
    ~DialogWatcher() { Stop(); }
    DialogWatcher(const DialogWatcher&) = delete;
    DialogWatcher& operator=(const DialogWatcher&) = delete;

    // One watcher per thread at a time.
    void Start();
    void Stop();

    // The message texts recorded since the last call, in the order shown.
    std::vector<std::string> TakeMessages();
    // Told when an answer cannot be entered as asked (a disabled control, say).
    std::function<void(const std::string&)> note;

    // One look at the thread's dialogs (the timer's work; tests call it too).
    void Tick();

  private:
    void AnswerOptionsDialog(HWND dialog);
    void AnswerExportDialog(HWND dialog);
    void EnterSettings(HWND dialog, const std::vector<OptionSetting>& settings);
    void SetCheckBox(HWND dialog, const OptionSetting& setting);
    void TypeInto(HWND dialog, int controlId, const char* what, const std::string& text);
    void HandleMessageBox(HWND dialog, HWND okButton);
    void Note(const std::string& text);

    bool answer;
    AutoAnswers answers;
    UINT_PTR timer = 0;
    bool busy = false;
    std::set<HWND> seen;  // dialogs already handled
    std::vector<std::string> messages;
};

// The text of a message box: the static text of the system's box, else the
// text at the start of the toolkit box's message record (its user data).
std::string MessageBoxText(HWND dialog);
