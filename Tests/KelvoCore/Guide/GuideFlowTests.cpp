#include <gtest/gtest.h>

#include "KelvoCore/Guide/FirstRunGuide.h"
#include "KelvoCore/Guide/GuideFlow.h"

namespace kelvo {
namespace {

using Step = GuideStep;

GuideFlow closedFlow(bool completed) {
    GuideFlow flow(Step::done);
    if (completed) {
        flow.advance();
    } else {
        flow.skip();
    }
    return flow;
}

TEST(GuideStep, CasesInGuideOrderWithNumbersTitlesAndRawValues) {
    ASSERT_EQ(guide_step::count, 5u);
    const std::vector<std::tuple<Step, int, std::string, std::string>> expected = {
        {Step::accessibility, 1, "accessibility", "Accessibility"},
        {Step::desktops, 2, "desktops", "Your desktops"},
        {Step::keys, 3, "keys", "The keys worth knowing"},
        {Step::tweaks, 4, "tweaks", "Five macOS settings"},
        {Step::done, 5, "done", "That's it"},
    };
    for (std::size_t i = 0; i < expected.size(); ++i) {
        const auto& [step, position, raw, heading] = expected[i];
        SCOPED_TRACE(raw);
        EXPECT_EQ(guide_step::allCases[i], step);
        EXPECT_EQ(number(step), position);
        EXPECT_EQ(rawValue(step), raw);
        EXPECT_EQ(title(step), heading);
        EXPECT_EQ(guideStepFromRawValue(raw), step);
    }
}

TEST(GuideStep, OnlyExactRawValuesNameAStep) {
    EXPECT_EQ(guideStepFromRawValue("Done"), std::nullopt);
    EXPECT_EQ(guideStepFromRawValue("done "), std::nullopt);
    EXPECT_EQ(guideStepFromRawValue(""), std::nullopt);
    EXPECT_EQ(guideStepFromRawValue("Accessibility"), std::nullopt);
}

TEST(GuideStep, Blurbs) {
    EXPECT_EQ(blurb(Step::accessibility),
              "macOS will not let any application move another application's windows without "
              "this. It is the one thing Kelvo cannot work around, and the one thing this guide "
              "cannot do for you - the switch has to be flipped by a person, in System Settings.");
    EXPECT_EQ(blurb(Step::desktops),
              "Kelvo keeps its own desktops, separate from Mission Control's. Hold the Kelvo "
              "modifier and press a number to go to one, add shift to send the focused window "
              "there instead. Pick how many you want; you can change it later on the General "
              "tab.");
    EXPECT_EQ(blurb(Step::keys),
              "Eight of the twenty-two. The rest are on the Shortcuts tab, where every one of "
              "them can be rebound or unbound.");
    EXPECT_EQ(blurb(Step::tweaks),
              "These are changes to macOS itself, not to Kelvo - the ones tiling users normally "
              "paste out of a gist. Every one is off, and stays off unless you turn it on here. "
              "Read what each one costs first.");
    EXPECT_EQ(blurb(Step::done),
              "Nothing here is hidden in a database. Every setting you just saw is a line in one "
              "file you can read, edit and copy to another Mac.");
}

TEST(GuideFlow, StartsOpenAndNotCompleted) {
    const GuideFlow flow(Step::accessibility);
    EXPECT_EQ(flow.step, Step::accessibility);
    EXPECT_TRUE(flow.isOpen);
    EXPECT_FALSE(flow.completed);
    EXPECT_EQ(GuideFlow(Step::keys).step, Step::keys);
}

TEST(GuideFlow, DerivedPropertiesOnEveryStep) {
    for (Step step : guide_step::allCases) {
        SCOPED_TRACE(rawValue(step));
        const GuideFlow flow(step);
        const bool first = step == Step::accessibility;
        const bool last = step == Step::done;
        EXPECT_EQ(flow.isFirst(), first);
        EXPECT_EQ(flow.isLast(), last);
        EXPECT_EQ(flow.forwardTitle(), last ? "Done" : "Continue");
        EXPECT_EQ(flow.showsSkip(), !last);
        EXPECT_EQ(flow.canGoBack(), !first);
    }
}

TEST(GuideFlow, AdvanceAndSkipWalkEveryStepInOrder) {
    for (bool skipping : {false, true}) {
        GuideFlow flow(Step::accessibility);
        for (std::size_t i = 1; i < guide_step::count; ++i) {
            skipping ? flow.skip() : flow.advance();
            EXPECT_EQ(flow.step, guide_step::allCases[i]);
            EXPECT_TRUE(flow.isOpen);
            EXPECT_FALSE(flow.completed);
        }
    }
}

TEST(GuideFlow, BackWalksToTheFirstStepAndStopsThere) {
    GuideFlow flow(Step::done);
    for (std::size_t i = guide_step::count - 1; i-- > 0;) {
        flow.back();
        EXPECT_EQ(flow.step, guide_step::allCases[i]);
    }
    const GuideFlow before = flow;
    flow.back();
    EXPECT_EQ(flow, before);
    EXPECT_TRUE(flow.isOpen);
}

TEST(GuideFlow, AdvanceOnTheLastStepClosesItCompleted) {
    GuideFlow flow(Step::done);
    flow.advance();
    EXPECT_EQ(flow.step, Step::done);
    EXPECT_FALSE(flow.isOpen);
    EXPECT_TRUE(flow.completed);
}

TEST(GuideFlow, SkipOnTheLastStepClosesItWithoutCompleting) {
    GuideFlow flow(Step::done);
    flow.skip();
    EXPECT_EQ(flow.step, Step::done);
    EXPECT_FALSE(flow.isOpen);
    EXPECT_FALSE(flow.completed);
}

TEST(GuideFlow, AClosedFlowIgnoresEveryMove) {
    for (bool completed : {true, false}) {
        const GuideFlow closed = closedFlow(completed);
        GuideFlow flow = closed;
        flow.advance();
        EXPECT_EQ(flow, closed);
        flow.skip();
        EXPECT_EQ(flow, closed);
        flow.back();
        EXPECT_EQ(flow, closed);
        flow.accessibilityGranted();
        EXPECT_EQ(flow, closed);
    }
}

TEST(GuideFlow, AClosedFlowOnAnEarlierStepIgnoresThePermission) {
    GuideFlow flow(Step::accessibility);
    flow.isOpen = false;
    flow.accessibilityGranted();
    EXPECT_EQ(flow.step, Step::accessibility);
}

TEST(GuideFlow, PermissionMovesOnOnlyFromItsOwnPage) {
    GuideFlow flow(Step::accessibility);
    flow.accessibilityGranted();
    EXPECT_EQ(flow, GuideFlow(Step::desktops));
    for (Step step : guide_step::allCases) {
        if (step == Step::accessibility) continue;
        GuideFlow other(step);
        other.accessibilityGranted();
        EXPECT_EQ(other, GuideFlow(step)) << rawValue(step);
    }
}

TEST(GuideFlow, EqualityComparesEveryField) {
    GuideFlow a(Step::keys);
    GuideFlow b(Step::keys);
    EXPECT_EQ(a, b);
    b.completed = true;
    EXPECT_NE(a, b);
    b = a;
    b.isOpen = false;
    EXPECT_NE(a, b);
}

std::vector<std::string> ids(const std::vector<KeyReference::Entry>& entries) {
    std::vector<std::string> out;
    for (const auto& entry : entries)
        out.push_back(entry.id);
    return out;
}

TEST(FirstRunGuide, DayOneKeysInDisplayOrderWithTheLauncherOn) {
    const Config config;
    ASSERT_TRUE(config.showLauncher);
    const auto entries = FirstRunGuide::dayOne(config);
    EXPECT_EQ(ids(entries),
              (std::vector<std::string>{"desktopSwitch", "desktopThrow", "focusLeft", "focusDown",
                                        "focusUp", "focusRight", "newTerminal", "launcher"}));
}

TEST(FirstRunGuide, DayOneKeysAreTheReferenceRowsAsTheConfigurationBindsThem) {
    Config config;
    config.primaryModifier = Modifier::control;
    const auto entries = FirstRunGuide::dayOne(config);
    for (const KeyReference::Section& section : KeyReference::sections(config)) {
        for (const KeyReference::Entry& entry : section.entries) {
            for (const auto& picked : entries) {
                if (picked.id == entry.id) {
                    EXPECT_EQ(picked, entry) << entry.id;
                }
            }
        }
    }
    ASSERT_FALSE(entries.empty());
    EXPECT_EQ(entries.front().caps.front().front(), "⌃");
}

TEST(FirstRunGuide, WithoutTheLauncherItsRowIsLeftOut) {
    Config config;
    config.showLauncher = false;
    const auto entries = FirstRunGuide::dayOne(config);
    EXPECT_EQ(ids(entries),
              (std::vector<std::string>{"desktopSwitch", "desktopThrow", "focusLeft", "focusDown",
                                        "focusUp", "focusRight", "newTerminal"}));
}

}  // namespace
}  // namespace kelvo
