#include <gtest/gtest.h>

#include "Base/JSON/JSONWriter.h"
#include "KelvoCore/Keys/ShortcutOverrides.h"
#include "Support/Base/DecodeText.h"

namespace kelvo {
namespace {

using testing::decodeText;

TEST(Shortcut, NamesTitlesAndCommands) {
    ASSERT_EQ(shortcut::allCases.size(), 23u);
    struct Row {
        Shortcut shortcut;
        const char* raw;
        const char* title;
        Command command;
    };
    const Row rows[] = {
        {Shortcut::focusLeft, "focusLeft", "Focus left", Command::focus(Direction::left)},
        {Shortcut::moveUp, "moveUp", "Move the window up", Command::moveWindow(Direction::up)},
        {Shortcut::resizeRight, "resizeRight", "Move the edge right",
         Command::resize(Direction::right)},
        {Shortcut::zoom, "zoom", "Fill the desktop", Command::toggleZoom()},
        {Shortcut::float_, "float", "Float the window", Command::toggleFloat()},
        {Shortcut::launcher, "launcher", "Applications", Command::launcher()},
        {Shortcut::layoutMode, "layoutMode", "Switch this desktop's layout",
         Command::toggleLayoutMode()},
        {Shortcut::cheatsheet, "cheatsheet", "Show every shortcut", Command::cheatsheet()},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(rawValue(row.shortcut), row.raw);
        EXPECT_EQ(title(row.shortcut), row.title);
        EXPECT_EQ(command(row.shortcut), row.command);
    }
    for (Shortcut s : shortcut::allCases) {
        EXPECT_EQ(shortcutFromRawValue(rawValue(s)), s);
        EXPECT_NE(command(s).kind(), Command::Kind::closeWindow);
    }
    EXPECT_EQ(shortcutFromRawValue("Float"), std::nullopt);
    EXPECT_EQ(shortcutFromRawValue("float_"), std::nullopt);
}

TEST(ShortcutOverrides, ReadingDropsDamageEntryByEntry) {
    const ShortcutOverrides read = decodeText<ShortcutOverrides>(
        R"({"zoom":null,"nope":{"keyCode":1,"option":true},"float":{"keyCode":9,"command":true,"option":true},"split":{"keyCode":14},"rotate":{"keyCode":15,"control":true}})");
    ShortcutOverrides expected;
    expected.clear(Shortcut::zoom);
    expected.set(Chord{.keyCode = 15, .control = true}, Shortcut::rotate);
    EXPECT_EQ(read, expected);

    for (const char* text :
         {"[]", "3", R"("zoom")", "true", R"({"zoom":{"keyCode":70000,"option":true}})",
          R"({"zoom":{"keyCode":3,"option":"yes"}})", R"({"zoom":[1]})"}) {
        EXPECT_TRUE(decodeText<ShortcutOverrides>(text).isEmpty()) << text;
    }
}

TEST(ShortcutOverrides, WritingAndEditing) {
    ShortcutOverrides overrides;
    EXPECT_EQ(JSONWriter::write(encodeJSON(overrides)), "{}");
    overrides.clear(Shortcut::launcher);
    overrides.set(Chord{.keyCode = 4, .option = true, .control = true}, Shortcut::focusLeft);
    EXPECT_EQ(
        JSONWriter::write(encodeJSON(overrides)),
        R"({"focusLeft":{"command":false,"control":true,"keyCode":4,"option":true,"shift":false},"launcher":null})");
    EXPECT_EQ(JSONNode(encodeJSON(overrides)).decode<ShortcutOverrides>(), overrides);

    EXPECT_EQ(overrides.override(Shortcut::launcher), ShortcutOverride::cleared());
    EXPECT_EQ(overrides.override(Shortcut::focusLeft)->chord(),
              (Chord{.keyCode = 4, .option = true, .control = true}));
    EXPECT_EQ(overrides.override(Shortcut::zoom), std::nullopt);
    overrides.reset(Shortcut::launcher);
    overrides.reset(Shortcut::focusLeft);
    EXPECT_TRUE(overrides.isEmpty());
    EXPECT_EQ(overrides, ShortcutOverrides::none());
}

}  // namespace
}  // namespace kelvo
