// vantorel-service: the reference patent-document service.
#include <csignal>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "AccountList.h"
#include "FetchResponder.h"
#include "HttpServer.h"
#include "PatentCatalogue.h"
#include "RequestLog.h"
#include "ServiceOptions.h"
#include "TlsServer.h"
#include "platform/Failure.h"

namespace {

vantorel::service::HttpServer* runningServer = nullptr;

void stopOnSignal(int) {
    if (runningServer) runningServer->stop();
}

}  // namespace

int main(int argc, char** argv) {
    using namespace vantorel::service;
    ServiceOptions options;
    try {
        options = ServiceOptions::parse(std::vector<std::string>(argv + 1, argv + argc));
    } catch (const vantorel::Failure& failure) {
        std::fprintf(stderr, "vantorel-service: %s\n%s", failure.what(), ServiceOptions::usage());
        return 2;
    }
    if (options.help) {
        std::fputs(ServiceOptions::usage(), stdout);
        return 0;
    }
    try {
        AccountList accounts = options.accounts.empty() ? AccountList::demo()
                                                        : AccountList::fromFile(options.accounts);
        PatentCatalogue catalogue(options.catalogue, options.sampleSize);
        RequestLog log(options.log);
        std::unique_ptr<TlsServer> tls;
        if (!options.tlsCertificate.empty())
            tls = std::make_unique<TlsServer>(options.tlsCertificate, options.tlsKey);
        FetchResponder responder(std::move(accounts), catalogue, tls ? "https" : "http");
        HttpServer server(
            options.listen,
            [&responder](const HttpRequest& request, const std::string& local) {
                return responder.respond(request, local);
            },
            log, tls.get());
        server.setLongestRequestLine(options.maxRequestLine);

        runningServer = &server;
        struct sigaction action {};
        action.sa_handler = stopOnSignal;
        sigemptyset(&action.sa_mask);
        sigaction(SIGINT, &action, nullptr);
        sigaction(SIGTERM, &action, nullptr);
        std::signal(SIGPIPE, SIG_IGN);

        // The first line on standard output tells scripts and tests the port.
        std::printf("listening on %s\n", server.address().c_str());
        std::fflush(stdout);
        log.note("vantorel-service listening on " + server.address() +
                 (tls ? " over https" : " over http"));
        server.run();
        runningServer = nullptr;
        log.note("vantorel-service stopped");
        return 0;
    } catch (const vantorel::Failure& failure) {
        std::fprintf(stderr, "vantorel-service: %s\n", failure.what());
        return 1;
    }
}
