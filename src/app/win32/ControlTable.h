#pragma once

#include <span>

namespace vantorel {

// What a control of the main window is; decides its window class and styles.
enum class ControlKind {
    Panel,       // the banner panel
    Picture,     // the banner picture
    TabControl,  // the tab strip with its three pages
    Page,        // one tab's page
    Label,       // width 0: as wide as its text
    Edit,
    PasswordEdit,
    ReadOnlyEdit,
    Button,
    DefaultButton,  // pressed by Enter on its tab
    ProgressBar,
    GroupBox,
    RadioGroup,  // a group box whose choices are laid out by rule
    ListView,
};

// One control as the window's design gives it: Left, Top, Width and Height
// at 96 dpi, relative to the client area of its container (the window, the
// banner panel, a page, or a group box). Containers come before what they hold.
struct ControlLayout {
    const char* name;
    ControlKind kind;
    const char* text;
    const char* container;  // nullptr: the window itself
    int left;
    int top;
    int width;
    int height;
};

// Every control in creation order, which is also the tab order.
std::span<const ControlLayout> mainFormControls();

// The three choices of RadioGroup1, by index.
std::span<const char* const> viewingChoices();

}  // namespace vantorel
