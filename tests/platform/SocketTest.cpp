#include <gtest/gtest.h>

#include <array>

#include "platform/Socket.h"
#include "platform/SocketLayer.h"
#include "support/LoopbackListener.h"

namespace vantorel {
namespace {

std::array<int, 4> bytesOf(Ipv4Address address) {
    const auto* b = reinterpret_cast<const unsigned char*>(&address);
    return {b[0], b[1], b[2], b[3]};
}

Ipv4Address loopback() {
    Ipv4Address address = 0;
    EXPECT_EQ(resolveIPv4("127.0.0.1", address), 0);
    return address;
}

// A socket the test owns, closed whatever happens.
struct TestSocket {
    SocketHandle handle = kNoSocket;
    TestSocket() {
        EXPECT_EQ(createStreamSocket(handle), 0);
        EXPECT_NE(handle, kNoSocket);
    }
    ~TestSocket() { closeSocket(handle); }
};

TEST(Socket, DottedTextIsTakenAsItStands) {
    startSocketLayer();
    const std::pair<const char*, std::array<int, 4>> cases[] = {
        {"127.0.0.1", {127, 0, 0, 1}},     {"127.1", {127, 0, 0, 1}},
        {"127.0.1", {127, 0, 0, 1}},       {"2130706433", {127, 0, 0, 1}},
        {"10.20.30.40", {10, 20, 30, 40}}, {"0x7f.0.0.010", {127, 0, 0, 8}},
        {"1.65535", {1, 0, 255, 255}},     {"255.255.255.255", {255, 255, 255, 255}},
    };
    for (const auto& [text, expected] : cases) {
        Ipv4Address address = 0;
        ASSERT_EQ(resolveIPv4(text, address), 0) << text;
        EXPECT_EQ(bytesOf(address), expected) << text;
    }
}

TEST(Socket, ConnectsSendsReceivesAndSeesThePeersClose) {
    test::LoopbackListener listener;
    TestSocket client;
    ASSERT_EQ(bindToAnyAddress(client.handle), 0);
    ASSERT_EQ(connectSocket(client.handle, loopback(), listener.port()), 0);
    ASSERT_TRUE(listener.accept());

    std::size_t sent = 0;
    ASSERT_EQ(sendBytes(client.handle, "GET /", 5, sent), 0);
    EXPECT_EQ(sent, 5u);
    EXPECT_EQ(listener.receive(16), "GET /");

    bool readable = true;
    ASSERT_EQ(waitReadable(client.handle, 1, readable), 0);
    EXPECT_FALSE(readable);
    listener.send(std::string("re\0ply", 6));
    ASSERT_EQ(waitReadable(client.handle, 5000, readable), 0);
    EXPECT_TRUE(readable);
    char buffer[64];
    std::size_t received = 0;
    ASSERT_EQ(receiveBytes(client.handle, buffer, sizeof buffer, received), 0);
    EXPECT_EQ(std::string(buffer, received), std::string("re\0ply", 6));

    listener.closePeer();
    ASSERT_EQ(waitReadable(client.handle, -1, readable), 0);
    EXPECT_TRUE(readable);
    ASSERT_EQ(receiveBytes(client.handle, buffer, sizeof buffer, received), 0);
    EXPECT_EQ(received, 0u);  // the peer's close
    shutdownSending(client.handle);
}

TEST(Socket, AReceiveThatMustNotWaitSaysSo) {
    test::LoopbackListener listener;
    TestSocket client;
    ASSERT_EQ(connectSocket(client.handle, loopback(), listener.port()), 0);
    ASSERT_TRUE(listener.accept());
    char buffer[16];
    std::size_t received = 99;
    EXPECT_EQ(receiveWaiting(client.handle, buffer, sizeof buffer, received), kSocketWouldBlock);
    EXPECT_EQ(received, 0u);
    listener.send("abc");
    bool readable = false;
    ASSERT_EQ(waitReadable(client.handle, 5000, readable), 0);
    ASSERT_EQ(receiveWaiting(client.handle, buffer, sizeof buffer, received), 0);
    EXPECT_EQ(std::string(buffer, received), "abc");
    listener.closePeer();
    ASSERT_EQ(waitReadable(client.handle, 5000, readable), 0);
    ASSERT_EQ(receiveWaiting(client.handle, buffer, sizeof buffer, received), 0);
    EXPECT_EQ(received, 0u);  // the peer's close is no "would block"
}

TEST(Socket, AConnectWithATimeLimitEndsConnectedAndBlocking) {
    test::LoopbackListener listener;
    TestSocket client;
    ASSERT_EQ(bindToAnyAddress(client.handle), 0);
    int result = startConnect(client.handle, loopback(), listener.port());
    bool finished = result != kSocketInProgress;
    for (int step = 0; step < 80 && !finished; ++step)
        result = awaitConnect(client.handle, 125, finished);
    ASSERT_TRUE(finished);
    ASSERT_EQ(result, 0);
    ASSERT_TRUE(listener.accept());
    // Blocking again: this receive waits for the reply instead of failing at once.
    listener.send("x");
    char buffer[4];
    std::size_t received = 0;
    ASSERT_EQ(receiveBytes(client.handle, buffer, sizeof buffer, received), 0);
    EXPECT_EQ(received, 1u);
}

TEST(Socket, ARefusedConnectGivesItsWindowsSocketsNumber) {
    std::uint16_t port = 0;
    {
        test::LoopbackListener listener;
        port = listener.port();
    }
    {
        TestSocket client;
        EXPECT_EQ(connectSocket(client.handle, loopback(), port), 10061);
    }
    TestSocket client;
    int result = startConnect(client.handle, loopback(), port);
    bool finished = result != kSocketInProgress;
    for (int step = 0; step < 80 && !finished; ++step)
        result = awaitConnect(client.handle, 125, finished);
    EXPECT_TRUE(finished);
    EXPECT_EQ(result, 10061);
}

TEST(Socket, ASocketCannotBeBoundTwice) {
    TestSocket client;
    ASSERT_EQ(bindToAnyAddress(client.handle), 0);
    EXPECT_EQ(bindToAnyAddress(client.handle), 10022);
}

}  // namespace
}  // namespace vantorel
