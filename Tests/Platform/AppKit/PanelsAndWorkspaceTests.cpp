#include <gtest/gtest.h>

#include <cmath>

#include "Platform/AppKit/NSColorPanel.h"
#include "Platform/AppKit/NSPasteboard.h"
#include "Platform/AppKit/NSSavePanel.h"
#include "Platform/AppKit/NSWindow.h"
#include "Platform/AppKit/NSWorkspace.h"
#include "Simulator/SharedConnection.h"
#include "Support/Platform/DesktopFixture.h"

namespace kelvo {
namespace {

class PanelsTest : public DesktopFixture {
  protected:
    static std::shared_ptr<NSSavePanel> exportPanel() {
        auto panel = NSSavePanel::savePanel();
        panel->title = "Export Kelvo settings";
        panel->nameFieldStringValue = "kelvo-settings.json";
        panel->allowedContentTypes = {UTType::json()};
        panel->canCreateDirectories = true;
        return panel;
    }
    static std::shared_ptr<NSOpenPanel> importPanel() {
        auto panel = NSOpenPanel::openPanel();
        panel->title = "Import Kelvo settings";
        panel->allowedContentTypes = {UTType::json()};
        return panel;
    }
};

TEST_F(PanelsTest, ASavePanelGetsTheScriptedPathWithItsTypesExtension) {
    desktop->answerFilePanels({"/tmp/out/settings.json", "/tmp/out/named", "cancel"});
    auto panel = exportPanel();
    EXPECT_EQ(panel->runModal(), NSModalResponseOK);
    EXPECT_EQ(panel->URL(), "/tmp/out/settings.json");
    EXPECT_EQ(panel->runModal(), NSModalResponseOK);
    EXPECT_EQ(panel->URL(), "/tmp/out/named.json");
    EXPECT_EQ(panel->runModal(), NSModalResponseCancel);
    EXPECT_EQ(panel->URL(), std::nullopt);
    // Nothing scripted: the person cancels.
    EXPECT_EQ(panel->runModal(), NSModalResponseCancel);

    const auto shown = desktop->filePanels();
    ASSERT_EQ(shown.size(), 4u);
    EXPECT_EQ(shown[0].owner, ownPid);
    EXPECT_EQ(shown[0].panel.kind, sim::FilePanelSpec::Kind::save);
    EXPECT_EQ(shown[0].panel.title, "Export Kelvo settings");
    EXPECT_EQ(shown[0].panel.nameFieldStringValue, "kelvo-settings.json");
    EXPECT_EQ(shown[0].panel.allowedContentTypes,
              (std::vector<sim::ContentType>{{"public.json", "json"}}));
    EXPECT_TRUE(shown[0].panel.canCreateDirectories);
    EXPECT_EQ(shown[0].panel.sheetOf, std::nullopt);
    EXPECT_EQ(shown[1].answer, "/tmp/out/named.json");
    EXPECT_EQ(shown[2].answer, std::nullopt);
}

TEST_F(PanelsTest, AnOpenPanelCannotChooseAFileOfAnotherType) {
    desktop->answerFilePanels({"/tmp/notes.txt", "/tmp/Settings.JSON"});
    auto panel = importPanel();
    EXPECT_EQ(panel->runModal(), NSModalResponseCancel);
    EXPECT_TRUE(panel->URLs().empty());
    EXPECT_EQ(panel->runModal(), NSModalResponseOK);
    EXPECT_EQ(panel->URLs(), (std::vector<std::string>{"/tmp/Settings.JSON"}));
    EXPECT_EQ(desktop->filePanels()[1].panel.kind, sim::FilePanelSpec::Kind::open);
    EXPECT_FALSE(desktop->filePanels()[1].panel.allowsMultipleSelection);
}

TEST_F(PanelsTest, ASheetAnswersOnTheMainQueueAfterItBegan) {
    desktop->answerFilePanels({"/tmp/a.json"});
    NSWindow window(CGRect(100, 100, 696, 600), NSWindowStyleMaskTitled, NSBackingStoreBuffered,
                    false);
    auto panel = exportPanel();
    std::vector<NSModalResponse> responses;
    panel->beginSheetModalForWindow(window, [&](NSModalResponse r) { responses.push_back(r); });
    EXPECT_TRUE(responses.empty());
    settle();
    EXPECT_EQ(responses, (std::vector<NSModalResponse>{NSModalResponseOK}));
    EXPECT_EQ(desktop->filePanels().front().panel.sheetOf,
              static_cast<sim::WindowNumber>(window.windowNumber()));
}

TEST_F(PanelsTest, AColourPickedOnTheDesktopReachesThePanelsActionOnTheNextTurn) {
    desktop->answerColorPanels({"3a7bff"});
    NSColorPanel& panel = NSColorPanel::sharedColorPanel();
    panel.setColor(NSColor::colorWithSRGBRed(1, 0.5, 0, 1));
    std::vector<std::string> picks;
    panel.setAction(
        [&](NSColorPanel& sender) { picks.push_back(NSColorPanel::hexText(*sender.color())); });
    panel.orderFront(nullptr);
    EXPECT_TRUE(panel.isVisible());
    EXPECT_TRUE(picks.empty());
    settle();
    EXPECT_EQ(picks, (std::vector<std::string>{"#3A7BFF"}));
    EXPECT_FALSE(panel.isVisible());
    // Nothing scripted: the panel closes without a pick.
    panel.orderFront(nullptr);
    settle();
    EXPECT_EQ(picks.size(), 1u);
    EXPECT_FALSE(panel.isVisible());
    panel.setAction({});

    const auto shown = desktop->colorPanels();
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[0], (sim::ColorPanelRecord{ownPid, {"#FF8000", false}, "#3A7BFF"}));
    EXPECT_EQ(shown[1].panel.color, "#3A7BFF");
    EXPECT_EQ(shown[1].picked, std::nullopt);
}

TEST(ColorPanelText, HexTextRoundsEachComponentAndRefusesWhatIsNoColour) {
    EXPECT_EQ(NSColorPanel::hexText(*NSColor::colorWithSRGBRed(0.043, 0.055, 0.086, 1)), "#0B0E16");
    EXPECT_EQ(NSColorPanel::hexText(*NSColor::colorWithSRGBRed(-1, 2, std::nan(""), 1)), "#00FF00");
    EXPECT_EQ(NSColorPanel::colorOfHexText("#00ff00")->greenComponent(), 1);
    EXPECT_EQ(NSColorPanel::colorOfHexText("00FF00"), nullptr);
    EXPECT_EQ(NSColorPanel::colorOfHexText("#00FG00"), nullptr);
    EXPECT_EQ(sim::Desktop::normalizedColor("#abcdef"), "#ABCDEF");
    EXPECT_EQ(sim::Desktop::normalizedColor("abc"), std::nullopt);
}

using WorkspaceURLTest = DesktopFixture;

TEST_F(WorkspaceURLTest, OpenedAndRevealedURLsAreRecordedByTheDesktop) {
    NSWorkspace& workspace = NSWorkspace::sharedWorkspace();
    EXPECT_TRUE(
        workspace.openURL("x-apple.systempreferences:com.apple.LoginItems-Settings.extension"));
    EXPECT_FALSE(workspace.openURL("no scheme"));
    workspace.activateFileViewerSelectingURLs({"/Users/me/Library/Kelvo/kelvo log.txt"});
    EXPECT_EQ(desktop->openedURLs(),
              (std::vector<std::string>{
                  "x-apple.systempreferences:com.apple.LoginItems-Settings.extension",
                  "file:///Users/me/Library/Kelvo/kelvo%20log.txt"}));
}

TEST_F(WorkspaceURLTest, ReduceMotionIsTheDesktopsSettingReadAnew) {
    EXPECT_FALSE(NSWorkspace::sharedWorkspace().accessibilityDisplayShouldReduceMotion());
    desktop->setReduceMotion(true);
    EXPECT_TRUE(NSWorkspace::sharedWorkspace().accessibilityDisplayShouldReduceMotion());
}

TEST(NoDesktop, PanelsCancelAndThePasteboardIsEmptyWithoutADesktop) {
    sim::SharedConnection::install(nullptr);
    auto panel = NSSavePanel::savePanel();
    EXPECT_EQ(panel->runModal(), NSModalResponseCancel);
    EXPECT_FALSE(NSPasteboard::generalPasteboard().setString("x", NSPasteboardTypeString));
    EXPECT_EQ(NSPasteboard::generalPasteboard().stringForType(NSPasteboardTypeString),
              std::nullopt);
    EXPECT_FALSE(NSWorkspace::sharedWorkspace().openURL("https://example.com"));
}

TEST_F(WorkspaceURLTest, ThePasteboardHoldsTextOnlyAndIsEmptiedBeforeEachWrite) {
    NSPasteboard& pasteboard = NSPasteboard::generalPasteboard();
    const auto first = pasteboard.clearContents();
    EXPECT_TRUE(pasteboard.setString("kept", NSPasteboardTypeString));
    EXPECT_FALSE(pasteboard.setString("x", "public.png"));
    EXPECT_EQ(pasteboard.stringForType("public.png"), std::nullopt);
    EXPECT_EQ(pasteboard.stringForType(NSPasteboardTypeString), "kept");
    EXPECT_EQ(pasteboard.clearContents(), first + 1);
    EXPECT_EQ(pasteboard.stringForType(NSPasteboardTypeString), std::nullopt);
}

}  // namespace
}  // namespace kelvo
