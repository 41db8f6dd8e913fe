#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <csignal>

#include "KelvoCore/JSON/JSONDecoder.h"
#include "KelvoCore/Wire/KelvoTestReply.h"
#include "KelvoCore/Wire/KelvoTestRequest.h"
#include "KelvoCore/Wire/WireLine.h"
#include "Support/ChildProcess.h"
#include "Support/DesktopProcess.h"
#include "Support/TemporaryFolder.h"

namespace kelvo {
namespace {

using testing::ChildProcess;
using testing::DesktopProcess;
using testing::eventually;

/// KelvoApp as a process in test mode against a desktop server, with its standard error
/// joined to its output when a test reads it.
class KelvoAppProcessTest : public ::testing::Test {
  protected:
    std::unique_ptr<ChildProcess> launchApp(bool joinError = false,
                                            std::map<std::string, std::string> extra = {}) {
        auto environment = desktop->environment();
        environment["KELVO_TEST_CONFIG_DIR"] = folder.path().string();
        for (auto& [k, v] : extra)
            environment[k] = v;
        std::vector<std::string> arguments = {KELVO_APP_PROGRAM};
        if (joinError) arguments = {"/bin/sh", "-c", "exec \"$0\" 2>&1", KELVO_APP_PROGRAM};
        return std::make_unique<ChildProcess>(arguments, environment);
    }
    std::optional<KelvoTestReply> ask(ChildProcess& app, const std::string& line) {
        app.writeLine(line);
        const auto reply = app.readLine();
        if (!reply) return std::nullopt;
        return WireLine::decode<KelvoTestReply>(*reply);
    }
    std::unique_ptr<DesktopProcess> desktop = std::make_unique<DesktopProcess>(KELVO_SIM_PROGRAM);
    testing::TemporaryFolder folder;
};

TEST_F(KelvoAppProcessTest, PingAnswersOnceStartedAndTheFailuresAreExact) {
    auto app = launchApp();
    app->writeLine(R"({"op":"ping"})");
    const auto pong = app->readLine();
    ASSERT_TRUE(pong);
    EXPECT_EQ(*pong, R"({"ok":true,"pid":)" + std::to_string(app->pid()) + "}");
    app->writeLine("nonsense");
    EXPECT_EQ(app->readLine(), R"({"error":"unreadable request: nonsense","ok":false})");
    app->writeLine(R"({"op":"command","command":{"name":"fly"}})");
    EXPECT_EQ(app->readLine(), R"({"error":"no such command: fly","ok":false})");
    app->writeLine(R"({"op":"dance"})");
    EXPECT_EQ(app->readLine(), R"({"error":"unknown op dance","ok":false})");
    app->writeLine(R"({"op":"command","command":{"name":"switchTo","desktop":2}})");
    EXPECT_EQ(app->readLine(), R"({"ok":true})");
    const auto state = ask(*app, R"({"op":"state"})");
    ASSERT_TRUE(state);
    EXPECT_EQ(state->activeDesktop, 2);
    app->writeLine(R"({"op":"quit"})");
    EXPECT_EQ(app->readLine(), R"({"ok":true})");
    EXPECT_EQ(app->waitForExit(), 0);
}

TEST_F(KelvoAppProcessTest, TheEndOfInputTerminatesWithoutAReply) {
    auto app = launchApp();
    ASSERT_TRUE(ask(*app, R"({"op":"ping"})"));
    app->closeInput();
    EXPECT_EQ(app->waitForExit(), 0);
    EXPECT_EQ(app->readAll(), "");
}

TEST_F(KelvoAppProcessTest, KeysPressedOnTheDesktopReachTheProgram) {
    auto app = launchApp();
    ASSERT_TRUE(ask(*app, R"({"op":"ping"})"));
    EXPECT_EQ(desktop->run({"key", "alt+2"}).status, 0);
    EXPECT_TRUE(eventually([&] {
        const auto state = ask(*app, R"({"op":"state"})");
        return state && state->activeDesktop == 2;
    }));
}

TEST_F(KelvoAppProcessTest, SigtermExitsWithZero) {
    auto app = launchApp();
    ASSERT_TRUE(ask(*app, R"({"op":"ping"})"));
    app->signal(SIGTERM);
    EXPECT_EQ(app->waitForExit(), 0);
}

TEST_F(KelvoAppProcessTest, ASecondTestModeInstanceIsRefused) {
    auto first = launchApp();
    ASSERT_TRUE(ask(*first, R"({"op":"ping"})"));
    auto second = launchApp(true);
    const std::string output = second->readAll();
    EXPECT_EQ(second->waitForExit(), 3);
    EXPECT_THAT(output,
                ::testing::StartsWith("kelvo: test mode refused — another Kelvo is running: "));
    EXPECT_THAT(output, ::testing::HasSubstr("(pid " + std::to_string(first->pid()) + ")\n"));
}

TEST_F(KelvoAppProcessTest, AMissingDesktopEndsWithStatusFour) {
    auto app = launchApp(true, {{"KELVO_SIM_SOCKET", (folder / "nothing-here").string()}});
    const std::string output = app->readAll();
    EXPECT_EQ(app->waitForExit(), 4);
    EXPECT_THAT(output, ::testing::StartsWith("kelvo: no desktop to manage: "));
}

TEST(KelvoAppUntrustedTest, AnUntrustedDesktopEndsWithStatusOne) {
    DesktopProcess desktop(KELVO_SIM_PROGRAM, {"--untrusted"});
    testing::TemporaryFolder folder;
    auto environment = desktop.environment();
    environment["KELVO_TEST_CONFIG_DIR"] = folder.path().string();
    ChildProcess app({KELVO_APP_PROGRAM}, environment);
    EXPECT_EQ(app.readAll(), "Accessibility permission denied; quitting.\n");
    EXPECT_EQ(app.waitForExit(), 1);
    EXPECT_FALSE(std::filesystem::exists(folder / "kelvo.log"));
}

}  // namespace
}  // namespace kelvo
