// The window's keyboard rules, driven with key messages.
#include "app/win32/WindowFixture.h"

#include <commctrl.h>

#include <vector>

#include "form/FormDesign.h"

namespace vantorel::test {
namespace {

using KeyboardTest = WindowFixture;

// From the tab strip, Tab after Tab: the design's stops of the visible page,
// a radio group by its selected choice.
std::vector<std::string> tabOrderOf(int page) {
    std::vector<std::string> order = {"PageControl1"};
    for (const ControlDesign* stop : tabStopsOf(page))
        order.push_back(stop->kind == ControlKind::RadioGroup ? std::string(stop->name) + ".Choice0"
                                                              : stop->name);
    return order;
}

class TabOrderTest : public WindowFixture, public ::testing::WithParamInterface<int> {};

TEST_P(TabOrderTest, TabWalksTheVisibleTabAndWraps) {
    makeForm();
    form->selectTab(GetParam());
    SetFocus(form->PageControl1);
    const std::vector<std::string> order = tabOrderOf(GetParam());
    for (std::size_t i = 1; i <= order.size(); ++i) {
        press(VK_TAB);
        EXPECT_EQ(focusName(), order[i % order.size()]) << "after Tab " << i;
    }
    press(VK_TAB, false, true);
    EXPECT_EQ(focusName(), order.back());
}

INSTANTIATE_TEST_SUITE_P(Tabs, TabOrderTest, ::testing::Values(0, 1, 2));

TEST_F(KeyboardTest, TheTabStripHasTheFocusAtStartAndEnterThereDownloads) {
    makeForm();
    EXPECT_EQ(focusName(), "PageControl1");
    press(VK_RETURN);
    EXPECT_EQ(downloads, 1);
}

TEST_F(KeyboardTest, EnterClicksTheVisibleTabsDefaultButtonOnlyWhenEnabled) {
    makeForm();
    SetFocus(form->PatID);
    press(VK_RETURN);
    EXPECT_EQ(downloads, 1);
    form->setControlEnabled(MainFormView::Control::Button1, false);
    press(VK_RETURN);
    EXPECT_EQ(downloads, 1);
    form->setControlEnabled(MainFormView::Control::Button1, true);

    // Settings: no default button.
    form->selectTab(2);
    SetFocus(form->LoginEdit);
    press(VK_RETURN);
    EXPECT_EQ(downloads, 1);
    EXPECT_TRUE(dialogs.opened.empty());
    // Ctrl+Enter and Esc do nothing either.
    form->selectTab(0);
    SetFocus(form->PatID);
    press(VK_RETURN, true);
    press(VK_ESCAPE);
    EXPECT_EQ(downloads, 1);
    EXPECT_TRUE(IsWindowVisible(form->handle()));
}

TEST_F(KeyboardTest, EnterInTheListViewsTheSelectedRow) {
    makeForm();
    form->addRow("US6892391", "x", "y");
    form->selectTab(1);
    LVITEMA item{};
    item.stateMask = item.state = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageA(form->PatentsList, LVM_SETITEMSTATE, 0, reinterpret_cast<LPARAM>(&item));
    SetFocus(form->PatentsList);
    press(VK_RETURN);
    ASSERT_EQ(dialogs.opened.size(), 1u);
    EXPECT_EQ(dialogs.opened[0], form->core().currentSettings().PatentPath + "US6892391.pdf");
}

TEST_F(KeyboardTest, AFocusedPushButtonTakesEnterItself) {
    makeForm();
    form->selectTab(1);
    SetFocus(form->Button3);  // Delete, not the tab's default View
    form->addRow("A", "x", "y");
    LVITEMA item{};
    item.stateMask = item.state = LVIS_SELECTED;
    SendMessageA(form->PatentsList, LVM_SETITEMSTATE, 0, reinterpret_cast<LPARAM>(&item));
    press(VK_RETURN);
    ASSERT_EQ(dialogs.questions.size(), 1u);
    EXPECT_EQ(dialogs.questions[0].title, "Warning");
    EXPECT_TRUE(dialogs.opened.empty());
}

TEST_F(KeyboardTest, CtrlTabSwitchesTabsBothWaysAndWraps) {
    makeForm();
    SetFocus(form->PageControl1);
    press(VK_TAB, true, true);
    EXPECT_EQ(form->activeTab(), 2);
    EXPECT_TRUE(IsWindowVisible(form->TabSheet3));
    EXPECT_FALSE(IsWindowVisible(form->TabSheet1));
    SetFocus(form->LoginEdit);
    press(VK_TAB, true);
    EXPECT_EQ(form->activeTab(), 0);
    // The focus went along, never left on a hidden control.
    EXPECT_TRUE(IsWindowVisible(GetFocus()));
    press(VK_TAB, true);
    EXPECT_EQ(form->activeTab(), 1);
}

TEST_F(KeyboardTest, TheFocusedControlGetsTheFocusBackAfterTheWindowWasInactive) {
    makeForm();
    form->selectTab(2);
    SetFocus(form->PassEdit);
    SendMessageA(form->handle(), WM_ACTIVATE, WA_INACTIVE, 0);
    SetFocus(form->handle());
    SendMessageA(form->handle(), WM_ACTIVATE, WA_ACTIVE, 0);
    EXPECT_EQ(focusName(), "PassEdit");
}

TEST_F(KeyboardTest, ArrowKeysMoveThroughTheRadioGroupAndItsTabStopFollows) {
    makeForm();
    form->selectTab(2);
    SetFocus(form->RadioChoices[0]);
    press(VK_DOWN);
    pump();
    EXPECT_EQ(form->viewingPreference(), 1);
    EXPECT_TRUE(GetWindowLongPtrA(form->RadioChoices[1], GWL_STYLE) & WS_TABSTOP);
    EXPECT_FALSE(GetWindowLongPtrA(form->RadioChoices[0], GWL_STYLE) & WS_TABSTOP);
}

}  // namespace
}  // namespace vantorel::test
