#include <memory>
#include <string>

#include "Support/EndToEnd/EndToEndTest.h"

namespace kelvo::testing {
namespace {

// Two test-mode Kelvos started together on one desktop: the one the desktop took first runs,
// the other refuses with status 3 and names it. Never both.
class InstanceCheckTest : public EndToEndTest {};

TEST_F(InstanceCheckTest, OfTwoStartedTogetherTheOlderRunsAndTheYoungerRefuses) {
    for (int round = 0; round < 5; ++round) {
        std::unique_ptr<KelvoProcess> pair[2];
        for (int i = 0; i < 2; ++i) {
            KelvoProcess::Options options;
            options.desktop = desktop().environment();
            options.testFolder =
                kelvoFolder() / ("round" + std::to_string(round) + "-" + std::to_string(i));
            pair[i] = launchKelvo(options);
        }
        // The one that refuses is known by its status; the other answers.
        int refused = -1;
        ASSERT_TRUE(eventually([&] {
            for (int i = 0; i < 2; ++i)
                if (!pair[i]->process().isRunning()) refused = i;
            return refused >= 0;
        })) << "round "
            << round << ": neither refused";
        EXPECT_EQ(pair[refused]->process().waitForExit(), 3) << "round " << round;
        KelvoProcess& running = *pair[1 - refused];
        EXPECT_TRUE(running.ping().ok) << "round " << round << ": both refused";
        EXPECT_NE(
            pair[refused]->standardError().find("(pid " + std::to_string(running.pid()) + ")"),
            std::string::npos)
            << pair[refused]->standardError();
        EXPECT_EQ(running.quit(), 0);
    }
}

}  // namespace
}  // namespace kelvo::testing
