#include <gtest/gtest.h>

#include <set>

#include "KelvoCore/Keys/KeyCode.h"
#include "KeyChord.h"
#include "Platform/Quartz/CGEvent.h"

namespace kelvo_sim {
namespace {

using kelvo::KeyCode;

TEST(KeyChord, TheChordsPeopleType) {
    EXPECT_EQ(KeyChord::parse("alt+1"), (KeyChord{KeyCode::one, kCGEventFlagMaskAlternate}));
    EXPECT_EQ(KeyChord::parse("alt+shift+left"),
              (KeyChord{KeyCode::leftArrow, kCGEventFlagMaskAlternate | kCGEventFlagMaskShift}));
    EXPECT_EQ(KeyChord::parse("ctrl+alt+l"),
              (KeyChord{KeyCode::l, kCGEventFlagMaskControl | kCGEventFlagMaskAlternate}));
    EXPECT_EQ(KeyChord::parse("cmd+n"), (KeyChord{45, kCGEventFlagMaskCommand}));
    EXPECT_EQ(KeyChord::parse("return"), (KeyChord{KeyCode::ret, 0}));
    EXPECT_EQ(KeyChord::parse("Option+Control+SPACE"),
              (KeyChord{KeyCode::space, kCGEventFlagMaskAlternate | kCGEventFlagMaskControl}));
    EXPECT_EQ(KeyChord::parse("alt+alt+9"), (KeyChord{KeyCode::nine, kCGEventFlagMaskAlternate}));
}

TEST(KeyChord, ChordsAsTheKeyCapsReadThem) {
    const auto alt = kCGEventFlagMaskAlternate, shift = kCGEventFlagMaskShift;
    const auto ctrl = kCGEventFlagMaskControl, cmd = kCGEventFlagMaskCommand;
    EXPECT_EQ(KeyChord::parse("⌥2"), (KeyChord{KeyCode::two, alt}));
    EXPECT_EQ(KeyChord::parse("⌥⇧2"), (KeyChord{KeyCode::two, alt | shift}));
    EXPECT_EQ(KeyChord::parse("⌃⌥L"), (KeyChord{KeyCode::l, ctrl | alt}));
    EXPECT_EQ(KeyChord::parse("⌘N"), (KeyChord{45, cmd}));
    EXPECT_EQ(KeyChord::parse("⌥+⇧+h"), (KeyChord{KeyCode::h, alt | shift}));
    EXPECT_EQ(KeyChord::parse("⌥shift+m"), (KeyChord{KeyCode::m, alt | shift}));
    EXPECT_EQ(KeyChord::parse("⌥←"), (KeyChord{KeyCode::leftArrow, alt}));
    EXPECT_EQ(KeyChord::parse("⌥↩"), (KeyChord{KeyCode::ret, alt}));
    EXPECT_EQ(KeyChord::parse("⌥Space"), (KeyChord{KeyCode::space, alt}));
    EXPECT_EQ(KeyChord::modifierFlags("⌥⇧"), alt | shift);
    EXPECT_EQ(KeyChord::modifierFlags("⌃+⌘"), ctrl | cmd);
    std::string error;
    EXPECT_FALSE(KeyChord::parse("⌥", &error));
    EXPECT_EQ(error, "no key in \"⌥\"");
    EXPECT_FALSE(KeyChord::parse("⌥hyper+2", &error));
    EXPECT_EQ(error, "no such modifier \"hyper\" (use cmd, alt, ctrl, shift or ⌘ ⌥ ⌃ ⇧)");
    // A glyph after the key is no modifier.
    EXPECT_FALSE(KeyChord::parse("2⌥"));
}

TEST(KeyChord, SymbolsOfTheKeyTableAreSpelledOut) {
    EXPECT_EQ(KeyChord::keyNamed("tab"), 48);
    EXPECT_EQ(KeyChord::keyNamed("escape"), 53);
    EXPECT_EQ(KeyChord::keyNamed("esc"), 53);
    EXPECT_EQ(KeyChord::keyNamed("delete"), 51);
    EXPECT_EQ(KeyChord::keyNamed("forwarddelete"), 117);
    EXPECT_EQ(KeyChord::keyNamed("up"), KeyCode::upArrow);
    EXPECT_EQ(KeyChord::keyNamed("down"), KeyCode::downArrow);
    EXPECT_EQ(KeyChord::keyNamed("right"), KeyCode::rightArrow);
    EXPECT_EQ(KeyChord::keyNamed("pageup"), 116);
    EXPECT_EQ(KeyChord::keyNamed("f5"), 96);
    EXPECT_EQ(KeyChord::keyNamed("pad5"), 87);
    EXPECT_EQ(KeyChord::keyNamed("padenter"), 76);
    EXPECT_EQ(KeyChord::keyNamed("padplus"), 69);
    EXPECT_EQ(KeyChord::keyNamed("/"), KeyCode::slash);
    EXPECT_EQ(KeyChord::keyNamed("="), 24);
}

TEST(KeyChord, EveryKeyOfTheTableHasItsOwnName) {
    const auto names = KeyChord::keyNames();
    ASSERT_EQ(names.size(), KeyCode::names().size());
    EXPECT_EQ(std::set<std::string>(names.begin(), names.end()).size(), names.size());
    for (std::size_t i = 0; i < names.size(); ++i) {
        EXPECT_EQ(KeyChord::keyNamed(names[i]), KeyCode::names()[i].code) << names[i];
        // Typable with a modifier in front: no name holds the separator.
        EXPECT_EQ(names[i].find('+'), std::string::npos) << names[i];
    }
}

TEST(KeyChord, MistakesAreToldApart) {
    std::string error;
    EXPECT_FALSE(KeyChord::parse("hyper+1", &error));
    EXPECT_EQ(error, "no such modifier \"hyper\" (use cmd, alt, ctrl, shift or ⌘ ⌥ ⌃ ⇧)");
    EXPECT_FALSE(KeyChord::parse("alt+banana", &error));
    EXPECT_EQ(error, "no key named \"banana\"");
    EXPECT_FALSE(KeyChord::parse("alt+", &error));
    EXPECT_EQ(error, "no key in \"alt+\"");
    EXPECT_FALSE(KeyChord::parse("", &error));
    EXPECT_FALSE(KeyChord::parse("alt", &error));
    EXPECT_EQ(error, "no key named \"alt\"");
    EXPECT_FALSE(KeyChord::parse("alt++1", &error));
    EXPECT_FALSE(KeyChord::parse("1+alt", &error));
}

TEST(KeyChord, ModifiersAlone) {
    EXPECT_EQ(KeyChord::modifierFlags("alt+shift"),
              kCGEventFlagMaskAlternate | kCGEventFlagMaskShift);
    EXPECT_EQ(KeyChord::modifierFlags("cmd"), kCGEventFlagMaskCommand);
    EXPECT_FALSE(KeyChord::modifierFlags("alt+x"));
}

}  // namespace
}  // namespace kelvo_sim
