// The window tests' entry. Under Wine without a window manager, hiding a
// window waits two seconds for a manager that never answers, and the tests
// hide many; unmanaged windows do not wait. Wine reads that setting when a
// process starts, so a run that had to set it starts itself once more.
#include <windows.h>

#include <gtest/gtest.h>

namespace {

bool underWine() {
    HMODULE ntdll = GetModuleHandleA("ntdll.dll");
    return ntdll && GetProcAddress(ntdll, "wine_get_version");
}

// True when the setting had to be changed.
bool makeWindowsUnmanaged() {
    HKEY key = nullptr;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Wine\\X11 Driver", 0, nullptr, 0,
                        KEY_QUERY_VALUE | KEY_SET_VALUE, nullptr, &key, nullptr) != ERROR_SUCCESS)
        return false;
    char value[8] = {};
    DWORD size = sizeof value - 1;
    const bool already = RegQueryValueExA(key, "Managed", nullptr, nullptr,
                                          reinterpret_cast<BYTE*>(value), &size) == ERROR_SUCCESS &&
                         (value[0] == 'N' || value[0] == 'n');
    if (!already) RegSetValueExA(key, "Managed", 0, REG_SZ, reinterpret_cast<const BYTE*>("N"), 2);
    RegCloseKey(key);
    return !already;
}

int runAgain() {
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = GetStdHandle(STD_OUTPUT_HANDLE);
    startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    for (HANDLE handle : {startup.hStdInput, startup.hStdOutput, startup.hStdError})
        SetHandleInformation(handle, HANDLE_FLAG_INHERIT, HANDLE_FLAG_INHERIT);
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(nullptr, GetCommandLineA(), nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                        &startup, &process))
        return -1;
    WaitForSingleObject(process.hProcess, INFINITE);
    DWORD code = 1;
    GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return static_cast<int>(code);
}

}  // namespace

int main(int argc, char** argv) {
    if (underWine() && makeWindowsUnmanaged()) {
        const int code = runAgain();
        if (code >= 0) return code;
    }
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
