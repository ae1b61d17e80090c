#include "PickerFixture.h"

#include "platform/Paths.h"

namespace vantorel {
namespace {

void removeTree(const std::string& folder) {
    WIN32_FIND_DATAA entry;
    HANDLE find = FindFirstFileA((folder + "\\*").c_str(), &entry);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            const std::string name = entry.cFileName;
            if (name == "." || name == "..") continue;
            const std::string path = folder + "\\" + name;
            if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                removeTree(path);
            else
                DeleteFileA(path.c_str());
        } while (FindNextFileA(find, &entry));
        FindClose(find);
    }
    RemoveDirectoryA(folder.c_str());
}

}  // namespace

void PickerFixture::SetUp() {
    ownerWindow = CreateWindowExA(0, "STATIC", "Picker owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40,
                                  40, 300, 200, nullptr, nullptr, nullptr, nullptr);
    if (!ownerWindow) GTEST_SKIP() << "no display to open windows on";
    picker.setOwnerWindow(ownerWindow);

    char temp[MAX_PATH] = "";
    GetTempPathA(MAX_PATH, temp);
    char longTemp[MAX_PATH] = "";
    GetLongPathNameA(temp, longTemp, MAX_PATH);
    static int serial = 0;
    root = std::string(longTemp) + "vpick-" + std::to_string(GetCurrentProcessId()) + "-" +
           std::to_string(++serial);
    data = root + "\\Data";
    sub = data + "\\Sub";
    for (const std::string& folder : {root, data, sub, data + "\\Other"})
        ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr)) << folder;
    HANDLE file = CreateFileA((data + "\\note.txt").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    CloseHandle(file);

    startDirectory = currentDirectory();
    ASSERT_TRUE(setCurrentDirectory(root));
    picker.InitialDir = data;
}

void PickerFixture::TearDown() {
    if (!startDirectory.empty()) setCurrentDirectory(startDirectory);
    if (!root.empty()) removeTree(root);
    if (ownerWindow) DestroyWindow(ownerWindow);
}

int PickerFixture::run(std::vector<DialogDriver::Step> steps) {
    bool timedOut = false;
    const int result = DialogDriver::run(picker, std::move(steps), timedOut);
    EXPECT_FALSE(timedOut) << "the dialog had to be cancelled by the time limit";
    return result;
}

void PickerFixture::recordEvents() {
    picker.OnShow = [this](TImplOpenDirectory* sender) {
        events.push_back("show");
        senders.push_back(sender);
    };
    picker.OnFolderChange = [this](TImplOpenDirectory* sender) {
        events.push_back("folder " + picker.Directory);
        senders.push_back(sender);
    };
    picker.OnClose = [this](TImplOpenDirectory* sender) {
        events.push_back("close");
        senders.push_back(sender);
    };
}

}  // namespace vantorel
