// The launcher's view tree laid out at the panel's width: its fixed heights (which the panel's
// height formula relies on), the mode chip, the hints, and the rows' icon, badge and plate.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>
#include <string>

#include "KelvoApp/Services/Launcher/LauncherView.h"
#include "Platform/SwiftUI/Color.h"
#include "Platform/SwiftUI/ViewGraph.h"

namespace kelvo {
namespace {

using namespace SwiftUI;
using Key = LauncherModel::Key;
using ::testing::ElementsAre;

class LauncherViewTest : public ::testing::Test {
  protected:
    void setApps(int count) {
        LauncherViewModel::Apps apps;
        for (int i = 0; i < count; ++i) {
            const std::string id = "com.example.app" + std::to_string(i);
            apps[id] = LauncherApp{{id, "App " + std::to_string(i), false}, std::nullopt};
        }
        model->setApps(apps);
    }
    const LayoutNode& layout(CGFloat height) {
        graph = std::make_unique<ViewGraph>(
            [this] { return LauncherView(model, Color::clear().view()).body(); });
        return graph->layout({640, height});
    }
    const LayoutNode& id(const std::string& identifier) const {
        const LayoutNode* found = graph->tree().findIdentifier(identifier);
        if (!found) throw std::runtime_error("no " + identifier + "\n" + graph->tree().describe());
        return *found;
    }
    bool has(const std::string& identifier) const {
        return graph->tree().findIdentifier(identifier) != nullptr;
    }
    std::vector<std::string> hintLabels() const {
        std::vector<std::string> labels;
        for (const auto& hint : launcherHints(model->vimMode, model->mode, model->canBringHere))
            labels.push_back(hint.cap + " " + hint.label);
        return labels;
    }

    std::shared_ptr<LauncherViewModel> model = std::make_shared<LauncherViewModel>(
        [](const std::string& id) -> std::optional<int> {
            if (id == "com.example.app1") return 3;
            return std::nullopt;
        },
        [](const LauncherEntry& entry) { return entry.bundleID == "com.example.app2"; });
    std::unique_ptr<ViewGraph> graph;
};

TEST_F(LauncherViewTest, WithNoRowsOnlyTheQueryRowIsDrawn) {
    layout(60);
    EXPECT_EQ(graph->fittingSize({640, std::nullopt}).height, 60);
    EXPECT_EQ(id("launcher.query").frame, CGRect(0, 0, 640, 60));
    EXPECT_FALSE(has("launcher.list"));
    EXPECT_FALSE(has("launcher.hints"));
    EXPECT_FALSE(graph->tree().findKind(NodeKind::rectangle));
}

TEST_F(LauncherViewTest, ThreeRowsMakeAStackOf268PointsWithRowsOf52) {
    setApps(3);
    layout(268);
    EXPECT_EQ(graph->fittingSize({640, std::nullopt}).height, 268);
    EXPECT_EQ(id("launcher.row.com.example.app2").frame, CGRect(0, 173, 640, 52));
    EXPECT_EQ(id("launcher.hints").frame, CGRect(0, 234, 640, 34));
    // The query field takes the width left beside the symbol, 28 points high.
    const CGRect field = id("launcher.field").frame;
    EXPECT_EQ(field.height(), 28);
    EXPECT_EQ(field.maxX(), 620);
}

TEST_F(LauncherViewTest, TheSelectedRowStandsOnAnInsetAccentPlate) {
    model->iconOf = [](const std::string& id, const std::optional<std::filesystem::path>&) {
        return id == "com.example.app2" ? NSImage::imageWithSystemSymbolName("magnifyingglass")
                                        : nullptr;
    };
    setApps(3);
    model->move(1);
    layout(268);
    const LayoutNode& plate = id("launcher.selection");
    const CGRect row = id("launcher.row.com.example.app1").frame;
    EXPECT_EQ(plate.frame, CGRect(row.minX() + 8, row.minY() + 3, 624, 46));
    EXPECT_EQ(graph->tree().findText("App 1")->color, Color::white());
    EXPECT_EQ(graph->tree().findText("App 0")->color, Color::white().opacity(0.78));
    // The badge of desktop 3 on the selected row; no badge elsewhere.
    const LayoutNode& badge = id("launcher.badge");
    EXPECT_TRUE(badge.findText("3"));
    EXPECT_GE(badge.frame.width(), 26);
    EXPECT_GE(badge.frame.height(), 22);
    EXPECT_EQ(graph->tree()
                  .findAll([](const LayoutNode& n) { return n.identifier == "launcher.badge"; })
                  .size(),
              1u);
    // Each row shows the 32-point placeholder but the one whose application has an icon.
    const LayoutNode& icon = id("launcher.icon.placeholder");
    EXPECT_EQ(icon.frame.size, (CGSize{32, 32}));
    EXPECT_EQ(icon.frame.minX(), 20);
    EXPECT_EQ(id("launcher.icon").frame.size, (CGSize{32, 32}));
}

TEST_F(LauncherViewTest, TheHintsFollowTheModeAndTheBringHereChoice) {
    setApps(3);
    EXPECT_THAT(hintLabels(), ElementsAre("⇥ complete", "↩ open", "esc close"));
    layout(268);
    EXPECT_TRUE(id("hint.close").findText("esc")) << id("hint.close").describe();
    model->move(2);
    EXPECT_THAT(hintLabels(), ElementsAre("⇥ complete", "↩ open", "esc close", "⇧↩ bring here"));
    model->move(-1);
    EXPECT_THAT(hintLabels(), ElementsAre("⇥ complete", "↩ open", "esc close"));

    model->setVimMode(true);
    model->reset();
    layout(268);
    EXPECT_TRUE(id("launcher.mode").findText("NORMAL"));
    EXPECT_THAT(hintLabels(), ElementsAre("j k move", "i type", "esc close"));
    EXPECT_TRUE(id("launcher.hints").findText("move"));
    model->key(Key::character("i"));
    layout(268);
    EXPECT_TRUE(id("launcher.mode").findText("INSERT"));
    EXPECT_THAT(hintLabels(), ElementsAre("⇥ complete", "↩ open", "esc normal"));
}

TEST_F(LauncherViewTest, TheEscapeCapHoldsItsWholeTextWithinItsPlate) {
    setApps(3);
    for (const bool vim : {false, true}) {
        model->setVimMode(vim);
        model->reset();
        if (vim) model->key(Key::character("i"));
        layout(268);
        const LayoutNode& item = id(vim ? "hint.normal" : "hint.close");
        const LayoutNode* plate = item.findKind(NodeKind::background);
        const LayoutNode* text = item.findText("esc");
        ASSERT_TRUE(plate && text) << item.describe();
        // The text is padded 6 on either side of the plate.
        EXPECT_NEAR(text->frame.minX(), plate->frame.minX() + 6, 1e-9) << item.describe();
        EXPECT_NEAR(text->frame.maxX(), plate->frame.maxX() - 6, 1e-9) << item.describe();
    }
}

TEST_F(LauncherViewTest, ALongNameStaysOnOneLineCutAtItsTail) {
    LauncherViewModel::Apps apps;
    const std::string name(200, 'W');
    apps["com.example.long"] = LauncherApp{{"com.example.long", name, false}, std::nullopt};
    model->setApps(apps);
    layout(164);
    const LayoutNode* text = graph->tree().find(
        [](const LayoutNode& n) { return n.kind == NodeKind::text && n.text.ends_with("…"); });
    ASSERT_TRUE(text);
    EXPECT_LE(text->frame.maxX(), 620);
    EXPECT_EQ(id("launcher.row.com.example.long").frame.height(), 52);
}

TEST_F(LauncherViewTest, AClickOnARowChoosesIt) {
    setApps(3);
    std::string picked;
    model->onCommit = [&](const LauncherApp& app, LauncherRequest) { picked = app.entry.bundleID; };
    layout(268);
    const CGRect row = id("launcher.row.com.example.app2").frame;
    // Beside the text, where nothing is drawn: the whole row takes the click.
    EXPECT_TRUE(graph->click({row.maxX() - 30, row.midY()}));
    EXPECT_EQ(picked, "com.example.app2");
}

}  // namespace
}  // namespace kelvo
