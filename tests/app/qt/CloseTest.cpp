// Closing the window while a download runs: the window stays until the run
// has ended, then the program ends, with the file saved.
#include <QApplication>
#include <QPushButton>
#include <QTimer>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "app/qt/FormFixture.h"
#include "fixtures/ScriptedServer.h"

namespace vantorel::test {
namespace {

using Script = ScriptedServer::Script;

std::string reply(const std::string& body) {
    return "HTTP/1.1 200 OK\r\nContent-Length: " + std::to_string(body.size()) + "\r\n\r\n" + body;
}

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

class CloseTest : public FormFixture {};

TEST_F(CloseTest, ClosedDuringASlowDownloadTheWindowStaysUntilTheRunEndsThenTheProgramEnds) {
    ScriptedServer server;
    const std::string pdf = "%PDF-1.4\n" + std::string(4000, 'x') + "\n%%EOF\n";
    // The file arrives in pieces, slowly, so the close comes in the middle.
    Script script = {ScriptedServer::readRequest(),
                     ScriptedServer::send(reply(server.url("/files/US6892391_full.pdf") + "<br>")),
                     ScriptedServer::readRequest(),
                     ScriptedServer::send("HTTP/1.1 200 OK\r\nContent-Length: " +
                                          std::to_string(pdf.size()) + "\r\n\r\n")};
    for (std::size_t at = 0; at < pdf.size(); at += 500) {
        script.push_back(ScriptedServer::pause(60));
        script.push_back(ScriptedServer::send(pdf.substr(at, 500)));
    }
    server.expectConnection(script);
    writeSetting("PDFAction", "2");
    ASSERT_TRUE(PrivateProfile::writeString("Service", "Host",
                                            "127.0.0.1:" + std::to_string(server.port()),
                                            install + "/tessariant.ini"));
    TMainForm& w = showForm();
    w.core().setDownloadCommand(nullptr);  // the real download command
    w.core().setEditText(MainFormView::Edit::PatID, "US6892391");
    const std::string saved = w.core().currentSettings().PatentPath + "US6892391.pdf";
    std::filesystem::create_directories(w.core().currentSettings().PatentPath);

    int closesRefused = 0, ticksWhileRunning = 0, hiddenWhileRunning = 0;
    QTimer watch;
    watch.setInterval(20);
    QObject::connect(&watch, &QTimer::timeout, [&] {
        if (!w.core().downloadRunning()) return;
        if (ticksWhileRunning++ == 2 && !w.close()) ++closesRefused;
        if (!w.isVisible()) ++hiddenWhileRunning;
    });
    watch.start();
    QTimer::singleShot(0, w.Button1, [&] { w.Button1->click(); });
    // Not ended by the window within this time: the program would hang.
    QTimer hang;
    hang.setSingleShot(true);
    QObject::connect(&hang, &QTimer::timeout, [] { QCoreApplication::exit(3); });
    hang.start(20000);
    EXPECT_EQ(QApplication::exec(), 0);

    EXPECT_EQ(closesRefused, 1);
    EXPECT_GT(ticksWhileRunning, 3) << "the close came during the run";
    EXPECT_EQ(hiddenWhileRunning, 0);
    EXPECT_FALSE(w.isVisible());
    EXPECT_TRUE(dialogs.messages.empty()) << dialogs.messages.front();
    EXPECT_EQ(readFile(saved), pdf);
}

}  // namespace
}  // namespace vantorel::test
