#include "tests/support/plyhost_run_win.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

namespace {

const DWORD kHangGuardMs = 120000;

HANDLE InheritableFile(const std::string& path) {
    SECURITY_ATTRIBUTES sa = {sizeof sa, nullptr, TRUE};
    return CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &sa, CREATE_ALWAYS,
                       FILE_ATTRIBUTE_NORMAL, nullptr);
}

}  // namespace

std::string TestBinDir() {
    char buf[MAX_PATH];
    GetModuleFileNameA(nullptr, buf, sizeof buf);
    std::string path = buf;
    return path.substr(0, path.find_last_of('\\'));
}

std::string QuoteArgument(const std::string& arg) {
    std::string out = "\"";
    size_t backslashes = 0;
    // By characters of the ANSI code page, as the runtime reads them back: a
    // trail byte 0x5C is no backslash.
    for (const char* p = arg.c_str(); *p;) {
        const char* next = CharNextA(p);
        if (*p == '\\' && next == p + 1) {
            ++backslashes;
            p = next;
            continue;
        }
        out.append(*p == '"' ? backslashes * 2 + 1 : backslashes, '\\');
        backslashes = 0;
        out.append(p, next);
        p = next;
    }
    out.append(backslashes * 2, '\\');
    return out + "\"";
}

std::string ReadTextFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

std::string UnixNamespacePath(const std::string& prefix, const std::string& path) {
    typedef char*(CDECL * UnixName)(const wchar_t*);
    auto unixName = reinterpret_cast<UnixName>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name")));
    std::wstring wide(path.begin(), path.end());
    char* name = unixName ? unixName(wide.c_str()) : nullptr;
    if (!name) return std::string();
    std::string result = prefix + name;
    HeapFree(GetProcessHeap(), 0, name);
    // Drive C's link in the prefix holds a ':'; the folder it points to does not.
    const size_t link = result.find("/dosdevices/c:/");
    if (link != std::string::npos) result.replace(link, 15, "/drive_c/");
    for (char& c : result)
        if (c == '/') c = '\\';
    return result;
}

std::vector<std::string> SplitLines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string l; std::getline(in, l);) {
        if (!l.empty() && l.back() == '\r') l.pop_back();
        lines.push_back(l);
    }
    return lines;
}

PlyhostChild StartPlyhost(const std::vector<std::string>& args, const std::string& workDir,
                          const std::string& exe) {
    PlyhostChild c;
    static int serial = 0;
    std::string stem = workDir + "\\run" + std::to_string(++serial);
    c.outPath = stem + ".out";
    c.errPath = stem + ".err";
    std::string cmd = QuoteArgument(exe);
    for (const std::string& a : args) cmd += " " + QuoteArgument(a);
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    si.hStdOutput = InheritableFile(c.outPath);
    si.hStdError = InheritableFile(c.errPath);
    std::vector<char> line(cmd.begin(), cmd.end());
    line.push_back('\0');
    BOOL ok = CreateProcessA(exe.c_str(), line.data(), nullptr, nullptr, TRUE, 0, nullptr,
                             workDir.c_str(), &si, &c.pi);
    CloseHandle(si.hStdOutput);
    CloseHandle(si.hStdError);
    EXPECT_TRUE(ok) << "cannot start " << exe;
    return c;
}

PlyhostResult FinishPlyhost(PlyhostChild& c) {
    PlyhostResult r;
    if (!c.pi.hProcess) return r;
    if (WaitForSingleObject(c.pi.hProcess, kHangGuardMs) != WAIT_OBJECT_0) {
        TerminateProcess(c.pi.hProcess, 99);
        WaitForSingleObject(c.pi.hProcess, INFINITE);
        ADD_FAILURE() << "plyhost hung and was ended";
    }
    GetExitCodeProcess(c.pi.hProcess, &r.status);
    CloseHandle(c.pi.hProcess);
    CloseHandle(c.pi.hThread);
    c.pi.hProcess = c.pi.hThread = nullptr;
    r.out = ReadTextFile(c.outPath);
    r.err = ReadTextFile(c.errPath);
    return r;
}

PlyhostResult RunPlyhost(const std::vector<std::string>& args, const std::string& workDir) {
    PlyhostChild child = StartPlyhost(args, workDir);
    return FinishPlyhost(child);
}
