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
    };
    for (const Case& c : cases) {
        const auto command = ParseCommandLine(c.line);
        ASSERT_TRUE(command.has_value()) << c.line;
        EXPECT_EQ(command->action, c.action) << c.line;
        EXPECT_EQ(command->name, c.name) << c.line;
    }
    for (const char* tooShort : {"L", "LO", "LOA", "LOAD"}) {
        EXPECT_FALSE(ParseCommandLine(tooShort).has_value()) << tooShort;
    }
}

}  // namespace
}  // namespace pellmark
