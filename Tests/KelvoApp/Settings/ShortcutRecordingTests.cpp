// Recording a shortcut in the settings model: the hot keys suspended while one key of this
// application is caught, the editor's refusals, and every way a recording ends.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "KelvoCore/Bindings/DefaultChords.h"
#include "KelvoCore/Bindings/ShortcutEditor.h"
#include "Platform/AppKit/NSEvent.h"
#include "Support/KelvoApp/SettingsModelFixture.h"

namespace kelvo {
namespace {

using ::testing::ElementsAre;

constexpr std::uint16_t escapeKey = 53;
constexpr std::uint16_t f12 = 111;
constexpr std::uint16_t keyL = 37;
constexpr std::uint64_t option = NSEventModifierFlagOption;
constexpr std::uint64_t control = NSEventModifierFlagControl;
constexpr std::uint64_t command = NSEventModifierFlagCommand;
constexpr std::uint64_t shift = NSEventModifierFlagShift;

class ShortcutRecordingTest : public SettingsModelFixture {
  protected:
    ShortcutRecordingTest() { installHotkeyHook(); }
};

TEST_F(ShortcutRecordingTest, WithoutTheKeyTapNothingIsRecorded) {
    SettingsModel& settings = model();
    settings.setHotkeysSuspended = nullptr;
    settings.beginRecording(Shortcut::focusLeft);
    EXPECT_FALSE(settings.recording->has_value());
    EXPECT_EQ(settings.recordNotice.get(),
              std::optional<std::string>(
                  "Kelvo's key tap is not running, so there is nothing to record with."));
    EXPECT_EQ(clock.pendingCount(), 0U);
}

TEST_F(ShortcutRecordingTest, OneFreeKeyIsBoundAndTheHotKeysResume) {
    SettingsModel& settings = model();
    const Chord chord{.keyCode = f12, .option = true, .control = true};
    ASSERT_FALSE(ShortcutEditor::rejection(chord, Shortcut::focusLeft, settings.config()));
    settings.beginRecording(Shortcut::focusLeft);
    EXPECT_EQ(settings.recording.get(), std::optional<Shortcut>(Shortcut::focusLeft));
    press(f12, option | control);
    EXPECT_FALSE(settings.recording->has_value());
    EXPECT_FALSE(settings.recordNotice->has_value());
    EXPECT_EQ(store->config(), settings.config());
    EXPECT_EQ(settings.config().shortcuts.override(Shortcut::focusLeft),
              ShortcutOverride::chord(chord));
    EXPECT_THAT(hotkeyCalls, ElementsAre("suspend", "resume"));
    EXPECT_EQ(clock.pendingCount(), 0U);
}

TEST_F(ShortcutRecordingTest, EscapeWithOrWithoutShiftCancelsButOptionOrControlEscapeIsAChord) {
    SettingsModel& settings = model();
    const Config before = settings.config();
    for (const std::uint64_t flags : {std::uint64_t{0}, shift}) {
        settings.beginRecording(Shortcut::focusLeft);
        press(escapeKey, flags);
        EXPECT_FALSE(settings.recording->has_value());
        EXPECT_EQ(settings.config(), before);
        EXPECT_FALSE(settings.recordNotice->has_value());
    }
    for (const std::uint64_t flags : {option, control}) {
        settings.beginRecording(Shortcut::focusLeft);
        press(escapeKey, flags);
        EXPECT_FALSE(settings.recording->has_value());
        EXPECT_EQ(
            settings.config().shortcuts.override(Shortcut::focusLeft),
            ShortcutOverride::chord(Chord{
                .keyCode = escapeKey, .option = flags == option, .control = flags == control}));
    }
    EXPECT_EQ(hotkeyCalls.size(), 8U);
    EXPECT_EQ(hotkeyCalls.back(), "resume");
}

// Escape cancels while none of ⌃, ⌥ and ⌘ is held, whatever else is (⇧, Caps Lock); with ⌘
// it is a chord that the editor refuses, with ⌃ and ⌥ both one that it binds.
TEST_F(ShortcutRecordingTest, EscapeWithCommandIsAChordAndCapsLockStillCancels) {
    SettingsModel& settings = model();
    const Config before = settings.config();
    for (const std::uint64_t flags :
         {NSEventModifierFlagCapsLock, shift | NSEventModifierFlagCapsLock}) {
        settings.beginRecording(Shortcut::zoom);
        press(escapeKey, flags);
        EXPECT_FALSE(settings.recording->has_value());
        EXPECT_EQ(settings.config(), before) << flags;
        EXPECT_FALSE(settings.recordNotice->has_value()) << flags;
    }
    settings.beginRecording(Shortcut::zoom);
    press(escapeKey, command);
    EXPECT_EQ(settings.recordNotice.get(),
              std::optional<std::string>("⌘ shortcuts are left to your applications. Kelvo opens a "
                                         "terminal window by sending one ⌘N, and it would swallow "
                                         "its own keystroke."));
    settings.beginRecording(Shortcut::zoom);
    press(escapeKey, option | control);
    EXPECT_EQ(
        settings.config().shortcuts.override(Shortcut::zoom),
        ShortcutOverride::chord(Chord{.keyCode = escapeKey, .option = true, .control = true}));
}

// The chord recorded is the key and the four modifiers: one more is another chord (or a
// refusal, for ⌘), one fewer too; the keypad's, Fn's and Caps Lock's flags are not recorded.
TEST_F(ShortcutRecordingTest, ARecordedChordIsTheKeyWithExactlyTheFourModifiersHeld) {
    constexpr std::uint16_t keyX = 7, padOne = 83, leftArrow = 123;
    constexpr std::uint64_t pad = NSEventModifierFlagNumericPad, fn = NSEventModifierFlagFunction,
                            capsLock = NSEventModifierFlagCapsLock;
    SettingsModel& settings = model();
    struct Row {
        std::uint16_t key;
        std::uint64_t flags;
        std::optional<Chord> bound;
    };
    const Row rows[] = {
        {keyX, option, Chord{.keyCode = keyX, .option = true}},
        {keyX, option | shift, Chord{.keyCode = keyX, .option = true, .shift = true}},
        {keyX, option | control, Chord{.keyCode = keyX, .option = true, .control = true}},
        {keyX, option | command, std::nullopt},
        {keyX, 0, std::nullopt},
        {keyX, control, Chord{.keyCode = keyX, .control = true}},
        {keyX, option | capsLock, Chord{.keyCode = keyX, .option = true}},
        {padOne, option | pad, Chord{.keyCode = padOne, .option = true}},
        {padOne, pad, std::nullopt},
        {leftArrow, option | control | shift | pad | fn,
         Chord{.keyCode = leftArrow, .option = true, .control = true, .shift = true}},
        {f12, control | fn, Chord{.keyCode = f12, .control = true}},
    };
    for (const Row& row : rows) {
        settings.resetAllShortcuts();
        settings.beginRecording(Shortcut::zoom);
        press(row.key, row.flags);
        EXPECT_FALSE(settings.recording->has_value());
        const auto override = settings.config().shortcuts.override(Shortcut::zoom);
        if (row.bound) {
            EXPECT_EQ(override, ShortcutOverride::chord(*row.bound)) << row.key << " " << row.flags;
            EXPECT_FALSE(settings.recordNotice->has_value()) << row.key << " " << row.flags;
        } else {
            EXPECT_FALSE(override.has_value()) << row.key << " " << row.flags;
            EXPECT_TRUE(settings.recordNotice->has_value()) << row.key << " " << row.flags;
        }
    }
}

TEST_F(ShortcutRecordingTest, RefusedChordsShowTheEditorsTextsAndChangeNothing) {
    SettingsModel& settings = model();
    const Config before = settings.config();
    struct Case {
        std::uint16_t key;
        std::uint64_t flags;
        std::string text;
    };
    const std::vector<Case> cases = {
        {f12, option | command,
         "⌘ shortcuts are left to your applications. Kelvo opens a terminal window by sending "
         "one ⌘N, and it would swallow its own keystroke."},
        {f12, shift,
         "Hold ⌥ or ⌃ as well. A shortcut without one would take that key from every "
         "application on your Mac."},
        {keyL, option, "Focus right already has that. Clear it there first."},
    };
    for (const Case& refused : cases) {
        settings.beginRecording(Shortcut::focusLeft);
        press(refused.key, refused.flags);
        EXPECT_EQ(settings.recordNotice.get(), std::optional<std::string>(refused.text));
        EXPECT_FALSE(settings.recording->has_value());
        EXPECT_EQ(settings.config(), before);
    }
    // The chord the shortcut holds already is no conflict.
    const Chord own = DefaultChords::of(Shortcut::focusLeft, before).front();
    settings.beginRecording(Shortcut::focusLeft);
    EXPECT_FALSE(settings.recordNotice->has_value());
    press(own.keyCode,
          (own.option ? option : 0) | (own.control ? control : 0) | (own.shift ? shift : 0));
    EXPECT_FALSE(settings.recordNotice->has_value());
}

TEST_F(ShortcutRecordingTest, TenSecondsWithoutAKeyEndTheRecordingAndKeysPassAgain) {
    SettingsModel& settings = model();
    settings.beginRecording(Shortcut::focusLeft);
    int seen = 0;
    const auto watcher = NSEvent::addLocalMonitorForEventsMatchingMask(
        NSEventMaskKeyDown, [&seen](const NSEventRef& event) {
            ++seen;
            return event;
        });
    press(f12, control | option);
    EXPECT_EQ(seen, 0);  // caught by the recording
    settings.beginRecording(Shortcut::focusDown);
    clock.advance(9.9);
    EXPECT_TRUE(settings.recording->has_value());
    clock.advance(0.2);
    EXPECT_FALSE(settings.recording->has_value());
    press(f12, control | option);
    EXPECT_EQ(seen, 1);
    NSEvent::removeMonitor(watcher);
    EXPECT_EQ(hotkeyCalls.back(), "resume");
}

TEST_F(ShortcutRecordingTest, ASecondRecordingTakesOverWithTheHotKeysStillSuspended) {
    SettingsModel& settings = model();
    settings.beginRecording(Shortcut::focusLeft);
    clock.advance(6);
    settings.beginRecording(Shortcut::focusRight);
    EXPECT_THAT(hotkeyCalls, ElementsAre("suspend", "suspend"));
    EXPECT_EQ(settings.recording.get(), std::optional<Shortcut>(Shortcut::focusRight));
    clock.advance(6);
    EXPECT_TRUE(settings.recording->has_value());
    clock.advance(4.1);
    EXPECT_FALSE(settings.recording->has_value());
    EXPECT_THAT(hotkeyCalls, ElementsAre("suspend", "suspend", "resume"));
}

TEST_F(ShortcutRecordingTest, OpeningTheSearchClearingAndResettingEndARecordingAndItsNotice) {
    SettingsModel& settings = model();
    settings.beginRecording(Shortcut::focusLeft);
    settings.openSearch();
    EXPECT_FALSE(settings.recording->has_value());

    // A refused chord's notice shows until the next clear, reset or reset of all.
    const auto refused = [&] {
        settings.beginRecording(Shortcut::focusLeft);
        press(f12, shift);
        return settings.recordNotice->has_value();
    };
    ASSERT_TRUE(refused());
    settings.clearShortcut(Shortcut::focusLeft);
    EXPECT_FALSE(settings.recordNotice->has_value());
    const Config cleared = settings.config();
    EXPECT_EQ(store->config(), cleared);

    ASSERT_TRUE(refused());
    settings.resetShortcut(Shortcut::focusLeft);
    EXPECT_FALSE(settings.recordNotice->has_value());
    EXPECT_NE(settings.config(), cleared);

    settings.clearShortcut(Shortcut::focusRight);
    ASSERT_TRUE(refused());
    settings.resetAllShortcuts();
    EXPECT_FALSE(settings.recordNotice->has_value());
    EXPECT_EQ(settings.config().shortcuts, ShortcutOverrides::none());

    settings.beginRecording(Shortcut::focusUp);
    settings.clearShortcut(Shortcut::focusUp);
    EXPECT_FALSE(settings.recording->has_value());
    EXPECT_EQ(hotkeyCalls.back(), "resume");
}

TEST_F(ShortcutRecordingTest, KeysTypedIntoAnotherApplicationAreNotCaught) {
    SettingsModel& settings = model();
    settings.beginRecording(Shortcut::focusLeft);
    const sim::Pid other = launch("com.example.editor", true);
    settle();
    desktop->pressKey(f12, control | option);
    settle();
    EXPECT_TRUE(settings.recording->has_value());
    EXPECT_THAT(keysReceived(other), ElementsAre(f12));
}

}  // namespace
}  // namespace kelvo
