// The launcher's view model: the eight-row window that follows the selection, what it
// publishes, and how keys and clicks turn into picks.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "KelvoApp/Services/Launcher/LauncherViewModel.h"

namespace kelvo {
namespace {

using Key = LauncherModel::Key;
using ::testing::ElementsAre;

std::string numbered(int i) {
    return (i < 10 ? "app0" : "app") + std::to_string(i);
}

/// Twenty applications "app00" … "app19" (their ranking for the empty query is their name).
LauncherViewModel::Apps twentyApps() {
    LauncherViewModel::Apps apps;
    for (int i = 0; i < 20; ++i) {
        const std::string id = "com.example." + numbered(i);
        apps[id] = LauncherApp{{id, numbered(i), false}, "/Applications/" + numbered(i) + ".app"};
    }
    return apps;
}

class LauncherViewModelTest : public ::testing::Test {
  protected:
    LauncherViewModelTest() {
        model->onHeightChange = [this] { ++heightChanges; };
        model->onCommit = [this](const LauncherApp& app, LauncherRequest request) {
            commits.push_back({app.entry.bundleID, request});
        };
        model->onUse = [this](const std::string& id) { uses.push_back(id); };
        model->onCancel = [this] { ++cancels; };
        model->onFocusField = [this](LauncherModel::Caret caret) { carets.push_back(caret); };
        model->onBlurField = [this] { ++blurs; };
        model->setApps(twentyApps());
    }
    std::vector<std::string> rowNames() const {
        std::vector<std::string> names;
        for (const auto& row : model->rows.get())
            names.push_back(row.name);
        return names;
    }

    std::shared_ptr<LauncherViewModel> model =
        std::make_shared<LauncherViewModel>(nullptr, nullptr);
    int heightChanges = 0;
    std::vector<std::pair<std::string, LauncherRequest>> commits;
    std::vector<std::string> uses;
    int cancels = 0;
    int blurs = 0;
    std::vector<LauncherModel::Caret> carets;
};

TEST_F(LauncherViewModelTest, TheRowWindowFollowsTheSelectionAcrossTwentyMatches) {
    ASSERT_EQ(model->rows->size(), 8u);
    EXPECT_EQ(model->rows->front().name, "app00");
    for (int i = 0; i < 9; ++i)
        model->move(1);
    EXPECT_EQ(model->model().selection(), 9);
    EXPECT_EQ(model->windowStart(), 2);
    EXPECT_THAT(rowNames(), ElementsAre("app02", "app03", "app04", "app05", "app06", "app07",
                                        "app08", "app09"));
    EXPECT_EQ(model->selection, 7);

    for (int i = 0; i < 8; ++i)
        model->move(-1);
    EXPECT_EQ(model->model().selection(), 1);
    EXPECT_EQ(model->windowStart(), 1);
    EXPECT_THAT(rowNames(), ElementsAre("app01", "app02", "app03", "app04", "app05", "app06",
                                        "app07", "app08"));
    EXPECT_EQ(model->selection, 0);

    // The window never runs past the end.
    for (int i = 0; i < 30; ++i)
        model->move(1);
    EXPECT_EQ(model->windowStart(), 12);
    EXPECT_EQ(model->rows->back().name, "app19");
    EXPECT_EQ(model->selection, 7);
}

TEST_F(LauncherViewModelTest, NarrowingTheQueryChangesTheRowsAndTheHeight) {
    heightChanges = 0;
    model->type("app1");  // app10 … app19: ten matches, still eight rows
    EXPECT_EQ(model->rows->size(), 8u);
    EXPECT_EQ(heightChanges, 0);
    model->type("app0");
    model->type("app00");
    EXPECT_EQ(model->rows->size(), 1u);
    EXPECT_EQ(heightChanges, 1);
    model->type("zzz");
    EXPECT_TRUE(model->rows->empty());
    EXPECT_EQ(model->selection, 0);
    EXPECT_EQ(heightChanges, 2);
}

TEST_F(LauncherViewModelTest, IconsComeFromTheLookupWithTheApplicationsLocation) {
    std::vector<std::string> asked;
    model->iconOf = [&](const std::string& id, const std::optional<std::filesystem::path>& url) {
        asked.push_back(id + " " + (url ? url->string() : "-"));
        return NSImageRef();
    };
    model->reset();
    ASSERT_EQ(asked.size(), 8u);
    EXPECT_EQ(asked[0], "com.example.app00 /Applications/app00.app");
}

TEST_F(LauncherViewModelTest, ReturnCommitsTheChosenApplicationAndRecordsItsUse) {
    model->move(2);
    EXPECT_TRUE(model->key(Key::enter()));
    ASSERT_EQ(commits.size(), 1u);
    EXPECT_EQ(commits[0].first, "com.example.app02");
    EXPECT_EQ(commits[0].second, LauncherRequest::goTo);
    EXPECT_THAT(uses, ElementsAre("com.example.app02"));
    EXPECT_EQ(model->model().recents().front(), "com.example.app02");

    EXPECT_TRUE(model->key(Key::shiftEnter()));
    EXPECT_EQ(commits.back().second, LauncherRequest::bringHere);
}

TEST_F(LauncherViewModelTest, ReturnWithNoMatchesDoesNothing) {
    model->type("zzz");
    EXPECT_TRUE(model->key(Key::enter()));
    EXPECT_TRUE(commits.empty());
    EXPECT_TRUE(uses.empty());
}

TEST_F(LauncherViewModelTest, AClickOnTheThirdVisibleRowGoesToIt) {
    for (int i = 0; i < 9; ++i)
        model->move(1);
    model->choose(2);
    ASSERT_EQ(commits.size(), 1u);
    EXPECT_EQ(commits[0].first, "com.example.app04");
    EXPECT_EQ(commits[0].second, LauncherRequest::goTo);
    model->choose(8);
    model->choose(-1);
    EXPECT_EQ(commits.size(), 1u);
}

TEST_F(LauncherViewModelTest, AnApplicationThatLeftTheCandidatesCannotBePicked) {
    auto apps = twentyApps();
    apps.erase("com.example.app02");
    model->setApps(apps);
    model->type("app02");
    EXPECT_TRUE(model->rows->empty());
    EXPECT_TRUE(model->key(Key::enter()));
    EXPECT_TRUE(commits.empty());
    EXPECT_TRUE(uses.empty());
}

TEST_F(LauncherViewModelTest, VimNormalModeMovesWithLettersAndReturnsToTheFieldWithICaretAndA) {
    model->setVimMode(true);
    model->reset();
    EXPECT_EQ(model->mode, LauncherModel::Mode::normal);
    EXPECT_TRUE(model->vimMode);
    EXPECT_TRUE(model->key(Key::character("j")));
    EXPECT_TRUE(model->key(Key::character("j")));
    EXPECT_TRUE(model->key(Key::character("k")));
    EXPECT_EQ(model->selection, 1);
    EXPECT_TRUE(model->key(Key::character("x")));  // consumed, nothing typed
    EXPECT_EQ(model->field.get(), "");

    EXPECT_TRUE(model->key(Key::character("i")));
    EXPECT_EQ(model->mode, LauncherModel::Mode::insert);
    EXPECT_FALSE(model->key(Key::character("j")));  // the field has it now
    EXPECT_TRUE(model->key(Key::escape()));
    EXPECT_EQ(blurs, 1);
    EXPECT_EQ(model->mode, LauncherModel::Mode::normal);
    EXPECT_TRUE(model->key(Key::character("a")));
    EXPECT_THAT(carets, ElementsAre(LauncherModel::Caret::start, LauncherModel::Caret::end));

    model->key(Key::escape());
    EXPECT_EQ(cancels, 0);
    EXPECT_TRUE(model->key(Key::character("q")));
    EXPECT_EQ(cancels, 1);
}

}  // namespace
}  // namespace kelvo
