#include <gtest/gtest.h>

#include "browser/SchemeAddress.h"

namespace vantorel {
namespace {

TEST(SchemeAddress, DecodesPercentEncodedSelections) {
    const std::pair<const char*, const char*> cases[] = {
        {"vantorel:US%206%2C892%2C391", "US 6,892,391"},
        {"vantorel:US6892391%3BEP1534056", "US6892391;EP1534056"},
        {"vantorel:US6892391;EP1534056", "US6892391;EP1534056"},
        {"VANTOREL:ab%22cd%20ef", "ab\"cd ef"},
        {"vantorel:%C3%A9%E2%82%AC", "\xC3\xA9\xE2\x82\xAC"},
        {"vantorel://US1/", "US1"},
        {"vantorel:", ""},
        {"vantorel:a+b", "a+b"},
        {"vantorel:%25", "%"},
    };
    for (const auto& [address, request] : cases) {
        const auto decoded = SchemeAddress::decode(address);
        ASSERT_TRUE(decoded.has_value()) << address;
        EXPECT_EQ(*decoded, request) << address;
    }
}

TEST(SchemeAddress, RefusesBrokenEscapesAndControlCharacters) {
    for (const char* address :
         {"vantorel:%", "vantorel:%4", "vantorel:%G1", "vantorel:US%0A1", "vantorel:a%0Db",
          "vantorel:%00", "vantorel:%7F", "vantorel:a\tb", "vantorel:x%2"})
        EXPECT_FALSE(SchemeAddress::decode(address).has_value()) << address;
    EXPECT_NE(SchemeAddress::refusedMessage("vantorel:%").find("vantorel:%"), std::string::npos);
}

TEST(SchemeAddress, OtherArgumentsPassUnchanged) {
    const char* plain[] = {"US6892391", "vantorel", "vantorelx:1", " vantorel:%", "\"x"};
    for (const char* argument : plain) {
        EXPECT_FALSE(SchemeAddress::isSchemeAddress(argument)) << argument;
        EXPECT_EQ(SchemeAddress::requestFromArgument(argument),
                  std::optional<std::string>(argument));
    }
    EXPECT_EQ(SchemeAddress::requestFromArgument("vantorel:%zz"), std::nullopt);
}

TEST(SchemeAddress, HandOffSendsOneLineAndLeavesSeveralLinesInTheField) {
    using H = SchemeAddress::HandOff;
    const std::string lines = SchemeAddress::kSeveralLinesMessage;
    const std::string control = SchemeAddress::kControlCharactersMessage;
    const std::pair<const char*, H> cases[] = {
        {"", {}},
        {"US1\nEP2", {"US1\nEP2", "", true}},  // a plain argument is not looked at here
        {"vantorel:", {}},
        {"vantorel:%20%20", {"  ", "", true}},
        {"vantorel:%0D%0A%20US1%20%0A", {"US1", "", true}},
        {"vantorel:%0A%0A", {}},
        {"vantorel:US1%0D%0AEP2", {"US1 EP2", lines, false}},
        {"vantorel:US1%0A%0A%0AEP2%0AWO3%0A", {"US1 EP2 WO3", lines, false}},
        {"vantorel:US1%09EP2", {"US1 EP2", control, false}},
        {"vantorel:US%0", {std::nullopt, SchemeAddress::refusedMessage("vantorel:US%0"), false}},
    };
    for (const auto& [argument, expected] : cases) {
        const H got = SchemeAddress::handOff(argument);
        EXPECT_EQ(got.fieldText, expected.fieldText) << argument;
        EXPECT_EQ(got.message, expected.message) << argument;
        EXPECT_EQ(got.download, expected.download) << argument;
    }
}

}  // namespace
}  // namespace vantorel
