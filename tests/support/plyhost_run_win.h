// Runs plyhost.exe as a child process and collects what it printed.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

// The folder of the running test program (where plyhost.exe is built).
std::string TestBinDir();

// Quoted as the runtime's argument parser reads it back.
std::string QuoteArgument(const std::string& arg);

std::string ReadTextFile(const std::string& path);
std::vector<std::string> SplitLines(const std::string& text);

// prefix and the Unix path of a file under wine (a namespace path without
// any ':' that names the file when the rule is not there); empty elsewhere.
std::string UnixNamespacePath(const std::string& prefix, const std::string& path);

struct PlyhostChild {
    PROCESS_INFORMATION pi = {};
    std::string outPath, errPath;
};

struct PlyhostResult {
    DWORD status = 0xFFFFFFFF;
    std::string out, err;
};

// Starts exe (plyhost.exe beside the test by default) with args in workDir;
// standard output and error go to files there.
PlyhostChild StartPlyhost(const std::vector<std::string>& args, const std::string& workDir,
                          const std::string& exe = TestBinDir() + "\\plyhost.exe");
// Waits for the child (a hung one is ended after two minutes and reported as
// a test failure; this is a guard, never a timing check).
PlyhostResult FinishPlyhost(PlyhostChild& child);
PlyhostResult RunPlyhost(const std::vector<std::string>& args, const std::string& workDir);
