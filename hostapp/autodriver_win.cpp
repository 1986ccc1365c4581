#include "hostapp/autodriver_win.h"

#include <cstring>

namespace {

const UINT kTickMs = 50;
const size_t kMessageRecordText = 2048;  // text field of the toolkit's message record

DialogWatcher* activeWatcher = nullptr;

void CALLBACK OnWatchTimer(HWND, UINT, UINT_PTR, DWORD) {
    if (activeWatcher) activeWatcher->Tick();
}

std::string WindowText(HWND w) {
    char buf[kMessageRecordText] = "";
    GetWindowTextA(w, buf, sizeof buf);
    return buf;
}

std::string ClassOf(HWND w) {
    char buf[64] = "";
    GetClassNameA(w, buf, sizeof buf);
    return buf;
}

bool IsDialog(HWND w) { return ClassOf(w) == "#32770"; }

// Button text without its mnemonic marker: "&OK" reads "OK".
std::string ButtonCaption(HWND w) {
    std::string text = WindowText(w), out;
    for (char c : text)
        if (c != '&') out += c;
    return out;
}

struct ChildSearch {
    HWND okButton = nullptr;
    std::string staticText;
};

BOOL CALLBACK ExamineChild(HWND child, LPARAM lp) {
    ChildSearch* s = reinterpret_cast<ChildSearch*>(lp);
    std::string cls = ClassOf(child);
    bool isStatic = _stricmp(cls.c_str(), "static") == 0;
    if (!s->okButton && !isStatic && IsWindowVisible(child) && ButtonCaption(child) == "OK")
        s->okButton = child;
    if (s->staticText.empty() && isStatic) s->staticText = WindowText(child);
    return TRUE;
}

BOOL CALLBACK CollectDialog(HWND w, LPARAM lp) {
    if (IsDialog(w) && IsWindowVisible(w) && IsWindowEnabled(w))
        reinterpret_cast<std::vector<HWND>*>(lp)->push_back(w);
    return TRUE;
}

// Reads a zero-terminated text of at most limit bytes from memory that may
// not be readable at all (a dialog's user data is only a number to us).
std::string ReadTextSafely(const char* p, size_t limit) {
    std::string out;
    while (p && out.size() < limit) {
        MEMORY_BASIC_INFORMATION info;
        if (!VirtualQuery(p, &info, sizeof info) || info.State != MEM_COMMIT) break;
        const DWORD readable = PAGE_READONLY | PAGE_READWRITE | PAGE_WRITECOPY | PAGE_EXECUTE_READ |
                               PAGE_EXECUTE_READWRITE | PAGE_EXECUTE_WRITECOPY;
        if (!(info.Protect & readable) || (info.Protect & (PAGE_GUARD | PAGE_NOACCESS))) break;
        const char* end = static_cast<const char*>(info.BaseAddress) + info.RegionSize;
        for (; p < end && out.size() < limit; ++p) {
            if (*p == '\0') return out;
            out += *p;
        }
    }
    return out;
}

// A left click in the middle of the control, with the messages a real click
// gives it: the cursor arrives, the button goes down (the control takes the
// focus, so the one that had it lets go and commits what was typed), the
// button comes up (the control acts). Sent, because the driver runs inside
// the dialog's own modal loop and the dialog must have acted before it goes on.
void Click(HWND control) {
    RECT client;
    GetClientRect(control, &client);
    const LPARAM middle = MAKELPARAM(client.right / 2, client.bottom / 2);
    SendMessageA(control, WM_MOUSEMOVE, 0, middle);
    SendMessageA(control, WM_LBUTTONDOWN, MK_LBUTTON, middle);
    SendMessageA(control, WM_LBUTTONUP, 0, middle);
}

// The field a user types the scale into: the control itself when it is an
// edit field, else the edit field inside it (the spinner's).
HWND TextFieldOf(HWND control) {
    if (_stricmp(ClassOf(control).c_str(), "edit") == 0) return control;
    return FindWindowExA(control, nullptr, "Edit", nullptr);
}

}  // namespace

std::string MessageBoxText(HWND dialog) {
    ChildSearch s;
    EnumChildWindows(dialog, ExamineChild, reinterpret_cast<LPARAM>(&s));
    if (!s.staticText.empty()) return s.staticText;
    const char* record = reinterpret_cast<const char*>(GetWindowLongPtrA(dialog, GWLP_USERDATA));
    return ReadTextSafely(record, kMessageRecordText - 1);
}

DialogWatcher::DialogWatcher(bool answerDialogs, const AutoAnswers& autoAnswers)
    : answer(answerDialogs), answers(autoAnswers) {}

void DialogWatcher::Start() {
    if (timer) return;
    activeWatcher = this;
    timer = SetTimer(nullptr, 0, kTickMs, OnWatchTimer);
}

void DialogWatcher::Stop() {
    if (!timer) return;
    KillTimer(nullptr, timer);
    timer = 0;
    if (activeWatcher == this) activeWatcher = nullptr;
}

std::vector<std::string> DialogWatcher::TakeMessages() {
    std::vector<std::string> out;
    out.swap(messages);
    return out;
}

void DialogWatcher::Note(const std::string& text) {
    if (note) note(text);
}

void DialogWatcher::Tick() {
    if (busy) return;  // an answer in progress may pump messages
    busy = true;
    for (auto it = seen.begin(); it != seen.end();)
        it = IsWindow(*it) ? std::next(it) : seen.erase(it);

    std::vector<HWND> dialogs;
    EnumThreadWindows(GetCurrentThreadId(), CollectDialog, reinterpret_cast<LPARAM>(&dialogs));
    for (HWND dialog : dialogs) {
        if (seen.count(dialog) || !IsWindow(dialog)) continue;
        HWND import = GetDlgItem(dialog, kImportButtonId);
        if (import && ButtonCaption(import) == "Import") {
            seen.insert(dialog);
            if (answer) AnswerOptionsDialog(dialog);
            continue;
        }
        HWND exportButton = GetDlgItem(dialog, kExportButtonId);
        if (exportButton && ButtonCaption(exportButton) == "Export") {
            seen.insert(dialog);
            if (answer) AnswerExportDialog(dialog);
            continue;
        }
        ChildSearch s;
        EnumChildWindows(dialog, ExamineChild, reinterpret_cast<LPARAM>(&s));
        if (s.okButton) {
            seen.insert(dialog);
            HandleMessageBox(dialog, s.okButton);
        }
    }
    busy = false;
}

void DialogWatcher::HandleMessageBox(HWND dialog, HWND okButton) {
    messages.push_back(MessageBoxText(dialog));
    if (answer) Click(okButton);
}

void DialogWatcher::EnterSettings(HWND dialog, const std::vector<OptionSetting>& settings) {
    for (const OptionSetting& s : settings) {
        if (s.field->isNumber)
            TypeInto(dialog, s.field->controlId, s.field->name, s.text);
        else
            SetCheckBox(dialog, s);
    }
}

void DialogWatcher::AnswerExportDialog(HWND dialog) {
    EnterSettings(dialog, answers.exportSettings);
    if (answers.exportFormat >= 0) {
        HWND format = GetDlgItem(dialog, kExportFormatId);
        if (format)
            SendMessageA(format, CB_SETCURSEL, WPARAM(answers.exportFormat), 0);
        else
            Note("export format: the dialog has no choice of it");
    }
    HWND exportButton = GetDlgItem(dialog, kExportButtonId);
    if (exportButton && IsWindow(exportButton)) Click(exportButton);
}

void DialogWatcher::AnswerOptionsDialog(HWND dialog) {
    EnterSettings(dialog, answers.settings);
    if (answers.hasName) TypeInto(dialog, kNameFieldId, "name", answers.name);
    HWND import = GetDlgItem(dialog, kImportButtonId);
    if (import && IsWindow(import)) Click(import);
}

void DialogWatcher::SetCheckBox(HWND dialog, const OptionSetting& setting) {
    HWND box = GetDlgItem(dialog, setting.field->controlId);
    if (!box)
        return Note(std::string(setting.field->name) + ": the options dialog has no such control");
    if (!IsWindowEnabled(box))
        return Note(std::string(setting.field->name) +
                    ": the check box is disabled, left as shown");
    WPARAM want = setting.checked ? BST_CHECKED : BST_UNCHECKED;
    if (SendMessageA(box, BM_GETCHECK, 0, 0) == LRESULT(want)) return;
    Click(box);
    if (SendMessageA(box, BM_GETCHECK, 0, 0) != LRESULT(want))
        Note(std::string(setting.field->name) + ": the click did not change the check box");
}

// Clicks into the field, selects all of it and types the text character by
// character, as a user would. The focus stays in the field: the click on
// "Import" moves it on, and the field's owner takes the text then (the
// spinner commits and limits its value when its field loses the focus).
void DialogWatcher::TypeInto(HWND dialog, int controlId, const char* what,
                             const std::string& text) {
    HWND control = GetDlgItem(dialog, controlId);
    HWND field = control ? TextFieldOf(control) : nullptr;
    if (!field) return Note(std::string(what) + ": the options dialog has no field for it");
    if (!IsWindowEnabled(field))
        return Note(std::string(what) + ": the field is disabled, left as shown");
    Click(field);
    SendMessageA(field, EM_SETSEL, 0, -1);
    if (text.empty()) SendMessageA(field, WM_CHAR, VK_BACK, 1);
    for (unsigned char c : text) SendMessageA(field, WM_CHAR, c, 1);
}
