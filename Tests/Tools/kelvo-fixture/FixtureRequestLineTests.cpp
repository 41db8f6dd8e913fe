#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "FixtureApplication.h"
#include "FixtureHelp.h"
#include "FixtureQuirks.h"
#include "RequestLine.h"
#include "Support/Base/ChildProcess.h"

namespace kelvo_fixture {
namespace {

using kelvo::FixtureQuirk;
using ::testing::HasSubstr;

std::string problemOf(const std::string& line) {
    const auto read = RequestLine::read(line);
    EXPECT_FALSE(read.request) << line;
    return read.problem;
}

TEST(FixtureRequestLine, ARequestReadsWithEveryField) {
    const auto read = RequestLine::read(
        R"({"after":0.5,"height":4,"op":"open","quirk":"fixedAspect","title":"T","width":3,)"
        R"("window":7,"x":1,"y":2})");
    ASSERT_TRUE(read.request);
    EXPECT_EQ(read.problem, "");
    EXPECT_EQ(*read.request,
              kelvo::FixtureRequest("open", FixtureQuirk::fixedAspect, "T", 0.5, 1, 2, 3, 4, 7));
    // Null stands for a field left out.
    EXPECT_EQ(RequestLine::read(R"({"op":"list","quirk":null})").request,
              kelvo::FixtureRequest::list());
}

TEST(FixtureRequestLine, AMistakeNamesTheFieldThatHoldsIt) {
    EXPECT_EQ(problemOf(R"({"title":"One"})"), R"(the field "op" is missing)");
    EXPECT_EQ(problemOf(R"({"op":"open","qirk":"plain"})"),
              R"(no field is named "qirk" (the fields are after, height, op, quirk, title, )"
              R"(width, window, x, y))");
    EXPECT_EQ(problemOf(R"({"op":"open","quirk":"clampSize"})"),
              R"(the field "quirk" holds "clampSize", which is no quirk (the quirks are plain, )"
              R"(refusesPosition, clampsSize, nonResizable, selfMinimizes, selfHides, )"
              R"(fixedAspect, absentFromAXWindows))");
    EXPECT_EQ(problemOf(R"({"op":"open","quirk":3})"),
              R"(the field "quirk" is wrong: Expected to decode String but found number instead.)");
    EXPECT_EQ(problemOf(R"({"op":"open","x":"ten"})"),
              R"(the field "x" is wrong: Expected to decode Double but found string instead.)");
    EXPECT_THAT(problemOf(R"({"op":"close","window":-1})"),
                HasSubstr(R"(the field "window" is wrong: )"));
    EXPECT_THAT(problemOf(R"({"op":"close","window":4294967296})"),
                HasSubstr(R"(the field "window" is wrong: )"));
    EXPECT_EQ(problemOf(R"({"op":7})"),
              R"(the field "op" is wrong: Expected to decode String but found number instead.)");
    EXPECT_EQ(problemOf("[1]"), "not one JSON object");
    EXPECT_EQ(problemOf("{\"op\":\"ping\"} x"), "not one JSON object");
}

TEST(FixtureHelp, ListsEveryOperationWithItsFieldsAndEveryQuirkWithWhatItDoes) {
    const std::string help = FixtureHelp::text();
    EXPECT_THAT(help, ::testing::StartsWith(FixtureHelp::usage()));
    for (const auto& operation : FixtureApplication::operations()) {
        EXPECT_THAT(help, HasSubstr("  " + std::string(operation.name) + " ")) << operation.name;
        EXPECT_THAT(help, HasSubstr(std::string(operation.what)));
        if (!operation.fields.empty()) {
            EXPECT_THAT(help, HasSubstr("[" + std::string(operation.fields) + "]"));
        }
    }
    for (const auto quirk : kelvo::fixture_quirk::allCases) {
        EXPECT_THAT(help, HasSubstr("  " + kelvo::rawValue(quirk) + " "));
        EXPECT_THAT(help, HasSubstr(FixtureQuirks::what(quirk)));
    }
    EXPECT_THAT(FixtureQuirks::what(FixtureQuirk::clampsSize), HasSubstr("480 by 360"));
    EXPECT_THAT(FixtureQuirks::what(FixtureQuirk::selfHides), HasSubstr("0.5 s later"));
}

TEST(FixtureProgram, HelpIsPrintedWithoutADesktopAndAnUnknownArgumentIsRefused) {
    const std::map<std::string, std::string> nowhere = {{"KELVO_SIM_SOCKET", "/nonexistent"}};
    kelvo::testing::ChildProcess help({KELVO_FIXTURE_PROGRAM, "--help"}, nowhere);
    EXPECT_EQ(help.readAll(), FixtureHelp::text());
    EXPECT_EQ(help.waitForExit(), 0);
    kelvo::testing::ChildProcess refused(
        {"/bin/sh", "-c", "exec \"$0\" --hepl 2>&1", KELVO_FIXTURE_PROGRAM}, nowhere);
    EXPECT_EQ(refused.readAll(), "kelvo-fixture: unknown argument --hepl\n" + FixtureHelp::usage());
    EXPECT_EQ(refused.waitForExit(), 2);
    kelvo::testing::ChildProcess valueless(
        {"/bin/sh", "-c", "exec \"$0\" --name Notes --bundle-id 2>&1", KELVO_FIXTURE_PROGRAM},
        nowhere);
    EXPECT_EQ(valueless.readAll(),
              "kelvo-fixture: --bundle-id needs a value\n" + FixtureHelp::usage());
    EXPECT_EQ(valueless.waitForExit(), 2);
}

}  // namespace
}  // namespace kelvo_fixture
