#include "Winsock.h"

#include "../SocketLayer.h"

namespace vantorel::win32 {
namespace {

template <typename Function>
void lookUp(HMODULE module, const char* name, Function& function) {
    function = reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

}  // namespace

WinsockApi loadWinsock(const char* fileName, WORD version) {
    WinsockApi api;
    api.module = LoadLibraryA(fileName);
    if (!api.module)
        throw Failure(std::string("Error on loading Winsock2 library (") + fileName + ")");
    lookUp(api.module, "WSAStartup", api.WSAStartup);
    lookUp(api.module, "WSAGetLastError", api.WSAGetLastError);
    lookUp(api.module, "socket", api.socket);
    lookUp(api.module, "bind", api.bind);
    lookUp(api.module, "connect", api.connect);
    lookUp(api.module, "ioctlsocket", api.ioctlsocket);
    lookUp(api.module, "select", api.select);
    lookUp(api.module, "getsockopt", api.getsockopt);
    lookUp(api.module, "recv", api.recv);
    lookUp(api.module, "send", api.send);
    lookUp(api.module, "shutdown", api.shutdown);
    lookUp(api.module, "closesocket", api.closesocket);
    lookUp(api.module, "gethostbyname", api.gethostbyname);

    WSADATA data{};
    int started = 0;
    try {
        started = need(api.WSAStartup, "WSAStartup")(version, &data);
    } catch (...) {
        FreeLibrary(api.module);
        throw;
    }
    if (started != 0) {
        FreeLibrary(api.module);
        throw Failure("Winsock Initialization Error.");
    }
    return api;
}

const WinsockApi& winsock() {
    // A throwing initialiser leaves the static unset, so the next use tries again.
    static const WinsockApi api = loadWinsock(kWinsockLibrary, kWinsockVersion);
    return api;
}

}  // namespace vantorel::win32

namespace vantorel {

void startSocketLayer() {
    win32::winsock();
}

}  // namespace vantorel
