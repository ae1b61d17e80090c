#pragma once

#include <string>

namespace vantorel {

// What the settings store needs from the Settings tab: five values out, five in.
// Setting a value that differs from the shown one runs the tab's change handler.
class SettingsTab {
public:
    virtual ~SettingsTab() = default;

    virtual std::string loginText() const = 0;
    virtual std::string passwordText() const = 0;
    virtual std::string pathText() const = 0;
    virtual std::string timeoutText() const = 0;
    virtual int viewingPreference() const = 0;  // -1..2

    virtual void setLoginText(const std::string& text) = 0;
    virtual void setPasswordText(const std::string& text) = 0;
    virtual void setPathText(const std::string& text) = 0;
    virtual void setTimeoutText(const std::string& text) = 0;
    virtual void setViewingPreference(int index) = 0;  // clamps to -1..2
};

}  // namespace vantorel
