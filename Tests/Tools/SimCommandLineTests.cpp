#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "SimCommandLine.h"

namespace kelvo_sim {
namespace {

using ::testing::HasSubstr;

struct Told {
    int status = 0;
    std::string out;
    std::string err;
};

Told run(const std::vector<std::string>& arguments) {
    std::ostringstream out, err;
    Told told;
    told.status = SimCommandLine(out, err).run(arguments);
    told.out = out.str();
    told.err = err.str();
    return told;
}

// A person who mistypes a verb reads the reason first and one line on where the verbs are,
// not the whole usage under which the reason is lost.
TEST(SimCommandLine, AUsageMistakeSaysItsReasonAndPointsAtTheHelp) {
    const std::string pointer = "Run kelvo-sim --help for every verb and its arguments.\n";
    const std::vector<std::pair<std::vector<std::string>, std::string>> mistakes = {
        {{}, "no verb given"},
        {{"click", "10"}, "usage: click X Y [--right] [--mods alt+shift]"},
        {{"menu", "choose", "Quit"}, "usage: menu [pick TITLE]"},
        {{"setting", "reduce-motion", "maybe"}, "usage: setting reduce-motion yes|no"},
    };
    for (const auto& [arguments, reason] : mistakes) {
        const Told told = run(arguments);
        EXPECT_EQ(told.status, SimCommandLine::usageError);
        EXPECT_EQ(told.out, "");
        EXPECT_EQ(told.err, "kelvo-sim: " + reason + "\n" + pointer);
    }
    const Told unknown = run({"wobble"});
    EXPECT_EQ(unknown.status, SimCommandLine::usageError);
    EXPECT_THAT(unknown.err, HasSubstr("wobble"));
    EXPECT_THAT(unknown.err, ::testing::EndsWith(pointer));
    EXPECT_EQ(std::count(unknown.err.begin(), unknown.err.end(), '\n'), 2);
}

TEST(SimCommandLine, HelpPrintsEveryVerbOnStandardOutput) {
    const Told help = run({"--help"});
    EXPECT_EQ(help.status, SimCommandLine::success);
    EXPECT_EQ(help.err, "");
    EXPECT_EQ(help.out, SimCommandLine::usage());
}

}  // namespace
}  // namespace kelvo_sim
