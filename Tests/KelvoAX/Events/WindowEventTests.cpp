#include <gtest/gtest.h>

#include "KelvoAX/Events/WindowEvent.h"
#include "Support/Platform/DesktopFixture.h"

namespace kelvo {
namespace {

using WindowElementTest = DesktopFixture;

TEST_F(WindowElementTest, ElementsCompareAsThePlatformDoes) {
    const sim::Pid pid = launch("com.example.editor");
    const auto number = open(pid, CGRect(0, 30, 800, 600));
    const sim::ElementID element = desktop->window(number)->element;
    const WindowElement first{std::make_shared<AXUIElement>(element)};
    const WindowElement second{std::make_shared<AXUIElement>(element)};
    const WindowElement replaced{std::make_shared<AXUIElement>(desktop->replaceElement(number))};

    EXPECT_EQ(first, second);
    EXPECT_NE(first, replaced);
    EXPECT_EQ(WindowEvent::created(WindowID(number), "com.example.editor", first),
              WindowEvent::created(WindowID(number), "com.example.editor", second));
    EXPECT_NE(WindowEvent::created(WindowID(number), "com.example.editor", first),
              WindowEvent::created(WindowID(number), "com.example.editor", replaced));
    EXPECT_NE(WindowEvent::created(WindowID(number), "com.example.editor", first),
              WindowEvent::created(WindowID(number), "com.example.editor", std::nullopt));

    // Still equal once the window is gone: identity outlives it.
    desktop->closeWindow(number);
    EXPECT_EQ(first, second);
}

TEST(WindowEvent, CasesCarryTheirPayloads) {
    EXPECT_EQ(WindowEvent::destroyed(WindowID(7)).description(), "destroyed win#7");
    EXPECT_EQ(WindowEvent::activated(std::nullopt, "com.x").description(), "activated - com.x");
    EXPECT_EQ(WindowEvent::activated(WindowID(3), std::nullopt).description(), "activated win#3 -");
    EXPECT_EQ(WindowEvent::terminated(std::nullopt).description(), "terminated -");
    EXPECT_EQ(WindowEvent::created(WindowID(2), std::nullopt, std::nullopt).description(),
              "created win#2 - no-element");
    EXPECT_EQ(WindowEvent::terminated("com.x").window(), std::nullopt);
    EXPECT_EQ(WindowEvent::minimized(WindowID(4)).kind(), WindowEvent::Kind::minimized);
    EXPECT_NE(WindowEvent::moved(WindowID(4)), WindowEvent::resized(WindowID(4)));
    EXPECT_NE(WindowEvent::focused(WindowID(4)), WindowEvent::focused(WindowID(5)));
    EXPECT_NE(WindowEvent::minimized(WindowID(4)), WindowEvent::unminimized(WindowID(4)));
}

}  // namespace
}  // namespace kelvo
