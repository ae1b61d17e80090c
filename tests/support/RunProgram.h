#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "support/TempDir.h"

#ifndef _WIN32
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace vantorel::test {

struct ProgramRun {
    int exitCode = -1;  // -1 when the program did not start or did not end by itself
    std::string out;
    std::string err;
};

#ifdef _WIN32
// Quotes one argument so that the C runtime's argv gives it back unchanged.
inline std::string quotedArgument(const std::string& argument) {
    std::string quoted = "\"";
    std::size_t backslashes = 0;
    for (const char c : argument) {
        if (c == '\\') {
            ++backslashes;
            continue;
        }
        quoted.append(c == '"' ? 2 * backslashes + 1 : backslashes, '\\');
        backslashes = 0;
        quoted += c;
    }
    quoted.append(2 * backslashes, '\\');
    return quoted + "\"";
}
#endif

// Runs `program` with each of `arguments` as one argument (no shell) and
// collects what it writes to standard output and standard error.
inline ProgramRun runProgram(std::string program, const std::vector<std::string>& arguments) {
    TempDir dir;
    const std::string outFile = dir.file("out"), errFile = dir.file("err");
    ProgramRun run;
#ifdef _WIN32
    // A cross build names its programs by their Unix path; under Wine drive Z: is the Unix root.
    if (!program.empty() && program[0] == '/') program = "Z:" + program;
    for (char& c : program)
        if (c == '/') c = '\\';
    std::string line = quotedArgument(program);
    for (const std::string& argument : arguments) line += " " + quotedArgument(argument);
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    HANDLE out = CreateFileA(outFile.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit,
                             CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    HANDLE err = CreateFileA(errFile.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit,
                             CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = INVALID_HANDLE_VALUE;
    startup.hStdOutput = out;
    startup.hStdError = err;
    PROCESS_INFORMATION process{};
    if (CreateProcessA(program.c_str(), line.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                       &startup, &process)) {
        if (WaitForSingleObject(process.hProcess, 120000) == WAIT_OBJECT_0) {
            DWORD code = 0;
            if (GetExitCodeProcess(process.hProcess, &code)) run.exitCode = static_cast<int>(code);
        } else {
            TerminateProcess(process.hProcess, 1);
        }
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }
    CloseHandle(out);
    CloseHandle(err);
#else
    // Everything the child needs is made before the fork: other threads of
    // the test may hold locks that the child could never take.
    std::vector<std::string> copies(arguments);
    std::vector<char*> argv{program.data()};
    for (std::string& argument : copies) argv.push_back(argument.data());
    argv.push_back(nullptr);
    const pid_t child = fork();
    if (child == 0) {
        const int out = ::open(outFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        const int err = ::open(errFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        const int none = ::open("/dev/null", O_RDONLY);
        if (out < 0 || err < 0 || none < 0) _exit(127);
        dup2(none, 0);
        dup2(out, 1);
        dup2(err, 2);
        execv(program.c_str(), argv.data());
        _exit(127);
    }
    int status = 0;
    if (child > 0 && waitpid(child, &status, 0) == child && WIFEXITED(status))
        run.exitCode = WEXITSTATUS(status);
#endif
    run.out = readFile(outFile);
    run.err = readFile(errFile);
    return run;
}

}  // namespace vantorel::test
