#include <gtest/gtest.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "KelvoApp/TestMode/RequestLines.h"

namespace kelvo {
namespace {

/// Everything `RequestLines` reads from a pipe that holds `input` and then ends, as
/// "text" for a line and "overlong:text" for a line past the bound.
std::vector<std::string> linesOf(const std::string& input, std::size_t maximum) {
    int ends[2];
    EXPECT_EQ(::pipe(ends), 0);
    std::vector<std::string> read;
    // Small enough for the pipe's buffer: written whole before the first read.
    EXPECT_EQ(::write(ends[1], input.data(), input.size()), static_cast<ssize_t>(input.size()));
    ::close(ends[1]);
    RequestLines lines(ends[0], maximum);
    while (const auto line = lines.next())
        read.push_back((line->overlong ? "overlong:" : "") + line->text);
    ::close(ends[0]);
    return read;
}

TEST(RequestLinesTest, ALinePastTheBoundIsSkippedAndTheNextOneReadWhole) {
    EXPECT_EQ(linesOf("short\n" + std::string(17, 'x') + "\nafter\r\n\nlast", 16),
              (std::vector<std::string>{"short", "overlong:" + std::string(17, 'x'), "after", "",
                                        "last"}));
    // Exactly the bound is a line; a carriage return before the line feed does not count.
    EXPECT_EQ(linesOf(std::string(16, 'y') + "\r\n", 16),
              (std::vector<std::string>{std::string(16, 'y')}));
    // Nor does one that the end of input leaves without its line feed; one byte more is over.
    EXPECT_EQ(linesOf(std::string(16, 'y') + "\r", 16),
              (std::vector<std::string>{std::string(16, 'y')}));
    EXPECT_EQ(linesOf(std::string(17, 'y') + "\r\n", 16),
              (std::vector<std::string>{"overlong:" + std::string(17, 'y')}));
    EXPECT_EQ(linesOf(std::string(17, 'y'), 16),
              (std::vector<std::string>{"overlong:" + std::string(17, 'y')}));
}

TEST(RequestLinesTest, OnlyTheFirstBytesOfAnOverlongLineAreKeptUpToACharacter) {
    const std::string head = std::string(RequestLines::keptOfOverlong - 1, 'a') + "é";
    const auto read = linesOf(head + std::string(5000, 'b') + "\nnext\n", 1024);
    ASSERT_EQ(read.size(), 2u);
    EXPECT_EQ(read[0], "overlong:" + std::string(RequestLines::keptOfOverlong - 1, 'a'));
    EXPECT_EQ(read[1], "next");
    // An overlong line that the end of input cuts short is still one line.
    EXPECT_EQ(
        linesOf(std::string(3000, 'c'), 1024),
        (std::vector<std::string>{"overlong:" + std::string(RequestLines::keptOfOverlong, 'c')}));
}

}  // namespace
}  // namespace kelvo
