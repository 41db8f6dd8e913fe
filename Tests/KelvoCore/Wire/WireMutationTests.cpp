#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "KelvoCore/Wire/FixtureReply.h"
#include "KelvoCore/Wire/FixtureRequest.h"
#include "KelvoCore/Wire/KelvoTestReply.h"
#include "KelvoCore/Wire/KelvoTestRequest.h"
#include "KelvoCore/Wire/WireLine.h"

namespace kelvo {
namespace {

const std::vector<std::string> seedLines = {
    R"({"op":"ping"})",
    R"({"command":{"desktop":2,"name":"switchTo"},"op":"command"})",
    R"({"command":{"direction":"left","name":"focus"},"op":"command"})",
    R"({"ids":[812,813],"op":"state"})",
    R"({"error":"unknown op","ok":false})",
    R"({"activeDesktop":3,"description":"d\/x","focused":812,"ok":true,"pid":42,"windows":[{"desktop":1,"floating":false,"frame":{"height":1080,"width":960,"x":0,"y":0},"id":812}]})",
    R"({"after":0.25,"height":600,"op":"open","quirk":"clampsSize","title":"T","width":800,"window":7,"x":10,"y":20})",
    R"({"appActive":true,"ok":true,"windows":[{"frame":{"height":4,"width":3,"x":1,"y":2},"key":true,"main":false,"minimized":false,"number":3,"quirk":"plain","title":"P","visible":true}]})",
};

/// One random edit: flip a byte, drop a byte, insert a byte of JSON syntax, cut the line, or
/// repeat a span.
std::string mutate(std::string line, std::mt19937& rng) {
    static const std::string alphabet = "{}[]\":,-+.0123456789eE truefalsnl\\/\xFF\x80\x00";
    auto pick = [&](std::size_t n) {
        return std::uniform_int_distribution<std::size_t>(0, n)(rng);
    };
    if (line.empty()) return std::string(1, alphabet[pick(alphabet.size() - 1)]);
    const std::size_t at = pick(line.size() - 1);
    switch (pick(4)) {
        case 0:
            line[at] = static_cast<char>(pick(255));
            break;
        case 1:
            line.erase(at, 1);
            break;
        case 2:
            line.insert(at, 1, alphabet[pick(alphabet.size() - 1)]);
            break;
        case 3:
            line.resize(at);
            break;
        default:
            line.insert(at, line.substr(at, pick(8)));
            break;
    }
    return line;
}

/// Whatever decodes must encode again and read back to the same value.
template <class T>
void checkRoundTrip(const std::string& line) {
    auto value = WireLine::decode<T>(line);
    if (!value) return;
    auto again = WireLine::encode(*value);
    ASSERT_TRUE(again) << line;
    EXPECT_EQ(WireLine::decode<T>(*again), value) << line << " -> " << *again;
}

TEST(WireMutation, MangledLinesAreAnsweredNeverCrash) {
    std::mt19937 rng(20261208);
    for (const std::string& seed : seedLines) {
        std::string line = seed;
        for (int round = 0; round < 1500; ++round) {
            line = round % 10 == 0 ? seed : mutate(line, rng);
            checkRoundTrip<KelvoTestRequest>(line);
            checkRoundTrip<KelvoTestReply>(line);
            checkRoundTrip<FixtureRequest>(line);
            checkRoundTrip<FixtureReply>(line);
            checkRoundTrip<WireCommand>(line);
        }
    }
}

TEST(WireMutation, SeedLinesDecodeToWhatTheyAre) {
    EXPECT_TRUE(WireLine::decode<KelvoTestRequest>(seedLines[0]));
    EXPECT_TRUE(WireLine::decode<KelvoTestRequest>(seedLines[1]));
    EXPECT_TRUE(WireLine::decode<KelvoTestReply>(seedLines[5]));
    EXPECT_TRUE(WireLine::decode<FixtureRequest>(seedLines[6]));
    EXPECT_TRUE(WireLine::decode<FixtureReply>(seedLines[7]));
    // Each seed is already in the canonical form the encoder writes.
    EXPECT_EQ(WireLine::encode(*WireLine::decode<KelvoTestReply>(seedLines[5])), seedLines[5]);
    EXPECT_EQ(WireLine::encode(*WireLine::decode<FixtureRequest>(seedLines[6])), seedLines[6]);
}

TEST(WireMutation, ArbitraryBytesGiveNothing) {
    std::mt19937 rng(7);
    for (int i = 0; i < 2000; ++i) {
        std::string bytes(std::uniform_int_distribution<int>(0, 64)(rng), '\0');
        for (char& c : bytes)
            c = static_cast<char>(std::uniform_int_distribution<int>(0, 255)(rng));
        EXPECT_FALSE(WireLine::decode<KelvoTestRequest>(bytes));
    }
    EXPECT_FALSE(WireLine::decode<KelvoTestRequest>(std::string(100000, '[')));
    EXPECT_FALSE(WireLine::decode<KelvoTestRequest>(std::string("{\"op\":\"ping\0\"}", 15)));
}

}  // namespace
}  // namespace kelvo
