#pragma once

#include <span>
#include <string_view>
#include <vector>

namespace vantorel {

// What a control of the main window is; each window maps a kind to its
// toolkit's control.
enum class ControlKind {
    Panel,       // the banner panel
    Picture,     // the banner picture
    TabControl,  // the tab strip with its three pages
    Page,        // one tab's page; its caption is the tab's
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

// One control of the main window's design: its designer name, its caption
// (the text an edit starts with), and Left, Top, Width and Height at 96 dpi
// relative to the client area of its container (the window, the banner panel,
// a page or a group box). Containers come before what they hold.
struct ControlDesign {
    const char* name;
    ControlKind kind;
    const char* caption;
    const char* container;  // nullptr: the window itself
    int left;
    int top;
    int width;
    int height;
};

// A column of PatentsList; width 0 takes what the others leave of the
// list's client width.
struct ColumnDesign {
    const char* caption;
    int width;
};

inline constexpr int kClientWidth = 437;
inline constexpr int kClientHeight = 568;
// The line height the design's positions assume.
inline constexpr int kDesignLineHeight = 13;

// Every control in creation order. The controls that take the focus (see
// takesFocus) are in tab order, the tab strip first.
std::span<const ControlDesign> mainFormControls();
// nullptr for a name the design does not have.
const ControlDesign* findControl(std::string_view name);
// The page a control lies on (its container chain's Page), or nullptr.
const ControlDesign* pageOf(const ControlDesign& control);

// Tab strip, edits, buttons, the radio group (its selected choice) and the list.
bool takesFocus(ControlKind kind);

// The controls of the page with that index that take the focus, in tab
// order (after the tab strip, which comes first on every page).
std::vector<const ControlDesign*> tabStopsOf(int page);

// Labels, buttons, group boxes and the radio group show their caption as
// their text; an edit's caption is only the text it starts with.
bool showsCaption(ControlKind kind);

// The default button of the page with that index, or nullptr: the Settings
// tab has none.
const ControlDesign* defaultButtonOf(int page);

// The three choices of RadioGroup1, by index.
std::span<const char* const> viewingChoices();

// PatentsList's columns, left to right.
std::span<const ColumnDesign> patentListColumns();

struct ScreenRect {
    int left;
    int top;
    int width;
    int height;
};

// Choice `index` of `count` in a radio group of the given size, relative to
// the group: one column, each (width - 10) wide and an equal share of what
// the caption leaves, the rest split above and below.
ScreenRect radioChoiceRect(int groupWidth, int groupHeight, int textHeight, int count, int index);

// Where the window first opens: centred on the desktop (the area spanning
// all monitors), in integer division, by its outer size.
ScreenRect firstWindowRect(const ScreenRect& desktop, int outerWidth, int outerHeight);

}  // namespace vantorel
