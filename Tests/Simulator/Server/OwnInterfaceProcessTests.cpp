#include <gtest/gtest.h>

#include "Simulator/Server/DesktopMessages.h"
#include "Support/Simulator/DesktopProcess.h"
#include "Support/Simulator/Manager.h"

namespace sim::testing {
namespace {

using kelvo::JSONNode;
using kelvo::JSONValue;

class OwnInterfaceProcessTest : public ::testing::Test {
  protected:
    DesktopProcess desktop{KELVO_SIM_PROGRAM, {"--display", "1440x900"}};
};

TEST_F(OwnInterfaceProcessTest, FilePanelsOfAClientAreAnsweredAsTheCommandLineScripted) {
    Manager manager(desktop);
    ASSERT_EQ(desktop.run({"answer-panels", "/tmp/out/kelvo", "cancel"}).status, 0);
    FilePanelSpec save;
    save.title = "Export Kelvo settings";
    save.nameFieldStringValue = "kelvo-settings.json";
    save.allowedContentTypes = {{"public.json", "json"}};
    save.canCreateDirectories = true;
    save.sheetOf = 104;
    EXPECT_EQ(manager.connection->runFilePanel(save), "/tmp/out/kelvo.json");
    FilePanelSpec open;
    open.kind = FilePanelSpec::Kind::open;
    EXPECT_EQ(manager.connection->runFilePanel(open), std::nullopt);
    EXPECT_EQ(manager.connection->runFilePanel(open), std::nullopt);

    const auto lines = desktop.lines({"panels"});
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0],
              R"({"answer":"\/tmp\/out\/kelvo.json","owner":)" + std::to_string(manager.pid) +
                  R"(,"panel":{"allowedContentTypes":[{"extension":"json","identifier":)"
                  R"("public.json"}],"allowsMultipleSelection":false,"canChooseDirectories":)"
                  R"(false,"canChooseFiles":true,"canCreateDirectories":true,"kind":"save",)"
                  R"("nameFieldStringValue":"kelvo-settings.json","sheetOf":104,"title":)"
                  R"("Export Kelvo settings"}})");
    EXPECT_EQ(JSONNode(JSONNode::parse(lines[1])).decode<FilePanelRecord>(),
              (FilePanelRecord{manager.pid, open, std::nullopt}));
    EXPECT_EQ(JSONNode::parse(lines[2])["answer"], "cancel");
}

TEST_F(OwnInterfaceProcessTest, ColourPanelsGetTheScriptedPicksInOrder) {
    Manager manager(desktop);
    ASSERT_EQ(desktop.run({"answer-colours", "#3a7bff", "00FF00"}).status, 0);
    EXPECT_EQ(manager.connection->showColorPanel({"#FFFFFF", false}), "#3A7BFF");
    EXPECT_EQ(manager.connection->showColorPanel({"#3A7BFF", false}), "#00FF00");
    EXPECT_EQ(manager.connection->showColorPanel({"#00FF00", true}), std::nullopt);
    const auto shown = desktop.lines({"colours"});
    ASSERT_EQ(shown.size(), 3u);
    EXPECT_EQ(JSONNode::parse(shown[0]),
              (JSONValue{{"owner", manager.pid},
                         {"panel", {{"color", "#FFFFFF"}, {"showsAlpha", false}}},
                         {"picked", "#3A7BFF"}}));
    EXPECT_FALSE(JSONNode::parse(shown[2]).contains("picked"));
}

TEST_F(OwnInterfaceProcessTest, TheOnePasteboardIsSharedByEveryClient) {
    Manager copier(desktop);
    Manager paster(desktop);
    EXPECT_EQ(paster.connection->pasteboardString(), std::nullopt);
    copier.connection->clearPasteboard();
    EXPECT_TRUE(copier.connection->setPasteboardString("from the copier"));
    EXPECT_EQ(paster.connection->pasteboardString(), "from the copier");
}

TEST_F(OwnInterfaceProcessTest, OpenedURLsAreListedOneALineAndReduceMotionIsASetting) {
    Manager manager(desktop);
    EXPECT_TRUE(manager.connection->openURL(
        "x-apple.systempreferences:com.apple.preference.universalaccess?Seeing_Display"));
    manager.connection->activateFileViewer({"/Users/me/kelvo.json"});
    EXPECT_EQ(desktop.lines({"opened"}),
              (std::vector<std::string>{
                  "x-apple.systempreferences:com.apple.preference.universalaccess?Seeing_Display",
                  "file:///Users/me/kelvo.json"}));

    EXPECT_FALSE(manager.connection->reduceMotion());
    ASSERT_EQ(desktop.run({"setting", "reduce-motion", "yes"}).status, 0);
    EXPECT_TRUE(manager.connection->reduceMotion());
    ASSERT_EQ(desktop.run({"setting", "reduce-motion", "no"}).status, 0);
    EXPECT_FALSE(manager.connection->reduceMotion());
}

TEST_F(OwnInterfaceProcessTest, MistakesInTheVerbsAreToldWithTheirStatus) {
    EXPECT_EQ(desktop.run({"answer-panels"}).status, 2);
    EXPECT_EQ(desktop.run({"answer-panels", "relative/path.json"}).status, 2);
    EXPECT_EQ(desktop.run({"answer-colours"}).status, 2);
    EXPECT_EQ(desktop.run({"answer-colours", "#12345"}).status, 2);
    EXPECT_EQ(desktop.run({"answer-colours", "red"}).status, 2);
    EXPECT_EQ(desktop.run({"panels", "all"}).status, 2);
    EXPECT_EQ(desktop.run({"opened", "now"}).status, 2);
    EXPECT_EQ(desktop.run({"setting", "reduce-motion"}).status, 2);
    EXPECT_EQ(desktop.run({"setting", "reduce-motion", "maybe"}).status, 2);
    EXPECT_EQ(desktop.run({"setting", "dark-mode", "yes"}).status, 2);
    // Nothing was scripted or shown by the mistakes.
    EXPECT_TRUE(desktop.lines({"panels"}).empty());
    EXPECT_TRUE(desktop.lines({"colours"}).empty());
}

}  // namespace
}  // namespace sim::testing
