#include <gtest/gtest.h>

#include "platform/CommandLine.h"

namespace vantorel {
namespace {

using Tokens = std::vector<std::string>;

TEST(SplitCommandLine, SplitsByTheProgramsRules) {
    const std::string exe = "\"C:\\Program Files\\X\\Vantorel Patent Downloader.exe\"";
    const std::string path = "C:\\Program Files\\X\\Vantorel Patent Downloader.exe";
    const std::pair<std::string, Tokens> cases[] = {
        {"", {}},
        {" \t\r\n", {}},
        {exe, {path}},
        {exe + " US6892391", {path, "US6892391"}},
        // The browser entry opens a quote before the selection and never closes it.
        {exe + " \"US6892391", {path, "US6892391"}},
        {exe + " \"US 6892391\r\nEP1534056", {path, "US 6892391\r\nEP1534056"}},
        // A quote inside the selection closes the quoted part; the token runs to the next blank.
        {exe + " \"ab\"cd ef", {path, "abcd", "ef"}},
        {exe + " \"  \"", {path, "  "}},
        {exe + " \"", {path}},
        {exe + " \"\"", {path}},
        {exe + " \"\" US1 US2", {path, "US1", "US2"}},
        {exe + " \"\"\"\"US1", {path, "US1"}},
        {exe + " \"\"\"US1 x", {path, "US1 x"}},
        {exe + " a\"\"b", {path, "ab"}},
        {exe + " a\"b c\"d e", {path, "ab cd", "e"}},
        // Every byte from 0x01 to 0x20 separates; bytes above 0x7f belong to tokens.
        {"p\x01q\x1fr\x7fs \xe9t", {"p", "q", "r\x7fs", "\xe9t"}},
        {"  lead  trail  ", {"lead", "trail"}},
        {std::string("p a\0b", 5), {"p", "a"}},
    };
    for (const auto& [line, expected] : cases) EXPECT_EQ(splitCommandLine(line), expected) << line;
}

TEST(SplitCommandLine, LongLinesAreSplitWhole) {
    const std::string request(100000, 'U');
    EXPECT_EQ(splitCommandLine("p \"" + request), (Tokens{"p", request}));
}

}  // namespace
}  // namespace vantorel
