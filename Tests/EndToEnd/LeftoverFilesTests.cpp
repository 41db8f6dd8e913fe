#include <chrono>
#include <filesystem>
#include <fstream>

#include "Support/EndToEnd/EndToEndTest.h"

namespace kelvo::testing {
namespace {

// A save killed between writing its temporary file and renaming it leaves the temporary file
// behind; the next start removes those old enough not to belong to a save under way.
class LeftoverFilesTest : public EndToEndTest {
  protected:
    std::filesystem::path leave(const std::string& name, std::chrono::minutes age) {
        const auto path = kelvoFolder() / name;
        std::ofstream(path) << "{\"partial";
        std::filesystem::last_write_time(path, std::filesystem::file_time_type::clock::now() - age);
        return path;
    }
};

TEST_F(LeftoverFilesTest, StartUpRemovesOldTemporaryFilesOfItsOwnSaves) {
    std::filesystem::create_directories(kelvoFolder());
    const auto oldSession = leave(".session.json.a1B2c3", std::chrono::minutes(11));
    const auto oldConfig = leave(".config.json.Zz9yX8", std::chrono::minutes(60));
    const auto young = leave(".session.json.q7W8e9", std::chrono::minutes(2));
    const auto notOurs = leave(".notes.txt.a1B2c3", std::chrono::minutes(60));
    const auto notATemporary = leave(".session.json.toolong1", std::chrono::minutes(60));
    startKelvo();
    EXPECT_FALSE(std::filesystem::exists(oldSession));
    EXPECT_FALSE(std::filesystem::exists(oldConfig));
    EXPECT_TRUE(std::filesystem::exists(young));
    EXPECT_TRUE(std::filesystem::exists(notOurs));
    EXPECT_TRUE(std::filesystem::exists(notATemporary));
}

}  // namespace
}  // namespace kelvo::testing
