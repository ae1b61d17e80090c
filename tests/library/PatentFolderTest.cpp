#include <gtest/gtest.h>

#include <algorithm>

#include "library/PatentFolder.h"
#include "platform/FileDateText.h"
#include "platform/Paths.h"
#include "support/TempDir.h"

namespace vantorel {
namespace {

using test::TempDir;
using test::writeFile;

class FakeList : public PatentListHost {
public:
    int row = -1;
    std::string caption, fileName;
    bool answer = false;
    std::vector<std::string> questions, opened;
    int rescans = 0;

    int selectedRow() const override { return row; }
    std::string selectedCaption() const override { return caption; }
    std::string selectedFileName() const override { return fileName; }
    bool askYesNo(const std::string& text, const std::string& title) override {
        questions.push_back(title + "|" + text);
        return answer;
    }
    void openDocument(const std::string& path) override { opened.push_back(path); }
    void rescanPatents() override { ++rescans; }
};

TEST(PatentFolder, RowsHoldCaptionPathAndDate) {
    TempDir dir;
    for (const char* name :
         {"US6892391.pdf", "EP1534056.pdf", "a.b.pdf", ".y.pdf", "n.txt", "Z.PDF"})
        writeFile(dir.file(name), "%PDF");
    test::makeHidden(dir.file(".y.pdf"));
    std::filesystem::create_directory(dir.file("x.pdf"));
    std::filesystem::last_write_time(
        dir.file("US6892391.pdf"), std::chrono::file_clock::from_sys(
                                       std::chrono::sys_seconds(std::chrono::seconds(1115715846))));

    auto rows = PatentFolder::scan(dir.folder());
    std::sort(rows.begin(), rows.end(),
              [](const auto& a, const auto& b) { return a.caption < b.caption; });
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_EQ(rows[0].caption, "EP1534056");
    EXPECT_EQ(rows[1].caption, "US6892391");
    EXPECT_EQ(rows[1].filePath, dir.folder() + "US6892391.pdf");
    EXPECT_EQ(rows[1].dateText, fileDateText(1115715846));
    EXPECT_EQ(rows[2].caption, "Z");
    EXPECT_EQ(rows[2].fileName, "Z.PDF");
    EXPECT_EQ(rows[3].caption, "a");
    EXPECT_EQ(rows[3].filePath, dir.folder() + "a.b.pdf");
    EXPECT_EQ(rows[3].fileName, "a.b.pdf");
    EXPECT_TRUE(PatentFolder::scan(dir.file("gone") + kPathSeparator).empty());
}

TEST(PatentFolder, ViewOpensTheEnumeratedNameUnderTheCurrentPath) {
    FakeList list;
    PatentFolder::viewSelected(list, "/p/");
    EXPECT_TRUE(list.opened.empty());
    list.row = 0;
    list.fileName = "a.b.pdf";
    for (const char* path : {"/other/", "/other/noslash"}) PatentFolder::viewSelected(list, path);
    EXPECT_EQ(list.opened, (std::vector<std::string>{"/other/a.b.pdf", "/other/a.b.pdf"}));
}

TEST(PatentFolder, APathWithoutSeparatorListsAndDeletesWhatDownloadsWriteBesideIt) {
    TempDir dir;
    std::filesystem::create_directory(dir.file("ns"));
    for (const char* name : {"nsUS1.PDF", "other.pdf", "ns/inside.pdf"})
        writeFile(dir.file(name), "%PDF");
    const auto rows = PatentFolder::scan(dir.file("ns"));
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].caption, "nsUS1");
    EXPECT_EQ(rows[0].filePath, dir.file("nsUS1.PDF"));
    FakeList list;
    list.row = 0;
    list.answer = true;
    list.fileName = rows[0].fileName;
    PatentFolder::deleteSelected(list, dir.file("ns"));
    EXPECT_FALSE(std::filesystem::exists(dir.file("nsUS1.PDF")));
}

TEST(PatentFolder, DeleteAsksThenRebuildsEitherWay) {
    TempDir dir;
    writeFile(dir.file("US1.pdf"), "x");
    FakeList list;
    PatentFolder::deleteSelected(list, dir.folder());
    EXPECT_TRUE(list.questions.empty());
    EXPECT_EQ(list.rescans, 0);

    list.row = 0;
    list.caption = "US1";
    list.fileName = "US1.pdf";
    PatentFolder::deleteSelected(list, dir.folder());
    EXPECT_EQ(
        list.questions,
        (std::vector<std::string>{"Warning|File will be deleted permanently.\n\rAre you sure?"}));
    EXPECT_EQ(list.rescans, 1);
    EXPECT_TRUE(std::filesystem::exists(dir.file("US1.pdf")));

    list.answer = true;
    PatentFolder::deleteSelected(list, dir.folder());
    EXPECT_EQ(list.rescans, 2);
    EXPECT_FALSE(std::filesystem::exists(dir.file("US1.pdf")));
    PatentFolder::deleteSelected(list, dir.folder());  // already gone: no complaint
    EXPECT_EQ(list.rescans, 3);
}

}  // namespace
}  // namespace vantorel
