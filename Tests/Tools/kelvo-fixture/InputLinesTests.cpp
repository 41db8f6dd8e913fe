#include <gtest/gtest.h>
#include <unistd.h>

#include <string>
#include <thread>
#include <vector>

#include "InputLines.h"

namespace kelvo_fixture {
namespace {

/// Everything `input` gives for `bytes` written to a pipe, "!" standing for an overlong line.
std::vector<std::string> linesOf(const std::string& bytes, std::size_t maximum) {
    int ends[2];
    EXPECT_EQ(::pipe(ends), 0);
    std::thread writer([&] {
        std::size_t written = 0;
        while (written < bytes.size()) {
            const ssize_t count = ::write(ends[1], bytes.data() + written,
                                          std::min<std::size_t>(bytes.size() - written, 7));
            if (count <= 0) break;
            written += static_cast<std::size_t>(count);
        }
        ::close(ends[1]);
    });
    InputLines input(ends[0], maximum);
    std::vector<std::string> lines;
    for (auto next = input.next(); next.kind != InputLines::Next::Kind::end; next = input.next())
        lines.push_back(next.kind == InputLines::Next::Kind::overlong ? "!" : next.text);
    writer.join();
    ::close(ends[0]);
    return lines;
}

TEST(InputLines, LinesEndAtLineFeedsAndTheLastOneAtTheEndOfInput) {
    EXPECT_EQ(linesOf("one\r\ntwo\n\nlast", 100),
              (std::vector<std::string>{"one", "two", "", "last"}));
    EXPECT_EQ(linesOf("", 100), std::vector<std::string>{});
    EXPECT_EQ(linesOf("only\n", 100), std::vector<std::string>{"only"});
}

TEST(InputLines, AnOverlongLineIsSkippedAndReadingGoesOn) {
    const std::string longLine(1000, 'x');
    EXPECT_EQ(linesOf("a\n" + longLine + "\nb\n", 16), (std::vector<std::string>{"a", "!", "b"}));
    EXPECT_EQ(linesOf(longLine, 16), std::vector<std::string>{"!"});
    EXPECT_EQ(linesOf(std::string(16, 'y') + "\n", 16),
              std::vector<std::string>{std::string(16, 'y')});
}

// A line of exactly the bound is a line whatever ends it: a line feed, a carriage return and a
// line feed read apart (the pipe is written seven bytes at a time), or the end of input after a
// carriage return. One byte more is overlong.
TEST(InputLines, ALineOfExactlyTheBoundIsALineAndOneByteMoreIsNot) {
    const std::string exact(20, 'y');
    EXPECT_EQ(linesOf(exact + "\r\nb\n", 20), (std::vector<std::string>{exact, "b"}));
    EXPECT_EQ(linesOf(exact + "\r", 20), std::vector<std::string>{exact});
    EXPECT_EQ(linesOf(exact + "y\r\nb\n", 20), (std::vector<std::string>{"!", "b"}));
    EXPECT_EQ(linesOf(exact + "y", 20), std::vector<std::string>{"!"});
}

}  // namespace
}  // namespace kelvo_fixture
