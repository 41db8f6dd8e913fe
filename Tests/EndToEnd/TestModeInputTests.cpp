#include <string>

#include "KelvoCore/Wire/WireLine.h"
#include "Support/EndToEnd/EndToEndTest.h"

namespace kelvo::testing {
namespace {

// What a harness writes on Kelvo's standard input is read in lines of bounded length, a
// mebibyte: a line past the bound is skipped, answered with the bound and its first bytes, and
// the session goes on.
class TestModeInputTest : public EndToEndTest {};

TEST_F(TestModeInputTest, ALinePastTheBoundIsToldTooLongByTheBoundAndItsFirstBytesAndSkipped) {
    auto& k = startKelvo();
    // Three mebibytes, arriving in pieces, with a multi-byte character across the cut.
    const std::string head = std::string(199, 'a') + "é";
    ASSERT_TRUE(k.process().write(head));
    for (int i = 0; i < 48; ++i)
        ASSERT_TRUE(k.process().write(std::string(64 * 1024, 'b')));
    ASSERT_TRUE(k.process().writeLine("c"));
    const auto reply = k.process().readLine();
    ASSERT_TRUE(reply);
    const auto decoded = WireLine::decode<KelvoTestReply>(*reply);
    ASSERT_TRUE(decoded);
    EXPECT_FALSE(decoded->ok);
    EXPECT_EQ(decoded->error,
              "request too long (more than 1048576 bytes): " + std::string(199, 'a') + "…");
    // The next line is read as a request of its own.
    EXPECT_TRUE(k.ping().ok);
    const auto unreadable = k.exchange("not a request");
    ASSERT_TRUE(unreadable);
    EXPECT_EQ(WireLine::decode<KelvoTestReply>(*unreadable)->error,
              "unreadable request: not a request");
}

TEST_F(TestModeInputTest, StateAnswersOneRecordPerIdDuplicatesIncluded) {
    const auto a = open(notes, CGRect(100, 100, 700, 500));
    const auto b = open(browser, CGRect(400, 200, 800, 600));
    auto& k = startKelvo();
    ASSERT_TRUE(settled({a, b}));
    std::vector<std::uint32_t> asked;
    for (int i = 0; i < 20000; ++i)
        asked.push_back(i % 3 == 0 ? a : (i % 3 == 1 ? b : 424242u));
    const auto reply = k.state(ids(asked));
    ASSERT_TRUE(reply.ok);
    ASSERT_EQ(reply.windows->size(), asked.size());
    const auto one = records({a, b, 424242u});
    for (std::size_t i = 0; i < asked.size(); ++i) {
        ASSERT_TRUE(reply.windows->at(i) == one.at(i % 3)) << "record " << i;
    }
}

}  // namespace
}  // namespace kelvo::testing
