// A column pasted into the patent field becomes the request as it is sent.
#include <gtest/gtest.h>

#include "form/PatentPaste.h"

namespace vantorel {
namespace {

TEST(PatentPaste, LineBreaksAndTabsBetweenNumbersBecomeSeparators) {
    struct Case {
        const char* what;
        std::string before, pasted, after, inserted;
    };
    const Case cases[] = {
        {"LF column", "", "US6892391\nEP1534056\nDK1", "", "US6892391;EP1534056;DK1"},
        {"CR LF column, trailing break", "", "US1\r\nEP2\r\n", "", "US1;EP2"},
        {"lone CR", "", "US1\rEP2\r", "", "US1;EP2"},
        {"tabs of a row", "", "US1\tEP2\tDK3", "", "US1;EP2;DK3"},
        {"blank lines and blanks around", "", "\r\n US1 \r\n\r\n  \r\n\tEP2 \n\n", "", "US1;EP2"},
        {"no break: pasted as it is", "", " US 6,892,391 ", "", " US 6,892,391 "},
        {"blanks inside a line stay", "", "US 1\nEP 2", "", "US 1;EP 2"},
        {"after a number in the field", "US5", "\nUS1\nUS2", "", ";US1;US2"},
        {"a column's first line is a number of its own", "US5 ", "US1\nUS2", "", ";US1;US2"},
        {"after a separator in the field", "US5; ", "\nUS1\n", "", "US1"},
        {"before a number in the field", "", "US1\nUS2\n", " US6", "US1;US2;"},
        {"before a separator in the field", "", "US1\nUS2\n", ";US6", "US1;US2"},
        {"separators pasted beside breaks", "", "US1;\r\n;US2", "", "US1;;US2"},
        {"only breaks", "US5", "\r\n\t\r\n", "US6", ";"},
        {"only breaks at the end", "US5", "\r\n", "", ""},
        {"other control bytes inside a line stay", "",
         "A\x01"
         "B\nC",
         "",
         "A\x01"
         "B;C"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(PatentPaste::replacement(c.before, c.pasted, c.after), c.inserted) << c.what;
    }
}

TEST(PatentPaste, ApplyReplacesTheSelectionAndPutsTheCaretAfterIt) {
    // The ends may come in either order and lie beyond the text.
    for (const auto& [start, end] : {std::pair{4, 6}, {6, 4}}) {
        const auto result = PatentPaste::apply("US5;XX;US6", start, end, "US1\r\nEP2\r\n");
        EXPECT_EQ(result.text, "US5;US1;EP2;US6");
        EXPECT_EQ(result.caret, 11u);
    }
    EXPECT_EQ(PatentPaste::apply("US5", 9, 99, "\tEP2").text, "US5;EP2");
}

}  // namespace
}  // namespace vantorel
