// The real boxes, built and inspected without their modal loops.
#include <QAbstractButton>
#include <QGuiApplication>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QTest>

#include <gtest/gtest.h>

#include "app/qt/MessageDialog.h"
#include "app/qt/QtUserDialogs.h"
#include "retrieval/DownloadCommand.h"

namespace vantorel {
namespace {

TEST(DialogsTest, ErrorBoxAppliesTheFullStopRule) {
    const std::pair<const char*, const char*> cases[] = {
        {"'abc' is not a valid integer value", "'abc' is not a valid integer value."},
        {"Failed to set data for ''", "Failed to set data for ''"},
        {"Cannot create file /x/tessariant.html", "Cannot create file /x/tessariant.html."},
        {"Unable to write to /x/", "Unable to write to /x/."},
        {"Done.", "Done."},
        {"Why?", "Why?."},
        {"Port:", "Port:."},
        {"Wow!", "Wow!"},
        {"(a)", "(a)"},
        {"x,", "x,"},
        {"ends with a blank ", "ends with a blank "},
        {"say \"hi\"", "say \"hi\""},
        {"", ""},
        {"<b>not markup</b>", "<b>not markup</b>."},
    };
    for (const auto& [message, shown] : cases) {
        SCOPED_TRACE(message);
        auto box = QtUserDialogs::makeErrorBox(message);
        EXPECT_EQ(box->text().toStdString(), shown);
        EXPECT_EQ(box->textFormat(), Qt::PlainText);
        EXPECT_EQ(box->windowTitle(), "Vantorel Patent Downloader");
        EXPECT_EQ(box->icon(), QMessageBox::Critical);
        EXPECT_EQ(box->standardButtons(), QMessageBox::Ok);
        EXPECT_EQ(box->windowModality(), Qt::ApplicationModal);
    }
}

TEST(DialogsTest, QuestionBoxHasYesAndNoWithYesTheDefaultAndNoIcon) {
    auto box = QtUserDialogs::makeQuestionBox("File will be deleted permanently.\n\rAre you sure?",
                                              "Warning");
    EXPECT_EQ(box->windowTitle(), "Warning");
    EXPECT_EQ(box->text(), "File will be deleted permanently.\nAre you sure?");
    EXPECT_EQ(box->icon(), QMessageBox::NoIcon);
    EXPECT_EQ(box->standardButtons(), QMessageBox::Yes | QMessageBox::No);
    EXPECT_EQ(box->defaultButton(), box->button(QMessageBox::Yes));
    EXPECT_EQ(box->windowModality(), Qt::ApplicationModal);
}

TEST(DialogsTest, MessageBoxShape) {
    auto box = QtUserDialogs::makeMessageBox("Incorrect login or password\n\rsecond <i>line</i>");
    EXPECT_EQ(box->windowTitle(), "Vantorel Patent Downloader");
    EXPECT_EQ(box->textLabel()->text(), "Incorrect login or password\nsecond <i>line</i>");
    EXPECT_EQ(box->textLabel()->textFormat(), Qt::PlainText);
    EXPECT_TRUE(box->textLabel()->wordWrap());
    const auto buttons = box->findChildren<QAbstractButton*>();
    ASSERT_EQ(buttons.size(), 1);
    EXPECT_EQ(buttons[0]->text(), "OK");
    EXPECT_TRUE(box->okButton()->isDefault());
    for (const QLabel* label : box->findChildren<QLabel*>())
        EXPECT_TRUE(label->pixmap().isNull());  // no icon
    EXPECT_FALSE(box->windowFlags() & Qt::WindowContextHelpButtonHint);
    EXPECT_EQ(box->windowModality(), Qt::ApplicationModal);
}

TEST(DialogsTest, MessageBoxClosesOnEnterAndEscAndIsCentred) {
    for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Escape}) {
        std::string text;
        for (int i = 0; i < 200; ++i) text += "word ";
        auto box = QtUserDialogs::makeMessageBox(text);
        box->setWindowModality(Qt::NonModal);  // the test drives it without its loop
        box->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(box.get()));
        const QRect screen = QGuiApplication::primaryScreen()->geometry();
        const QRect outer = box->frameGeometry();
        EXPECT_LE(box->textLabel()->width(), screen.width() / 2);
        EXPECT_EQ(outer.topLeft(), QPoint((screen.width() - outer.width()) / 2,
                                          (screen.height() - outer.height()) / 2));
        QTest::keyClick(box.get(), key);
        EXPECT_FALSE(box->isVisible());
    }
}

// Lines the box's label shows once laid out at its width.
int shownLines(const MessageDialog& box) {
    const QLabel* label = box.textLabel();
    return label->heightForWidth(label->width()) / label->fontMetrics().lineSpacing();
}

TEST(DialogsTest, MessageBoxIsAsWideAsItsTextUpToHalfTheScreen) {
    const int half = QGuiApplication::primaryScreen()->geometry().width() / 2;
    std::string words;
    for (int i = 0; i < half / 10; ++i) words += "word ";
    const std::string texts[] = {
        "You must provide non-empty request.",
        DownloadCommand::timeoutMessage(),
        "Incorrect login or password",
        words,
        "short\n\r" + words,
    };
    for (const std::string& text : texts) {
        SCOPED_TRACE(text);
        auto box = QtUserDialogs::makeMessageBox(text);
        box->setWindowModality(Qt::NonModal);
        box->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(box.get()));
        const QLabel* label = box->textLabel();
        const QStringList lines = label->text().split('\n');
        int widest = 0;
        for (const QString& line : lines)
            widest = std::max(widest, label->fontMetrics().horizontalAdvance(line));
        if (widest <= half) {
            // As wide as the text, and no line wrapped.
            EXPECT_GE(label->width(), widest);
            EXPECT_LE(label->width(), widest + 1);
            EXPECT_EQ(shownLines(*box), lines.size());
        } else {
            EXPECT_EQ(label->width(), half);  // wraps only beyond half the screen
            EXPECT_GT(shownLines(*box), lines.size());
        }
        box->close();
    }
}

TEST(DialogsTest, BoxesShowTextsThatAreNotUtf8AsWindows1252) {
    auto message = QtUserDialogs::makeMessageBox("Brevet n\xb0 12");
    EXPECT_EQ(message->textLabel()->text().toStdString(), "Brevet n\xc2\xb0 12");
    auto error = QtUserDialogs::makeErrorBox("Cannot create file /p/caf\xe9.pdf");
    EXPECT_EQ(error->text().toStdString(), "Cannot create file /p/caf\xc3\xa9.pdf.");
    auto question = QtUserDialogs::makeQuestionBox("\xe9t\xe9 \xc3\xa9", "Warning");
    EXPECT_EQ(question->text().toStdString(), "\xc3\xa9t\xc3\xa9 \xc3\x83\xc2\xa9");
}

}  // namespace
}  // namespace vantorel
