#include "form/FormDesign.h"

namespace vantorel {

namespace {

using K = ControlKind;

// Sample-format texts are kept exactly, trailing blanks included.
constexpr ControlDesign kControls[] = {
    {"Panel1", K::Panel, "", nullptr, 0, 0, 437, 91},
    {"Image1", K::Picture, "", "Panel1", 72, 8, 289, 81},
    {"PageControl1", K::TabControl, "", nullptr, 0, 91, 437, 477},

    {"TabSheet1", K::Page, "Patent Downloader", "PageControl1", 0, 0, 0, 0},
    {"PatIDLabel", K::Label, "Enter patent number*:", "TabSheet1", 8, 16, 103, 13},
    {"PatID", K::Edit, "", "TabSheet1", 8, 32, 305, 21},
    {"Button1", K::DefaultButton, "Download Patent", "TabSheet1", 320, 32, 97, 21},
    {"ProgressBar1", K::ProgressBar, "", "TabSheet1", 8, 64, 409, 16},
    {"GroupBox1", K::GroupBox, "Sample Formats", "TabSheet1", 8, 88, 409, 313},
    {"Label1", K::Label, "US Patent", "GroupBox1", 8, 24, 0, 13},
    {"Label8", K::Label, "6892391 or", "GroupBox1", 120, 24, 0, 13},
    {"Label28", K::Label, "PCT", "GroupBox1", 224, 24, 0, 13},
    {"Label27", K::Label, "WO2005043967", "GroupBox1", 320, 24, 0, 13},
    {"Label14", K::Label, "6,892,391 or", "GroupBox1", 120, 40, 0, 13},
    {"Label26", K::Label, "(12 digits)", "GroupBox1", 320, 40, 0, 13},
    {"Label9", K::Label, "US6892391", "GroupBox1", 120, 56, 0, 13},
    {"Label18", K::Label, "European", "GroupBox1", 224, 56, 0, 13},
    {"Label37", K::Label, "EP1534056", "GroupBox1", 320, 56, 0, 13},
    {"Label7", K::Label, "US Publication", "GroupBox1", 8, 72, 0, 13},
    {"Label15", K::Label, "US2005102719", "GroupBox1", 120, 72, 0, 13},
    {"Label41", K::Label, "Germany", "GroupBox1", 224, 72, 0, 13},
    {"Label38", K::Label, "DE10362030", "GroupBox1", 320, 72, 0, 13},
    {"Label5", K::Label, "(12 digits)", "GroupBox1", 120, 88, 0, 13},
    {"Label21", K::Label, "Japan", "GroupBox1", 224, 88, 0, 13},
    {"Label19", K::Label, "JP2005117900", "GroupBox1", 320, 88, 0, 13},
    {"Label13", K::Label, "US Reissue", "GroupBox1", 8, 104, 0, 13},
    {"Label11", K::Label, "USRE35312", "GroupBox1", 120, 104, 0, 13},
    {"Label22", K::Label, "United Kingdom", "GroupBox1", 224, 104, 0, 13},
    {"Label29", K::Label, "GB2408435", "GroupBox1", 320, 104, 0, 13},
    {"Label6", K::Label, "US Plant Patent", "GroupBox1", 8, 120, 0, 13},
    {"Label3", K::Label, "USPP8901", "GroupBox1", 120, 120, 0, 13},
    {"Label20", K::Label, "France", "GroupBox1", 224, 120, 0, 13},
    {"Label36", K::Label, "FR2862839", "GroupBox1", 320, 120, 0, 13},
    {"Label12", K::Label, "US Design Patent", "GroupBox1", 8, 136, 0, 13},
    {"Label10", K::Label, "USD339456", "GroupBox1", 120, 136, 0, 13},
    {"Label42", K::Label, "Russia", "GroupBox1", 224, 136, 0, 13},
    {"Label40", K::Label, "RU2207970", "GroupBox1", 320, 136, 0, 13},
    {"Label2", K::Label, "US Defensive Pub.", "GroupBox1", 8, 152, 0, 13},
    {"Label16", K::Label, "UST109201", "GroupBox1", 120, 152, 0, 13},
    {"Label23", K::Label, "Austria", "GroupBox1", 224, 152, 0, 13},
    {"Label39", K::Label, "AU2954402", "GroupBox1", 320, 152, 0, 13},
    {"Label17", K::Label, "US SIR", "GroupBox1", 8, 168, 0, 13},
    {"Label4", K::Label, "USH1523 ", "GroupBox1", 120, 168, 0, 13},
    {"Label50", K::Label, "Ireland ", "GroupBox1", 224, 168, 0, 13},
    {"Label59", K::Label, "IE12123 ", "GroupBox1", 320, 168, 0, 13},
    {"Label60", K::Label, "Finland", "GroupBox1", 8, 184, 0, 13},
    {"Label48", K::Label, "FI5443 ", "GroupBox1", 120, 184, 0, 13},
    {"Label43", K::Label, "Netherlands ", "GroupBox1", 224, 184, 0, 13},
    {"Label55", K::Label, "NL293832 ", "GroupBox1", 320, 184, 0, 13},
    {"Label62", K::Label, "Italy ", "GroupBox1", 8, 200, 0, 13},
    {"Label49", K::Label, "IT1245565 ", "GroupBox1", 120, 200, 0, 13},
    {"Label58", K::Label, "Sweden ", "GroupBox1", 224, 200, 0, 13},
    {"Label51", K::Label, "SE193831 ", "GroupBox1", 320, 200, 0, 13},
    {"Label45", K::Label, "Denmark ", "GroupBox1", 8, 216, 0, 13},
    {"Label47", K::Label, "DK1 ", "GroupBox1", 120, 216, 0, 13},
    {"Label56", K::Label, "Czech Republic", "GroupBox1", 224, 216, 0, 13},
    {"Label54", K::Label, "CZ291233 ", "GroupBox1", 320, 216, 0, 13},
    {"Label46", K::Label, "Greece ", "GroupBox1", 8, 232, 0, 13},
    {"Label35", K::Label, "GR1002344 ", "GroupBox1", 120, 232, 0, 13},
    {"Label57", K::Label, "Estonia ", "GroupBox1", 224, 232, 0, 13},
    {"Label52", K::Label, "ES9400001 ", "GroupBox1", 320, 232, 0, 13},
    {"Label30", K::Label,
     "Patents from other countries not listed above may also be available for download.",
     "GroupBox1", 8, 272, 381, 13},
    {"Label25", K::Label, "Simply enter the country code and patent number to test availability.",
     "GroupBox1", 8, 288, 318, 13},
    {"Label31", K::Label,
     "(*) To download multiple patents at the same time, enter a semicolon (;) between",
     "TabSheet1", 8, 408, 376, 13},
    {"Label44", K::Label, "each patent number", "TabSheet1", 22, 424, 95, 13},

    {"TabSheet2", K::Page, "Downloaded Patents", "PageControl1", 0, 0, 0, 0},
    {"PatentsList", K::ListView, "", "TabSheet2", 8, 8, 417, 401},
    {"Button2", K::DefaultButton, "View", "TabSheet2", 272, 416, 75, 25},
    {"Button3", K::Button, "Delete", "TabSheet2", 352, 416, 75, 25},

    {"TabSheet3", K::Page, "Settings", "PageControl1", 0, 0, 0, 0},
    {"GroupBox2", K::GroupBox, "Account Information", "TabSheet3", 0, 8, 429, 105},
    {"Label32", K::Label, "User ID:", "GroupBox2", 16, 32, 39, 13},
    {"LoginEdit", K::Edit, "", "GroupBox2", 104, 24, 121, 21},
    {"Label33", K::Label, "Password:", "GroupBox2", 16, 64, 49, 13},
    {"PassEdit", K::PasswordEdit, "", "GroupBox2", 104, 60, 121, 21},
    {"GroupBox3", K::GroupBox, "Preferences", "TabSheet3", 0, 129, 429, 280},
    {"Label34", K::Label, "Local folder for downloaded patents:", "GroupBox3", 8, 24, 172, 13},
    {"PathEdit", K::ReadOnlyEdit, "", "GroupBox3", 8, 45, 281, 21},
    {"Button4", K::Button, "...", "GroupBox3", 296, 45, 25, 21},
    {"RadioGroup1", K::RadioGroup, "Viewing Downloaded Patents", "GroupBox3", 8, 96, 409, 105},
    {"GroupBox4", K::GroupBox, "Timeout", "GroupBox3", 8, 208, 409, 57},
    {"TOEdit", K::Edit, "120", "GroupBox4", 8, 24, 65, 21},
    {"Label24", K::Label, "seconds", "GroupBox4", 80, 32, 40, 13},
    {"Button5", K::Button, "Save Changes", "TabSheet3", 328, 416, 89, 25},
};

constexpr const char* kViewingChoices[] = {
    "Open all PDF files upon download",
    "Open only the first PDF file upon download",
    "Do not open any PDF files upon download; save them to my local patent folder",
};

constexpr ColumnDesign kColumns[] = {
    {"Patent #", 70},
    {"File Path", 0},
    {"Date/Time downloaded", 120},
};

}  // namespace

std::span<const ControlDesign> mainFormControls() {
    return kControls;
}

const ControlDesign* findControl(std::string_view name) {
    for (const ControlDesign& control : kControls)
        if (name == control.name) return &control;
    return nullptr;
}

const ControlDesign* pageOf(const ControlDesign& control) {
    const ControlDesign* at = &control;
    while (at && at->kind != ControlKind::Page)
        at = at->container ? findControl(at->container) : nullptr;
    return at;
}

bool takesFocus(ControlKind kind) {
    switch (kind) {
        case ControlKind::TabControl:
        case ControlKind::Edit:
        case ControlKind::PasswordEdit:
        case ControlKind::ReadOnlyEdit:
        case ControlKind::Button:
        case ControlKind::DefaultButton:
        case ControlKind::RadioGroup:
        case ControlKind::ListView:
            return true;
        default:
            return false;
    }
}

std::vector<const ControlDesign*> tabStopsOf(int page) {
    std::vector<const ControlDesign*> stops;
    int index = -1;
    for (const ControlDesign& control : kControls) {
        if (control.kind == ControlKind::Page) ++index;
        if (index == page && takesFocus(control.kind) && pageOf(control)) stops.push_back(&control);
    }
    return stops;
}

bool showsCaption(ControlKind kind) {
    return kind == ControlKind::Label || kind == ControlKind::Button ||
           kind == ControlKind::DefaultButton || kind == ControlKind::GroupBox ||
           kind == ControlKind::RadioGroup;
}

const ControlDesign* defaultButtonOf(int page) {
    int index = -1;
    for (const ControlDesign& control : kControls) {
        if (control.kind == ControlKind::Page) ++index;
        if (index == page && control.kind == ControlKind::DefaultButton) return &control;
    }
    return nullptr;
}

std::span<const char* const> viewingChoices() {
    return kViewingChoices;
}

std::span<const ColumnDesign> patentListColumns() {
    return kColumns;
}

ScreenRect radioChoiceRect(int groupWidth, int groupHeight, int textHeight, int count, int index) {
    if (count <= 0) return {8, 0, groupWidth - 10, 0};
    const int free = groupHeight - textHeight - 5;
    const int itemHeight = free / count;
    const int first = textHeight + 1 + (free % count) / 2;
    return {8, first + index * itemHeight, groupWidth - 10, itemHeight};
}

ScreenRect firstWindowRect(const ScreenRect& desktop, int outerWidth, int outerHeight) {
    return {desktop.left + (desktop.width - outerWidth) / 2,
            desktop.top + (desktop.height - outerHeight) / 2, outerWidth, outerHeight};
}

}  // namespace vantorel
