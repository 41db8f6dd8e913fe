// The float and ignore lists: what the "Add…" menu offers, how the listed applications are
// named and ordered, and what an empty list shows.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "KelvoApp/Views/Palette.h"
#include "KelvoApp/Views/Settings/RuleList.h"
#include "KelvoCore/Settings/SettingsCatalog.h"
#include "Support/Platform/InstalledApplicationsFixture.h"
#include "Support/Platform/LaidOutView.h"

namespace kelvo {
namespace {

using namespace SwiftUI;
using ::testing::ElementsAre;
using testing::LaidOutView;

class RuleListTest : public InstalledApplicationsFixture {
  protected:
    RuleList list(std::set<std::string> listed, std::vector<AppEntry> running) {
        return RuleList{SettingsCatalog::entry(SettingsCatalog::SettingID::floatRules),
                        std::move(listed), std::move(running),
                        [this](const std::string& id) { added.push_back(id); },
                        [this](const std::string& id) { removed.push_back(id); }};
    }
    /// The menu the "Add…" button pops up, as entries.
    std::vector<MenuEntry> openMenu(LaidOutView& view, std::function<void(std::size_t)>& pick) {
        std::vector<MenuEntry> shown;
        view.graph.services().presentMenu = [&](const std::vector<MenuEntry>& entries, CGRect,
                                                std::function<void(std::size_t)> then) {
            shown = entries;
            pick = std::move(then);
        };
        const LayoutNode* button = view.tree().find(
            [](const LayoutNode& n) { return n.element && n.element->label == "Add…"; });
        if (!button) throw std::runtime_error("no menu\n" + view.tree().describe());
        view.graph.click({button->frame.midX(), button->frame.midY()});
        return shown;
    }
    std::vector<std::string> added, removed;
};

TEST_F(RuleListTest, TheMenuOffersOnlyRunningApplicationsNotYetListed) {
    const std::vector<AppEntry> running{
        {"com.example.c", "Gamma"}, {"com.example.b", "Beta"}, {"com.example.a", "Alpha"}};
    LaidOutView view(list({"com.example.b"}, running), {700, 400});
    std::function<void(std::size_t)> pick;
    const std::vector<MenuEntry> entries = openMenu(view, pick);
    // In the order the applications were given, not by name.
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].title, "Gamma");
    EXPECT_EQ(entries[1].title, "Alpha");
    EXPECT_TRUE(entries[1].enabled);
    pick(1);
    EXPECT_THAT(added, ElementsAre("com.example.a"));

    LaidOutView full(list({"com.example.a", "com.example.b", "com.example.c"}, running),
                     {700, 400});
    const std::vector<MenuEntry> none = openMenu(full, pick);
    ASSERT_EQ(none.size(), 1u);
    EXPECT_EQ(none[0].title, "Every running application is already listed");
    EXPECT_FALSE(none[0].enabled);
}

TEST_F(RuleListTest, ListedApplicationsAreNamedAndSortedWithoutRegardToCase) {
    bundle(tree.applications, "Zebra.app", "com.example.zebra");
    bundle(tree.applications, "apple notes.app", "com.example.notes");
    bundle(tree.applications, "Mango.app", "com.example.mango");
    const RuleList rules =
        list({"com.example.zebra", "com.example.notes", "com.example.mango", "gone.thing"}, {});
    LaidOutView view(rules, {700, 600});
    std::vector<std::string> names;
    for (const LayoutNode* name :
         view.tree().findAll([](const LayoutNode& n) { return n.color == Palette::label(); }))
        names.push_back(name->text);
    EXPECT_THAT(names, ElementsAre("apple notes", "gone.thing", "Mango", "Zebra"));
    const auto hasIcon = [](const LayoutNode& row) {
        return row.find([](const LayoutNode& n) {
            return n.kind == NodeKind::image && n.frame.size == CGSize{17, 17};
        }) != nullptr;
    };
    const LayoutNode& gone = view.id("rule.gone.thing");
    EXPECT_TRUE(gone.findText("not installed"));
    EXPECT_FALSE(hasIcon(gone));
    EXPECT_TRUE(gone.find([](const LayoutNode& n) {
        return n.frame.size == CGSize{17, 17} && n.color == Color::white().opacity(0.08);
    }));
    const LayoutNode& zebra = view.id("rule.com.example.zebra");
    EXPECT_TRUE(hasIcon(zebra));
    const LayoutNode* identifier = zebra.findText("com.example.zebra");
    ASSERT_TRUE(identifier);
    EXPECT_EQ(identifier->font->design, Font::Design::monospaced);
    EXPECT_TRUE(zebra.find([](const LayoutNode& n) { return n.tooltip == "Remove Zebra"; }));
    const LayoutNode* button = zebra.findRole("button");
    ASSERT_TRUE(button);
    view.graph.click({button->frame.midX(), button->frame.midY()});
    EXPECT_THAT(removed, ElementsAre("com.example.zebra"));
    // The rows stand on the tile-coloured plate; the whole list is the setting's target.
    EXPECT_TRUE(view.tree().find(
        [](const LayoutNode& n) { return n.color == Palette::tile().opacity(0.3); }));
    EXPECT_EQ(view.id("floatRules").element->label, rules.entry.title);
}

TEST_F(RuleListTest, AnEmptySetShowsNothingYetWithoutAPlate) {
    LaidOutView view(list({}, {}), {700, 400});
    EXPECT_TRUE(view.tree().findText("Nothing yet."));
    EXPECT_FALSE(view.tree().find(
        [](const LayoutNode& n) { return n.color == Palette::tile().opacity(0.3); }));
}

}  // namespace
}  // namespace kelvo
