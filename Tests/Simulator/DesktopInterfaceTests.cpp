#include <gtest/gtest.h>

#include <vector>

#include "Simulator/KeyboardLayout.h"
#include "Simulator/WindowPicture.h"
#include "Support/Platform/DesktopFixture.h"

namespace sim {
namespace {

WindowPicture flat(std::uint32_t width, std::uint32_t height, std::uint32_t pixel) {
    const std::vector<std::uint32_t> pixels(std::size_t{width} * height, pixel);
    return WindowPicture::pack(pixels.data(), width, height, width);
}

/// The desktop's side of the processes' own interface: a client with a panel, on the manual
/// clock, and what reaches it.
class DesktopInterfaceTest : public kelvo::DesktopFixture {
  protected:
    DesktopInterfaceTest() {
        client = desktop->attach([this](const DesktopEvent& event) { events.push_back(event); });
        ApplicationSpec spec;
        spec.name = "Panels";
        spec.bundleID = "com.example.panels";
        pid = desktop->registerClient(client, spec);
    }
    // The client leaves before its record of events goes.
    ~DesktopInterfaceTest() override { desktop->detach(client); }

    WindowNumber panel(const CGRect& frame, OwnWindowSpec spec = {}) {
        spec.frame = frame;
        const WindowNumber number = desktop->createOwnWindow(client, spec);
        desktop->orderOwnWindow(number, true);
        return number;
    }

    template <class Event>
    std::vector<Event> received() const {
        std::vector<Event> found;
        for (const auto& event : events)
            if (const auto* e = std::get_if<Event>(&event)) found.push_back(*e);
        return found;
    }

    ClientID client = 0;
    Pid pid = 0;
    std::vector<DesktopEvent> events;
};

TEST_F(DesktopInterfaceTest, EveryClientIsToldTheHeldButtonsBeforeThePressReachesAnyone) {
    std::vector<DesktopEvent> other;
    const ClientID second = desktop->attach([&](const DesktopEvent& e) { other.push_back(e); });
    const WindowNumber number = panel(CGRect(100, 100, 200, 100));
    events.clear();

    desktop->mouseDown(CGPoint{150, 150});
    ASSERT_FALSE(events.empty());
    EXPECT_EQ(events.front(), DesktopEvent(MouseButtonsChanged{1}));
    ASSERT_EQ(received<OwnWindowInput>().size(), 1u);
    EXPECT_EQ(received<OwnWindowInput>()[0].window, number);
    desktop->rightMouseDown(CGPoint{150, 150});
    desktop->mouseUp(CGPoint{150, 150});
    desktop->mouseUp(CGPoint{150, 150});
    EXPECT_EQ(received<MouseButtonsChanged>(), (std::vector<MouseButtonsChanged>{{1}, {3}, {2}}))
        << "a release of a button not held changes nothing";
    EXPECT_EQ(other, (std::vector<DesktopEvent>{MouseButtonsChanged{1}, MouseButtonsChanged{3},
                                                MouseButtonsChanged{2}}));
    desktop->detach(second);
}

TEST(WindowPictureTest, PacksAndUnpacksRunsAcrossRowsAndLiterals) {
    const std::vector<std::uint32_t> pixels = {1, 1, 1, 1, 2, 3, 3, 4, 4, 4, 4, 4,
                                               5, 6, 7, 8, 8, 8, 8, 8, 9, 9, 9, 9};
    // Rows of 5 in a buffer 6 wide: the sixth column is not part of the picture.
    const auto picture = WindowPicture::pack(pixels.data(), 5, 4, 6);
    ASSERT_TRUE(picture.isWellFormed());
    const auto back = picture.unpack();
    ASSERT_TRUE(back);
    std::vector<std::uint32_t> expected;
    for (std::size_t y = 0; y < 4; ++y)
        for (std::size_t x = 0; x < 5; ++x)
            expected.push_back(pixels[y * 6 + x]);
    EXPECT_EQ(*back, expected);

    const auto large = flat(640, 400, 0xFF202020);
    EXPECT_LT(large.packed.size(), 64u) << "a flat window packs into a few runs";
}

TEST(WindowPictureTest, RunsLongerThanAHeaderCountsAreSplit) {
    // A flat stretch and a stretch of ever new pixels, each longer than two runs can say.
    constexpr std::size_t longest = 0x8000;
    constexpr std::uint32_t width = WindowPicture::maximumSide, height = 33;
    const std::size_t flatPixels = 2 * longest + 5;
    std::vector<std::uint32_t> pixels(flatPixels, 0xFF336699);
    for (std::uint32_t i = 0; pixels.size() < std::size_t{width} * height; ++i)
        pixels.push_back(i);
    const auto picture = WindowPicture::pack(pixels.data(), width, height, width);
    ASSERT_TRUE(picture.isWellFormed());
    EXPECT_EQ(picture.unpack(), pixels);
    // Three repeats of 6 bytes each; three literal runs of 2 header bytes and 4 for each pixel.
    const std::size_t newPixels = pixels.size() - flatPixels;
    EXPECT_EQ(picture.packed.size(), 3 * 6 + 3 * 2 + 4 * newPixels);
}

TEST(WindowPictureTest, RefusesRunsThatDoNotFillTheSize) {
    auto picture = flat(4, 4, 7);
    picture.height = 5;
    EXPECT_FALSE(picture.isWellFormed());
    EXPECT_FALSE(picture.unpack());
    picture.height = 4;
    picture.packed.pop_back();
    EXPECT_FALSE(picture.isWellFormed());
    EXPECT_FALSE((WindowPicture{WindowPicture::maximumSide + 1, 1, {}}.isWellFormed()));
    EXPECT_TRUE(WindowPicture{}.isWellFormed());
    EXPECT_FALSE((WindowPicture{0, 0, "x"}.isWellFormed()));
}

TEST(KeyboardLayoutTest, TypesWithShiftWhereTheKeyboardNeedsIt) {
    const auto strokes = KeyboardLayout::strokes("aB!é\n");
    ASSERT_EQ(strokes.size(), 5u);
    EXPECT_EQ(strokes[0], (KeyboardLayout::Stroke{0, 0, "a"}));
    EXPECT_EQ(strokes[1], (KeyboardLayout::Stroke{11, KeyboardLayout::shiftFlag, "B"}));
    EXPECT_EQ(strokes[2], (KeyboardLayout::Stroke{18, KeyboardLayout::shiftFlag, "!"}));
    EXPECT_EQ(strokes[3], (KeyboardLayout::Stroke{0, 0, "é"}));
    EXPECT_EQ(strokes[4], (KeyboardLayout::Stroke{36, 0, "\r"}));
    EXPECT_TRUE(KeyboardLayout::strokes("\xff\xc3").empty()) << "bytes that are not UTF-8";
    EXPECT_EQ(KeyboardLayout::characters(53, 0), "\x1b");
    EXPECT_EQ(KeyboardLayout::characters(0, KeyboardLayout::shiftFlag), "A");
    EXPECT_EQ(KeyboardLayout::characters(122, 0), "");
}

TEST_F(DesktopInterfaceTest, KeepsTheLatestPictureOfItsOwnersWindowsOnly) {
    const WindowNumber number = panel(CGRect(100, 100, 640, 400));
    desktop->drawOwnWindow(client, OwnWindowContent{number, flat(640, 400, 0xFF112233), {}, {}});
    EXPECT_EQ(desktop->ownWindowPicture(number), flat(640, 400, 0xFF112233));

    // Another client cannot draw in it; a malformed picture is refused; both keep the last.
    desktop->drawOwnWindow(client + 1000,
                           OwnWindowContent{number, flat(640, 400, 0xFF000000), {}, {}});
    auto broken = flat(640, 400, 0xFF000000);
    broken.width = 641;
    desktop->drawOwnWindow(client, OwnWindowContent{number, broken, {}, {}});
    EXPECT_EQ(desktop->ownWindowPicture(number), flat(640, 400, 0xFF112233));

    desktop->closeOwnWindow(number);
    EXPECT_EQ(desktop->pictureBytes(), 0u);
}

TEST_F(DesktopInterfaceTest, ListsElementsOnScreenWithTheWindowFirst) {
    OwnWindowSpec spec;
    spec.title = "Launcher";
    spec.key = true;
    const WindowNumber number = panel(CGRect(400, 200, 640, 60), spec);
    InterfaceElement field{"textField", "Query", "fire",      "query", CGRect(20, 10, 500, 40),
                           true,        true,    std::nullopt};
    desktop->drawOwnWindow(client, OwnWindowContent{number, {}, {field}, {}});

    const auto listed = desktop->elements(pid);
    ASSERT_EQ(listed.size(), 2u);
    EXPECT_EQ(listed[0].element.role, "window");
    EXPECT_EQ(listed[0].element.label, "Launcher");
    EXPECT_TRUE(listed[0].element.focused);
    EXPECT_EQ(listed[1].window, number);
    EXPECT_EQ(listed[1].element.frame, CGRect(420, 210, 500, 40));
    EXPECT_EQ(listed[1].element.value, "fire");

    desktop->orderOwnWindow(number, false);
    EXPECT_TRUE(desktop->elements().empty()) << "only windows on screen";
}

TEST_F(DesktopInterfaceTest, PlacesStatusItemsRightToLeftAndSendsThemTheirClicks) {
    StatusItemSpec first;
    first.length = 100;
    first.label = "first";
    StatusItemSpec second;
    second.length = 40;
    const StatusItemID a = desktop->createStatusItem(client, first);
    const StatusItemID b = desktop->createStatusItem(client, second);
    const double right = mainDisplay.maxX() - Desktop::statusItemMargin;
    EXPECT_EQ(desktop->statusItemFrame(a), CGRect(right - 100, 0, 100, Desktop::menuBarHeight));
    EXPECT_EQ(desktop->statusItemFrame(b), CGRect(right - 140, 0, 40, Desktop::menuBarHeight));

    // A longer first item pushes the second leftwards.
    first.length = 120;
    EXPECT_EQ(desktop->updateStatusItem(a, first).width(), 120);
    EXPECT_EQ(desktop->statusItemFrame(b).minX(), right - 160);

    desktop->rightMouseDown(CGPoint{right - 60, 10});
    desktop->rightMouseUp(CGPoint{right - 60, 10});
    const auto clicks = received<StatusItemInput>();
    ASSERT_EQ(clicks.size(), 2u);
    EXPECT_EQ(clicks[0].item, a);
    EXPECT_EQ(clicks[0].event.type, inputRightMouseDown);
    EXPECT_EQ(clicks[1].event.type, inputRightMouseUp);

    desktop->terminate(pid);
    EXPECT_TRUE(desktop->statusItems().empty()) << "a process's items go with it";
}

TEST_F(DesktopInterfaceTest, AnOpenMenuTakesKeysAndClicksAndIsPickedByTitle) {
    const Pid other = launch("com.example.editor", true);
    (void)other;
    OwnWindowSpec spec;
    spec.menu = true;
    spec.level = 101;
    const WindowNumber menu = panel(CGRect(1200, 25, 200, 100), spec);
    std::vector<MenuItemRecord> items = {
        {"Settings…", true, false, 0, CGRect(0, 4, 200, 22)},
        {"", false, true, 0, CGRect(0, 26, 200, 10)},
        {"Quit Kelvo", false, false, 0, CGRect(0, 36, 200, 22)},
        {"Shortcuts   ⌥/", true, false, 0, CGRect(0, 58, 200, 22), "Shortcuts"},
    };
    desktop->drawOwnWindow(client, OwnWindowContent{menu, {}, {}, items});
    EXPECT_EQ(desktop->openMenu(), items);

    EXPECT_FALSE(desktop->pickMenuItem("Quit Kelvo")) << "a disabled item";
    EXPECT_FALSE(desktop->pickMenuItem("Guide…"));
    EXPECT_TRUE(desktop->pickMenuItem("Settings…"));
    auto input = received<OwnWindowInput>();
    ASSERT_EQ(input.size(), 2u);
    EXPECT_EQ(input[0].window, menu);
    EXPECT_EQ(input[0].event.location, (CGPoint{1300, 40}));
    // An item that shows more than its plain title is picked by either.
    EXPECT_TRUE(desktop->pickMenuItem("Shortcuts"));
    EXPECT_TRUE(desktop->pickMenuItem("Shortcuts   ⌥/"));
    input = received<OwnWindowInput>();
    ASSERT_EQ(input.size(), 6u);
    EXPECT_EQ(input[2].event.location, (CGPoint{1300, 94}));
    EXPECT_EQ(input[4].event.location, (CGPoint{1300, 94}));

    // Escape and a click far outside go to the menu too, not to the front application.
    desktop->pressKey(53);
    desktop->mouseDown(CGPoint{10, 500});
    input = received<OwnWindowInput>();
    ASSERT_EQ(input.size(), 9u);
    EXPECT_EQ(input[8].event.type, inputLeftMouseDown);
    EXPECT_EQ(input[8].window, menu);
}

TEST_F(DesktopInterfaceTest, KeysReachANonActivatingKeyPanelWhileAnotherApplicationIsInFront) {
    const Pid editor = launch("com.example.editor", true);
    OwnWindowSpec spec;
    spec.key = true;
    const WindowNumber plain = panel(CGRect(100, 100, 300, 200), spec);
    desktop->typeText("a");
    EXPECT_TRUE(received<OwnWindowInput>().empty()) << "its process is not in front";
    EXPECT_EQ(desktop->receivedInput(editor).size(), 2u);

    spec.nonactivating = true;
    desktop->updateOwnWindow(plain, spec);
    desktop->typeText("Hi");
    const auto input = received<OwnWindowInput>();
    ASSERT_EQ(input.size(), 4u);
    EXPECT_EQ(input[0].event.characters, "H");
    EXPECT_EQ(input[2].event.characters, "i");
    EXPECT_EQ(desktop->frontmost(), editor);
}

TEST_F(DesktopInterfaceTest, AClickOnAnotherApplicationsWindowTakesTheKeyFromAPanel) {
    const Pid editor = launch("com.example.editor", true);
    const WindowNumber document = open(editor, CGRect(600, 100, 400, 300));
    OwnWindowSpec spec;
    spec.key = true;
    spec.nonactivating = true;
    const WindowNumber launcher = panel(CGRect(100, 100, 300, 200), spec);
    // A click inside the panel keeps its key.
    desktop->mouseDown(CGPoint{150, 150});
    desktop->mouseUp(CGPoint{150, 150});
    EXPECT_TRUE(received<KeyStatusLost>().empty());

    desktop->mouseDown(CGPoint{700, 200});
    desktop->mouseUp(CGPoint{700, 200});
    ASSERT_EQ(received<KeyStatusLost>().size(), 1u);
    EXPECT_EQ(received<KeyStatusLost>()[0].window, launcher);
    EXPECT_FALSE(desktop->ownWindow(launcher)->key);
    EXPECT_EQ(desktop->focusedWindow(editor), document);
    // The keys go to the application that was clicked, before the panel's process answers.
    const auto before = desktop->receivedInput(editor).size();
    desktop->typeText("a");
    EXPECT_EQ(desktop->receivedInput(editor).size(), before + 2);
    EXPECT_EQ(received<OwnWindowInput>().size(), 2u) << "only the click inside the panel";
}

TEST_F(DesktopInterfaceTest, AClickOnAnotherProcesssPanelTakesTheKeyButAClickOnItsOwnDoesNot) {
    OwnWindowSpec spec;
    spec.key = true;
    const WindowNumber first = panel(CGRect(100, 100, 300, 200), spec);
    spec.key = false;
    panel(CGRect(500, 100, 300, 200), spec);
    desktop->mouseDown(CGPoint{600, 150});
    EXPECT_TRUE(received<KeyStatusLost>().empty()) << "a window of the same process";

    const ClientID other = desktop->attach([](const DesktopEvent&) {});
    ApplicationSpec otherSpec;
    otherSpec.bundleID = "com.example.other";
    desktop->registerClient(other, otherSpec);
    OwnWindowSpec otherPanel;
    otherPanel.frame = CGRect(900, 100, 200, 200);
    desktop->orderOwnWindow(desktop->createOwnWindow(other, otherPanel), true);
    desktop->mouseDown(CGPoint{1000, 150});
    desktop->detach(other);
    ASSERT_EQ(received<KeyStatusLost>().size(), 1u);
    EXPECT_EQ(received<KeyStatusLost>()[0].window, first);
}

TEST_F(DesktopInterfaceTest, ClicksGoToTheTopmostWindowThatTakesThem) {
    const WindowNumber below = panel(CGRect(100, 100, 300, 300));
    OwnWindowSpec glass;
    glass.ignoresMouseEvents = true;
    glass.level = 1000;
    panel(CGRect(0, 0, 1440, 900), glass);
    desktop->mouseDown(CGPoint{150, 150});
    desktop->mouseUp(CGPoint{600, 600});
    const auto input = received<OwnWindowInput>();
    ASSERT_EQ(input.size(), 2u);
    EXPECT_EQ(input[0].window, below);
    EXPECT_EQ(input[1].window, below) << "the release goes where the press went";
}

TEST_F(DesktopInterfaceTest, PressesOnlyCloseButtonsThatAreThere) {
    OwnWindowSpec spec;
    spec.closable = true;
    const WindowNumber titled = panel(CGRect(100, 100, 300, 300), spec);
    const WindowNumber bare = panel(CGRect(500, 100, 300, 300));
    EXPECT_TRUE(desktop->pressCloseButton(titled));
    EXPECT_FALSE(desktop->pressCloseButton(bare));
    EXPECT_FALSE(desktop->pressCloseButton(99999));
    ASSERT_EQ(received<CloseButtonPressed>().size(), 1u);
    EXPECT_EQ(received<CloseButtonPressed>()[0].window, titled);
}

/// A titled own window the way the settings window is made: closable, miniaturizable and
/// resizable unless a test leaves one out.
OwnWindowSpec titledLook(bool key = true) {
    OwnWindowSpec spec;
    spec.titled = true;
    spec.closable = true;
    spec.miniaturizable = true;
    spec.resizable = true;
    spec.key = key;
    return spec;
}

void click(Desktop& desktop, CGPoint at) {
    desktop.mouseDown(at);
    desktop.mouseUp(at);
}

TEST_F(DesktopInterfaceTest, ATitledWindowListsItsThreeButtonsAtThePlatformsPlaces) {
    OwnWindowSpec spec = titledLook();
    spec.miniaturizable = false;
    const WindowNumber number = panel(CGRect(200, 100, 600, 400), spec);
    panel(CGRect(900, 100, 300, 300));  // a panel without a title bar lists none
    std::vector<InterfaceElement> buttons;
    for (const ElementRecord& record : desktop->elements(pid))
        if (record.element.role == "button") buttons.push_back(record.element);
    ASSERT_EQ(buttons.size(), 3u);
    // 12-point circles 20 apart, the first centred 14 from the left edge, in a 28-point bar.
    const char* identifiers[] = {"close", "minimize", "zoom"};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(buttons[i].identifier, identifiers[i]);
        EXPECT_EQ(buttons[i].frame.midX(), 200 + 14 + 20 * i) << identifiers[i];
        EXPECT_EQ(buttons[i].frame.midY(), 100 + 28 / 2) << identifiers[i];
        EXPECT_EQ(buttons[i].frame.width(), 12);
        EXPECT_EQ(buttons[i].frame.height(), 12);
    }
    EXPECT_EQ(buttons[0].label, "close button");
    EXPECT_TRUE(buttons[0].enabled);
    EXPECT_FALSE(buttons[1].enabled) << "the style leaves minimizing out";
    EXPECT_TRUE(buttons[2].enabled);
    std::vector<InterfaceElement> titled;
    for (const ElementRecord& record : desktop->elements(pid))
        if (record.window == number) titled.push_back(record.element);
    ASSERT_GE(titled.size(), 2u);
    EXPECT_EQ(titled[0].role, "window");
    EXPECT_EQ(titled[1].identifier, "close") << "right after the window's own element";
}

TEST_F(DesktopInterfaceTest, AClickOnTheCloseButtonPressesItAndReachesNoView) {
    const WindowNumber number = panel(CGRect(200, 100, 600, 400), titledLook());
    click(*desktop, CGPoint{214, 114});
    ASSERT_EQ(received<CloseButtonPressed>().size(), 1u);
    EXPECT_EQ(received<CloseButtonPressed>()[0].window, number);
    EXPECT_TRUE(received<OwnWindowInput>().empty());
    // A press that leaves the button before its release does nothing; beside it, the window's.
    desktop->mouseDown(CGPoint{214, 114});
    desktop->mouseUp(CGPoint{300, 300});
    click(*desktop, CGPoint{226, 140});
    EXPECT_EQ(received<CloseButtonPressed>().size(), 1u);
    EXPECT_EQ(received<OwnWindowInput>().size(), 2u);
}

TEST_F(DesktopInterfaceTest, MinimizeAndZoomDoWhatTheDesktopDoesForThem) {
    const WindowNumber number = panel(CGRect(200, 100, 600, 400), titledLook());
    click(*desktop, CGPoint{254, 114});
    ASSERT_EQ(received<ZoomButtonPressed>().size(), 1u);
    EXPECT_EQ(received<ZoomButtonPressed>()[0].window, number);
    click(*desktop, CGPoint{234, 114});
    EXPECT_TRUE(desktop->window(number)->minimized);
    EXPECT_FALSE(desktop->window(number)->onScreen);
    EXPECT_EQ(received<KeyStatusLost>().size(), 1u) << "a minimized window gives up the keys";
    desktop->orderOwnWindow(number, true);
    EXPECT_FALSE(desktop->window(number)->minimized) << "ordered in, it comes back";

    // A button the style leaves out does nothing.
    OwnWindowSpec fixed = titledLook();
    fixed.resizable = false;
    panel(CGRect(200, 600, 300, 200), fixed);
    click(*desktop, CGPoint{254, 614});
    EXPECT_EQ(received<ZoomButtonPressed>().size(), 1u);
}

TEST_F(DesktopInterfaceTest, AnApplicationsWindowHasTheButtonsToo) {
    const Pid notes = launch("com.example.notes", true);
    const WindowNumber first = open(notes, CGRect(100, 100, 600, 400));
    const WindowNumber second = open(notes, CGRect(800, 100, 600, 400));
    EXPECT_EQ(desktop->titleBarButtons(first).size(), 3u);
    click(*desktop, CGPoint{154, 114});
    EXPECT_TRUE(desktop->window(first)->fullScreen);
    click(*desktop, CGPoint{834, 114});
    EXPECT_TRUE(desktop->window(second)->minimized);
    desktop->setFullScreen(first, false);
    click(*desktop, CGPoint{114, 114});
    EXPECT_FALSE(desktop->window(first)) << "its close button closed it";
}

}  // namespace
}  // namespace sim
