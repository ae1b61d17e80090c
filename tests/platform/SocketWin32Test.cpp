#include <gtest/gtest.h>

#include "platform/Socket.h"
#include "platform/SocketLayer.h"
#include "platform/win32/Winsock.h"

namespace vantorel {
namespace {

std::string loadFailure(const char* library, WORD version) {
    try {
        win32::loadWinsock(library, version);
    } catch (const Failure& failure) {
        return failure.message();
    }
    return "<loaded>";
}

TEST(SocketWin32, StartingTheLibraryFailsInWords) {
    EXPECT_EQ(loadFailure("vantorel-no-such-winsock.dll", win32::kWinsockVersion),
              "Error on loading Winsock2 library (vantorel-no-such-winsock.dll)");
    // A library without the start function.
    EXPECT_EQ(loadFailure("kernel32.dll", win32::kWinsockVersion),
              "Error on call Winsock2 library function WSAStartup");
    // Version 0.0 is below every version the library offers.
    EXPECT_EQ(loadFailure(win32::kWinsockLibrary, MAKEWORD(0, 0)), "Winsock Initialization Error.");
    EXPECT_EQ(loadFailure(win32::kWinsockLibrary, win32::kWinsockVersion), "<loaded>");
}

TEST(SocketWin32, TheProcessLibraryIsVersionTwoPointTwoWithEveryFunction) {
    EXPECT_NO_THROW(startSocketLayer());
    const win32::WinsockApi& api = win32::winsock();
    EXPECT_EQ(&api, &win32::winsock());  // started once
    for (const void* function :
         {reinterpret_cast<const void*>(api.socket), reinterpret_cast<const void*>(api.bind),
          reinterpret_cast<const void*>(api.connect), reinterpret_cast<const void*>(api.select),
          reinterpret_cast<const void*>(api.recv), reinterpret_cast<const void*>(api.send),
          reinterpret_cast<const void*>(api.shutdown),
          reinterpret_cast<const void*>(api.closesocket),
          reinterpret_cast<const void*>(api.gethostbyname),
          reinterpret_cast<const void*>(api.ioctlsocket),
          reinterpret_cast<const void*>(api.getsockopt)})
        EXPECT_NE(function, nullptr);
}

TEST(SocketWin32, AFunctionTheLibraryLacksFailsInWords) {
    try {
        win32::need(static_cast<int (*)()>(nullptr), "WSAIoctl");
        FAIL();
    } catch (const Failure& failure) {
        EXPECT_EQ(failure.message(), "Error on call Winsock2 library function WSAIoctl");
    }
}

TEST(SocketWin32, ErrorNumbersPassStraightThrough) {
    // A handle that is no socket: WSAENOTSOCK.
    const SocketHandle notASocket = 0x7ff0;
    std::size_t sent = 0;
    EXPECT_EQ(sendBytes(notASocket, "x", 1, sent), 10038);
    char buffer[4];
    std::size_t received = 0;
    EXPECT_EQ(receiveBytes(notASocket, buffer, sizeof buffer, received), 10038);
}

}  // namespace
}  // namespace vantorel
