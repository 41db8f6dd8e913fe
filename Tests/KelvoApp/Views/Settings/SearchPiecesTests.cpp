// The settings search's pieces: the field typed into on an in-process desktop (its keys and
// editing chords), a result row as laid out, and the anchor's highlight.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "KelvoApp/Views/Palette.h"
#include "KelvoApp/Views/Settings/PaletteField.h"
#include "KelvoApp/Views/Settings/PaletteRow.h"
#include "KelvoApp/Views/Settings/SettingAnchor.h"
#include "KelvoApp/Views/Settings/SettingsChrome.h"
#include "Platform/AppKit/NSApplication.h"
#include "Platform/AppKit/NSEvent.h"
#include "Platform/SwiftUI/NSHostingView.h"
#include "Platform/SwiftUI/Text.h"
#include "Platform/SwiftUI/ViewGraph.h"
#include "Support/KelvoApp/SettingsModelFixture.h"
#include "Support/Platform/LaidOutView.h"

namespace kelvo {
namespace {

using namespace SwiftUI;

constexpr std::uint16_t returnKey = 36;
constexpr std::uint16_t tabKey = 48;
constexpr std::uint16_t escapeKey = 53;
constexpr std::uint16_t downArrow = 125;
constexpr std::uint16_t upArrow = 126;
constexpr std::uint16_t keyA = 0;
constexpr std::uint16_t keyZ = 6;
constexpr std::uint64_t command = NSEventModifierFlagCommand;
constexpr std::uint64_t shift = NSEventModifierFlagShift;
constexpr std::uint64_t control = NSEventModifierFlagControl;
constexpr std::uint64_t capsLock = NSEventModifierFlagCapsLock;

class PaletteFieldTest : public SettingsModelFixture {
  protected:
    PaletteFieldTest() {
        host = std::make_shared<NSHostingView>(
            [this] { return PaletteField(claimsFocus, model()).body().frame(360, 30); });
        host->observe(model());
        window = std::make_shared<NSWindow>(CGRect(100, 100, 360, 30), NSWindowStyleMaskTitled,
                                            NSBackingStoreBuffered, false);
        window->setContentView(host);
        NSApplication::sharedApplication().activateIgnoringOtherApps(true);
        window->makeKeyAndOrderFront(nullptr);
        host->layoutTree();
        settle();
    }
    ~PaletteFieldTest() override {
        window->close();
        window.reset();
        host.reset();
        settle();
    }

    SearchTextField& field() {
        const LayoutNode* node =
            host->layoutTree().find([](const LayoutNode& n) { return n.hostedView != nullptr; });
        if (!node) throw std::runtime_error("no field\n" + host->layoutTree().describe());
        return dynamic_cast<SearchTextField&>(*node->hostedView);
    }
    void key(std::uint16_t keyCode, std::uint64_t flags = 0) {
        desktop->pressKey(keyCode, flags);
        settle();
    }
    void type(const std::string& text) {
        desktop->typeText(text);
        settle();
    }

    bool claimsFocus = true;
    std::shared_ptr<NSHostingView> host;
    std::shared_ptr<NSWindow> window;
};

TEST_F(PaletteFieldTest, TheFieldLooksAsTheSearchBarAsksAndOnlyAnOpenPaletteTakesTheFocus) {
    SearchTextField& shown = field();
    EXPECT_EQ(shown.placeholderString(), "Search settings…");
    EXPECT_EQ(shown.font()->pointSize(), 15);
    EXPECT_FALSE(shown.isBordered());
    EXPECT_FALSE(shown.drawsBackground());
    EXPECT_TRUE(shown.usesSingleLineMode());

    const auto refresh = [&] {
        model().search.modify([](SettingsSearch&) {});
        settle();
    };
    window->makeFirstResponder(nullptr);
    claimsFocus = false;
    refresh();
    EXPECT_EQ(field().currentEditor(), nullptr);
    claimsFocus = true;
    refresh();
    ASSERT_NE(field().currentEditor(), nullptr);
    EXPECT_EQ(window->firstResponder(), field().currentEditor());
}

TEST_F(PaletteFieldTest, TypingRanksOnEveryKeyAndTheKeysDriveTheList) {
    type("ga");
    EXPECT_EQ(model().search->query(), "ga");
    EXPECT_TRUE(model().searchOpen.get());
    type("p");
    EXPECT_EQ(model().search->query(), "gap");
    const std::size_t matches = model().search->matchPositions().size();
    ASSERT_GE(matches, 2U);
    EXPECT_EQ(model().search->selection(), 0);

    key(upArrow);
    EXPECT_EQ(model().search->selection(), 0);
    key(tabKey);
    EXPECT_EQ(model().search->selection(), 1);
    key(tabKey, shift);
    EXPECT_EQ(model().search->selection(), 0);
    EXPECT_EQ(field().stringValue(), "gap") << "Tab moves the selection, not the focus";
    key(downArrow);
    EXPECT_EQ(model().search->selection(), 1);
    for (std::size_t i = 0; i < matches + 2; ++i)
        key(downArrow);
    EXPECT_EQ(model().search->selection(), static_cast<int>(matches) - 1);

    key(escapeKey);
    EXPECT_FALSE(model().searchOpen.get());
    EXPECT_EQ(model().search->query(), "");
    settle();
    EXPECT_EQ(field().stringValue(), "");
}

TEST_F(PaletteFieldTest, ReturnOpensTheSelectedMatchButNothingWithoutMatches) {
    type("qqqqzzzz");
    key(returnKey);
    EXPECT_TRUE(model().searchOpen.get());
    EXPECT_EQ(model().search->query(), "qqqqzzzz");

    model().typeSearch("");
    settle();
    type("gap");
    ASSERT_GE(model().search->matches().size(), 2U);
    const SettingEntry second = model().search->matches()[1];
    key(downArrow);
    key(returnKey);
    EXPECT_FALSE(model().searchOpen.get());
    EXPECT_EQ(model().section(), second.tab);
    EXPECT_EQ(model().flashing.get(), std::optional<std::string>(second.id));
}

TEST_F(PaletteFieldTest, TheEditingChordsWorkWithoutAnEditMenu) {
    type("gap");
    key(keyZ, command);
    EXPECT_NE(field().stringValue(), "gap");
    EXPECT_EQ(model().search->query(), field().stringValue());
    key(keyZ, command | shift);
    EXPECT_EQ(field().stringValue(), "gap");

    NSTextView* editor = field().currentEditor();
    ASSERT_NE(editor, nullptr);
    editor->setSelectedRange(NSRange{3, 0});
    key(keyA, command | control);
    EXPECT_EQ(editor->selectedRange().length, 0U);
    key(keyA, command | capsLock);
    EXPECT_EQ(editor->selectedRange().length, 0U);
    key(keyA, command);
    EXPECT_EQ(editor->selectedRange().length, 3U);
}

// ⌘ alone, or with ⇧ for redo, is the editing chord; another modifier more (⌥, ⌃, or a flag
// such as the keypad's, Help or Fn) passes the key on, and the key without ⌘ is typed. The
// device bits below the modifiers are no modifier.
TEST_F(PaletteFieldTest, AnEditingChordWithAModifierMoreOrFewerIsNotTaken) {
    constexpr std::uint64_t option = NSEventModifierFlagOption;
    constexpr std::uint64_t deviceBits = 0x108;
    type("gap");
    NSTextView* editor = field().currentEditor();
    ASSERT_NE(editor, nullptr);
    for (const std::uint64_t flags :
         {command | option, command | shift, command | NSEventModifierFlagNumericPad,
          command | NSEventModifierFlagHelp, command | NSEventModifierFlagFunction}) {
        editor->setSelectedRange(NSRange{3, 0});
        key(keyA, flags);
        EXPECT_EQ(editor->selectedRange().length, 0U) << flags;
        EXPECT_EQ(field().stringValue(), "gap") << flags;
    }
    key(keyA, command | deviceBits);
    EXPECT_EQ(editor->selectedRange().length, 3U);
    editor->setSelectedRange(NSRange{3, 0});
    key(keyA);
    EXPECT_EQ(field().stringValue(), "gapa");
    EXPECT_EQ(model().search->query(), "gapa");

    for (const std::uint64_t flags : {command | option, command | control, control}) {
        key(keyZ, flags);
        EXPECT_EQ(model().search->query(), "gapa") << flags;
    }
    key(keyZ, command | deviceBits);
    EXPECT_NE(model().search->query(), "gapa");
}

TEST_F(PaletteFieldTest, TheKeypadsEnterOpensTheSelectedMatchAsReturnDoes) {
    constexpr std::uint16_t keypadEnter = 76;
    type("gap");
    ASSERT_GE(model().search->matches().size(), 2U);
    const SettingEntry second = model().search->matches()[1];
    key(downArrow);
    key(keypadEnter, NSEventModifierFlagNumericPad);
    EXPECT_FALSE(model().searchOpen.get());
    EXPECT_EQ(model().flashing.get(), std::optional<std::string>(second.id));
}

SettingEntry entry(std::string title, std::string card) {
    SettingEntry made;
    made.id = "floatRules";
    made.tab = SettingsTab::tiling;
    made.card = std::move(card);
    made.title = std::move(title);
    made.detail = "Space between tiled windows.";
    return made;
}

TEST(PaletteRowTest, ALongTitleIsCutButTheLocationChipNever) {
    const std::string card = "Windows that float instead of tiling";
    const testing::LaidOutView row(
        PaletteRow(entry("A title long enough that it cannot possibly fit beside its chip", card),
                   false)
            .body(),
        CGSize(320, 100));
    ASSERT_NE(row.tree().findKind(NodeKind::frame), nullptr);
    EXPECT_EQ(row.tree().findKind(NodeKind::frame)->frame, CGRect(0, 29, 320, 42));
    EXPECT_NE(row.tree().findText("Tiling › " + card), nullptr) << row.tree().describe();
    EXPECT_NE(row.tree().find([](const LayoutNode& node) {
        return node.kind == NodeKind::text && node.text.starts_with("A title") &&
               node.text.ends_with("…");
    }),
              nullptr);
}

TEST(PaletteRowTest, TheSelectedRowsTitleAndChipStandOut) {
    for (const bool selected : {false, true}) {
        const testing::LaidOutView row(PaletteRow(entry("Inner gap", "Gaps"), selected).body(),
                                       CGSize(320, 42));
        EXPECT_EQ(row.tree().findText("Inner gap")->color,
                  SwiftUI::Color::white().opacity(selected ? 1.0 : 0.8));
        EXPECT_EQ(row.tree().findText("Tiling › Gaps")->color,
                  SwiftUI::Color::white().opacity(selected ? 0.95 : 0.62));
        EXPECT_TRUE(row.tree().find([&](const LayoutNode& node) {
            return node.color == Palette::accent().opacity(selected ? 0.5 : 0.26);
        }));
    }
}

// The highlight following the selection is the settings view's test, in pixels.
class SearchDropDownTest : public SettingsModelFixture {};

TEST_F(SearchDropDownTest, AClickOnAFoundRowOpensThatRowNotTheSelectedOne) {
    SwiftUI::ViewGraph graph([this] { return SearchBar{model()}.body(); });
    model().typeSearch("gap");
    model().search.modify([](SettingsSearch& search) { search.move(1); });
    settle();
    graph.layout(CGSize(400, 500));
    const SettingEntry first = model().search->matches().front();
    const LayoutNode* row = graph.tree().findIdentifier("found." + first.id);
    ASSERT_TRUE(row);
    ASSERT_TRUE(graph.click({row->frame.midX(), row->frame.midY()}));
    EXPECT_FALSE(model().searchOpen.get());
    EXPECT_EQ(model().section(), first.tab);
    EXPECT_EQ(model().flashing.get(), std::optional<std::string>(first.id));
}

TEST(SettingAnchorTest, OnlyTheFlashedRowShowsItsPlate) {
    const auto plateOpacity = [](const std::optional<std::string>& flashed) {
        const testing::LaidOutView anchored(
            flashedSetting(settingAnchor(Text("Inner gap"), "innerGap"), flashed), CGSize(300, 40));
        EXPECT_NE(anchored.tree().findIdentifier("innerGap"), nullptr);
        const LayoutNode* plate = anchored.tree().find(
            [](const LayoutNode& node) { return node.color == Palette::accent().opacity(0.2); });
        return plate ? plate->opacity : -1.0;
    };
    EXPECT_EQ(plateOpacity(std::string("innerGap")), 1.0);
    EXPECT_EQ(plateOpacity(std::string("outerGap")), 0.0);
    EXPECT_EQ(plateOpacity(std::nullopt), 0.0);
}

}  // namespace
}  // namespace kelvo
