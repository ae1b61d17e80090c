// Every control's rectangle against the window's layout table.
#include "app/win32/WindowFixture.h"

#include <commctrl.h>

namespace vantorel::test {
namespace {

struct Expected {
    const char* name;
    const char* container;         // "" for the window's client area
    int left, top, width, height;  // width 0: the text's width in the window font
};

constexpr Expected kLayout[] = {
    {"Panel1", "", 0, 0, 437, 91},
    {"Image1", "Panel1", 72, 8, 289, 81},
    {"PageControl1", "", 0, 91, 437, 477},
    {"PatIDLabel", "TabSheet1", 8, 16, 103, 13},
    {"PatID", "TabSheet1", 8, 32, 305, 21},
    {"Button1", "TabSheet1", 320, 32, 97, 21},
    {"ProgressBar1", "TabSheet1", 8, 64, 409, 16},
    {"GroupBox1", "TabSheet1", 8, 88, 409, 313},
    {"Label1", "GroupBox1", 8, 24, 0, 13},
    {"Label27", "GroupBox1", 320, 24, 0, 13},
    {"Label22", "GroupBox1", 224, 104, 0, 13},
    {"Label46", "GroupBox1", 8, 232, 0, 13},
    {"Label52", "GroupBox1", 320, 232, 0, 13},
    {"Label30", "GroupBox1", 8, 272, 381, 13},
    {"Label25", "GroupBox1", 8, 288, 318, 13},
    {"Label31", "TabSheet1", 8, 408, 376, 13},
    {"Label44", "TabSheet1", 22, 424, 95, 13},
    {"PatentsList", "TabSheet2", 8, 8, 417, 401},
    {"Button2", "TabSheet2", 272, 416, 75, 25},
    {"Button3", "TabSheet2", 352, 416, 75, 25},
    {"GroupBox2", "TabSheet3", 0, 8, 429, 105},
    {"Label32", "GroupBox2", 16, 32, 39, 13},
    {"LoginEdit", "GroupBox2", 104, 24, 121, 21},
    {"Label33", "GroupBox2", 16, 64, 49, 13},
    {"PassEdit", "GroupBox2", 104, 60, 121, 21},
    {"GroupBox3", "TabSheet3", 0, 129, 429, 280},
    {"Label34", "GroupBox3", 8, 24, 172, 13},
    {"PathEdit", "GroupBox3", 8, 45, 281, 21},
    {"Button4", "GroupBox3", 296, 45, 25, 21},
    {"RadioGroup1", "GroupBox3", 8, 96, 409, 105},
    {"RadioGroup1.Choice0", "RadioGroup1", 8, 14, 399, 29},
    {"RadioGroup1.Choice1", "RadioGroup1", 8, 43, 399, 29},
    {"RadioGroup1.Choice2", "RadioGroup1", 8, 72, 399, 29},
    {"GroupBox4", "GroupBox3", 8, 208, 409, 57},
    {"TOEdit", "GroupBox4", 8, 24, 65, 21},
    {"Label24", "GroupBox4", 80, 32, 40, 13},
    {"Button5", "TabSheet3", 328, 416, 89, 25},
};

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
}

INSTANTIATE_TEST_SUITE_P(Controls, LayoutTest, ::testing::ValuesIn(kLayout), [](const auto& info) {
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
    EXPECT_EQ(client.right, 437);
    EXPECT_EQ(client.bottom, 568);
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
    EXPECT_EQ(columns[0], 70);
    EXPECT_EQ(columns[2], 120);
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
