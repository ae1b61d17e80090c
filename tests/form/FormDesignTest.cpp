// The form's design, checked once here; the windows' tests check only that
// they build what it says.
#include "form/FormDesign.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "form/MainFormView.h"

namespace vantorel::test {
namespace {

TEST(FormDesignTest, NamesAreUniqueAndContainersComeFirst) {
    std::set<std::string> seen;
    for (const ControlDesign& control : mainFormControls()) {
        SCOPED_TRACE(control.name);
        if (control.container) {
            EXPECT_TRUE(seen.count(control.container)) << "container first";
        }
        EXPECT_TRUE(seen.insert(control.name).second) << "unique name";
        EXPECT_EQ(findControl(control.name), &control);
    }
    EXPECT_EQ(findControl("Label99"), nullptr);
}

TEST(FormDesignTest, EveryControlLiesInsideItsContainer) {
    for (const ControlDesign& control : mainFormControls()) {
        SCOPED_TRACE(control.name);
        const ControlDesign* container =
            control.container ? findControl(control.container) : nullptr;
        // Pages fill the tab control; their own rectangle is not the design's.
        if (control.kind == ControlKind::Page ||
            (container && container->kind == ControlKind::Page))
            continue;
        const int width = container ? container->width : kClientWidth;
        const int height = container ? container->height : kClientHeight;
        EXPECT_LE(control.left + control.width, width);
        EXPECT_LE(control.top + control.height, height);
    }
}

TEST(FormDesignTest, TabOrderDefaultButtonsAndPages) {
    // The tab strip, then each page's own stops.
    std::vector<std::string> order;
    for (const ControlDesign& control : mainFormControls())
        if (takesFocus(control.kind) && !pageOf(control)) order.push_back(control.name);
    EXPECT_EQ(order, std::vector<std::string>{"PageControl1"});
    const std::vector<std::string> stopsByPage[] = {
        {"PatID", "Button1"},
        {"PatentsList", "Button2", "Button3"},
        {"LoginEdit", "PassEdit", "PathEdit", "Button4", "RadioGroup1", "TOEdit", "Button5"},
        {}};
    for (int page = 0; page < 4; ++page) {
        std::vector<std::string> stops;
        for (const ControlDesign* control : tabStopsOf(page)) stops.push_back(control->name);
        EXPECT_EQ(stops, stopsByPage[page]) << "page " << page;
    }

    const struct {
        int page;
        const char* button;  // nullptr: none
    } defaults[] = {{0, "Button1"}, {1, "Button2"}, {2, nullptr}, {3, nullptr}, {-1, nullptr}};
    for (const auto& row : defaults) {
        const ControlDesign* button = defaultButtonOf(row.page);
        EXPECT_EQ(button ? std::string(button->name) : "", row.button ? row.button : "")
            << "page " << row.page;
    }
    const struct {
        const char* control;
        const char* page;
    } pages[] = {{"Label52", "TabSheet1"}, {"PatentsList", "TabSheet2"}, {"TOEdit", "TabSheet3"}};
    for (const auto& row : pages) {
        const ControlDesign* page = pageOf(*findControl(row.control));
        ASSERT_NE(page, nullptr) << row.control;
        EXPECT_STREQ(page->name, row.page);
    }
    EXPECT_EQ(pageOf(*findControl("Image1")), nullptr);
}

TEST(FormDesignTest, ListColumnsLeaveTheFilePathTheRest) {
    const auto columns = patentListColumns();
    ASSERT_EQ(columns.size(), 3u);
    EXPECT_STREQ(columns[1].caption, "File Path");
    EXPECT_EQ(columns[1].width, 0);
    EXPECT_EQ(columns[0].width + columns[2].width, 190);
    EXPECT_EQ(viewingChoices().size(), 3u);
}

TEST(FormDesignTest, RadioChoicesAndTheFirstPosition) {
    const struct {
        int width, height, textHeight, index;
        ScreenRect want;
    } choices[] = {
        {409, 105, 13, 0, {8, 14, 399, 29}},  // the design's group at 96 dpi
        {409, 105, 13, 2, {8, 72, 399, 29}},
        {409, 107, 13, 0, {8, 15, 399, 29}},  // two pixels spare: one above
        {614, 158, 20, 1, {8, 65, 604, 44}},  // at 144 dpi
    };
    for (const auto& c : choices) {
        const ScreenRect at = radioChoiceRect(c.width, c.height, c.textHeight, 3, c.index);
        EXPECT_EQ(at.left, c.want.left) << c.height << "/" << c.index;
        EXPECT_EQ(at.top, c.want.top) << c.height << "/" << c.index;
        EXPECT_EQ(at.width, c.want.width) << c.height << "/" << c.index;
        EXPECT_EQ(at.height, c.want.height) << c.height << "/" << c.index;
    }
    // Integer division, on the desktop spanning all monitors.
    const ScreenRect first = firstWindowRect({-1280, 0, 2560, 1024}, 443, 597);
    EXPECT_EQ(first.left, -1280 + 1058);
    EXPECT_EQ(first.top, 213);
}

TEST(FormDesignTest, TheControlsTheCoreNamesAreInTheDesign) {
    using Edit = MainFormView::Edit;
    using Control = MainFormView::Control;
    for (const Edit edit :
         {Edit::PatID, Edit::LoginEdit, Edit::PassEdit, Edit::PathEdit, Edit::TOEdit}) {
        const ControlDesign* found = findControl(MainFormView::nameOf(edit));
        ASSERT_NE(found, nullptr) << MainFormView::nameOf(edit);
        EXPECT_TRUE(found->kind == ControlKind::Edit || found->kind == ControlKind::PasswordEdit ||
                    found->kind == ControlKind::ReadOnlyEdit)
            << found->name;
    }
    const std::pair<Control, ControlKind> controls[] = {
        {Control::Button1, ControlKind::DefaultButton},
        {Control::PatID, ControlKind::Edit},
        {Control::PageControl1, ControlKind::TabControl}};
    for (const auto& [control, kind] : controls) {
        const ControlDesign* found = findControl(MainFormView::nameOf(control));
        ASSERT_NE(found, nullptr) << MainFormView::nameOf(control);
        EXPECT_EQ(found->kind, kind) << found->name;
    }
}

}  // namespace
}  // namespace vantorel::test
