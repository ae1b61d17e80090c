#include <gtest/gtest.h>
#include <windows.h>

#include "platform/CommandLine.h"
#include "support/TempDir.h"

namespace vantorel {
namespace {

std::string probeProgram() {
    char self[MAX_PATH];
    const DWORD length = GetModuleFileNameA(nullptr, self, sizeof self);
    std::string path(self, length);
    return path.substr(0, path.rfind('\\') + 1) + "command_line_probe.exe";
}

// Starts the probe with `arguments` after its quoted path, as the browser
// entry's script starts the program, and returns the request it read.
std::string requestSeenBy(const std::string& arguments) {
    test::TempDir dir;
    const std::string out = dir.file("request.txt");
    test::ScopedEnv env("VANTOREL_PROBE_OUT", out);
    const std::string program = probeProgram();
    std::string line = "\"" + program + "\"" + arguments;
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(program.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process))
        return "<not started>";
    WaitForSingleObject(process.hProcess, 60000);
    DWORD code = 1;
    GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    if (code != 0) return "<failed>";
    return test::readFile(out);
}

TEST(CommandLineRequestWin32, IsTheSecondTokenOfTheRawLine) {
    const std::pair<const char*, const char*> cases[] = {
        {"", ""},
        {" US6892391", "US6892391"},
        {" \"US6892391", "US6892391"},
        {" \"ab\"cd ef", "abcd"},
        {" \"  \"", "  "},
        {" \"", ""},
        {" \"\" US1 US2", "US1"},
        {" \"US 1\tEP 2", "US 1\tEP 2"},
    };
    for (const auto& [arguments, expected] : cases)
        EXPECT_EQ(requestSeenBy(arguments), expected) << arguments;
}

}  // namespace
}  // namespace vantorel
