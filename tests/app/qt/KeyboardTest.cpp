// Tab order, the Enter and Esc rules and Ctrl+Tab, on a shown window.
#include <QClipboard>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTableWidget>
#include <functional>

#include "app/qt/FormFixture.h"
#include "app/qt/RadioGroup.h"
#include "form/FormDesign.h"

namespace vantorel::test {
namespace {

class KeyboardTest : public FormFixture {
protected:
    void SetUp() override {
        FormFixture::SetUp();
        writeSetting("Path", install + "/patents/");
        std::filesystem::create_directories(install + "/patents");
        touch(install + "/patents/US6892391.pdf");
        showForm();
    }
    QWidget* tabs() { return form->PageControl1->tabBar(); }
    void focusOnTab(int tab, QWidget* widget) {
        form->PageControl1->setCurrentIndex(tab);
        widget->setFocus(Qt::OtherFocusReason);
        ASSERT_EQ(QApplication::focusWidget(), widget);
    }
    void press(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QTest::keyClick(QApplication::focusWidget(), static_cast<Qt::Key>(key), modifiers);
    }
    void selectFirstRow() {
        ASSERT_EQ(form->PatentsList->rowCount(), 1);
        form->PatentsList->selectRow(0);
    }
};

TEST_F(KeyboardTest, TheTabStripHasTheFocusAtStart) {
    EXPECT_EQ(QApplication::focusWidget(), tabs());
    press(Qt::Key_Return);  // reaches "Download Patent" at once
    EXPECT_EQ(downloads, 1);
}

TEST_F(KeyboardTest, TabVisitsTheVisibleTabInOrderAndWraps) {
    TMainForm& w = *form;
    // The design's stops of each page, a radio group by its selected choice,
    // then round to the tab strip.
    std::vector<std::vector<QWidget*>> orders(3);
    for (int tab = 0; tab < 3; ++tab) {
        for (const ControlDesign* stop : tabStopsOf(tab))
            orders[tab].push_back(stop->kind == ControlKind::RadioGroup ? w.RadioGroup1->choice(0)
                                                                        : w.control(stop->name));
        orders[tab].push_back(tabs());
    }
    for (int tab = 0; tab < 3; ++tab) {
        SCOPED_TRACE(tab);
        focusOnTab(tab, tabs());
        for (QWidget* expected : orders[tab]) {
            press(Qt::Key_Tab);
            EXPECT_EQ(QApplication::focusWidget(), expected)
                << QApplication::focusWidget()->objectName().toStdString();
        }
        for (auto it = orders[tab].rbegin() + 1; it != orders[tab].rend(); ++it) {
            press(Qt::Key_Backtab, Qt::ShiftModifier);
            EXPECT_EQ(QApplication::focusWidget(), *it);
        }
    }
}

TEST_F(KeyboardTest, OnlyTheSelectedRadioChoiceIsATabStop) {
    TMainForm& w = *form;
    w.setViewingPreference(2);
    focusOnTab(2, w.Button4);
    press(Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), w.RadioGroup1->choice(2));
    press(Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), w.TOEdit);
    // Arrows move within the group and select as they go.
    w.RadioGroup1->choice(2)->setFocus();
    press(Qt::Key_Up);
    EXPECT_EQ(QApplication::focusWidget(), w.RadioGroup1->choice(1));
    EXPECT_EQ(w.viewingPreference(), 1);
    focusOnTab(2, w.Button4);
    press(Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), w.RadioGroup1->choice(1));
}

struct EnterCase {
    const char* what;
    int tab;
    std::function<QWidget*(TMainForm&)> focus;
    int key;
    Qt::KeyboardModifiers modifiers;
    int downloads;
    std::size_t opened;
    std::size_t questions;
};

TEST_F(KeyboardTest, EnterPressesTheVisibleTabsDefaultButton) {
    const auto strip = [](TMainForm& w) -> QWidget* { return w.PageControl1->tabBar(); };
    const EnterCase cases[] = {
        {"Enter in the patent field", 0, [](TMainForm& w) { return w.PatID; }, Qt::Key_Return,
         Qt::NoModifier, 1, 0, 0},
        {"keypad Enter in the patent field", 0, [](TMainForm& w) { return w.PatID; }, Qt::Key_Enter,
         Qt::KeypadModifier, 1, 0, 0},
        {"Enter on the tab strip", 0, strip, Qt::Key_Return, Qt::NoModifier, 1, 0, 0},
        {"Shift+Enter", 0, [](TMainForm& w) { return w.PatID; }, Qt::Key_Return, Qt::ShiftModifier,
         0, 0, 0},
        {"Esc", 0, [](TMainForm& w) { return w.PatID; }, Qt::Key_Escape, Qt::NoModifier, 0, 0, 0},
        {"Space on Download Patent", 0, [](TMainForm& w) { return w.Button1; }, Qt::Key_Space,
         Qt::NoModifier, 1, 0, 0},
        {"Enter in the list", 1, [](TMainForm& w) { return w.PatentsList; }, Qt::Key_Return,
         Qt::NoModifier, 0, 1, 0},
        {"Enter on the strip, second tab", 1, strip, Qt::Key_Return, Qt::NoModifier, 0, 1, 0},
        {"Enter on a focused Delete", 1, [](TMainForm& w) { return w.Button3; }, Qt::Key_Return,
         Qt::NoModifier, 0, 0, 1},
        {"Enter in User ID", 2, [](TMainForm& w) { return w.LoginEdit; }, Qt::Key_Return,
         Qt::NoModifier, 0, 0, 0},
        {"Enter on a radio choice", 2, [](TMainForm& w) { return w.RadioGroup1->choice(0); },
         Qt::Key_Return, Qt::NoModifier, 0, 0, 0},
        {"Enter in the time-out", 2, [](TMainForm& w) { return w.TOEdit; }, Qt::Key_Return,
         Qt::NoModifier, 0, 0, 0},
        {"Enter on the strip, Settings", 2, strip, Qt::Key_Return, Qt::NoModifier, 0, 0, 0},
    };
    for (const EnterCase& c : cases) {
        SCOPED_TRACE(c.what);
        downloads = 0;
        dialogs = FakeDialogs{};
        form->core().RescanPatents();
        selectFirstRow();
        focusOnTab(c.tab, c.focus(*form));
        press(c.key, c.modifiers);
        EXPECT_EQ(downloads, c.downloads);
        EXPECT_EQ(dialogs.opened.size(), c.opened);
        EXPECT_EQ(dialogs.questions.size(), c.questions);
        EXPECT_EQ(form->PageControl1->currentIndex(), c.tab);
        EXPECT_TRUE(form->isVisible());
    }
}

TEST_F(KeyboardTest, EnterDoesNothingWhileTheDownloadButtonIsDisabled) {
    focusOnTab(0, form->PatID);
    form->Button1->setEnabled(false);
    press(Qt::Key_Return);
    EXPECT_EQ(downloads, 0);
}

TEST_F(KeyboardTest, EnterInTheListWithoutSelectionOpensNothing) {
    form->core().RescanPatents();
    focusOnTab(1, form->PatentsList);
    form->PatentsList->clearSelection();
    press(Qt::Key_Return);
    EXPECT_TRUE(dialogs.opened.empty());
}

TEST_F(KeyboardTest, CtrlTabCyclesTheTabsWithWrapAround) {
    TMainForm& w = *form;
    focusOnTab(2, w.LoginEdit);
    press(Qt::Key_Tab, Qt::ControlModifier);
    EXPECT_EQ(w.PageControl1->currentIndex(), 0);
    focusOnTab(0, tabs());
    press(Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(w.PageControl1->currentIndex(), 2);
    focusOnTab(1, w.PatentsList);
    press(Qt::Key_Tab, Qt::ControlModifier);
    EXPECT_EQ(w.PageControl1->currentIndex(), 2);
}

TEST_F(KeyboardTest, APastedColumnBecomesTheRequestInThePatentFieldOnly) {
    TMainForm& w = *form;
    const struct {
        const char* field;  // before the paste, the caret at its end
        const char* pasted;
        const char* shown;
    } cases[] = {
        {"", "US6892391\r\nEP1534056\r\nWO2004012345\r\n", "US6892391;EP1534056;WO2004012345"},
        {"JP2001001;", "US6892391\tEP1534056\n\n", "JP2001001;US6892391;EP1534056"},
        {"", "US6892391", "US6892391"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pasted);
        focusOnTab(0, w.PatID);
        w.PatID->setText(c.field);
        QApplication::clipboard()->setText(c.pasted);
        press(Qt::Key_V, Qt::ControlModifier);
        EXPECT_EQ(w.PatID->text().toStdString(), c.shown);
        press(Qt::Key_Z, Qt::ControlModifier);  // one undo takes the whole paste back
        EXPECT_EQ(w.PatID->text().toStdString(), c.field);
    }
    // A Settings field still keeps the first line only.
    focusOnTab(2, w.LoginEdit);
    w.LoginEdit->clear();
    QApplication::clipboard()->setText("ann\nbob");
    press(Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(w.LoginEdit->text().toStdString(), "ann");
}

}  // namespace
}  // namespace vantorel::test
