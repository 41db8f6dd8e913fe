// Every picture that `make pictures` draws, drawn again here with the same code and held pixel
// by pixel to the reviewed copy kept beside this suite in Pictures/. A change meant to alter
// what a person sees writes the copies anew (`make pictures-update`), and a person looks at
// them before they are committed.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "PictureBook.h"
#include "Support/Base/PictureComparison.h"

namespace kelvo_pictures {
namespace {

using kelvo::testing::PictureComparison;

/// Every run on a machine of this kind, under the sanitizers or optimised, draws every pixel of
/// every picture exactly as the copy holds it: the fonts and their settings come from the
/// repository's fontconfig file, time from the manual clock, and nothing is random. What may
/// still move is the last bit of a blend where cairo's compositing takes another path on
/// another processor: one or two counts of a channel, which no eye tells apart. A count of
/// three or more in any pixel is a change.
constexpr PictureComparison::Tolerance tolerance{.channelCounts = 2, .pixels = 0};

const std::filesystem::path references =
    std::filesystem::path(KELVO_TESTS_DIR) / "Tools" / "kelvo-pictures" / "Pictures";
const std::filesystem::path failures = KELVO_PICTURES_FAILED_DIR;

std::filesystem::path referenceOf(const std::string& name) {
    return references / (name + ".png");
}

/// Where a picture that failed is left for a person to look at: the picture drawn, and
/// beside it the difference (when the sizes agree). The message says where.
std::string keepFailure(const std::string& name, const CGImage& drawn,
                        const PictureComparison* comparison) {
    std::filesystem::create_directories(failures);
    const std::filesystem::path drawnFile = failures / (name + ".png");
    std::string where = drawn.writePNG(drawnFile.string())
                            ? "the picture drawn is " + drawnFile.string()
                            : "the picture drawn could not be written to " + drawnFile.string();
    if (comparison) {
        const std::filesystem::path differenceFile = failures / (name + "-difference.png");
        const CGImageRef difference = comparison->differencePicture();
        if (difference && difference->writePNG(differenceFile.string()))
            where += ", the pixels that differ are red in " + differenceFile.string();
    }
    return where;
}

void expectReferences(const std::vector<Picture>& pictures) {
    ASSERT_FALSE(pictures.empty());
    for (const Picture& picture : pictures) {
        const CGImageRef drawn = picture.draw();
        if (!drawn) {
            ADD_FAILURE() << "the picture " << picture.name << " could not be drawn";
            continue;
        }
        const std::filesystem::path file = referenceOf(picture.name);
        const CGImageRef reference = CGImage::fromPNGFile(file.string());
        if (!reference) {
            ADD_FAILURE() << "the picture " << picture.name << " has no reference " << file.string()
                          << " (make pictures-update writes it); "
                          << keepFailure(picture.name, *drawn, nullptr);
            continue;
        }
        const PictureComparison comparison(*drawn, *reference, tolerance);
        if (comparison.matches()) continue;
        ADD_FAILURE() << "the picture " << picture.name << " is not its reference " << file.string()
                      << ": " << comparison.describe() << "; "
                      << keepFailure(picture.name, *drawn, &comparison);
    }
}

// One suite per part of the book, so that the parts are drawn side by side.
TEST(SymbolPictures, MatchTheirReferences) {
    expectReferences(symbolPictures());
}
TEST(TextPictures, MatchTheirReferences) {
    expectReferences(textPictures());
}
TEST(LayerPictures, MatchTheirReferences) {
    expectReferences(layerPictures());
}
TEST(ControlPictures, MatchTheirReferences) {
    expectReferences(controlPictures());
}
TEST(BrandPictures, MatchTheirReferences) {
    expectReferences(brandPictures());
}
TEST(MenuBarPictures, MatchTheirReferences) {
    expectReferences(menuBarPictures());
}
TEST(OverlayPictures, MatchTheirReferences) {
    expectReferences(overlayPictures());
}
TEST(LauncherPictures, MatchTheirReferences) {
    expectReferences(launcherPictures());
}
TEST(SettingsWindowPictures, MatchTheirReferences) {
    expectReferences(settingsWindowPictures());
}
TEST(SettingsPagePictures, MatchTheirReferences) {
    expectReferences(settingsPagePictures());
}
TEST(GuidePictures, MatchTheirReferences) {
    expectReferences(guidePictures());
}

TEST(PictureReferences, EachIsAPictureOfTheBookAndNoneIsLeftOver) {
    std::set<std::string> drawn;
    for (const Picture& picture : PictureBook::all())
        EXPECT_TRUE(drawn.insert(picture.name).second)
            << "two pictures are called " << picture.name;
    std::set<std::string> kept;
    for (const auto& entry : std::filesystem::directory_iterator(references))
        kept.insert(entry.path().filename().string());
    for (const std::string& name : drawn)
        EXPECT_TRUE(kept.erase(name + ".png")) << "no reference for " << name;
    EXPECT_TRUE(kept.empty()) << "references of no picture: " << *kept.begin();
}

TEST(PictureReferences, TheCopiesStayUnderTenMegabytes) {
    std::uintmax_t total = 0;
    for (const auto& entry : std::filesystem::directory_iterator(references))
        total += entry.file_size();
    EXPECT_LT(total, 10'000'000u);
}

}  // namespace
}  // namespace kelvo_pictures
