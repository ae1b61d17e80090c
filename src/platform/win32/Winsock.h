#pragma once

#include <winsock2.h>

#include "../Failure.h"

namespace vantorel::win32 {

// The entry points of the Windows Sockets library. They are looked up at run
// time rather than linked, so that a missing library or function is reported
// in words instead of stopping the program before it starts.
struct WinsockApi {
    HMODULE module = nullptr;
    decltype(&::WSAStartup) WSAStartup = nullptr;
    decltype(&::WSAGetLastError) WSAGetLastError = nullptr;
    decltype(&::socket) socket = nullptr;
    decltype(&::bind) bind = nullptr;
    decltype(&::connect) connect = nullptr;
    decltype(&::ioctlsocket) ioctlsocket = nullptr;
    decltype(&::select) select = nullptr;
    decltype(&::getsockopt) getsockopt = nullptr;
    decltype(&::recv) recv = nullptr;
    decltype(&::send) send = nullptr;
    decltype(&::shutdown) shutdown = nullptr;
    decltype(&::closesocket) closesocket = nullptr;
    decltype(&::gethostbyname) gethostbyname = nullptr;
};

inline constexpr const char* kWinsockLibrary = "ws2_32.dll";
inline constexpr WORD kWinsockVersion = MAKEWORD(2, 2);

// Loads `fileName` and starts it at `version`. Failures:
// "Error on loading Winsock2 library (<fileName>)" when it cannot be loaded,
// "Error on call Winsock2 library function WSAStartup" when it has no start,
// "Winsock Initialization Error." when starting it reports failure.
WinsockApi loadWinsock(const char* fileName, WORD version);

// The process's library, ws2_32.dll at 2.2: loaded on first use and kept up
// for the rest of the run. A failed load is tried again at the next use.
const WinsockApi& winsock();

// A looked-up function, or "Error on call Winsock2 library function <name>".
template <typename Function>
Function need(Function function, const char* name) {
    if (!function) throw Failure(std::string("Error on call Winsock2 library function ") + name);
    return function;
}

}  // namespace vantorel::win32
