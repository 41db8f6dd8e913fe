#include <sys/stat.h>

#include <filesystem>

#include "Support/EndToEnd/EndToEndTest.h"

namespace kelvo::testing {
namespace {

/// The umask of an account that shares every file it makes, in force while the desktop starts:
/// a base listed before `EndToEndTest`, so that the desktop's server inherits it.
struct SharingUmask {
    SharingUmask() : previous(::umask(0)) {}
    mode_t previous;
};

// Whoever reaches the desktop's socket can press keys in every application and read every
// window: the socket is its owner's alone, however open the umask of the server.
class DesktopSocketTest : public SharingUmask, public EndToEndTest {
  protected:
    DesktopSocketTest() { ::umask(previous); }
};

TEST_F(DesktopSocketTest, TheSocketIsReadableAndWritableByItsOwnerOnlyAtUmaskZero) {
    struct stat status {};
    ASSERT_EQ(::stat(desktop().socketPath().c_str(), &status), 0);
    EXPECT_TRUE(S_ISSOCK(status.st_mode));
    EXPECT_EQ(status.st_mode & 07777, 0600u);
    // Nothing of the making is left beside it, and its owner reaches it as before.
    const auto folder = std::filesystem::path(desktop().socketPath()).parent_path();
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        EXPECT_EQ(entry.path().filename(), "desktop.sock");
    EXPECT_EQ(desktop().run({"displays"}).status, 0);
}

}  // namespace
}  // namespace kelvo::testing
