#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "Base/JSON/JSONDecoder.h"
#include "Support/EndToEnd/EndToEndTest.h"
#include "Support/Simulator/ApplicationTree.h"

namespace kelvo::testing {
namespace {

constexpr const char* quitter = "com.example.quitter";
constexpr const char* hollow = "com.example.hollow";
constexpr const char* locked = "com.example.locked";

// Application bundles on disk that do not stay running, picked in the launcher as a person
// picks them: one whose executable exits at once, one without an executable and one whose
// executable may not be run.
class LaunchFailureTest : protected MachineRoot, public EndToEndTest {
  protected:
    LaunchFailureTest() : EndToEndTest({"--root", root.path().string()}) {
        writeConfig(R"({"guideSeen":true})");
        install("Quitter", quitter, "#!/bin/sh\nexit 3\n");
        install("Hollow", hollow, "");
        const auto program =
            install("Locked", locked,
                    std::string("#!/bin/sh\nexec '") + KELVO_FIXTURE_PROGRAM + "' --bundle\n") /
            "Contents" / "MacOS" / "Locked";
        std::filesystem::permissions(program, std::filesystem::perms::owner_read |
                                                  std::filesystem::perms::owner_write |
                                                  std::filesystem::perms::group_read);
    }

    std::filesystem::path install(const std::string& name, const std::string& bundleID,
                                  const std::string& executable) {
        return ApplicationTree::install(
            root / "Applications", name + ".app",
            BundleContents{.bundleID = bundleID, .name = name, .executable = executable});
    }
    /// Opens the launcher, types the whole name, waits for its row alone and presses Return.
    void pick(const std::string& name) {
        ASSERT_TRUE(key("alt+space"));
        ASSERT_TRUE(eventually([&] { return interfaceShows("Hollow"); }))
            << "the launcher's rows did not appear";
        ASSERT_EQ(desktop().run({"type", name}).status, 0);
        ASSERT_TRUE(eventually([&] {
            const auto labels = interfaceLabels();
            return std::count_if(labels.begin(), labels.end(),
                                 [](const std::string& label) {
                                     return label == "Quitter" || label == "Hollow" ||
                                            label == "Locked";
                                 }) == 1 &&
                   std::find(labels.begin(), labels.end(), name) != labels.end();
        })) << "typing did not narrow the rows to "
            << name;
        ASSERT_TRUE(key("return"));
    }
    /// How many records `kelvo-sim apps` holds of the application, terminated or not.
    std::size_t listings(const std::string& bundleID) {
        std::size_t count = 0;
        for (const auto& line : desktop().lines({"apps"})) {
            const JSONValue app = JSONNode::parse(line);
            if (JSONNode(app).decodeIfPresent<std::string>("bundleID") == bundleID) ++count;
        }
        return count;
    }
};

TEST_F(LaunchFailureTest, AnApplicationThatExitsAtOnceIsTerminatedAndAPickLaunchesItAgain) {
    const auto note = open(notes, CGRect(100, 100, 700, 500), FixtureQuirk::plain, "Notes");
    startKelvo();
    ASSERT_TRUE(settled({note}));

    const std::string launching = std::string("launcher: launching ") + quitter;
    const std::string terminated = std::string("event terminated ") + quitter;
    pick("Quitter");
    const auto first = kelvo().waitForLine(launching);
    ASSERT_TRUE(first);
    // Its end reaches Kelvo as a termination, and the desktop no longer runs it.
    const auto ended = kelvo().waitForLine(terminated, *first);
    EXPECT_TRUE(ended) << "Kelvo never heard that the application ended";
    EXPECT_TRUE(eventually([&] { return desktop().pidsOf(quitter).empty(); }))
        << "the desktop still lists it running";
    EXPECT_TRUE(eventually([&] { return frontApplication() != quitter; }));
    ASSERT_TRUE(ended);

    // Picked again, it is started again, not asked to open a window.
    pick("Quitter");
    const auto second = kelvo().waitForLine(launching, *ended + 1);
    EXPECT_TRUE(second) << "the second pick did not launch it";
    const auto messages = kelvo().logMessages();
    EXPECT_TRUE(std::none_of(messages.begin(), messages.end(), [](const std::string& message) {
        return message.starts_with(std::string("launcher: ") + quitter + " is running");
    }));
    if (second) {
        EXPECT_TRUE(kelvo().waitForLine(terminated, *second));
    }
    EXPECT_TRUE(everyWindowOnADisplay());
}

TEST_F(LaunchFailureTest, ABundleThatCannotRunIsLoggedWithTheReasonAndNeverListed) {
    startKelvo();
    struct Refusal {
        std::string name;
        std::string bundleID;
        std::string why;
    };
    const Refusal refused[] = {
        {"Hollow", hollow,
         "The application “Hollow” can’t be opened because its executable is missing."},
        {"Locked", locked,
         "The application “Locked” can’t be opened because you don’t have permission to run "
         "its executable."},
    };
    for (const auto& [name, bundleID, why] : refused) {
        pick(name);
        const auto launching = kelvo().waitForLine("launcher: launching " + bundleID);
        ASSERT_TRUE(launching) << name;
        EXPECT_TRUE(kelvo().waitForLine("launcher: " + bundleID + " failed to open - " + why,
                                        *launching + 1))
            << name;
        EXPECT_EQ(listings(bundleID), 0u) << name;
    }
}

}  // namespace
}  // namespace kelvo::testing
