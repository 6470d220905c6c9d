#include "platform/LineReader.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/sim/SimFiles.h"

namespace pellmark {
namespace {

std::vector<std::string> Lines(const std::string& bytes) {
    sim::SimFiles files;
    files.files["f"] = bytes;
    OsStatus status;
    auto source = files.OpenForReading("f", status);
    platform::LineReader reader(*source);
    std::vector<std::string> lines;
    std::string line;
    while (reader.ReadLine(line)) {
        lines.push_back(line);
    }
    return lines;
}

using Strings = std::vector<std::string>;

TEST(LineReader, EveryLineEndingAndTheLastLineWithoutOne) {
    EXPECT_EQ(Lines(""), Strings{});
    EXPECT_EQ(Lines("a\r\nb\r\n"), (Strings{"a", "b"}));
    EXPECT_EQ(Lines("a\nb\n"), (Strings{"a", "b"}));
    EXPECT_EQ(Lines("a\rb\r"), (Strings{"a", "b"}));
    EXPECT_EQ(Lines("a\r\n\r\nb"), (Strings{"a", "", "b"}));
    EXPECT_EQ(Lines("\n\n"), (Strings{"", ""}));
    EXPECT_EQ(Lines("a\n\rb"), (Strings{"a", "", "b"}));  // LF then CR: two endings
    EXPECT_EQ(Lines(std::string("x\0y\r\n", 5)), Strings{std::string("x\0y", 3)});
}

TEST(LineReader, EndingsAndLongLinesAcrossReadChunks) {
    // The reader takes 4096 bytes at a time: put a CR LF pair across that boundary and
    // a line longer than a chunk after it.
    const std::string first(4095, 'a');
    const std::string longLine(10000, 'b');
    EXPECT_EQ(Lines(first + "\r\n" + longLine + "\r\nend"), (Strings{first, longLine, "end"}));
    const std::string exact(4096, 'c');
    EXPECT_EQ(Lines(exact + "\r" + "\n"), Strings{exact});
}

}  // namespace
}  // namespace pellmark
