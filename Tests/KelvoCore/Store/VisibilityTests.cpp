#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "KelvoCore/Store/ParkFinding.h"
#include "KelvoCore/Store/VisibilityAudit.h"
#include "KelvoCore/Store/VisibilityFinding.h"

namespace kelvo {
namespace {

const CGRect screen(0, 0, 1920, 1080);

TEST(VisibilityFinding, LinesAreWordForWord) {
    struct Row {
        InvisibleReason reason;
        VisibilityRepair repair;
        const char* line;
    };
    const Row rows[] = {
        {InvisibleReason::unreachable, VisibilityRepair::none,
         "invisible window 812 (com.example.mail) on desktop 2: Accessibility has no handle on "
         "it — every call Kelvo makes about it does nothing — nothing Kelvo can do about it; ⌥G "
         "re-arms a desktop"},
        {InvisibleReason::minimized, VisibilityRepair::unminimized,
         "invisible window 812 (com.example.mail) on desktop 2: macOS reports it minimized — "
         "un-minimized it"},
        {InvisibleReason::applicationHidden, VisibilityRepair::unhidden,
         "invisible window 812 (com.example.mail) on desktop 2: its application is hidden — "
         "unhid the application"},
        {InvisibleReason::offScreen, VisibilityRepair::rearmed,
         "invisible window 812 (com.example.mail) on desktop 2: all but a sliver of it is off "
         "screen — it is still parked in the corner — re-armed it; the next layout pass places "
         "it"},
        {InvisibleReason::offScreen, VisibilityRepair::recentred,
         "invisible window 812 (com.example.mail) on desktop 2: all but a sliver of it is off "
         "screen — it is still parked in the corner — put it back on screen; nothing else "
         "writes to a floating window"},
        {InvisibleReason::unmanageable, VisibilityRepair::none,
         "invisible window 812 (com.example.mail) on desktop 2: given up on after repeated "
         "refusals, so nothing writes to it — nothing Kelvo can do about it; ⌥G re-arms a "
         "desktop"},
        {InvisibleReason::absentFromWindowList, VisibilityRepair::raisedOnReveal,
         "invisible window 812 (com.example.mail) on desktop 2: its application does not list "
         "it, so unhiding the application cannot reveal it — raised it explicitly when the "
         "desktop revealed it"},
        {InvisibleReason::frameDisagrees, VisibilityRepair::none,
         "invisible window 812 (com.example.mail) on desktop 2: it is not where the layout put "
         "it — nothing Kelvo can do about it; ⌥G re-arms a desktop"},
    };
    for (const Row& row : rows) {
        const VisibilityFinding finding{WindowID(812), "com.example.mail", row.reason, row.repair,
                                        2};
        EXPECT_EQ(finding.line(), row.line);
    }
    EXPECT_EQ((VisibilityFinding{WindowID(4294967295u), "?", InvisibleReason::minimized,
                                 VisibilityRepair::unminimized, 9})
                  .line(),
              "invisible window 4294967295 (?) on desktop 9: macOS reports it minimized — "
              "un-minimized it");
}

TEST(ParkFinding, LinesAreWordForWordWithTheOriginCutTowardZero) {
    struct Row {
        ParkOutcome outcome;
        CGRect frame;
        const char* line;
    };
    const Row rows[] = {
        {ParkOutcome::leftOnScreen, CGRect(1919.6, -3.2, 800, 600),
         "park of window 77 (com.example.notes) of desktop 3: the corner write did not take; "
         "left on screen, asked again on the next park — read back at (1919, -3)"},
        {ParkOutcome::minimized, CGRect(-0.7, 0.99, 10, 10),
         "park of window 77 (com.example.notes) of desktop 3: the corner write did not take and "
         "it is unmanageable; minimized as a last resort — read back at (0, 0)"},
        {ParkOutcome::reparked, CGRect(3839, 2159, 640, 480),
         "park of window 77 (com.example.notes) of desktop 3: it moved away from the corner by "
         "itself; written back once — read back at (3839, 2159)"},
        // The origin is read from the normalised rectangle.
        {ParkOutcome::reparked, CGRect(100.5, 50, -20.25, 10),
         "park of window 77 (com.example.notes) of desktop 3: it moved away from the corner by "
         "itself; written back once — read back at (80, 50)"},
    };
    for (const Row& row : rows) {
        const ParkFinding finding{WindowID(77), "com.example.notes", 3, row.frame, row.outcome};
        EXPECT_EQ(finding.line(), row.line);
    }
}

TEST(ParkFinding, ABrokenReadNeverBreaksTheLine) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    const ParkFinding finding{WindowID(1), "?", 1, CGRect(nan, -inf, 0, 0),
                              ParkOutcome::leftOnScreen};
    const std::string line = finding.line();
    EXPECT_EQ(line.substr(line.find(" — read back")), " — read back at (0, -9200000000000000000)");
}

TEST(VisibilityValues, RawValuesAreTheCaseNamesInOrder) {
    std::vector<std::string> reasons;
    for (InvisibleReason r : invisible_reason::allCases) {
        reasons.push_back(rawValue(r));
        EXPECT_EQ(invisibleReasonFromRawValue(rawValue(r)), r);
    }
    EXPECT_EQ(reasons, (std::vector<std::string>{"unreachable", "minimized", "applicationHidden",
                                                 "offScreen", "unmanageable",
                                                 "absentFromWindowList", "frameDisagrees"}));
    for (VisibilityRepair r : visibility_repair::allCases) {
        EXPECT_EQ(visibilityRepairFromRawValue(rawValue(r)), r);
    }
    for (ParkOutcome o : park_outcome::allCases) {
        EXPECT_EQ(parkOutcomeFromRawValue(rawValue(o)), o);
    }
    EXPECT_EQ(rawValue(VisibilityRepair::raisedOnReveal), "raisedOnReveal");
    EXPECT_EQ(rawValue(ParkOutcome::leftOnScreen), "leftOnScreen");
    EXPECT_EQ(parkOutcomeFromRawValue("reparked"), ParkOutcome::reparked);
    EXPECT_EQ(parkOutcomeFromRawValue("Reparked"), std::nullopt);
    EXPECT_EQ(invisibleReasonFromRawValue("offscreen"), std::nullopt);
    EXPECT_EQ(visibilityRepairFromRawValue(""), std::nullopt);
}

TEST(VisibilityAudit, InCornerComparesEachAxisInclusively) {
    const CGPoint corner{1919, 1079};
    EXPECT_TRUE(VisibilityAudit::inCorner(CGRect(1819, 1179, 5, 5), corner, 100));
    EXPECT_FALSE(VisibilityAudit::inCorner(CGRect(1818.9, 1079, 5, 5), corner, 100));
    EXPECT_FALSE(VisibilityAudit::inCorner(CGRect(1919, 1179.5, 5, 5), corner, 100));
    EXPECT_EQ(VisibilityAudit::parkTolerance, 100.0);
}

TEST(VisibilityAudit, ReasonRuleFirstMatchWins) {
    const CGRect placed(100, 100, 800, 600);
    const auto visible = [&] {
        WindowVisibility v;
        v.frame = placed;
        v.intendedFrame = placed;
        return v;
    };
    struct Row {
        const char* what;
        WindowVisibility window;
        std::optional<InvisibleReason> reason;
    };
    std::vector<Row> rows;
    rows.push_back({"visible where it belongs", visible(), std::nullopt});
    {
        WindowVisibility v = visible();
        v.reachable = false;
        v.reportsMinimized = true;
        rows.push_back({"unreachable first", v, InvisibleReason::unreachable});
    }
    {
        WindowVisibility v = visible();
        v.reportsMinimized = true;
        v.isUnmanageable = true;
        v.applicationReportsHidden = true;
        rows.push_back({"minimized beats hidden and unmanageable", v, InvisibleReason::minimized});
    }
    {
        WindowVisibility v = visible();
        v.applicationReportsHidden = true;
        v.frame = CGRect(1919, 1079, 800, 600);
        rows.push_back({"hidden beats off screen", v, InvisibleReason::applicationHidden});
    }
    {
        WindowVisibility v = visible();
        v.frame = CGRect(1919, 500, 800, 600);  // overlaps by exactly 1 point in width
        v.isUnmanageable = true;
        rows.push_back({"a 1-point sliver is off screen", v, InvisibleReason::offScreen});
    }
    {
        WindowVisibility v = visible();
        v.frame = CGRect(1918.5, 500, 800, 600);  // 1.5 points
        rows.push_back(
            {"1.5 points is on screen but misplaced", v, InvisibleReason::frameDisagrees});
    }
    {
        WindowVisibility v = visible();
        v.frame = CGRect(500, 1079, 800, 600);
        rows.push_back({"a 1-point sliver in height", v, InvisibleReason::offScreen});
    }
    {
        WindowVisibility v = visible();
        v.frame = CGRect(5000, 5000, 800, 600);
        rows.push_back({"disjoint from the screen", v, InvisibleReason::offScreen});
    }
    {
        WindowVisibility v = visible();
        v.isUnmanageable = true;
        v.absentFromWindowList = true;
        rows.push_back({"unmanageable before absent", v, InvisibleReason::unmanageable});
    }
    {
        WindowVisibility v = visible();
        v.absentFromWindowList = true;
        rows.push_back({"absent from the list", v, InvisibleReason::absentFromWindowList});
    }
    {
        WindowVisibility v = visible();
        v.frame.reset();
        rows.push_back({"unreadable frame is judged by the first rules only", v, std::nullopt});
    }
    {
        WindowVisibility v = visible();
        v.intendedFrame.reset();
        v.frame = CGRect(300, 300, 10, 10);
        rows.push_back({"no intended frame", v, std::nullopt});
    }
    {
        WindowVisibility v = visible();
        v.frame = CGRect(101, 99, 800, 600);
        rows.push_back({"1.0 point off is in place", v, std::nullopt});
    }
    {
        WindowVisibility v = visible();
        v.frame = CGRect(100, 101.5, 800, 600);
        rows.push_back({"1.5 points off disagrees", v, InvisibleReason::frameDisagrees});
    }
    {
        WindowVisibility v = visible();
        v.frame = CGRect(100, 100, 300, 200);
        rows.push_back({"only the position counts", v, std::nullopt});
    }
    for (const Row& row : rows) {
        EXPECT_EQ(VisibilityAudit::reason(row.window, screen, 1.0), row.reason) << row.what;
    }
}

}  // namespace
}  // namespace kelvo
