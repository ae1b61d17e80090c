#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFileSystemModel>
#include <QLineEdit>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <filesystem>
#include <functional>

#include "app/qt/picker/FolderDialog.h"
#include "app/qt/picker/FolderListView.h"
#include "app/qt/picker/TImplOpenDirectory.h"
#include "app/qt/picker/TOpenDirectory.h"
#include "platform/Paths.h"
#include "platform/posix/MountTable.h"
#include "support/TempDir.h"

namespace vantorel {
namespace {

namespace fs = std::filesystem;
using test::TempDir;

// Controls of a running dialog, found the way the component finds them.
struct Controls {
    FolderDialog* dialog;
    FolderListView* list;
    QLineEdit* nameBox;
    QAbstractButton* accept;
    QAbstractButton* up;
    QAbstractButton* cancel;

    explicit Controls(FolderDialog* d)
        : dialog(d),
          list(d->findChild<FolderListView*>("folderList")),
          nameBox(d->findChild<QLineEdit*>("nameBox")),
          accept(d->findChild<QAbstractButton*>("acceptButton")),
          up(d->findChild<QAbstractButton*>("upButton")),
          cancel(d->findChild<QAbstractButton*>("cancelButton")) {}

    std::string name() const { return nameBox->text().toStdString(); }

    // The listed folder called `name`, once the model has read the folder.
    QModelIndex item(const QString& name) const {
        QModelIndex found;
        const bool listed = QTest::qWaitFor(
            [&] {
                const QModelIndex root = list->rootIndex();
                for (int row = 0; row < list->model()->rowCount(root); ++row) {
                    const QModelIndex index = list->model()->index(row, 0, root);
                    if (index.data().toString() == name) return found = index, true;
                }
                return false;
            },
            5000);
        EXPECT_TRUE(listed) << "not listed: " << name.toStdString();
        return found;
    }
    QStringList listed() const {
        QStringList names;
        const QModelIndex root = list->rootIndex();
        for (int row = 0; row < list->model()->rowCount(root); ++row)
            names << list->model()->index(row, 0, root).data().toString();
        names.sort();
        return names;
    }
    QPoint centreOf(const QString& name) const {
        const QModelIndex index = item(name);
        list->scrollTo(index);
        return list->visualRect(index).center();
    }
    void click(const QString& name, Qt::MouseButton button = Qt::LeftButton) const {
        QTest::mouseClick(list->viewport(), button, {}, centreOf(name));
    }
    // A real double click: a click, then the second press that makes it double.
    void doubleClick(const QString& name) const {
        const QPoint at = centreOf(name);
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
    }
    void clickEmptySpace() const {
        const QPoint corner = list->viewport()->rect().bottomRight() - QPoint(3, 3);
        ASSERT_FALSE(list->indexAt(corner).isValid());
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, corner);
    }
    void clickAccept() const { QTest::mouseClick(accept, Qt::LeftButton); }
};

class FolderPicker : public ::testing::Test {
protected:
    void SetUp() override {
        savedWorkingDirectory = currentDirectory();
        root = tmp.path();
        data = root + "/Data";
        fs::create_directories(data + "/Sub");
        fs::create_directories(data + "/Other");
        fs::create_directories(data + "/.hidden");
        test::writeFile(data + "/file.pdf", "%PDF-1.4\n");
    }
    void TearDown() override { setCurrentDirectory(savedWorkingDirectory); }

    // Runs Execute with `script` driving the dialog from inside its loop.
    int run(TOpenDirectory& picker, const std::function<void(const Controls&)>& script) {
        bool ran = false;
        QTimer::singleShot(0, [&] {
            auto* dialog = qobject_cast<FolderDialog*>(QApplication::activeModalWidget());
            if (!dialog) return ADD_FAILURE() << "no dialog is running";
            script(Controls(dialog));
            ran = true;
        });
        // A script that leaves the dialog open must not hang the suite.
        QTimer watchdog;
        watchdog.setSingleShot(true);
        QObject::connect(&watchdog, &QTimer::timeout, [] {
            if (QWidget* open = QApplication::activeModalWidget()) {
                ADD_FAILURE() << "the dialog was left open";
                open->close();
            }
        });
        watchdog.start(20000);
        const int result = picker.Execute();
        EXPECT_TRUE(ran);
        return result;
    }

    TempDir tmp;
    std::string savedWorkingDirectory, root, data;
};

TEST_F(FolderPicker, EndingWithoutTheAcceptButtonReturnsNothing) {
    const struct {
        const char* how;
        std::function<void(const Controls&)> end;
    } cases[] = {
        {"cancel button", [](const Controls& c) { QTest::mouseClick(c.cancel, Qt::LeftButton); }},
        {"escape", [](const Controls& c) { QTest::keyClick(c.list, Qt::Key_Escape); }},
        {"close box", [](const Controls& c) { c.dialog->close(); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.how);
        ASSERT_TRUE(setCurrentDirectory(data));
        TOpenDirectory picker;
        int closes = 0;
        picker.OnClose = [&](QObject*) { ++closes; };
        const int result = run(picker, [&](const Controls& ctl) {
            ctl.click("Sub");  // a clicked folder is no acceptance
            c.end(ctl);
        });
        EXPECT_EQ(result, 0);
        EXPECT_EQ(picker.Directory, "");
        EXPECT_EQ(picker.UNCDirectory, "");
        EXPECT_EQ(closes, 1);
        EXPECT_EQ(currentDirectory(), data);
    }
}

TEST_F(FolderPicker, AcceptingWithoutAClickPicksTheShownFolder) {
    ASSERT_TRUE(setCurrentDirectory(root));
    TOpenDirectory picker;
    picker.InitialDir = data + "/";  // one trailing separator is dropped
    const int result = run(picker, [&](const Controls& c) {
        EXPECT_EQ(c.name(), data);
        c.item("Sub");
        EXPECT_EQ(c.listed(), (QStringList{"Other", "Sub"}));  // no files, nothing hidden
        c.clickAccept();
    });
    EXPECT_EQ(result, 1);
    EXPECT_EQ(picker.Directory, data);
    EXPECT_EQ(picker.UNCDirectory, "");
    EXPECT_EQ(currentDirectory(), data);
}

TEST_F(FolderPicker, AClickedSubfolderIsPickedWithoutNavigating) {
    ASSERT_TRUE(setCurrentDirectory(data));
    TOpenDirectory picker;
    int folderChanges = 0;
    picker.OnFolderChange = [&](QObject*) { ++folderChanges; };
    const int result = run(picker, [&](const Controls& c) {
        c.click("Sub");
        EXPECT_EQ(c.name(), data + "/Sub");
        EXPECT_EQ(picker.Directory, data + "/Sub");
        EXPECT_EQ(c.dialog->currentPath(), data);  // still showing Data
        c.click("Other", Qt::RightButton);         // right clicks update nothing
        QTest::keyClick(c.list, Qt::Key_Down);     // nor does the keyboard
        c.clickEmptySpace();                       // nor empty space
        EXPECT_EQ(picker.Directory, data + "/Sub");
        EXPECT_EQ(c.name(), data + "/Sub");
        c.clickAccept();
    });
    EXPECT_EQ(result, 1);
    EXPECT_EQ(folderChanges, 1);  // the first folder only
    EXPECT_EQ(picker.Directory, data + "/Sub");
    EXPECT_EQ(currentDirectory(), data + "/Sub");
}

TEST_F(FolderPicker, AClickAtTheRootGetsNoDoubledSeparator) {
    TOpenDirectory picker;
    picker.InitialDir = "/";
    const int result = run(picker, [&](const Controls& c) {
        EXPECT_EQ(c.name(), "/");
        c.click("usr");
        EXPECT_EQ(c.name(), "/usr");
        c.clickAccept();
    });
    EXPECT_EQ(result, 1);
    EXPECT_EQ(picker.Directory, "/usr");
}

TEST_F(FolderPicker, TheKeyboardNeverAccepts) {
    TOpenDirectory picker;
    picker.InitialDir = data;
    std::vector<std::string> folders;
    picker.OnFolderChange = [&](QObject*) { folders.push_back(picker.Directory); };
    const int result = run(picker, [&](const Controls& c) {
        c.click("Sub");
        c.accept->setFocus();
        QTest::keyClick(c.accept, Qt::Key_Space);  // opens the named folder instead
        EXPECT_TRUE(c.dialog->isVisible());
        EXPECT_EQ(c.dialog->currentPath(), data + "/Sub");
        QTest::keyClick(c.accept, Qt::Key_Return);
        c.nameBox->setText("../Other");
        QTest::keyClick(c.nameBox, Qt::Key_Return);  // the default button, from the name box
        EXPECT_EQ(c.dialog->currentPath(), data + "/Other");
        c.nameBox->setText("no such folder");
        QTest::keyClick(c.nameBox, Qt::Key_Enter);
        QTest::keyClick(c.dialog, Qt::Key_O, Qt::AltModifier);  // the mnemonic
        QTest::mouseClick(c.accept, Qt::RightButton);
        QTest::qWait(50);  // a wrongly queued close would arrive now
        EXPECT_TRUE(c.dialog->isVisible());
        QTest::keyClick(c.list, Qt::Key_Escape);
    });
    EXPECT_EQ(result, 0);
    EXPECT_EQ(picker.Directory, "");
    EXPECT_EQ(folders, (std::vector<std::string>{data, data + "/Sub", data + "/Other"}));
}

TEST_F(FolderPicker, WhatIsHighlightedWhenTheButtonComesUpIsPicked) {
    TOpenDirectory picker;
    picker.InitialDir = data;
    const int result = run(picker, [&](const Controls& c) {
        // Pressed on one folder, dragged and released on another.
        QTest::mousePress(c.list->viewport(), Qt::LeftButton, {}, c.centreOf("Other"));
        QTest::mouseMove(c.list->viewport(), c.centreOf("Sub"));
        QTest::mouseRelease(c.list->viewport(), Qt::LeftButton, {}, c.centreOf("Sub"));
        const QModelIndexList highlighted = c.list->selectionModel()->selectedIndexes();
        ASSERT_EQ(highlighted.size(), 1);
        EXPECT_EQ(data + "/" + highlighted[0].data().toString().toStdString(), picker.Directory);
        EXPECT_EQ(c.name(), picker.Directory);
        c.clickAccept();
    });
    EXPECT_EQ(result, 1);
    EXPECT_EQ(picker.Directory, data + "/Other");
}

TEST_F(FolderPicker, FolderNamesThatAreNotUtf8AreListedAndPickedByteForByte) {
    const std::string latin = data + "/caf\xe9";
    fs::create_directories(latin + "/Sub");
    TOpenDirectory picker;
    picker.InitialDir = data;
    std::vector<std::string> folders;
    picker.OnFolderChange = [&](QObject*) { folders.push_back(picker.Directory); };
    const int result = run(picker, [&](const Controls& c) {
        EXPECT_EQ(c.listed(), (QStringList{"Other", "Sub", "caf\u00e9"}));
        c.click("caf\u00e9");
        EXPECT_EQ(picker.Directory, latin);
        EXPECT_EQ(c.name(), data + "/caf\xc3\xa9");  // shown as Windows-1252
        c.doubleClick("caf\u00e9");
        c.nameBox->setText("Sub");  // typed, relative to the folder shown
        QTest::keyClick(c.nameBox, Qt::Key_Return);
        c.clickAccept();
    });
    EXPECT_EQ(result, 1);
    EXPECT_EQ(folders, (std::vector<std::string>{data, latin, latin + "/Sub"}));
    EXPECT_EQ(picker.Directory, latin + "/Sub");
    EXPECT_EQ(currentDirectory(), latin + "/Sub");
}

TEST_F(FolderPicker, NoChangeDirLeavesTheWorkingDirectoryAlone) {
    ASSERT_TRUE(setCurrentDirectory(root));
    TOpenDirectory picker;
    picker.NoChangeDir = true;
    picker.InitialDir = data;
    const int result = run(picker, [&](const Controls& c) {
        c.click("Sub");
        c.clickAccept();
    });
    EXPECT_EQ(result, 1);
    EXPECT_EQ(picker.Directory, data + "/Sub");
    EXPECT_EQ(currentDirectory(), root);
}

TEST_F(FolderPicker, APlaceWithoutAPathCannotBeAccepted) {
    TOpenDirectory picker;
    picker.InitialDir = root + "/missing";
    std::vector<std::string> folders;
    picker.OnFolderChange = [&](QObject*) { folders.push_back(picker.Directory); };
    const int result = run(picker, [&](const Controls& c) {
        EXPECT_EQ(c.name(), "");
        EXPECT_FALSE(c.up->isEnabled());
        c.click("/");  // the root as listed there is no folder path of its own
        c.clickAccept();
        QTest::qWait(50);
        EXPECT_TRUE(c.dialog->isVisible());
        c.doubleClick("/");
        EXPECT_EQ(c.name(), "/");
        QTest::mouseClick(c.up, Qt::LeftButton);  // above the root again
        EXPECT_EQ(c.name(), "");
        c.clickAccept();
        QTest::qWait(50);
        EXPECT_TRUE(c.dialog->isVisible());
        c.doubleClick("/");
        c.doubleClick("tmp");
        c.clickAccept();
    });
    EXPECT_EQ(result, 1);
    EXPECT_EQ(picker.Directory, "/tmp");
    EXPECT_EQ(folders, (std::vector<std::string>{"", "/", "", "/", "/tmp"}));
}

TEST_F(FolderPicker, EventsComeInOrderFromTheCompanion) {
    TOpenDirectory picker;
    picker.InitialDir = data;
    std::vector<std::string> events;
    std::vector<QObject*> senders;
    auto record = [&](const char* what) {
        return [&, what](QObject* sender) {
            events.push_back(std::string(what) + " " + picker.Directory);
            senders.push_back(sender);
        };
    };
    picker.OnShow = record("show");
    picker.OnFolderChange = record("folder");
    picker.OnClose = record("close");
    for (int pass = 0; pass < 2; ++pass) {
        events.clear();
        const int result = run(picker, [&](const Controls& c) {
            c.click("Sub");  // raises nothing
            c.doubleClick("Sub");
            QTest::mouseClick(c.up, Qt::LeftButton);
            c.click("Other");
            QTest::mouseClick(c.cancel, Qt::LeftButton);
        });
        EXPECT_EQ(result, 0);
        // The close handler sees the folders as the dialog left them.
        EXPECT_EQ(events,
                  (std::vector<std::string>{"show ", "folder " + data, "folder " + data + "/Sub",
                                            "folder " + data, "close " + data + "/Other"}));
    }
    ASSERT_FALSE(senders.empty());
    EXPECT_NE(senders.front(), &picker);
    EXPECT_NE(qobject_cast<TImplOpenDirectory*>(senders.front()), nullptr);
    for (QObject* sender : senders) EXPECT_EQ(sender, senders.front());
}

TEST_F(FolderPicker, ASecondExecuteStartsAfresh) {
    ASSERT_TRUE(setCurrentDirectory(data));
    TOpenDirectory picker;
    EXPECT_EQ(run(picker, [](const Controls& c) { c.click("Sub"), c.clickAccept(); }), 1);
    EXPECT_EQ(picker.Directory, data + "/Sub");

    // Opens where the last pick left the working directory; no acceptance carries over.
    EXPECT_EQ(run(picker,
                  [&](const Controls& c) {
                      EXPECT_EQ(c.name(), data + "/Sub");
                      c.dialog->reject();
                  }),
              0);
    EXPECT_EQ(picker.Directory, "");

    // The new dialog's accept button is watched again.
    EXPECT_EQ(run(picker, [](const Controls& c) { c.clickAccept(); }), 1);
    EXPECT_EQ(picker.Directory, data + "/Sub");
}

TEST_F(FolderPicker, AFolderOnANetworkMountHasBothForms) {
    TOpenDirectory picker;
    picker.InitialDir = data;
    const std::string mountInfo =
        "22 1 8:1 / / rw - ext4 /dev/sda1 rw\n"
        "30 22 0:40 / " +
        data + " rw - cifs //filer/docs rw\n";
    picker.setNetworkNameSource([&] { return MountTable::parse(mountInfo).lookup(); });
    const int result = run(picker, [&](const Controls& c) {
        EXPECT_EQ(picker.UNCDirectory, "//filer/docs");
        c.click("Sub");
        EXPECT_EQ(picker.UNCDirectory, "//filer/docs/Sub");
        c.clickAccept();
    });
    EXPECT_EQ(result, 1);
    EXPECT_EQ(picker.Directory, data + "/Sub");
    EXPECT_EQ(picker.UNCDirectory, "//filer/docs/Sub");
    EXPECT_EQ(currentDirectory(), data + "/Sub");
}

TEST_F(FolderPicker, DialogSettings) {
    const struct {
        const char* title;
        bool sizing;
        const char* caption;
    } cases[] = {{"", true, "Open"},
                 {"Choose the patent folder", false, "Choose the patent folder"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.caption);
        TOpenDirectory picker;
        picker.InitialDir = data;
        picker.Title = c.title;
        picker.EnableSizing = c.sizing;
        run(picker, [&](const Controls& ctl) {
            FolderDialog* d = ctl.dialog;
            EXPECT_EQ(d->windowTitle().toStdString(), c.caption);
            EXPECT_EQ(d->minimumSize() == d->maximumSize(), !c.sizing);
            EXPECT_EQ(d->isSizeGripEnabled(), c.sizing);
            EXPECT_EQ(d->windowModality(), Qt::ApplicationModal);
            EXPECT_TRUE(d->findChildren<QComboBox*>().isEmpty());  // no file-type selector
            EXPECT_TRUE(d->findChildren<QCheckBox*>().isEmpty());  // no read-only option
            const QRect screen = QGuiApplication::primaryScreen()->geometry();
            EXPECT_EQ(d->frameGeometry().topLeft(),
                      FolderDialog::placement(screen, d->frameGeometry().size()));
            d->reject();
        });
    }
}

}  // namespace
}  // namespace vantorel
