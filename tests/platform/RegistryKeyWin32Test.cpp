#include <gtest/gtest.h>
#include <windows.h>

#include "platform/Failure.h"
#include "platform/RegistryKey.h"
#include "support/ScopedRegistry.h"

namespace vantorel {
namespace {

const char* kTestRoot = "\\Software\\Vantorel Tests";
const char* kKey = "\\Software\\Vantorel Tests\\Win32";
const char* kNativeKey = "Software\\Vantorel Tests\\Win32";

struct RawValue {
    LONG result = ERROR_FILE_NOT_FOUND;
    DWORD type = REG_NONE;
    std::string bytes;
};

RawValue queryValue(const char* name) {
    RawValue value;
    HKEY key = nullptr;
    value.result = RegOpenKeyExA(HKEY_CURRENT_USER, kNativeKey, 0, KEY_READ, &key);
    if (value.result != ERROR_SUCCESS) return value;
    char buffer[1024];
    DWORD size = sizeof buffer;
    value.result =
        RegQueryValueExA(key, name, nullptr, &value.type, reinterpret_cast<BYTE*>(buffer), &size);
    if (value.result == ERROR_SUCCESS) value.bytes.assign(buffer, size);
    RegCloseKey(key);
    return value;
}

TEST(RegistryKeyWin32, ValuesLandInTheUsersHiveWithTheirTypes) {
    test::ScopedRegistry registry({kTestRoot});
    RegistryKey key;
    ASSERT_TRUE(key.openOrCreate(kKey));
    key.writeString("", "C:\\X\\tessariant.html");
    key.writeInteger("Contexts", 16);
    key.writeString("InstallPath", "C:\\Program Files\\X");

    const RawValue byDefault = queryValue(nullptr);
    ASSERT_EQ(byDefault.result, ERROR_SUCCESS);
    EXPECT_EQ(byDefault.type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(byDefault.bytes, std::string("C:\\X\\tessariant.html", 20) + '\0');

    const RawValue contexts = queryValue("Contexts");
    ASSERT_EQ(contexts.result, ERROR_SUCCESS);
    EXPECT_EQ(contexts.type, static_cast<DWORD>(REG_DWORD));
    EXPECT_EQ(contexts.bytes, std::string("\x10\0\0\0", 4));

    EXPECT_EQ(queryValue("InstallPath").bytes, std::string("C:\\Program Files\\X") + '\0');
}

TEST(RegistryKeyWin32, ReadsValuesTheInstallerWrote) {
    test::ScopedRegistry registry({kTestRoot});
    HKEY raw = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, kNativeKey, 0, nullptr, 0, KEY_WRITE, nullptr,
                              &raw, nullptr),
              ERROR_SUCCESS);
    const char expand[] = "%ProgramFiles%\\X";
    RegSetValueExA(raw, "Expand", 0, REG_EXPAND_SZ, reinterpret_cast<const BYTE*>(expand),
                   sizeof expand);
    // A string stored without its closing NUL still reads whole.
    RegSetValueExA(raw, "NoNul", 0, REG_SZ, reinterpret_cast<const BYTE*>("abc"), 3);
    const BYTE binary[] = {1, 2, 3};
    RegSetValueExA(raw, "Binary", 0, REG_BINARY, binary, sizeof binary);
    const std::string longText(5000, 'v');
    RegSetValueExA(raw, "Long", 0, REG_SZ, reinterpret_cast<const BYTE*>(longText.c_str()),
                   static_cast<DWORD>(longText.size() + 1));
    RegCloseKey(raw);

    RegistryKey key;
    ASSERT_TRUE(key.openOrCreate(kKey));
    EXPECT_EQ(key.readString("Expand"), "%ProgramFiles%\\X");  // taken as it stands
    EXPECT_EQ(key.readString("NoNul"), "abc");
    EXPECT_EQ(key.readString("Long"), longText);
    try {
        key.readString("Binary");
        FAIL();
    } catch (const Failure& failure) {
        EXPECT_EQ(failure.message(), "Invalid data type for 'Binary'");
    }
}

}  // namespace
}  // namespace vantorel
