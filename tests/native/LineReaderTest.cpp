#include "platform/LineReader.h"

#include <gtest/gtest.h>

#include <algorithm>
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

TEST(LineReader, ALineBeyondTheBoundEndsTheReadingWithoutReadingOn) {
    // A file of one 16 MB line, made as it is read.
    struct Endless final : platform::ByteSource {
        std::size_t served = 0;
        std::size_t Read(char* buffer, std::size_t capacity) override {
            capacity = std::min(capacity, (std::size_t{16} << 20) - served);
            std::fill_n(buffer, capacity, 'x');
            served += capacity;
            return capacity;
        }
    } endless;
    platform::LineReader reader(endless, 10000);
    std::string line = "old";
    EXPECT_FALSE(reader.ReadLine(line));
    EXPECT_TRUE(reader.Overlong());
    EXPECT_TRUE(line.empty());
    EXPECT_LE(endless.served, 10000u + 4096u);
    EXPECT_FALSE(reader.ReadLine(line));

    sim::SimFiles files;
    files.files["f"] = "ab\r\n" + std::string(5, 'c') + "\r\nd";
    OsStatus status;
    const auto source = files.OpenForReading("f", status);
    platform::LineReader bounded(*source, 4);
    EXPECT_TRUE(bounded.ReadLine(line));
    EXPECT_EQ(line, "ab");
    EXPECT_FALSE(bounded.ReadLine(line));
    EXPECT_FALSE(bounded.ReadLine(line)) << "nothing after it is read";
}

}  // namespace
}  // namespace pellmark
