// The controls the window is built from: edits, the list, group boxes.
#include <QApplication>
#include <QClipboard>
#include <QHeaderView>
#include <QImage>
#include <QTest>
#include <cstdlib>
#include <functional>

#include <gtest/gtest.h>

#include "app/qt/widgets/GroupBox.h"
#include "app/qt/widgets/PatentListView.h"
#include "app/qt/widgets/SingleLineEdit.h"

namespace vantorel {
namespace {

TEST(SingleLineEdit, NeverHoldsALineBreakHoweverTheTextArrives) {
    const struct {
        const char* given;
        const char* kept;
    } cases[] = {
        {"US6892391", "US6892391"}, {"ann\n[Service]\nHost=evil.example:80", "ann"},
        {"ann\r\nHost=x", "ann"},   {"a\rb", "a"},
        {"\nall after", ""},
    };
    const std::function<void(SingleLineEdit&, const QString&)> ways[] = {
        [](SingleLineEdit& e, const QString& t) { e.setText(t); },
        [](SingleLineEdit& e, const QString& t) { e.insert(t); },
        [](SingleLineEdit& e, const QString& t) {
            QApplication::clipboard()->setText(t);
            e.paste();
        },
        [](SingleLineEdit& e, const QString& t) { e.setBytes(t.toStdString()); },
    };
    for (const auto& c : cases) {
        for (std::size_t way = 0; way < std::size(ways); ++way) {
            SCOPED_TRACE(testing::Message() << c.given << " way " << way);
            SingleLineEdit edit;
            ways[way](edit, QString::fromUtf8(c.given));
            EXPECT_EQ(edit.text().toStdString(), c.kept);
            EXPECT_EQ(edit.bytes(), c.kept);
        }
    }
}

TEST(SingleLineEdit, HasNoLengthLimit) {
    const QString request = QString("US6892391;").repeated(10000);  // 100 000 characters
    SingleLineEdit edit;
    edit.insert(request);
    EXPECT_EQ(edit.text().size(), request.size());
}

TEST(SingleLineEdit, BytesThatAreNotUtf8ComeBackUntilTheUserChangesThem) {
    SingleLineEdit edit;
    edit.setBytes("/home/ann/caf\xe9/");
    EXPECT_EQ(edit.text().toStdString(), "/home/ann/caf\xc3\xa9/");
    EXPECT_EQ(edit.bytes(), "/home/ann/caf\xe9/");
    edit.setBytes("x\xe9\ny");  // cut at the break, the bytes before it kept
    EXPECT_EQ(edit.bytes(), "x\xe9");
    edit.setFocus();
    edit.end(false);
    QTest::keyClicks(&edit, "z");
    EXPECT_EQ(edit.bytes(), "x\xc3\xa9z");  // what the user now sees, in UTF-8
}

class PatentListViewTest : public ::testing::Test {
protected:
    void SetUp() override {
        list.resize(417, 401);
        for (int i = 0; i < 40; ++i)
            list.addRow("P" + std::to_string(i), "/p/P" + std::to_string(i) + ".pdf", "date");
        list.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&list));
        list.setFocus();
    }
    PatentListView list{{"Patent #", "File Path", "Date/Time downloaded"}};
};

TEST_F(PatentListViewTest, KeysMoveBetweenWholeRows) {
    const int page = list.viewport()->height() / list.rowHeight(0);
    ASSERT_GT(page, 2);
    ASSERT_LT(page, 39);
    const struct {
        int from;
        Qt::Key key;
        int to;
    } cases[] = {
        {5, Qt::Key_End, 39},      {5, Qt::Key_Home, 0},     {0, Qt::Key_Down, 1},
        {3, Qt::Key_Up, 2},        {3, Qt::Key_Right, 3},    {3, Qt::Key_Left, 3},
        {0, Qt::Key_PageDown, -1}, {39, Qt::Key_PageUp, -1},
    };
    for (const auto& c : cases) {
        list.setCurrentCell(c.from, 1);
        QTest::keyClick(&list, c.key);
        const int row = list.selectedRow();
        if (c.to >= 0) {
            EXPECT_EQ(row, c.to) << "from " << c.from << " key " << c.key;
        } else {
            EXPECT_GE(std::abs(row - c.from), page - 1) << "from " << c.from;  // a page away
        }
        EXPECT_EQ(list.selectionModel()->selectedIndexes().size(), 3);  // the whole row
    }
}

TEST_F(PatentListViewTest, RowsKeepTheirBytesAndShowThemReadably) {
    list.setRowCount(0);
    list.addRow("caf\xe9", "/p/caf\xe9.pdf", "1/2/2024");
    list.addRow("\xe6\x97\xa5\xe6\x9c\xac", "/p/\xe6\x97\xa5\xe6\x9c\xac.pdf", "");
    EXPECT_EQ(list.item(0, 0)->text().toStdString(), "caf\xc3\xa9");
    EXPECT_EQ(list.item(0, 1)->text().toStdString(), "/p/caf\xc3\xa9.pdf");
    EXPECT_EQ(list.cellBytes(0, 1), "/p/caf\xe9.pdf");
    EXPECT_EQ(list.item(1, 0)->text().toStdString(), "\xe6\x97\xa5\xe6\x9c\xac");
    EXPECT_EQ(list.selectedCaption(), "");
    list.selectRow(0);
    EXPECT_EQ(list.selectedCaption(), "caf\xe9");
    EXPECT_EQ(list.cellBytes(5, 0), "");
}

// The first row above `below` that is not background at `column`, or -1.
int frameLineRow(const QImage& image, int column, int below) {
    const QRgb background = image.pixel(column, 0);
    for (int y = 0; y < below; ++y)
        if (image.pixel(column, y) != background) return y;
    return -1;
}

TEST(GroupBoxTest, TheCaptionSitsOnTheFrameLine) {
    QWidget page;
    page.resize(429, 200);
    GroupBox box("Account Information", &page);
    box.setGeometry(0, 8, 429, 105);
    const QImage image = box.grab().toImage();
    const int line = frameLineRow(image, 300, 20);
    EXPECT_EQ(box.frameTop(), 6);  // about top + 6, as the platform draws it
    EXPECT_GE(line, 5);
    EXPECT_LE(line, 7);
    const QRect caption = box.captionRect();
    EXPECT_LT(caption.top(), line);  // the caption straddles the line
    EXPECT_GT(caption.bottom(), line);
    EXPECT_LE(caption.left(), 8);
    // The line is left out behind the caption's blank margin.
    EXPECT_EQ(frameLineRow(image, caption.left(), caption.bottom()), -1);
    EXPECT_EQ(frameLineRow(image, 2, 20), line);
}

}  // namespace
}  // namespace vantorel
