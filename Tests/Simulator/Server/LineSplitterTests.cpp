#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Simulator/Server/LineSplitter.h"

namespace sim {
namespace {

std::vector<std::string> drain(LineSplitter& splitter) {
    std::vector<std::string> lines;
    while (auto line = splitter.next())
        lines.push_back(*line);
    return lines;
}

TEST(LineSplitter, LinesArrivingInPiecesComeOutWhole) {
    LineSplitter splitter(100);
    const std::string stream = "{\"op\":\"ping\"}\n{\"op\":\"windows\"}\r\n\nlast";
    std::vector<std::string> lines;
    for (char byte : stream) {
        splitter.append(std::string(1, byte));
        for (auto& line : drain(splitter))
            lines.push_back(line);
    }
    EXPECT_EQ(lines, (std::vector<std::string>{"{\"op\":\"ping\"}", "{\"op\":\"windows\"}", ""}));
    EXPECT_EQ(splitter.pendingSize(), 4u);
    splitter.append("\n");
    EXPECT_EQ(drain(splitter), std::vector<std::string>{"last"});
    EXPECT_EQ(splitter.pendingSize(), 0u);
}

TEST(LineSplitter, ManyLinesInOnePiece) {
    LineSplitter splitter(10);
    splitter.append("a\nbb\r\nccc\n\r\n");
    EXPECT_EQ(drain(splitter), (std::vector<std::string>{"a", "bb", "ccc", ""}));
    EXPECT_FALSE(splitter.overflowed());
}

TEST(LineSplitter, ALineOfExactlyTheBoundIsKept) {
    LineSplitter splitter(5);
    splitter.append("12345\r\n");
    EXPECT_EQ(drain(splitter), std::vector<std::string>{"12345"});
    EXPECT_FALSE(splitter.overflowed());
}

// A line of the bound whose carriage return comes apart from its line feed is still kept; one
// byte more, even before its terminator comes, is over.
TEST(LineSplitter, ALineOfExactlyTheBoundIsKeptWhenItsTerminatorComesInTwoPieces) {
    LineSplitter splitter(5);
    splitter.append("12345\r");
    EXPECT_FALSE(splitter.next());
    EXPECT_FALSE(splitter.overflowed());
    splitter.append("\n");
    EXPECT_EQ(drain(splitter), std::vector<std::string>{"12345"});

    LineSplitter over(5);
    over.append("123456\r");
    EXPECT_FALSE(over.next());
    EXPECT_TRUE(over.overflowed());
}

TEST(LineSplitter, AnOverlongLineIsRefusedBeforeItEnds) {
    LineSplitter splitter(8);
    splitter.append("ok\n0123456");
    EXPECT_EQ(drain(splitter), std::vector<std::string>{"ok"});
    splitter.append("789");
    EXPECT_FALSE(splitter.next());
    EXPECT_TRUE(splitter.overflowed());
    // Nothing more is taken or kept once the bound was passed.
    splitter.append("\nfine\n");
    EXPECT_FALSE(splitter.next());
    EXPECT_EQ(splitter.pendingSize(), 0u);
}

TEST(LineSplitter, AnOverlongLineArrivingWithItsLineFeedIsRefused) {
    LineSplitter splitter(3);
    splitter.append("abcd\nx\n");
    EXPECT_FALSE(splitter.next());
    EXPECT_TRUE(splitter.overflowed());
}

TEST(LineSplitter, ALongStreamInSmallPiecesKeepsOnlyTheUnfinishedLine) {
    LineSplitter splitter(64);
    std::size_t count = 0;
    for (int i = 0; i < 10000; ++i) {
        splitter.append("{\"id\":");
        splitter.append(std::to_string(i) + "}\n");
        count += drain(splitter).size();
    }
    EXPECT_EQ(count, 10000u);
    EXPECT_EQ(splitter.pendingSize(), 0u);
}

}  // namespace
}  // namespace sim

namespace sim {
namespace {

TEST(LineSplitterTest, LetsOnlyLinesWithTheLongPrefixPastTheBound) {
    LineSplitter splitter(LineSplitter::Bound{8, "{big", 32});
    splitter.append("{big:0123456789abcdef}\n");
    EXPECT_EQ(splitter.next(), "{big:0123456789abcdef}");
    splitter.append("{small:012}\n");
    EXPECT_FALSE(splitter.next());
    EXPECT_TRUE(splitter.overflowed());

    LineSplitter bounded(LineSplitter::Bound{8, "{big", 32});
    bounded.append("{big" + std::string(40, 'x'));
    EXPECT_FALSE(bounded.next());
    EXPECT_TRUE(bounded.overflowed()) << "the long bound holds too";
}

}  // namespace
}  // namespace sim
