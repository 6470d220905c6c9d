#include "app/CommandLine.h"

#include <gtest/gtest.h>

namespace pellmark {
namespace {

TEST(CommandLine, KeywordInAnyCaseOneSeparatorThenTheNameLiterally) {
    struct Case {
        const char* line;
        CommandAction action;
        const char* name;
    } const cases[] = {
        {"", CommandAction::None, ""},
        {"LOAD Work", CommandAction::Load, "Work"},
        {"load Work", CommandAction::Load, "Work"},
        {"SAVE Home", CommandAction::Save, "Home"},
        {"sAvE Home", CommandAction::Save, "Home"},
        {"LOAD  Work", CommandAction::Load, " Work"},  // the second space belongs to the name
        {"LOAD_Work", CommandAction::Load, "Work"},    // any separator character
        {"LOAD ", CommandAction::Load, ""},            // exactly five characters
        {"SAVE \"Home\"", CommandAction::Save, "\"Home\""},
        {"OPEN Work", CommandAction::None, "Work"},
        // Characters, not bytes: a separator beyond ASCII is skipped whole.
        {"SAVE\u00A0\u03A9mega", CommandAction::Save, "\u03A9mega"},
        {"LOAD\u65E5\u672C", CommandAction::Load, "\u672C"},
        {"\u00C9TAT x", CommandAction::None, "x"},
    };
    for (const Case& c : cases) {
        const auto command = ParseCommandLine(c.line);
        ASSERT_TRUE(command.has_value()) << c.line;
        EXPECT_EQ(command->action, c.action) << c.line;
        EXPECT_EQ(command->name, c.name) << c.line;
    }
    for (const char* tooShort : {"L", "LO", "LOA", "LOAD", "\u65E5\u672C\u8A9E\u03A9"}) {
        EXPECT_FALSE(ParseCommandLine(tooShort).has_value()) << tooShort;
    }
}

TEST(CommandLine, ArgumentsStartAfterTheProgramPathAndItsBlanks) {
    const std::pair<const char*, const char*> cases[] = {
        {"\"C:\\\u65E5\u672C \u8A9E\\pm\\pellmark.exe\" SAVE \u03A9mega", "SAVE \u03A9mega"},
        {"C:\\pm\\pellmark.exe LOAD  Work ", "LOAD  Work "},   // inner and trailing blanks kept
        {"C:\\\u65E5\u672C\\pellmark.exe\tSAVE x", "SAVE x"},  // UTF-8 is not a blank
        // The path runs to the first blank outside quotes, quotes inside it too.
        {"\"C:\\a b\\pellmark.exe\"SAVE x", "x"},
        {"\"C:\\a\"b SAVE x", "SAVE x"},
        {"C:\\\"a b\"\\pellmark.exe LOAD y", "LOAD y"},
        {"\"C:\\never closed SAVE x", ""},
        {"pellmark.exe", ""},
        {"pellmark.exe    ", ""},
        {"", ""},
        {"pellmark.exe \"SAVE\" \"x\"", "\"SAVE\" \"x\""}};
    for (const auto& [whole, arguments] : cases) {
        EXPECT_EQ(ArgumentsAfterProgramPath(whole), arguments) << whole;
    }
}

}  // namespace
}  // namespace pellmark
