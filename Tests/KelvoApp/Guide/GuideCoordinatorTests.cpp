#include <gtest/gtest.h>

#include "KelvoApp/Coordinator/Coordinator.h"
#include "Support/KelvoApp/CoordinatorFixture.h"

namespace kelvo {
namespace {

class GuideCoordinatorTest : public CoordinatorFixture {};

TEST_F(GuideCoordinatorTest, TheGuideEditsTheSettingsWindowsOwnModel) {
    ASSERT_TRUE(start());
    OwnWindows& own = coordinator->ownWindows;
    EXPECT_FALSE(own.guideWindow().window) << "test mode never shows the guide at start-up";
    own.statusItem().callbacks().onGuide();
    ASSERT_TRUE(own.guideWindow().isOpen());
    EXPECT_EQ(&own.guideWindow().model.settings(), &own.settingsWindow().model);

    own.guideWindow().model.advance();
    settle(0.1);
    SwiftUI::NSHostingView& hosting = *own.guideWindow().hosting;
    const SwiftUI::LayoutNode* stepper = hosting.layoutTree().findRole("stepper");
    ASSERT_TRUE(stepper);
    // The lower arrow of the desktop counter.
    hosting.graph().click(CGPoint{stepper->frame.midX(), stepper->frame.maxY() - 2});
    settle();
    EXPECT_EQ(own.settingsWindow().model.config().desktopCount, 8);
}

}  // namespace
}  // namespace kelvo
