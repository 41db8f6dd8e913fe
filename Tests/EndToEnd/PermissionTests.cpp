#include <ctime>
#include <filesystem>
#include <map>

#include "Base/JSON/JSONDecoder.h"
#include "Support/Base/TestFiles.h"
#include "Support/EndToEnd/EndToEndTest.h"

namespace kelvo::testing {
namespace {

// A desktop that has not granted Kelvo Accessibility trust.
class PermissionTest : public EndToEndTest {
  protected:
    PermissionTest() : EndToEndTest({"--display", "1920x1080", "--untrusted"}) {}

    /// One file of Kelvo's folder as it stands: its bytes and when it was last written.
    struct FileState {
        std::string contents;
        std::filesystem::file_time_type written;
        bool operator==(const FileState&) const = default;
    };

    /// Every file under Kelvo's folder, by its path inside it.
    std::map<std::string, FileState> folderState() const {
        std::map<std::string, FileState> files;
        for (const auto& entry : std::filesystem::recursive_directory_iterator(kelvoFolder())) {
            if (!entry.is_regular_file()) continue;
            files[std::filesystem::relative(entry.path(), kelvoFolder()).string()] = {
                fileContents(entry.path()), entry.last_write_time()};
        }
        return files;
    }

    /// Starts Kelvo in test mode on this desktop, which refuses it: it must say so on standard
    /// output alone and end with status 1.
    void expectRefusal() {
        KelvoProcess::Options options;
        options.desktop = desktop().environment();
        options.testFolder = kelvoFolder();
        auto k = launchKelvo(options);
        EXPECT_EQ(k->process().readAll(), "Accessibility permission denied; quitting.\n");
        EXPECT_EQ(k->process().waitForExit(), 1);
        EXPECT_EQ(k->standardError(), "");
    }

    /// Writes a file of an earlier run into Kelvo's folder, dated an hour back.
    void leave(const std::string& name, const std::string& contents) const {
        writeText(kelvoFolder() / name, contents);
        EXPECT_TRUE(setModified(kelvoFolder() / name, static_cast<double>(::time(nullptr)) - 3600));
    }
};

TEST_F(PermissionTest, WithoutTrustKelvoExitsWithStatusOneAndCreatesNoFile) {
    const auto w = open(notes, CGRect(100, 100, 600, 400));
    expectRefusal();
    EXPECT_FALSE(std::filesystem::exists(kelvoFolder() / "config.json"));
    EXPECT_FALSE(std::filesystem::exists(kelvoFolder() / "kelvo.log"));
    EXPECT_FALSE(std::filesystem::exists(kelvoFolder() / "session.json"));
    EXPECT_TRUE(near(window(w)->frame, CGRect(100, 100, 600, 400)));
}

// Without trust, start-up stops at the permission gate, before anything else of it runs: one line
// on standard output and exit status 1, in test mode without any alert or prompt. Everything after
// the gate is left undone: the configuration is not read (this one is unreadable, and reading it
// would say so on standard error), the log is not opened and the session file is neither read nor
// written; and no window is touched.
TEST_F(PermissionTest, WithoutTrustKelvoQuitsBeforeTouchingItsFilesOrAnyWindow) {
    const auto w = open(notes, CGRect(100, 100, 600, 400));
    leave("config.json", "{ this is not JSON");
    leave("session.json", R"({"activeDesktop":2,"bootTime":1000000000,"bundleIDs":{},"panes":[]})");
    leave("kelvo.log", "2026-01-01 10:00:00.000  an earlier run\n");
    const auto before = folderState();
    ASSERT_EQ(before.size(), 3u);

    expectRefusal();
    EXPECT_TRUE(folderState() == before) << "Kelvo's folder changed";
    const auto after = window(w);
    ASSERT_TRUE(after);
    EXPECT_TRUE(near(after->frame, CGRect(100, 100, 600, 400)));
    EXPECT_FALSE(after->minimized);
    EXPECT_TRUE(after->onScreen);
}

TEST_F(PermissionTest, OutsideTestModeTheDesktopShowsBothAlertsAndQuitEndsKelvo) {
    ASSERT_EQ(desktop().run({"answer-alerts", "Continue", "Quit"}).status, 0);
    KelvoProcess::Options options;
    options.desktop = desktop().environment();
    auto k = launchKelvo(options);
    EXPECT_EQ(k->process().readAll(), "Accessibility permission denied; quitting.\n");
    EXPECT_EQ(k->process().waitForExit(), 1);
    const auto alerts = desktop().lines({"alerts"});
    ASSERT_EQ(alerts.size(), 2u);
    const JSONValue first = JSONNode::parse(alerts[0]);
    const JSONValue second = JSONNode::parse(alerts[1]);
    EXPECT_EQ(first["alert"]["messageText"], "Kelvo needs Accessibility access");
    EXPECT_EQ(first["alert"]["buttons"], (JSONValue{"Continue", "Quit"}));
    EXPECT_EQ(first["answer"], 1000);
    EXPECT_EQ(first["owner"], k->pid());
    EXPECT_EQ(second["alert"]["messageText"], "Waiting for Accessibility access");
    EXPECT_EQ(second["alert"]["informativeText"],
              "Switch Kelvo on in System Settings → Privacy & Security → Accessibility, then "
              "click Done.");
    EXPECT_EQ(second["alert"]["buttons"], (JSONValue{"Done", "Quit"}));
    EXPECT_EQ(second["answer"], 1001);
}

}  // namespace
}  // namespace kelvo::testing
