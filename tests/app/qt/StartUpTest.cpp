// The creation sequence, the one-second hand-off and failures that escape handlers.
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QTimer>
#include <sstream>

#include "app/qt/Application.h"
#include "app/qt/BannerPicture.h"
#include "app/qt/FormFixture.h"
#include "browser/BrowserHook.h"
#include "platform/Failure.h"
#include "platform/Paths.h"

namespace vantorel::test {
namespace {

bool hookRegistered(const std::string& install) {
    return std::filesystem::exists(BrowserHook::locationsFor(install).extensionFolder);
}

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

class StartUpTest : public FormFixture {};

TEST_F(StartUpTest, FirstStartRegistersTheBrowserEntryAndLoadsDefaults) {
    // A backslash in the folder name shows the doubling of piece 2.
    install = root + "/in\\stall";
    std::filesystem::create_directories(install);
    TMainForm& w = makeForm();
    EXPECT_TRUE(dialogs.errors.empty());

    EXPECT_EQ(readFile(install + "/tessariant.html"),
              "<SCRIPT>var shell = new ActiveXObject(\"WScript.Shell\");shell.run('\"' + \"" +
                  root +
                  "/in\\\\stall"
                  "\\\\Vantorel Patent Downloader.exe\" + '\"' + \" \" + '\"' + "
                  "external.menuArguments.document.selection.createRange().text );</SCRIPT>");
    const std::string registry = readFile(userConfigFolder() + "/registry.reg");
    EXPECT_NE(registry.find("[HKEY_CURRENT_USER\\Software\\Microsoft\\Internet Explorer\\MenuExt\\"
                            "Vantorel Patent Downloader]"),
              std::string::npos);
    RegistryKey menu;
    ASSERT_TRUE(
        menu.openOrCreate("\\Software\\Microsoft\\Internet Explorer\\MenuExt\\Vantorel "
                          "Patent Downloader"));
    EXPECT_EQ(menu.readString(""), install + "/tessariant.html");
    EXPECT_NE(registry.find("\"Contexts\"=dword:00000010"), std::string::npos);

    EXPECT_EQ(w.core().currentSettings().InstallPath, install);
    EXPECT_EQ(w.core().loginText(), "");
    EXPECT_EQ(w.core().passwordText(), "");
    EXPECT_EQ(w.core().timeoutText(), "120");
    EXPECT_EQ(w.viewingPreference(), 0);
    EXPECT_EQ(w.core().pathText(), install + "/patents/");
    EXPECT_EQ(w.core().currentSettings().PatentPath, install + "/patents/");
    EXPECT_EQ(w.PageControl1->currentIndex(), 0);
    EXPECT_TRUE(w.Timer1->isActive());
    EXPECT_FALSE(std::filesystem::exists(install + "/tessariant.ini"));  // nothing saved
    EXPECT_TRUE(hookRegistered(install));
}

TEST_F(StartUpTest, StoredSettingsReachTheTabAndTheCurrentSettings) {
    std::filesystem::create_directories(install + "/pdfs");
    touch(install + "/pdfs/US6892391.pdf");
    writeSetting("Login", "bob");
    writeSetting("Pswd", "pw");
    writeSetting("Timeout", "30");
    writeSetting("PDFAction", "7");
    writeSetting("Path", install + "/pdfs/");
    TMainForm& w = makeForm();
    EXPECT_TRUE(dialogs.errors.empty());
    EXPECT_EQ(w.core().currentSettings().UserLogin, "bob");
    EXPECT_EQ(w.core().currentSettings().UserPassword, "pw");
    EXPECT_EQ(w.core().timeoutText(), "30");
    EXPECT_EQ(w.viewingPreference(), 2);
    EXPECT_EQ(w.core().currentSettings().PatentPath, install + "/pdfs/");
    EXPECT_EQ(w.PatentsList->rowCount(), 1);
}

TEST_F(StartUpTest, AStepThatFailsSkipsTheRestButTheWindowOpens) {
    struct Case {
        const char* what;
        std::function<void(StartUpTest&)> prepare;
        std::function<std::string(StartUpTest&)> error;
        const char* login;
    };
    const Case cases[] = {
        {"install folder missing", [](StartUpTest& t) { t.install = t.root + "/missing"; },
         [](StartUpTest& t) { return "Cannot create file " + t.root + "/missing/tessariant.html"; },
         ""},
        {"viewing preference not a number",
         [](StartUpTest& t) {
             t.install = t.root + "/install";
             t.writeSetting("Login", "bob");
             t.writeSetting("PDFAction", "abc");
         },
         [](StartUpTest&) { return std::string("'abc' is not a valid integer value"); }, "bob"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        dialogs = FakeDialogs{};
        c.prepare(*this);
        TMainForm& w = makeForm();
        ASSERT_EQ(dialogs.errors.size(), 1u);
        EXPECT_EQ(dialogs.errors[0], c.error(*this));
        EXPECT_EQ(w.core().loginText(), c.login);
        EXPECT_EQ(w.core().pathText(), "");  // Path and the list come later
        EXPECT_EQ(w.PatentsList->rowCount(), 0);
        EXPECT_FALSE(hookRegistered(install));  // skipped like the other remaining steps
        EXPECT_TRUE(w.Timer1->isActive());
        EXPECT_EQ(w.PageControl1->currentIndex(), 0);
        showForm();
        EXPECT_TRUE(w.isVisible());
        form.reset();
    }
}

TEST_F(StartUpTest, TheTimerHandsTheRequestToTheDownloadCommandOnceTheWindowShows) {
    const std::pair<const char*, int> cases[] = {{"US6892391", 1}, {"  ", 1}, {"", 0}};
    for (const auto& [request, runs] : cases) {
        SCOPED_TRACE(request);
        downloads = 0;
        TMainForm& w = makeForm({request, 0});
        std::string seen;
        w.core().setDownloadCommand([&] {
            ++downloads;
            seen = w.PatID->text().toStdString();
        });
        w.Timer1->setInterval(1);  // the wiring is what matters here, not the second
        EXPECT_TRUE(QTest::qWaitFor([&] { return !w.Timer1->isActive(); }, 2000));
        QTest::qWait(30);
        EXPECT_EQ(downloads, 0);  // not before the window is seen
        showForm();
        if (runs) {
            EXPECT_TRUE(QTest::qWaitFor([&] { return downloads > 0; }, 2000));
        }
        QTest::qWait(30);
        EXPECT_EQ(downloads, runs);
        EXPECT_EQ(seen, runs ? request : "");
        EXPECT_EQ(w.PatID->text().toStdString(), runs ? request : "");
        EXPECT_FALSE(w.Timer1->isActive());
        form.reset();
    }
}

TEST_F(StartUpTest, AFailureEscapingAHandlerReachesTheErrorBoxAndTheWindowGoesOn) {
    TMainForm& w = showForm();
    w.core().setDownloadCommand([] { throw Failure("'abc' is not a valid integer value"); });
    w.Button1->click();
    w.core().setDownloadCommand([] { throw std::runtime_error("out of memory"); });
    QTest::keyClick(w.PatID, Qt::Key_Return);
    EXPECT_EQ(dialogs.errors,
              (std::vector<std::string>{"'abc' is not a valid integer value", "out of memory"}));
    EXPECT_TRUE(w.isVisible());
    EXPECT_TRUE(w.Button1->isEnabled());
}

TEST_F(StartUpTest, TheApplicationCatchesWhatEscapesAnyEventHandler) {
    struct Throwing : QObject {
        bool event(QEvent* e) override {
            if (e->type() == QEvent::User) throw Failure("Failed to set data for ''");
            return QObject::event(e);
        }
    } target;
    auto* app = qobject_cast<Application*>(QCoreApplication::instance());
    ASSERT_NE(app, nullptr);
    app->setFailureSink(&dialogs);
    QEvent event(QEvent::User);
    EXPECT_NO_THROW(QCoreApplication::sendEvent(&target, &event));
    app->setFailureSink(nullptr);
    EXPECT_EQ(dialogs.errors, std::vector<std::string>{"Failed to set data for ''"});
}

TEST_F(StartUpTest, TheBannerOpensTheHomePageFromAnyPointOfItsRectangle) {
    TMainForm& w = showForm();
    const QPoint inside[] = {
        {100, 30}, {0, 80}, {288, 0}};  // drawing, transparent, beyond the bitmap
    for (const QPoint& p : inside) QTest::mouseClick(w.Image1, Qt::LeftButton, {}, p);
    QTest::mouseClick(w.Panel1, Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_EQ(dialogs.opened, std::vector<std::string>(3, MainFormCore::kHomePage));
}

}  // namespace
}  // namespace vantorel::test
