// The "Downloaded Patents" list built from a real folder, View and Delete.
#include <sys/stat.h>

#include <QPushButton>
#include <QTableWidget>
#include <map>

#include "app/qt/FormFixture.h"
#include "platform/FileDateText.h"

namespace vantorel::test {
namespace {

class PatentListTest : public FormFixture {
protected:
    void SetUp() override {
        FormFixture::SetUp();
        folder = install + "/patents/";
        std::filesystem::create_directories(folder + "x.pdf");  // a folder, not listed
        for (const char* name :
             {"US6892391.pdf", "EP1534056.PDF", "a.b.pdf", ".y.pdf", "notes.txt"})
            touch(folder + name);
        writeSetting("Path", folder);
        makeForm();
    }
    // caption -> (path, date text)
    std::map<std::string, std::pair<std::string, std::string>> rows() const {
        std::map<std::string, std::pair<std::string, std::string>> result;
        QTableWidget* list = form->PatentsList;
        for (int r = 0; r < list->rowCount(); ++r)
            result[list->item(r, 0)->text().toStdString()] = {
                list->item(r, 1)->text().toStdString(), list->item(r, 2)->text().toStdString()};
        return result;
    }
    void select(const std::string& caption) {
        QTableWidget* list = form->PatentsList;
        for (int r = 0; r < list->rowCount(); ++r)
            if (list->item(r, 0)->text().toStdString() == caption) return list->selectRow(r);
        FAIL() << "no row " << caption;
    }
    static std::string dateOf(const std::string& path) {
        struct stat info {};
        stat(path.c_str(), &info);
        return fileDateText(info.st_mtime);
    }
    std::string folder;
};

TEST_F(PatentListTest, ListsOrdinaryVisiblePdfFiles) {
    const auto listed = rows();
    ASSERT_EQ(listed.size(), 3u);
    const std::pair<const char*, const char*> expected[] = {
        {"US6892391", "US6892391.pdf"}, {"EP1534056", "EP1534056.PDF"}, {"a", "a.b.pdf"}};
    for (const auto& [caption, name] : expected) {
        SCOPED_TRACE(caption);
        ASSERT_EQ(listed.count(caption), 1u);
        EXPECT_EQ(listed.at(caption).first, folder + name);
        EXPECT_EQ(listed.at(caption).second, dateOf(folder + name));
        EXPECT_FALSE(listed.at(caption).second.empty());
    }
}

TEST_F(PatentListTest, ViewOpensTheFileAsItIsNamed) {
    select("a");
    form->Button2->click();
    select("EP1534056");
    form->core().PatentsListDblClick();
    EXPECT_EQ(dialogs.opened,
              (std::vector<std::string>{folder + "a.b.pdf", folder + "EP1534056.PDF"}));
}

TEST_F(PatentListTest, DoubleClickOnARowOpensIt) {
    showForm();
    form->PageControl1->setCurrentIndex(1);
    QTableWidget* list = form->PatentsList;
    const QPoint cell = list->visualRect(list->model()->index(0, 0)).center();
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, cell);
    QCoreApplication::processEvents();
    ASSERT_EQ(dialogs.opened.size(), 1u);
    EXPECT_EQ(dialogs.opened[0], list->item(0, 1)->text().toStdString());  // its File Path
}

TEST_F(PatentListTest, ViewAndDeleteDoNothingWithoutASelection) {
    touch(folder + "new.pdf");
    form->Button2->click();
    form->Button3->click();
    EXPECT_TRUE(dialogs.opened.empty());
    EXPECT_TRUE(dialogs.questions.empty());
    EXPECT_EQ(rows().count("new"), 0u);  // not rebuilt
}

TEST_F(PatentListTest, DeleteAnsweredNoKeepsTheFileAndRebuilds) {
    touch(folder + "new.pdf");
    select("US6892391");
    dialogs.answers = {false};
    form->Button3->click();
    ASSERT_EQ(dialogs.questions.size(), 1u);
    EXPECT_EQ(dialogs.questions[0].text, "File will be deleted permanently.\n\rAre you sure?");
    EXPECT_EQ(dialogs.questions[0].title, "Warning");
    EXPECT_TRUE(std::filesystem::exists(folder + "US6892391.pdf"));
    EXPECT_EQ(rows().size(), 4u);
    EXPECT_EQ(rows().count("new"), 1u);
}

TEST_F(PatentListTest, DeleteAnsweredYesRemovesTheFileAndRebuilds) {
    select("US6892391");
    dialogs.answers = {true};
    form->Button3->click();
    EXPECT_FALSE(std::filesystem::exists(folder + "US6892391.pdf"));
    EXPECT_EQ(rows().count("US6892391"), 0u);
    EXPECT_EQ(rows().size(), 2u);
    EXPECT_EQ(form->selectedRow(), -1);
}

TEST_F(PatentListTest, EndThenDeleteThenYesDeletesTheLastRowsFile) {
    std::filesystem::remove(folder + "a.b.pdf");
    std::filesystem::remove(folder + "EP1534056.PDF");
    for (const char* name : {"Z1.pdf", "Z2.pdf", "Z3.pdf"}) touch(folder + name);
    form->core().RescanPatents();
    showForm();
    form->PageControl1->setCurrentIndex(1);
    QTableWidget* list = form->PatentsList;
    list->setFocus();
    list->selectRow(0);
    QTest::keyClick(list, Qt::Key_End);
    const int last = list->rowCount() - 1;
    ASSERT_EQ(form->selectedRow(), last);
    const std::string path = list->item(last, 1)->text().toStdString();
    dialogs.answers = {true};
    form->Button3->click();
    EXPECT_FALSE(std::filesystem::exists(path));
    EXPECT_EQ(list->rowCount(), last);
}

TEST_F(PatentListTest, DeleteActsOnTheListedFileOnly) {
    touch(folder + "a.pdf");  // listed with the same caption as a.b.pdf
    form->core().RescanPatents();
    select("EP1534056");
    dialogs.answers = {true};
    form->Button3->click();
    EXPECT_FALSE(std::filesystem::exists(folder + "EP1534056.PDF"));
    EXPECT_TRUE(std::filesystem::exists(folder + "a.pdf"));
    EXPECT_TRUE(std::filesystem::exists(folder + "a.b.pdf"));
}

TEST_F(PatentListTest, ANameThatIsNotUtf8IsShownReadablyAndActedOnByteForByte) {
    touch(folder + "caf\xe9.pdf");
    form->core().RescanPatents();
    ASSERT_EQ(rows().count("caf\xc3\xa9"), 1u);  // shown as Windows-1252
    EXPECT_EQ(rows().at("caf\xc3\xa9").first, folder + "caf\xc3\xa9.pdf");
    select("caf\xc3\xa9");
    form->Button2->click();
    ASSERT_EQ(dialogs.opened.size(), 1u);
    EXPECT_EQ(dialogs.opened[0], folder + "caf\xe9.pdf");
    dialogs.answers = {true};
    form->Button3->click();
    EXPECT_FALSE(std::filesystem::exists(folder + "caf\xe9.pdf"));
    EXPECT_EQ(rows().count("caf\xc3\xa9"), 0u);
}

TEST_F(PatentListTest, AFolderThatIsNotUtf8IsKeptByteForByteThroughTheSettingsTab) {
    const std::string latin = root + "/brevets-\xe9t\xe9/";
    form->core().setPathText(latin);  // as the picker or the Settings file hands it over
    EXPECT_EQ(form->PathEdit->text().toStdString(), root + "/brevets-\xc3\xa9t\xc3\xa9/");
    EXPECT_EQ(form->core().currentSettings().PatentPath, latin);
    EXPECT_EQ(form->core().pathText(), latin);
}

TEST_F(PatentListTest, AMissingFolderGivesAnEmptyListAndNoMessage) {
    form->core().setPathText(root + "/nowhere/");
    form->core().RescanPatents();
    EXPECT_EQ(form->PatentsList->rowCount(), 0);
    EXPECT_TRUE(dialogs.errors.empty());
    EXPECT_TRUE(dialogs.messages.empty());
}

}  // namespace
}  // namespace vantorel::test
