#include <gtest/gtest.h>

#include "KelvoCore/Launcher/LauncherModel.h"

namespace kelvo {
namespace {

using Key = LauncherModel::Key;
using Outcome = LauncherModel::Outcome;
using Mode = LauncherModel::Mode;
using Caret = LauncherModel::Caret;

std::vector<LauncherEntry> fiveApps() {
    return {{"com.a", "Arc", false},
            {"com.b", "Books", false},
            {"com.c", "Calendar", false},
            {"com.d", "Dictionary", false},
            {"com.e", "Excel", false}};
}

TEST(LauncherModel, StartsWithTheEmptyQueryAndRecents) {
    const LauncherModel model(fiveApps(), {"com.d", "", "com.d", "com.b"}, false);
    EXPECT_EQ(model.recents(), (std::vector<std::string>{"com.d", "com.b"}));
    EXPECT_EQ(model.query(), "");
    EXPECT_EQ(model.field(), "");
    ASSERT_EQ(model.matches().size(), 5u);
    EXPECT_EQ(model.matches()[0].bundleID, "com.d");
    EXPECT_EQ(model.matches()[1].bundleID, "com.b");
    EXPECT_EQ(model.matches()[2].bundleID, "com.a");
    EXPECT_EQ(model.selection(), 0);
    EXPECT_FALSE(model.moved());
    EXPECT_EQ(model.mode(), Mode::insert);
    EXPECT_EQ(model.chosen()->bundleID, "com.d");
    EXPECT_EQ(LauncherModel(fiveApps(), {}, true).mode(), Mode::normal);
}

TEST(LauncherModel, KeysWithVimModeOff) {
    LauncherModel model(fiveApps(), {}, false);
    EXPECT_EQ(model.handle(Key::escape()), Outcome::close());
    EXPECT_EQ(model.handle(Key::enter()), Outcome::commit(LauncherRequest::goTo));
    EXPECT_EQ(model.handle(Key::shiftEnter()), Outcome::commit(LauncherRequest::bringHere));
    for (const char* text : {"j", "k", "G", "q", "i", " "}) {
        EXPECT_EQ(model.handle(Key::character(text)), Outcome::pass()) << text;
    }
    EXPECT_EQ(model.selection(), 0);
    EXPECT_FALSE(model.moved());
    EXPECT_EQ(model.mode(), Mode::insert);
}

TEST(LauncherModel, VimModesSwitch) {
    LauncherModel model(fiveApps(), {}, true);
    model.type("x");
    model.reset();
    EXPECT_EQ(model.mode(), Mode::normal);
    EXPECT_EQ(model.handle(Key::character("i")), Outcome::focusField(Caret::start));
    EXPECT_EQ(model.mode(), Mode::insert);
    // In insert mode characters belong to the field, vim letters included.
    EXPECT_EQ(model.handle(Key::character("j")), Outcome::pass());
    EXPECT_EQ(model.handle(Key::enter()), Outcome::commit(LauncherRequest::goTo));
    EXPECT_EQ(model.handle(Key::shiftEnter()), Outcome::commit(LauncherRequest::bringHere));
    EXPECT_EQ(model.handle(Key::escape()), Outcome::blurField());
    EXPECT_EQ(model.mode(), Mode::normal);
    EXPECT_EQ(model.handle(Key::character("a")), Outcome::focusField(Caret::end));
    EXPECT_EQ(model.mode(), Mode::insert);
    model.handle(Key::escape());
    EXPECT_EQ(model.handle(Key::enter()), Outcome::commit(LauncherRequest::goTo));
    EXPECT_EQ(model.handle(Key::shiftEnter()), Outcome::commit(LauncherRequest::bringHere));
    EXPECT_EQ(model.handle(Key::character("q")), Outcome::close());
    EXPECT_EQ(model.handle(Key::escape()), Outcome::close());
    EXPECT_EQ(model.mode(), Mode::normal);
    // Everything else is swallowed, nothing changes.
    for (const char* text : {"x", "Q", "I", "A", "jj", " ", "\u00e9"}) {
        const LauncherModel before = model;
        EXPECT_EQ(model.handle(Key::character(text)), Outcome::handled()) << text;
        EXPECT_EQ(model, before) << text;
    }
}

TEST(LauncherModel, VimMovement) {
    LauncherModel model(fiveApps(), {}, true);
    EXPECT_EQ(model.handle(Key::character("G")), Outcome::handled());
    EXPECT_EQ(model.selection(), 4);
    EXPECT_TRUE(model.moved());
    EXPECT_EQ(model.handle(Key::character("j")), Outcome::handled());
    EXPECT_EQ(model.selection(), 4);
    EXPECT_EQ(model.handle(Key::character("k")), Outcome::handled());
    EXPECT_EQ(model.selection(), 3);
    EXPECT_EQ(model.handle(Key::character("g")), Outcome::handled());
    EXPECT_EQ(model.selection(), 0);
    EXPECT_EQ(model.handle(Key::character("k")), Outcome::handled());
    EXPECT_EQ(model.selection(), 0);
    EXPECT_EQ(model.handle(Key::character("j")), Outcome::handled());
    EXPECT_EQ(model.chosen()->name, "Books");
}

TEST(LauncherModel, VimMovementWithoutMatches) {
    LauncherModel model(fiveApps(), {}, true);
    model.type("zzz");
    ASSERT_TRUE(model.matches().empty());
    for (const char* text : {"j", "k", "g", "G"}) {
        EXPECT_EQ(model.handle(Key::character(text)), Outcome::handled()) << text;
        EXPECT_EQ(model.selection(), 0) << text;
        EXPECT_FALSE(model.moved()) << text;
    }
    EXPECT_EQ(model.chosen(), std::nullopt);
}

TEST(LauncherModel, MoveClamps) {
    LauncherModel model(fiveApps(), {}, false);
    model.move(2);
    EXPECT_EQ(model.selection(), 2);
    EXPECT_TRUE(model.moved());
    model.move(100);
    EXPECT_EQ(model.selection(), 4);
    model.move(-100);
    EXPECT_EQ(model.selection(), 0);
    model.move(std::numeric_limits<int>::max());
    EXPECT_EQ(model.selection(), 4);
    model.move(std::numeric_limits<int>::min());
    EXPECT_EQ(model.selection(), 0);

    LauncherModel empty({}, {}, false);
    empty.move(1);
    EXPECT_EQ(empty.selection(), 0);
    EXPECT_FALSE(empty.moved());
}

TEST(LauncherModel, TabCompletionCycles) {
    LauncherModel model({{"com.c1", "Calendar", false},
                         {"com.c2", "Calculator", false},
                         {"com.c3", "Chess", false},
                         {"com.x", "Xcode", false}},
                        {}, false);
    model.type("C");  // 'Xcode' matches too, but last: its 'c' is no word start
    model.setEntries({model.entries().begin(), model.entries().begin() + 3});
    ASSERT_EQ(model.matches().size(), 3u);
    const std::string first = "Calculator";
    const std::string second = "Calendar";
    const std::string third = "Chess";
    EXPECT_EQ(model.matches()[0].name, first);
    EXPECT_EQ(model.matches()[2].name, third);

    EXPECT_EQ(model.complete(true), first);
    EXPECT_EQ(model.selection(), 0);
    EXPECT_TRUE(model.moved());
    EXPECT_EQ(model.field(), first);
    EXPECT_EQ(model.query(), "C");
    EXPECT_EQ(model.complete(true), second);
    EXPECT_EQ(model.selection(), 1);
    EXPECT_EQ(model.complete(true), third);
    EXPECT_EQ(model.selection(), 2);
    EXPECT_EQ(model.complete(true), first);
    EXPECT_EQ(model.selection(), 0);
    EXPECT_EQ(model.complete(false), third);
    EXPECT_EQ(model.selection(), 2);
    EXPECT_EQ(model.query(), "C");
    EXPECT_EQ(model.matches().size(), 3u);

    // Typing again starts the completion over at the first match.
    model.type("c");
    EXPECT_FALSE(model.moved());
    EXPECT_EQ(model.field(), "c");
    EXPECT_EQ(model.complete(true), first);
    EXPECT_EQ(model.selection(), 0);

    // Backwards as the first completion takes the last match.
    model.type("c");
    EXPECT_EQ(model.complete(false), third);
    EXPECT_EQ(model.selection(), 2);

    // A moved selection completes from where it is.
    model.type("c");
    model.move(1);
    EXPECT_EQ(model.complete(true), third);
}

TEST(LauncherModel, TabCompletionWithoutMatches) {
    LauncherModel model(fiveApps(), {}, false);
    model.type("zzz");
    EXPECT_EQ(model.complete(true), "zzz");
    EXPECT_EQ(model.complete(false), "zzz");
    EXPECT_FALSE(model.moved());
    EXPECT_EQ(model.selection(), 0);
}

TEST(LauncherModel, ChangesReRankAndResetTheSelection) {
    LauncherModel model(fiveApps(), {}, false);
    model.move(3);
    model.setRecents({"com.e", "com.e", ""});
    EXPECT_EQ(model.recents(), std::vector<std::string>{"com.e"});
    EXPECT_EQ(model.matches()[0].bundleID, "com.e");
    EXPECT_EQ(model.selection(), 0);
    EXPECT_TRUE(model.moved());  // only a new query clears it

    model.move(2);
    model.setEntries({{"com.e", "Excel", true}, {"com.f", "Finder", true}});
    EXPECT_EQ(model.matches().size(), 2u);
    EXPECT_EQ(model.selection(), 0);
    EXPECT_TRUE(model.moved());

    model.type("fi");
    EXPECT_FALSE(model.moved());
    EXPECT_EQ(model.chosen()->bundleID, "com.f");
    // A typed query is ranked without the recents.
    model.setRecents({"com.f"});
    model.type("e");
    ASSERT_EQ(model.matches().size(), 2u);
    EXPECT_EQ(model.matches()[0].bundleID, "com.e");
}

TEST(LauncherModel, RecordingUseKeepsTheMatches) {
    LauncherModel model(fiveApps(), {"com.a"}, false);
    const std::vector<LauncherEntry> before = model.matches();
    model.recordUse("com.c");
    EXPECT_EQ(model.recents(), (std::vector<std::string>{"com.c", "com.a"}));
    EXPECT_EQ(model.matches(), before);
    model.recordUse("");
    EXPECT_EQ(model.recents(), (std::vector<std::string>{"com.c", "com.a"}));
    model.reset();
    EXPECT_EQ(model.matches()[0].bundleID, "com.c");
}

TEST(LauncherModel, VimModeSwitchedLater) {
    LauncherModel model(fiveApps(), {}, false);
    model.setVimMode(true);
    EXPECT_TRUE(model.vimMode());
    EXPECT_EQ(model.mode(), Mode::insert);
    EXPECT_EQ(model.handle(Key::escape()), Outcome::blurField());
    EXPECT_EQ(model.mode(), Mode::normal);
    model.setVimMode(false);
    EXPECT_EQ(model.mode(), Mode::insert);
    EXPECT_EQ(model.handle(Key::escape()), Outcome::close());

    LauncherModel fresh(fiveApps(), {}, false);
    fresh.setVimMode(true);
    fresh.reset();
    EXPECT_EQ(fresh.mode(), Mode::normal);
}

TEST(LauncherModel, ResetClearsTheQuery) {
    LauncherModel model(fiveApps(), {}, false);
    model.type("bo");
    model.complete(true);
    model.reset();
    EXPECT_EQ(model, LauncherModel(fiveApps(), {}, false));
}

TEST(LauncherModel, ModeRawValues) {
    EXPECT_EQ(rawValue(Mode::insert), "insert");
    EXPECT_EQ(rawValue(Mode::normal), "normal");
    EXPECT_EQ(launcherModeFromRawValue("normal"), Mode::normal);
    EXPECT_EQ(launcherModeFromRawValue("insert"), Mode::insert);
    EXPECT_EQ(launcherModeFromRawValue("Normal"), std::nullopt);
}

}  // namespace
}  // namespace kelvo
