// TMainForm: the window, its controls and their layout.
#include "app/win32/TMainForm.h"

#include <windows.h>
// after windows.h, which it needs
#include <commctrl.h>

#include <algorithm>

#include "app/win32/BannerPicture.h"
#include "app/win32/ContainerWindow.h"
#include "app/win32/ResourceIds.h"
#include "app/win32/picker/TOpenDirectory.h"
#include "form/FormDesign.h"
#include "form/PatentPaste.h"
#include "form/UserDialogs.h"
#include "platform/Failure.h"
#include "platform/TextRules.h"

namespace vantorel {

namespace {

constexpr DWORD kWindowStyle =
    WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
constexpr DWORD kWindowExStyle = WS_EX_CONTROLPARENT;

struct ClassAndStyle {
    const char* windowClass;
    DWORD style;
    DWORD exStyle;
};

// WS_GROUP on every control but the second and third radio choice keeps the
// arrow keys inside the radio group.
ClassAndStyle classFor(ControlKind kind) {
    constexpr DWORD child = WS_CHILD | WS_VISIBLE | WS_GROUP;
    switch (kind) {
        case ControlKind::Panel:
            return {ContainerWindow::kPanelClass, child | WS_CLIPCHILDREN, 0};
        case ControlKind::Picture:
            return {BannerPicture::kClassName, child, 0};
        case ControlKind::TabControl:
            return {WC_TABCONTROLA, child | WS_TABSTOP | WS_CLIPSIBLINGS | TCS_FOCUSONBUTTONDOWN,
                    0};
        case ControlKind::Page:
            return {ContainerWindow::kPageClass, WS_CHILD | WS_GROUP | WS_CLIPSIBLINGS,
                    WS_EX_CONTROLPARENT};
        case ControlKind::Label:
            return {"STATIC", child | SS_LEFT | SS_NOPREFIX, 0};
        case ControlKind::Edit:
            return {"EDIT", child | WS_TABSTOP | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE};
        case ControlKind::PasswordEdit:
            return {"EDIT", child | WS_TABSTOP | ES_AUTOHSCROLL | ES_PASSWORD, WS_EX_CLIENTEDGE};
        case ControlKind::ReadOnlyEdit:
            return {"EDIT", child | WS_TABSTOP | ES_AUTOHSCROLL | ES_READONLY, WS_EX_CLIENTEDGE};
        case ControlKind::Button:
            return {"BUTTON", child | WS_TABSTOP | BS_PUSHBUTTON, 0};
        case ControlKind::DefaultButton:
            return {"BUTTON", child | WS_TABSTOP | BS_DEFPUSHBUTTON, 0};
        case ControlKind::ProgressBar:
            return {PROGRESS_CLASSA, child | PBS_SMOOTH, 0};
        case ControlKind::GroupBox:
        case ControlKind::RadioGroup:
            return {"BUTTON", child | BS_GROUPBOX, 0};
        case ControlKind::ListView:
            return {WC_LISTVIEWA,
                    child | WS_TABSTOP | LVS_REPORT | LVS_SINGLESEL | LVS_NOSORTHEADER,
                    WS_EX_CLIENTEDGE};
    }
    throw Failure("Unknown control kind");
}

void registerWindowClass(HINSTANCE instance, WNDPROC procedure, HICON icon, HICON smallIcon) {
    WNDCLASSEXA windowClass{};
    if (GetClassInfoExA(instance, TMainForm::kClassName, &windowClass)) return;
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = instance;
    windowClass.hIcon = icon;
    windowClass.hIconSm = smallIcon;
    windowClass.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = TMainForm::kClassName;
    RegisterClassExA(&windowClass);
}

void addColumn(HWND list, int index, const char* caption, int width) {
    LVCOLUMNA column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
    column.pszText = const_cast<char*>(caption);
    column.cx = width;
    column.iSubItem = index;
    SendMessageA(list, LVM_INSERTCOLUMNA, index, reinterpret_cast<LPARAM>(&column));
}

}  // namespace

TMainForm::TMainForm(UserDialogs& dialogs, TMainFormOptions options)
    : dialogs_(dialogs), options_(std::move(options)) {
    const int dpi =
        options_.dotsPerInch > 0 ? options_.dotsPerInch : WindowFont::screenDotsPerInch();
    font_ = std::make_unique<WindowFont>(dpi);
    createWindow();
    createControls();
    bindMembers();
    OpenDirectory1 = std::make_unique<TOpenDirectory>(window_);
    core_ = std::make_unique<MainFormCore>(*this, dialogs_, options_.commandLineRequest);
    if (options_.created) options_.created(*this);
    core_->FormCreate();
}

TMainForm::~TMainForm() {
    if (window_ && IsWindow(window_)) DestroyWindow(window_);
    core_.reset();
    if (banner_) DeleteObject(banner_);
    if (icon_) DestroyIcon(icon_);
    if (smallIcon_) DestroyIcon(smallIcon_);
}

int TMainForm::s(int pixels) const {
    return roundHalfEven(pixels * font_->scale());
}

HWND TMainForm::control(const std::string& name) const {
    const auto found = controls_.find(name);
    return found == controls_.end() ? nullptr : found->second;
}

HWND TMainForm::containerOf(const std::string& name) const {
    const auto found = containerNames_.find(name);
    return found == containerNames_.end() ? window_ : control(found->second);
}

void TMainForm::createWindow() {
    HINSTANCE instance = GetModuleHandleA(nullptr);
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_TAB_CLASSES | ICC_LISTVIEW_CLASSES |
                                                       ICC_PROGRESS_CLASS | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    icon_ = static_cast<HICON>(
        LoadImageA(instance, MAKEINTRESOURCEA(IDI_MAINICON), IMAGE_ICON, 32, 32, 0));
    smallIcon_ = static_cast<HICON>(
        LoadImageA(instance, MAKEINTRESOURCEA(IDI_MAINICON), IMAGE_ICON, 16, 16, 0));
    banner_ = static_cast<HBITMAP>(LoadImageA(instance, MAKEINTRESOURCEA(IDB_BANNER), IMAGE_BITMAP,
                                              0, 0, LR_CREATEDIBSECTION));
    registerWindowClass(instance, procedure, icon_, smallIcon_);
    ContainerWindow::registerClasses(instance);
    BannerPicture::registerClass(instance);

    RECT outer{0, 0, s(kClientWidth), s(kClientHeight)};
    AdjustWindowRectEx(&outer, kWindowStyle, FALSE, kWindowExStyle);
    window_ = CreateWindowExA(kWindowExStyle, kClassName, kApplicationTitle, kWindowStyle, 0, 0,
                              outer.right - outer.left, outer.bottom - outer.top, nullptr, nullptr,
                              instance, this);
    if (!window_) throw Failure("The main window cannot be created");
    if (icon_) SendMessageA(window_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon_));
    if (smallIcon_)
        SendMessageA(window_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon_));
    centreOnDesktop();
}

void TMainForm::createControls() {
    containers_[""] = {window_, {0, 0}};
    int nextId = 100;
    for (const ControlDesign& layout : mainFormControls()) {
        HWND created = createControl(layout);
        SetWindowLongPtrA(created, GWLP_ID, nextId++);
        controls_[layout.name] = created;
        if (layout.container) containerNames_[layout.name] = layout.container;
    }
}

HWND TMainForm::createControl(const ControlDesign& layout) {
    HINSTANCE instance = GetModuleHandleA(nullptr);
    const ClassAndStyle kind = classFor(layout.kind);
    const Placed where = containers_.at(layout.container ? layout.container : "");
    RECT box{where.origin.x + s(layout.left), where.origin.y + s(layout.top), 0, 0};
    box.right = box.left + (layout.width > 0 ? s(layout.width) : font_->textWidth(layout.caption));
    box.bottom = box.top + s(layout.height);

    HWND parent = where.parent;
    if (layout.kind == ControlKind::Page) {
        // A page covers the tab control's display area, as a sibling above it.
        const auto index = static_cast<int>(SendMessageA(PageControl1, TCM_GETITEMCOUNT, 0, 0));
        TCITEMA tab{};
        tab.mask = TCIF_TEXT;
        tab.pszText = const_cast<char*>(layout.caption);
        SendMessageA(PageControl1, TCM_INSERTITEMA, index, reinterpret_cast<LPARAM>(&tab));
        GetClientRect(PageControl1, &box);
        SendMessageA(PageControl1, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&box));
        MapWindowPoints(PageControl1, window_, reinterpret_cast<POINT*>(&box), 2);
        parent = window_;
    }
    BannerPicture::Params picture{banner_};
    HWND created = CreateWindowExA(
        kind.exStyle, kind.windowClass, layout.kind == ControlKind::Page ? "" : layout.caption,
        kind.style, box.left, box.top, box.right - box.left, box.bottom - box.top, parent, nullptr,
        instance, layout.kind == ControlKind::Picture ? &picture : nullptr);
    if (!created) throw Failure(std::string("The control ") + layout.name + " cannot be created");
    SendMessageA(created, WM_SETFONT, reinterpret_cast<WPARAM>(font_->handle()), FALSE);

    switch (layout.kind) {
        case ControlKind::Panel:
        case ControlKind::Page:
            containers_[layout.name] = {created, {0, 0}};
            break;
        case ControlKind::TabControl:
            PageControl1 = created;
            containers_[layout.name] = {parent, {box.left, box.top}};
            break;
        case ControlKind::GroupBox:
        case ControlKind::RadioGroup:
            // A group box holds nothing: what lies in it is its container's child.
            containers_[layout.name] = {parent, {box.left, box.top}};
            if (layout.kind == ControlKind::RadioGroup)
                createRadioChoices(containers_[layout.name], box);
            break;
        case ControlKind::Edit:
        case ControlKind::PasswordEdit:
        case ControlKind::ReadOnlyEdit:
            SendMessageA(created, EM_SETLIMITTEXT, 0, 0);
            if (layout.kind == ControlKind::PasswordEdit)
                SendMessageA(created, EM_SETPASSWORDCHAR, '*', 0);
            break;
        case ControlKind::ProgressBar:
            SendMessageA(created, PBM_SETRANGE32, 0, 100);
            SendMessageA(created, PBM_SETSTEP, 1, 0);
            SendMessageA(created, PBM_SETPOS, 0, 0);
            break;
        case ControlKind::ListView:
            SendMessageA(created, LVM_SETEXTENDEDLISTVIEWSTYLE, 0,
                         LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES | LVS_EX_FLATSB);
            for (int i = 0; const ColumnDesign& column : patentListColumns())
                addColumn(created, i++, column.caption, s(column.width));
            SetWindowLongPtrA(created, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
            listDefault_ = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(
                created, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(listProcedure)));
            break;
        default:
            break;
    }
    return created;
}

void TMainForm::createRadioChoices(const Placed& where, RECT group) {
    const auto choices = viewingChoices();
    const int count = static_cast<int>(choices.size());
    for (int i = 0; i < count; ++i) {
        const ScreenRect at = radioChoiceRect(group.right - group.left, group.bottom - group.top,
                                              font_->lineHeight(), count, i);
        DWORD style = WS_CHILD | WS_VISIBLE | BS_AUTORADIOBUTTON | (i == 0 ? WS_GROUP : 0);
        RadioChoices[i] = CreateWindowExA(
            0, "BUTTON", choices[i], style, where.origin.x + at.left, where.origin.y + at.top,
            at.width, at.height, where.parent, nullptr, GetModuleHandleA(nullptr), nullptr);
        SendMessageA(RadioChoices[i], WM_SETFONT, reinterpret_cast<WPARAM>(font_->handle()), FALSE);
        controls_["RadioGroup1.Choice" + std::to_string(i)] = RadioChoices[i];
        containerNames_["RadioGroup1.Choice" + std::to_string(i)] = "RadioGroup1";
    }
}

void TMainForm::bindMembers() {
    const std::pair<const char*, HWND*> members[] = {
        {"Panel1", &Panel1},       {"Image1", &Image1},           {"TabSheet1", &TabSheet1},
        {"TabSheet2", &TabSheet2}, {"TabSheet3", &TabSheet3},     {"PatIDLabel", &PatIDLabel},
        {"PatID", &PatID},         {"Button1", &Button1},         {"ProgressBar1", &ProgressBar1},
        {"GroupBox1", &GroupBox1}, {"PatentsList", &PatentsList}, {"Button2", &Button2},
        {"Button3", &Button3},     {"GroupBox2", &GroupBox2},     {"LoginEdit", &LoginEdit},
        {"PassEdit", &PassEdit},   {"GroupBox3", &GroupBox3},     {"PathEdit", &PathEdit},
        {"Button4", &Button4},     {"RadioGroup1", &RadioGroup1}, {"GroupBox4", &GroupBox4},
        {"TOEdit", &TOEdit},       {"Button5", &Button5},
    };
    for (const auto& [name, member] : members) *member = control(name);
    SetWindowLongPtrA(PatID, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    patentFieldDefault_ = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(PatID, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(patentFieldProcedure)));
    // The tab control lies below its pages, which it must not paint over.
    SetWindowPos(PageControl1, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    sizeFilePathColumn();
    setViewingPreference(0);
    showPage(0);
}

void TMainForm::sizeFilePathColumn() {
    // The client width without scroll bars: one appearing changes nothing.
    RECT outer;
    GetWindowRect(PatentsList, &outer);
    const int client = outer.right - outer.left - 2 * GetSystemMetrics(SM_CXEDGE);
    const int others = static_cast<int>(SendMessageA(PatentsList, LVM_GETCOLUMNWIDTH, 0, 0) +
                                        SendMessageA(PatentsList, LVM_GETCOLUMNWIDTH, 2, 0));
    SendMessageA(PatentsList, LVM_SETCOLUMNWIDTH, 1, MAKELPARAM(client - others, 0));
}

LRESULT CALLBACK TMainForm::listProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* form = reinterpret_cast<TMainForm*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    const LRESULT result = CallWindowProcA(form->listDefault_, window, message, wParam, lParam);
    if (message == WM_WINDOWPOSCHANGED) {
        const auto* position = reinterpret_cast<const WINDOWPOS*>(lParam);
        if (!(position->flags & SWP_NOSIZE)) form->sizeFilePathColumn();
    }
    return result;
}

LRESULT CALLBACK TMainForm::patentFieldProcedure(HWND window, UINT message, WPARAM wParam,
                                                 LPARAM lParam) {
    auto* form = reinterpret_cast<TMainForm*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (message == WM_PASTE) {
        form->pasteColumnIntoPatentField();
        return 0;
    }
    return CallWindowProcA(form->patentFieldDefault_, window, message, wParam, lParam);
}

void TMainForm::pasteColumnIntoPatentField() {
    // A column of numbers (lines or cells of a list) becomes the request it
    // stands for; the other fields keep cutting a paste at its first break.
    if ((GetWindowLongPtrA(PatID, GWL_STYLE) & ES_READONLY) ||
        !IsClipboardFormatAvailable(CF_TEXT) || !OpenClipboard(PatID))
        return;
    std::string pasted;
    if (HANDLE data = GetClipboardData(CF_TEXT)) {
        if (const auto* text = static_cast<const char*>(GlobalLock(data))) {
            pasted = text;
            GlobalUnlock(data);
        }
    }
    CloseClipboard();
    if (pasted.empty()) return;
    DWORD start = 0, end = 0;
    SendMessageA(PatID, EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                 reinterpret_cast<LPARAM>(&end));
    const std::string shown = textOf(PatID);
    start = std::min<DWORD>(start, static_cast<DWORD>(shown.size()));
    end = std::clamp<DWORD>(end, start, static_cast<DWORD>(shown.size()));
    const std::string replacement = PatentPaste::replacement(
        std::string_view(shown).substr(0, start), pasted, std::string_view(shown).substr(end));
    // Replacing the selection keeps the paste undoable, as the edit's own would.
    SendMessageA(PatID, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(replacement.c_str()));
}

void TMainForm::showPage(int index) {
    HWND pages[] = {TabSheet1, TabSheet2, TabSheet3};
    HWND focus = GetFocus();
    for (int i = 0; i < 3; ++i) {
        if (i == index) continue;
        // The focus never stays on a control nobody can see.
        if (focus && IsChild(pages[i], focus)) SetFocus(PageControl1);
        ShowWindow(pages[i], SW_HIDE);
    }
    if (index >= 0 && index < 3) ShowWindow(pages[index], SW_SHOW);
}

int TMainForm::activeTab() const {
    return static_cast<int>(SendMessageA(PageControl1, TCM_GETCURSEL, 0, 0));
}

void TMainForm::selectTab(int index) {
    SendMessageA(PageControl1, TCM_SETCURSEL, index, 0);
    showPage(index);
}

void TMainForm::centreOnDesktop() {
    RECT outer;
    GetWindowRect(window_, &outer);
    const ScreenRect desktop{
        GetSystemMetrics(SM_XVIRTUALSCREEN), GetSystemMetrics(SM_YVIRTUALSCREEN),
        GetSystemMetrics(SM_CXVIRTUALSCREEN), GetSystemMetrics(SM_CYVIRTUALSCREEN)};
    const ScreenRect at =
        firstWindowRect(desktop, outer.right - outer.left, outer.bottom - outer.top);
    SetWindowPos(window_, nullptr, at.left, at.top, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TMainForm::show(int showCommand) {
    ShowWindow(window_, showCommand);
    UpdateWindow(window_);
    // No control is named first: the first tab stop, the tab strip, has the focus.
    SetFocus(PageControl1);
    if (!shown_) {
        shown_ = true;
        core_->windowShown();
    }
}

}  // namespace vantorel
