#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "ScreenshotProgram.h"
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
        {{"serve", "--display", "12x"},
         "--display 12x: the height is missing (a display is WxH, as 1440x900)"},
        {{"serve", "--display", "widex900"},
         "--display widex900: the width is not a number: wide (a display is WxH, as 1440x900)"},
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

// The drawing program beside kelvo-sim, run by itself, says what it is rather than passing for
// kelvo-sim: its help names it and the one verb it draws; another verb is sent to kelvo-sim.
TEST(ScreenshotProgram, RunByItselfItSaysWhatItIsAndSendsOtherVerbsToKelvoSim) {
    std::ostringstream out, err;
    EXPECT_EQ(ScreenshotProgram::answerAlone({"--help"}, out, err), 0);
    EXPECT_EQ(err.str(), "");
    EXPECT_THAT(out.str(), ::testing::StartsWith("usage: kelvo-sim screenshot FILE.png"));
    EXPECT_THAT(out.str(), HasSubstr("kelvo-sim-screenshot draws the pictures of kelvo-sim's"));
    EXPECT_THAT(out.str(), ::testing::Not(HasSubstr("kelvo-sim serve")));

    std::ostringstream other, refused;
    EXPECT_EQ(ScreenshotProgram::answerAlone({"windows"}, other, refused), 2);
    EXPECT_EQ(other.str(), "");
    EXPECT_THAT(refused.str(), ::testing::StartsWith("kelvo-sim-screenshot: only draws kelvo-sim's "
                                                     "screenshot verb; run kelvo-sim windows"));
}

}  // namespace
}  // namespace kelvo_sim
