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
}

}  // namespace
}  // namespace kelvo
