// Every control's rectangle against the form's design.
#include "app/win32/WindowFixture.h"

#include <commctrl.h>

#include <vector>

#include "form/FormDesign.h"

namespace vantorel::test {
namespace {

constexpr const char* kChoiceNames[] = {"RadioGroup1.Choice0", "RadioGroup1.Choice1",
                                        "RadioGroup1.Choice2"};

struct Expected {
    const char* name;
    const char* container;         // "" for the window's client area
    int left, top, width, height;  // width 0: the text's width in the window font
    const char* caption;           // nullptr: not checked (edits are loaded at start)
};

// What the window builds: every control of the design but the pages (they
// fill the tab control's display area), and the radio choices by their rule.
std::vector<Expected> expectedLayout() {
    std::vector<Expected> expected;
    for (const ControlDesign& design : mainFormControls())
        if (design.kind != ControlKind::Page)
            expected.push_back({design.name, design.container ? design.container : "", design.left,
                                design.top, design.width, design.height,
                                showsCaption(design.kind) ? design.caption : nullptr});
    for (int i = 0; i < 3; ++i)
        expected.push_back(
            {kChoiceNames[i], "RadioGroup1", 8, 14 + 29 * i, 399, 29, viewingChoices()[i]});
    return expected;
}

RECT screenRect(HWND window) {
    RECT rect{};
    GetWindowRect(window, &rect);
    return rect;
}

// Where a container's own positions count from, in screen coordinates: the
// client origin of the window and of a page, the outer corner of a panel or group box.
POINT originOf(const TMainForm& form, const std::string& container) {
    POINT origin{0, 0};
    if (container.empty() || container.rfind("TabSheet", 0) == 0) {
        ClientToScreen(container.empty() ? form.handle() : form.control(container), &origin);
        return origin;
    }
    const RECT rect = screenRect(form.control(container));
    return {rect.left, rect.top};
}

int textWidth(HWND label) {
    char text[256] = {};
    GetWindowTextA(label, text, sizeof text);
    HDC dc = GetDC(label);
    HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(label, WM_GETFONT, 0, 0)));
    SIZE size{};
    GetTextExtentPoint32A(dc, text, lstrlenA(text), &size);
    SelectObject(dc, old);
    ReleaseDC(label, dc);
    return size.cx;
}

class LayoutTest : public WindowFixture, public ::testing::WithParamInterface<Expected> {};

TEST_P(LayoutTest, ControlLiesWhereTheTableSays) {
    TMainForm& window = makeForm();
    const Expected& expected = GetParam();
    HWND control = window.control(expected.name);
    ASSERT_NE(control, nullptr);
    const POINT origin = originOf(window, expected.container);
    const RECT rect = screenRect(control);
    EXPECT_EQ(rect.left - origin.x, expected.left);
    EXPECT_EQ(rect.top - origin.y, expected.top);
    EXPECT_EQ(rect.right - rect.left, expected.width ? expected.width : textWidth(control));
    EXPECT_EQ(rect.bottom - rect.top, expected.height);
    if (expected.caption) {
        EXPECT_EQ(TMainForm::textOf(control), expected.caption);
    }
}

INSTANTIATE_TEST_SUITE_P(Controls, LayoutTest, ::testing::ValuesIn(expectedLayout()),
                         [](const auto& info) {
                             std::string name = info.param.name;
                             for (char& c : name)
                                 if (c == '.') c = '_';
                             return name;
                         });

using WindowLayoutTest = WindowFixture;

TEST_F(WindowLayoutTest, ClientAreaIsFixedAndTheWindowCentred) {
    TMainForm& window = makeForm();
    RECT client{};
    GetClientRect(window.handle(), &client);
    EXPECT_EQ(client.right, kClientWidth);
    EXPECT_EQ(client.bottom, kClientHeight);
    const LONG_PTR style = GetWindowLongPtrA(window.handle(), GWL_STYLE);
    EXPECT_TRUE(style & WS_MINIMIZEBOX);
    EXPECT_FALSE(style & (WS_MAXIMIZEBOX | WS_THICKFRAME));
    const RECT outer = screenRect(window.handle());
    EXPECT_EQ(outer.left, (GetSystemMetrics(SM_CXVIRTUALSCREEN) - (outer.right - outer.left)) / 2);
    EXPECT_EQ(outer.top, (GetSystemMetrics(SM_CYVIRTUALSCREEN) - (outer.bottom - outer.top)) / 2);
    EXPECT_EQ(window.font().lineHeight(), 13);
}

TEST_F(WindowLayoutTest, PagesFillTheTabDisplayAreaAndTheFilePathColumnTheRest) {
    TMainForm& window = makeForm();
    RECT display{};
    GetClientRect(window.PageControl1, &display);
    SendMessageA(window.PageControl1, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&display));
    MapWindowPoints(window.PageControl1, nullptr, reinterpret_cast<POINT*>(&display), 2);
    for (HWND page : {window.TabSheet1, window.TabSheet2, window.TabSheet3}) {
        const RECT rect = screenRect(page);
        EXPECT_TRUE(EqualRect(&rect, &display));
    }
    const int columns[] = {
        static_cast<int>(SendMessageA(window.PatentsList, LVM_GETCOLUMNWIDTH, 0, 0)),
        static_cast<int>(SendMessageA(window.PatentsList, LVM_GETCOLUMNWIDTH, 1, 0)),
        static_cast<int>(SendMessageA(window.PatentsList, LVM_GETCOLUMNWIDTH, 2, 0))};
    EXPECT_EQ(columns[0], patentListColumns()[0].width);
    EXPECT_EQ(columns[2], patentListColumns()[2].width);
    EXPECT_EQ(columns[0] + columns[1] + columns[2], 417 - 2 * GetSystemMetrics(SM_CXEDGE));
}

TEST_F(WindowLayoutTest, AtAHigherDensityEverythingGrowsWithTheFont) {
    TMainFormOptions options;
    options.dotsPerInch = 144;
    TMainForm& window = makeForm(options);
    const double scale = window.scale();
    EXPECT_GT(scale, 1.3);
    RECT client{};
    GetClientRect(window.handle(), &client);
    EXPECT_NEAR(client.right, 437 * scale, 1);
    EXPECT_NEAR(client.bottom, 568 * scale, 1);
    const RECT button = screenRect(window.Button5);
    EXPECT_NEAR(button.right - button.left, 89 * scale, 1);
}

}  // namespace
}  // namespace vantorel::test
