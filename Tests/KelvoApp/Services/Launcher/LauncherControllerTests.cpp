// The launcher panel on an in-process desktop on the manual clock: where it opens and how it
// grows, the keys it routes in both modes, the scans of the installed applications, and who
// gets the front back when it goes.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <future>
#include <memory>
#include <string>
#include <vector>

#include "KelvoApp/Services/Launcher/LauncherController.h"
#include "KelvoApp/Services/Launcher/LauncherView.h"
#include "Platform/AppKit/NSEvent.h"
#include "Platform/AppKit/NSScreen.h"
#include "Support/Platform/DesktopFixture.h"

namespace kelvo {
namespace {

using ::testing::ElementsAre;

constexpr std::uint16_t keyN = 45;
constexpr std::uint16_t keyP = 35;
constexpr std::uint16_t keyA = 0;
constexpr std::uint16_t keyC = 8;
constexpr std::uint16_t keyV = 9;
constexpr std::uint16_t keyZ = 6;
constexpr std::uint16_t tabKey = 48;
constexpr std::uint16_t returnKey = 36;
constexpr std::uint16_t keypadEnter = 76;
constexpr std::uint16_t escapeKey = 53;
constexpr std::uint16_t downArrow = 125;
constexpr std::uint16_t upArrow = 126;
constexpr std::uint64_t shift = NSEventModifierFlagShift;
constexpr std::uint64_t control = NSEventModifierFlagControl;
constexpr std::uint64_t command = NSEventModifierFlagCommand;
constexpr std::uint64_t option = NSEventModifierFlagOption;

LauncherApp app(const std::string& name, bool running = false) {
    const std::string id = "com.example." + name;
    return LauncherApp{{id, name, running}, "/Applications/" + name + ".app"};
}

/// Installed: twenty applications "alpha00" … "alpha19", three "beta1" … "beta3" and a copy
/// of the editor, which also runs.
LauncherViewModel::Apps installedApps() {
    LauncherViewModel::Apps apps{{"com.example.editor", app("editor")}};
    for (int i = 0; i < 20; ++i) {
        const LauncherApp a = app((i < 10 ? "alpha0" : "alpha") + std::to_string(i));
        apps[a.entry.bundleID] = a;
    }
    for (int i = 1; i <= 3; ++i) {
        const LauncherApp b = app("beta" + std::to_string(i));
        apps[b.entry.bundleID] = b;
    }
    return apps;
}

class LauncherControllerTest : public DesktopFixture {
  protected:
    LauncherControllerTest() { desktop->movePointer(CGPoint{700, 400}); }
    ~LauncherControllerTest() override {
        controller.reset();
        scanQueue.sync([] {});
        settle();
    }

    void make(bool vim = false) {
        vimMode = vim;
        LauncherController::Callbacks callbacks{
            .desktopOf = [](const std::string&) { return std::nullopt; },
            .bringsHere = [](const LauncherEntry&) { return false; },
            .recents = [this] { return recents; },
            .vimMode = [this] { return vimMode; },
            .recordUse = [this](const std::string& id) { used.push_back(id); },
            .expectActivation = [this](const std::string& id) { expected.push_back(id); },
            .commit =
                [this](const LauncherApp& picked, LauncherRequest request) {
                    commits.push_back({picked.entry.bundleID, request});
                },
        };
        LauncherController::Sources sources{
            .installed =
                [this] {
                    ++scans;
                    if (holdScan) holdScan->wait();
                    LauncherViewModel::Apps apps = installedApps();
                    if (withGamma) apps["com.example.gamma"] = app("gamma");
                    return apps;
                },
            .running =
                [] {
                    return LauncherViewModel::Apps{{"com.example.editor", app("editor", true)}};
                },
            .icons = [](const std::string&,
                        const std::optional<std::filesystem::path>&) { return NSImageRef(); },
            .frontmost = [this]() -> std::optional<RunningApplication> { return front; },
            .runningApplications = [this] { return running; },
            .activate = [this](int pid) { activated.push_back(pid); },
            .scanQueue = scanQueue,
        };
        controller = std::make_unique<LauncherController>(std::move(callbacks), std::move(sources));
        finishScan();
    }
    void finishScan() {
        scanQueue.sync([] {});
        settle();
    }
    void showOver(int pid) {
        RunningApplication editor;
        editor.pid = pid;
        editor.bundleID = "com.example.editor";
        editor.active = true;
        front = editor;
        running = {editor};
        controller->show();
        settle();
        running[0].active = false;
    }
    LauncherPanel& panel() { return controller->panel(); }
    LauncherViewModel& model() { return controller->model(); }
    std::vector<std::string> rowNames() {
        std::vector<std::string> names;
        for (const auto& row : model().rows.get())
            names.push_back(row.name);
        return names;
    }
    CGRect visibleFrame() { return NSScreen::screens().front()->visibleFrame(); }
    /// The panel's top edge as the launcher keeps it: 22 % of the visible height down.
    CGFloat expectedTop(CGFloat height) {
        const CGRect v = visibleFrame();
        return std::round(v.maxY() - 0.22 * v.height() - height) + height;
    }

    DispatchQueue scanQueue{"launcher.test.scan"};
    std::unique_ptr<LauncherController> controller;
    std::vector<std::string> recents;
    bool vimMode = false;
    std::vector<std::string> used;
    std::vector<std::string> expected;
    std::vector<std::pair<std::string, LauncherRequest>> commits;
    std::optional<RunningApplication> front;
    std::vector<RunningApplication> running;
    std::vector<int> activated;
    std::atomic<int> scans = 0;
    std::shared_future<void>* holdScan = nullptr;
    std::atomic<bool> withGamma = false;
};

TEST_F(LauncherControllerTest, ThePanelIsAFloatingNonActivatingPanelThatTakesKeys) {
    make();
    EXPECT_FALSE(panel().isVisible());
    EXPECT_EQ(panel().styleMask(), NSWindowStyleMaskNonactivatingPanel);
    EXPECT_EQ(panel().level(), NSPopUpMenuWindowLevel);
    EXPECT_FALSE(panel().hidesOnDeactivate());
    EXPECT_EQ(panel().contentView()->layer()->cornerRadius(), 20);
}

TEST_F(LauncherControllerTest, ShowingOpensEightRowsBelowTheTopAndTheTopEdgeStaysAsRowsGo) {
    make();
    const sim::Pid editor = launch("com.example.editor", true);
    showOver(editor);
    ASSERT_TRUE(panel().isVisible());
    EXPECT_TRUE(panel().isKeyWindow());
    // The panel takes keys while the editor stays the front application.
    EXPECT_EQ(desktop->frontmost(), editor);
    EXPECT_EQ(model().rows->size(), 8u);
    const CGRect v = visibleFrame();
    EXPECT_EQ(panel().frame(),
              CGRect(std::round(v.midX() - 320), expectedTop(528) - 528, 640, 528));

    desktop->typeText("alpha1");
    settle();
    EXPECT_EQ(model().rows->size(), 8u);
    desktop->typeText("5");
    settle();
    EXPECT_THAT(rowNames(), ElementsAre("alpha15"));
    EXPECT_EQ(panel().frame().height(), 164);
    EXPECT_EQ(panel().frame().maxY(), expectedTop(528));
    desktop->typeText("x");
    settle();
    EXPECT_TRUE(model().rows->empty());
    EXPECT_EQ(panel().frame().height(), 60);
    EXPECT_EQ(panel().frame().maxY(), expectedTop(528));
}

TEST_F(LauncherControllerTest, EscapeGivesTheFrontBackToTheApplicationThatWasThere) {
    make();
    const sim::Pid editor = launch("com.example.editor", true);
    showOver(editor);
    desktop->pressKey(escapeKey);
    settle();
    EXPECT_FALSE(panel().isVisible());
    EXPECT_THAT(expected, ElementsAre("com.example.editor"));
    EXPECT_THAT(activated, ElementsAre(editor));
    EXPECT_FALSE(controller->previousApp());
    EXPECT_EQ(model().field.get(), "");
    // Over an application still in front, Escape leaves it be.
    showOver(editor);
    running[0].active = true;
    desktop->pressKey(escapeKey);
    settle();
    EXPECT_THAT(activated, ElementsAre(editor));
    EXPECT_EQ(expected.size(), 1u);
}

TEST_F(LauncherControllerTest, ThePanelOpensOnTheDisplayUnderThePointer) {
    desktop->addDisplay(CGRect(1440, 0, 1920, 1080));
    desktop->movePointer(CGPoint{2000, 500});
    make();
    showOver(launch("com.example.editor", true));
    const CGRect v = NSScreen::screens().at(1)->visibleFrame();
    EXPECT_EQ(panel().frame(), CGRect(std::round(v.midX() - 320),
                                      std::round(v.maxY() - 0.22 * v.height() - 528), 640, 528));
}

TEST_F(LauncherControllerTest, ACommitHandsThePickOverAndGivesNothingTheFront) {
    make();
    showOver(launch("com.example.editor", true));
    desktop->typeText("alpha03");
    settle();
    desktop->pressKey(returnKey);
    settle();
    EXPECT_FALSE(panel().isVisible());
    EXPECT_THAT(commits,
                ElementsAre(std::pair{std::string("com.example.alpha03"), LauncherRequest::goTo}));
    EXPECT_THAT(used, ElementsAre("com.example.alpha03"));
    EXPECT_TRUE(activated.empty());
    EXPECT_TRUE(expected.empty());
    EXPECT_EQ(model().field.get(), "");
}

TEST_F(LauncherControllerTest, ShiftAloneWithReturnOrEnterBringsTheWindowHereInBothModes) {
    make();
    const sim::Pid editor = launch("com.example.editor", true);
    showOver(editor);
    desktop->typeText("alpha04");
    settle();
    desktop->pressKey(returnKey, shift);
    settle();
    // The keypad's Enter is Return too; with another modifier beside ⇧ it only goes there.
    for (const bool vim : {false, true}) {
        vimMode = vim;
        for (const auto& [key, flags] :
             {std::pair{keypadEnter, shift}, {returnKey, shift | option}}) {
            showOver(editor);
            desktop->pressKey(key, flags);
            settle();
        }
    }
    std::vector<LauncherRequest> requests;
    for (const auto& [id, request] : commits)
        requests.push_back(request);
    EXPECT_EQ(commits.front().first, "com.example.alpha04");
    EXPECT_THAT(requests, ElementsAre(LauncherRequest::bringHere, LauncherRequest::bringHere,
                                      LauncherRequest::goTo, LauncherRequest::bringHere,
                                      LauncherRequest::goTo));
}

TEST_F(LauncherControllerTest, LosingTheKeyHidesThePanelWithoutActivatingAnything) {
    make();
    showOver(launch("com.example.editor", true));
    NSPanel other(CGRect(0, 0, 200, 100), NSWindowStyleMaskTitled, NSBackingStoreBuffered, false);
    other.makeKeyAndOrderFront(nullptr);
    settle();
    EXPECT_FALSE(panel().isVisible());
    EXPECT_TRUE(activated.empty());
    EXPECT_TRUE(commits.empty());
    EXPECT_EQ(model().field.get(), "");
}

TEST_F(LauncherControllerTest, AClickOnAnotherApplicationsWindowClosesThePanel) {
    make();
    const sim::Pid editor = launch("com.example.editor", true);
    const sim::Pid notes = launch("com.example.notes");
    const sim::WindowNumber note = open(notes, CGRect(20, 700, 200, 150));
    showOver(editor);
    ASSERT_TRUE(panel().isKeyWindow());
    desktop->mouseDown(CGPoint{100, 780});
    desktop->mouseUp(CGPoint{100, 780});
    settle();
    EXPECT_FALSE(panel().isVisible());
    EXPECT_TRUE(activated.empty()) << "the click itself brought its application forward";
    EXPECT_EQ(desktop->frontmost(), notes);
    EXPECT_EQ(desktop->focusedWindow(notes), note);
}

TEST_F(LauncherControllerTest, ControlNAndControlPMoveInBothModesAndTheArrowsToo) {
    make();
    showOver(launch("com.example.editor", true));
    desktop->pressKey(keyN, control);
    desktop->pressKey(keyN, control);
    desktop->pressKey(keyP, control);
    settle();
    EXPECT_EQ(model().model().selection(), 1);
    for (const std::uint16_t arrow : {downArrow, downArrow, upArrow})
        desktop->pressKey(arrow);
    settle();
    EXPECT_EQ(model().model().selection(), 2);
    EXPECT_EQ(model().field.get(), "");

    vimMode = true;
    desktop->pressKey(escapeKey);
    settle();
    controller->show();
    settle();
    desktop->pressKey(keyN, control);
    settle();
    EXPECT_EQ(model().model().selection(), 1);
    for (const std::uint16_t arrow : {downArrow, downArrow, upArrow})
        desktop->pressKey(arrow);
    settle();
    EXPECT_EQ(model().model().selection(), 2);
}

// ⌃ alone with N or P moves, in both modes; a modifier more goes on to the field or the model,
// and the letter without ⌃ is typed (insert mode) or taken by the model (normal mode).
TEST_F(LauncherControllerTest, ControlNAndControlPWithAModifierMoreOrFewerDoNotMove) {
    make();
    const sim::Pid editor = launch("com.example.editor", true);
    for (const bool vim : {false, true}) {
        vimMode = vim;
        for (const std::uint64_t flags :
             {control | shift, control | option, control | command, std::uint64_t{0}}) {
            showOver(editor);
            desktop->pressKey(keyN, flags);
            settle();
            EXPECT_EQ(model().model().selection(), 0) << vim << " " << flags;
            // Two down and one up through near misses of ⌃P leave the selection at two.
            desktop->pressKey(keyN, control);
            desktop->pressKey(keyN, control);
            desktop->pressKey(keyP, flags);
            settle();
            EXPECT_NE(model().model().selection(), 1) << vim << " " << flags;
        }
        showOver(editor);
        desktop->pressKey(keyN, control | NSEventModifierFlagCapsLock);
        settle();
        EXPECT_EQ(model().model().selection(), 0) << "Caps Lock makes it another chord";
    }
    EXPECT_TRUE(commits.empty());
}

// Return and the keypad's Enter (which always carries the keypad's flag) commit: with ⇧ alone
// they bring the window here, with another modifier beside ⇧ or without ⇧ they go to it.
TEST_F(LauncherControllerTest, ReturnAndEnterBringHereOnlyWithShiftAlone) {
    make();
    const sim::Pid editor = launch("com.example.editor", true);
    constexpr std::uint64_t pad = NSEventModifierFlagNumericPad;
    struct Row {
        std::uint16_t key;
        std::uint64_t flags;
        LauncherRequest request;
    };
    const Row rows[] = {
        {returnKey, shift, LauncherRequest::bringHere},
        {keypadEnter, shift | pad, LauncherRequest::bringHere},
        {keypadEnter, shift, LauncherRequest::bringHere},
        {returnKey, 0, LauncherRequest::goTo},
        {keypadEnter, pad, LauncherRequest::goTo},
        {returnKey, shift | control, LauncherRequest::goTo},
        {returnKey, shift | command, LauncherRequest::goTo},
        {keypadEnter, shift | option | pad, LauncherRequest::goTo},
        {keypadEnter, shift | command | pad, LauncherRequest::goTo},
    };
    for (const bool vim : {false, true}) {
        vimMode = vim;
        for (const Row& row : rows) {
            commits.clear();
            showOver(editor);
            desktop->pressKey(row.key, row.flags);
            settle();
            ASSERT_EQ(commits.size(), 1U) << vim << " " << row.key << " " << row.flags;
            EXPECT_EQ(commits[0].second, row.request) << vim << " " << row.key << " " << row.flags;
        }
    }
}

// Normal mode's letters are case-sensitive: ⇧ makes another key of each, so ⇧J does not move,
// ⇧Q does not close and ⇧I does not start typing, while ⇧G is the key that goes to the last.
TEST_F(LauncherControllerTest, InNormalModeShiftMakesAnotherKeyOfEachLetter) {
    constexpr std::uint16_t keyJ = 38, keyG = 5, keyQ = 12, keyI = 34;
    make(true);
    showOver(launch("com.example.editor", true));
    for (const std::uint16_t letter : {keyJ, keyQ, keyI, keyA}) {
        desktop->pressKey(letter, shift);
        settle();
        EXPECT_TRUE(panel().isVisible()) << letter;
        EXPECT_EQ(model().mode, LauncherModel::Mode::normal) << letter;
        EXPECT_EQ(model().model().selection(), 0) << letter;
    }
    desktop->pressKey(keyG, shift);
    settle();
    const int last = static_cast<int>(model().model().matches().size()) - 1;
    EXPECT_EQ(model().model().selection(), last);
    desktop->pressKey(keyJ);
    settle();
    EXPECT_EQ(model().model().selection(), last) << "the last row is as far as it goes";
    desktop->pressKey(keyG);
    settle();
    EXPECT_EQ(model().model().selection(), 0);
    EXPECT_EQ(model().windowStart(), 0);
}

// ⌘ alone, or ⌘⇧ for redo, edits the query; ⌥ or ⌃ beside ⌘ leaves it alone.
TEST_F(LauncherControllerTest, TheEditingChordsWithAModifierMoreDoNothing) {
    make();
    showOver(launch("com.example.editor", true));
    desktop->typeText("alpha");
    settle();
    QueryTextField& field = *controller->field();
    for (const std::uint64_t flags : {command | option, command | control, command | shift}) {
        field.currentEditor()->setSelectedRange(NSRange{5, 0});
        desktop->pressKey(keyA, flags);
        settle();
        EXPECT_EQ(field.currentEditor()->selectedRange(), (NSRange{5, 0})) << flags;
    }
    for (const std::uint64_t flags : {command | option, command | control, control}) {
        desktop->pressKey(keyZ, flags);
        settle();
        EXPECT_EQ(model().model().query(), "alpha") << flags;
    }
    desktop->pressKey(keyA, command);
    settle();
    EXPECT_EQ(field.currentEditor()->selectedRange(), (NSRange{0, 5}));
}

TEST_F(LauncherControllerTest, VimNormalModeKeepsTheFieldUnfocusedUntilIOrA) {
    make(true);
    showOver(launch("com.example.editor", true));
    ASSERT_TRUE(controller->field());
    QueryTextField& field = *controller->field();
    EXPECT_EQ(model().mode, LauncherModel::Mode::normal);
    EXPECT_EQ(field.currentEditor(), nullptr);
    EXPECT_EQ(panel().firstResponder(), &panel());
    desktop->typeText("jjk");
    settle();
    EXPECT_EQ(model().model().selection(), 1);
    EXPECT_EQ(field.stringValue(), "");

    desktop->typeText("i");
    settle();
    ASSERT_NE(field.currentEditor(), nullptr);
    EXPECT_EQ(panel().firstResponder(), field.currentEditor());
    desktop->typeText("alpha1");
    settle();
    EXPECT_EQ(model().model().query(), "alpha1");
    // Escape goes back to normal mode; "i" puts the caret at the start, "a" at the end.
    desktop->pressKey(escapeKey);
    settle();
    EXPECT_TRUE(panel().isVisible());
    EXPECT_EQ(model().mode, LauncherModel::Mode::normal);
    desktop->typeText("i");
    settle();
    EXPECT_EQ(field.currentEditor()->selectedRange(), (NSRange{0, 0}));
    desktop->pressKey(escapeKey);
    desktop->typeText("a");
    settle();
    EXPECT_EQ(field.currentEditor()->selectedRange(), (NSRange{6, 0}));
    desktop->pressKey(escapeKey);
    desktop->typeText("q");
    settle();
    EXPECT_FALSE(panel().isVisible());
}

TEST_F(LauncherControllerTest, TheCommandKeysEditTheQueryWithoutAMenu) {
    make();
    showOver(launch("com.example.editor", true));
    desktop->typeText("alpha");
    settle();
    desktop->pressKey(keyA, command);
    desktop->pressKey(keyC, command);
    desktop->typeText("x");
    settle();
    EXPECT_EQ(model().model().query(), "x");
    desktop->pressKey(keyA, command);
    desktop->pressKey(keyV, command);
    settle();
    EXPECT_EQ(model().model().query(), "alpha");
    desktop->pressKey(keyZ, command);
    settle();
    EXPECT_EQ(model().model().query(), "x");
    desktop->pressKey(keyZ, command | shift);
    settle();
    EXPECT_EQ(model().model().query(), "alpha");
}

TEST_F(LauncherControllerTest, TabCompletesIntoTheFieldWhileTheQueryStays) {
    make();
    showOver(launch("com.example.editor", true));
    desktop->typeText("alpha1");
    settle();
    desktop->typeText("\t");
    settle();
    EXPECT_EQ(controller->field()->stringValue(), "alpha10");
    EXPECT_EQ(model().model().query(), "alpha1");
    desktop->pressKey(tabKey, shift);
    settle();
    EXPECT_EQ(controller->field()->stringValue(), "alpha01");
}

TEST_F(LauncherControllerTest, ShowingDuringAScanStartsNoSecondAndItsResultRefreshesTheList) {
    make();
    ASSERT_EQ(scans, 1);
    launch("com.example.editor", true);
    std::promise<void> release;
    std::shared_future<void> released = release.get_future().share();
    holdScan = &released;
    withGamma = true;
    // No settling while the scan is held: the main queue would wait for it.
    controller->show();
    controller->cancel();
    controller->show();
    EXPECT_TRUE(controller->isScanning());
    model().type("gamma");
    EXPECT_TRUE(model().rows->empty());
    release.set_value();
    finishScan();
    holdScan = nullptr;
    EXPECT_EQ(scans, 2);
    EXPECT_FALSE(controller->isScanning());
    EXPECT_THAT(rowNames(), ElementsAre("gamma"));
}

TEST_F(LauncherControllerTest, ARunningApplicationsRecordStandsForItsInstalledCopy) {
    make();
    showOver(launch("com.example.editor", true));
    desktop->typeText("editor");
    settle();
    ASSERT_EQ(model().rows->size(), 1u);
    EXPECT_TRUE(model().rows.get()[0].isRunning);
}

TEST_F(LauncherControllerTest, ADroppedLaunchersLateScanDoesNothing) {
    make();
    std::promise<void> release;
    std::shared_future<void> released = release.get_future().share();
    holdScan = &released;
    controller->show();
    controller.reset();
    release.set_value();
    finishScan();
    holdScan = nullptr;
    EXPECT_EQ(scans, 2);
}

}  // namespace
}  // namespace kelvo
