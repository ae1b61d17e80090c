#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>

#include "app/win32/TMainForm.h"
#include "form/FakeDialogs.h"
#include "platform/RegistryKey.h"
#include "settings/SettingsStore.h"
#include "support/TempDir.h"

namespace vantorel::test {

// The real window, shown, over a fresh install folder, with scripted boxes
// and a counting download command.
class WindowFixture : public ::testing::Test {
public:
    void SetUp() override {
        root = scratch.path();
        std::filesystem::create_directories(root / "patents");
        RegistryKey key;
        ASSERT_TRUE(key.openOrCreate(kProgramRegistryKey));
        previousInstallPath = key.readString("InstallPath");
        key.writeString("InstallPath", root.string());
    }
    void TearDown() override {
        form.reset();
        // The per-user registry outlives the test: leave it as it was found.
        RegistryKey key;
        if (key.openOrCreate(kProgramRegistryKey))
            key.writeString("InstallPath", previousInstallPath);
    }

    TMainForm& makeForm(TMainFormOptions options = {}) {
        options.quitOnDestroy = false;
        form = std::make_unique<TMainForm>(dialogs, std::move(options));
        form->core().setDownloadCommand([this] { ++downloads; });
        form->show();
        pump();
        return *form;
    }

    // Handles what is queued, through the window's keyboard rules.
    void pump() {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (form && form->handle() && form->preTranslateMessage(message)) continue;
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
    }

    // A key pressed on the focused control, modifiers held through the
    // thread's key state.
    void press(WORD key, bool ctrl = false, bool shift = false) {
        BYTE state[256] = {};
        GetKeyboardState(state);
        state[VK_CONTROL] = ctrl ? 0x80 : 0;
        state[VK_SHIFT] = shift ? 0x80 : 0;
        SetKeyboardState(state);
        MSG message{GetFocus(), WM_KEYDOWN, key, 1, 0, {}};
        if (!form->preTranslateMessage(message)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
        state[VK_CONTROL] = state[VK_SHIFT] = 0;
        SetKeyboardState(state);
        pump();
    }

    std::string focusName() const {
        HWND focus = GetFocus();
        for (const char* name :
             {"PageControl1", "PatID", "Button1", "PatentsList", "Button2", "Button3", "LoginEdit",
              "PassEdit", "PathEdit", "Button4", "RadioGroup1.Choice0", "RadioGroup1.Choice1",
              "RadioGroup1.Choice2", "TOEdit", "Button5"})
            if (form->control(name) == focus) return name;
        return focus ? "(other)" : "(none)";
    }

    TempDir scratch;
    std::filesystem::path root;
    std::string previousInstallPath;
    FakeDialogs dialogs;
    int downloads = 0;
    std::unique_ptr<TMainForm> form;
};

}  // namespace vantorel::test
