#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>

#include "Support/Base/ChildProcess.h"
#include "Support/Base/TemporaryFolder.h"
#include "Support/Simulator/DesktopProcess.h"

namespace kelvo {
namespace {

using testing::ChildProcess;
using testing::DesktopProcess;
using ::testing::HasSubstr;
using ::testing::StartsWith;

/// KelvoApp's command line, outside test mode beside a running desktop: it explains itself,
/// and refuses what it does not know, before it touches anything.
class CommandLineTest : public ::testing::Test {
  protected:
    struct Run {
        std::string out;
        std::string err;
        std::optional<int> status;
    };

    /// KelvoApp with the arguments, its two streams read apart.
    Run run(const std::vector<std::string>& arguments,
            std::map<std::string, std::string> extra = {}) {
        return runProgram(KELVO_APP_PROGRAM, arguments, std::move(extra));
    }

    Run runProgram(const std::string& program, const std::vector<std::string>& arguments,
                   std::map<std::string, std::string> extra = {}) {
        auto environment = desktop.environment();
        environment["HOME"] = home.path().string();
        for (auto& [name, value] : extra)
            environment[name] = value;
        Run result;
        const std::pair<const char*, std::string*> streams[] = {{"2>/dev/null", &result.out},
                                                                {"2>&1 >/dev/null", &result.err}};
        for (const auto& [redirection, text] : streams) {
            std::vector<std::string> command = {
                "/bin/sh", "-c", std::string("exec \"$0\" \"$@\" ") + redirection, program};
            command.insert(command.end(), arguments.begin(), arguments.end());
            ChildProcess app(command, environment);
            *text = app.readAll();
            result.status = app.waitForExit();
        }
        return result;
    }

    /// Nothing in the home folder, and no process of Kelvo's on the desktop.
    void expectNothingTouched() {
        EXPECT_TRUE(std::filesystem::is_empty(home.path()));
        EXPECT_EQ(desktop.run({"apps"}).output, "");
    }

    DesktopProcess desktop{KELVO_SIM_PROGRAM};
    testing::TemporaryFolder home;
};

TEST_F(CommandLineTest, HelpAndVersionPrintAndEndWithZero) {
    const auto help = run({"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_THAT(help.out, StartsWith("usage: KelvoApp [--help | --version]\n"));
    EXPECT_THAT(help.out, HasSubstr("Outside test mode:\n  configuration  " +
                                    (home.path() / ".config/kelvo/config.json").string() + "\n"));
    EXPECT_THAT(help.out, HasSubstr((home.path() / "Library/Logs/Kelvo/kelvo.log").string()));
    EXPECT_THAT(help.out, HasSubstr("64 an\nargument it does not know"));
    EXPECT_EQ(run({"-h"}).out, help.out);
    const auto version = run({"--version"});
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out, "Kelvo development\n");
    expectNothingTouched();
}

TEST_F(CommandLineTest, HelpInTestModeNamesTheTestFolder) {
    const auto help = run({"--help"}, {{"KELVO_TEST_CONFIG_DIR", "/somewhere/else"}});
    EXPECT_THAT(help.out, HasSubstr("In test mode (KELVO_TEST_CONFIG_DIR is set):\n"
                                    "  configuration  /somewhere/else/config.json\n"
                                    "  session        /somewhere/else/session.json\n"
                                    "  log            /somewhere/else/kelvo.log\n"));
    EXPECT_FALSE(std::filesystem::exists("/somewhere/else"));
}

TEST_F(CommandLineTest, AnUnknownArgumentPrintsTheUsageOnStandardErrorAndEndsWith64) {
    const auto usage = run({"--help"}).out;
    for (const std::vector<std::string>& arguments :
         {std::vector<std::string>{"--bogus"}, {"--help", "extra"}, {"start"}, {""}}) {
        const auto refused = run(arguments);
        EXPECT_EQ(refused.status, 64);
        EXPECT_EQ(refused.out, "");
        const std::string unknown = arguments.back();
        EXPECT_EQ(refused.err, "kelvo: unknown argument " + unknown + "\n" + usage);
    }
    expectNothingTouched();
}

// The panel client a person tries the desktop's own windows with explains itself the same way.
TEST_F(CommandLineTest, ThePanelClientDescribesItsOptionsAndNamesAWrongArgument) {
    const auto help = runProgram(KELVO_PANEL_PROGRAM, {"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_EQ(help.err, "");
    EXPECT_THAT(help.out, StartsWith("usage: kelvo-panel [--hosted] | --help\n"));
    EXPECT_THAT(help.out, HasSubstr("  --hosted  "));
    EXPECT_THAT(help.out, HasSubstr("\"Panel Client Settings\""));
    for (const auto& [arguments, reason] :
         std::vector<std::pair<std::vector<std::string>, std::string>>{
             {{"--hostd"}, "unknown argument --hostd"},
             {{"--hosted", "extra"}, "unknown argument extra"},
             {{"--hosted", "--hosted"}, "--hosted is given twice"}}) {
        const auto refused = runProgram(KELVO_PANEL_PROGRAM, arguments);
        EXPECT_EQ(refused.status, 2);
        EXPECT_EQ(refused.out, "");
        EXPECT_EQ(refused.err,
                  "kelvo-panel: " + reason + "\nusage: kelvo-panel [--hosted] | --help\n");
    }
    EXPECT_EQ(desktop.run({"apps"}).output, "");
}

}  // namespace
}  // namespace kelvo
