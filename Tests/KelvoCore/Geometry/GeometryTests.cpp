#include <gtest/gtest.h>

#include "Support/Base/DecodeText.h"
#include "Support/KelvoCore/Printers.h"

#include "Base/JSON/JSONWriter.h"
#include "KelvoCore/Geometry/Axis.h"
#include "KelvoCore/Geometry/DirectionalNeighbour.h"
#include "KelvoCore/Geometry/Display.h"
#include "KelvoCore/Geometry/RectOperations.h"
#include "KelvoCore/Geometry/WindowID.h"

namespace kelvo {
namespace {

using testing::decodeText;

TEST(WindowID, DescriptionAndJSON) {
    EXPECT_EQ(WindowID(0).description(), "win#0");
    EXPECT_EQ(WindowID(4711).description(), "win#4711");
    EXPECT_EQ(decodeText<WindowID>(R"({"raw":4711})"), WindowID(4711));
    EXPECT_EQ(JSONWriter::write(encodeJSON(WindowID(4711))), R"({"raw":4711})");
    for (const char* bad : {"{}", R"({"raw":-1})", R"({"raw":4294967296})", R"({"raw":"1"})",
                            R"({"raw":null})", "[]"}) {
        EXPECT_THROW(decodeText<WindowID>(bad), DecodingError) << bad;
    }
    EXPECT_LT(WindowID(2), WindowID(10));
}

TEST(Axis, JSONFormAndTheOneKeyRule) {
    EXPECT_EQ(decodeText<Axis>(R"({"vertical":{}})"), Axis::vertical);
    EXPECT_EQ(decodeText<Axis>(R"({"vertical":{},"other":1})"), Axis::vertical);
    EXPECT_EQ(decodeText<Axis>(R"({"horizontal":{"ignored":true}})"), Axis::horizontal);
    EXPECT_EQ(JSONWriter::write(encodeJSON(Axis::horizontal)), R"({"horizontal":{}})");
    for (const char* bad : {"{}", R"({"other":{}})", R"({"horizontal":{},"vertical":{}})"}) {
        try {
            decodeText<Axis>(bad);
            ADD_FAILURE() << bad;
        } catch (const DecodingError& e) {
            EXPECT_EQ(e.kind(), DecodingError::Kind::typeMismatch);
            EXPECT_STREQ(e.what(), "Invalid number of keys found, expected one.");
        }
    }
    try {
        decodeText<Axis>(R"({"horizontal":1})");
        ADD_FAILURE();
    } catch (const DecodingError& e) {
        EXPECT_EQ(e.kind(), DecodingError::Kind::typeMismatch);
        EXPECT_STRNE(e.what(), "Invalid number of keys found, expected one.");
    }
    EXPECT_EQ(flipped(Axis::horizontal), Axis::vertical);
    EXPECT_EQ(axisOf(Direction::left), Axis::vertical);
    EXPECT_EQ(axisOf(Direction::down), Axis::horizontal);
}

TEST(RectOperations, LongerAxisAndSplit) {
    EXPECT_EQ(longerAxis(CGRect(0, 0, 100, 100)), Axis::vertical);
    EXPECT_EQ(longerAxis(CGRect(0, 0, 100, 101)), Axis::horizontal);
    // A negative size reads in its normalised form.
    EXPECT_EQ(longerAxis(CGRect(0, 0, -200, 100)), Axis::vertical);

    auto [left, right] = split(CGRect(0, 0, 1001, 500), Axis::vertical, 0.5);
    EXPECT_EQ(left, CGRect(0, 0, 500.5, 500));
    EXPECT_EQ(right, CGRect(500.5, 0, 500.5, 500));
    auto [top, bottom] = split(CGRect(10, 20, 400, 800), Axis::horizontal, 0.25);
    EXPECT_EQ(top, CGRect(10, 20, 400, 200));
    EXPECT_EQ(bottom, CGRect(10, 220, 400, 600));
    auto [none, all] = split(CGRect(0, 0, 100, 100), Axis::vertical, 0);
    EXPECT_EQ(none.size.width, 0);
    EXPECT_EQ(all, CGRect(0, 0, 100, 100));
    auto [over, under] = split(CGRect(0, 0, 100, 100), Axis::horizontal, 1.2);
    EXPECT_DOUBLE_EQ(over.size.height, 120);
    EXPECT_DOUBLE_EQ(under.size.height, -20);
    auto [a, b] = split(CGRect(100, 0, -100, 50), Axis::vertical, 0.5);
    EXPECT_EQ(a, CGRect(0, 0, 50, 50));
    EXPECT_EQ(b, CGRect(50, 0, 50, 50));
}

TEST(DirectionalNeighbour, CandidatesLieStrictlyBeyondByMinimumEdges) {
    const CGRect origin(500, 500, 100, 100);
    EXPECT_FALSE(DirectionalNeighbour::nearest(origin, {}, Direction::left));
    // The origin itself and a window sharing its left edge are in no horizontal direction.
    const std::map<WindowID, CGRect> same = {{WindowID(1), origin},
                                             {WindowID(2), CGRect(500, 0, 300, 50)}};
    EXPECT_FALSE(DirectionalNeighbour::nearest(origin, same, Direction::left));
    EXPECT_FALSE(DirectionalNeighbour::nearest(origin, same, Direction::right));
    EXPECT_EQ(DirectionalNeighbour::nearest(origin, same, Direction::up), WindowID(2));
    EXPECT_FALSE(DirectionalNeighbour::nearest(origin, same, Direction::down));
}

TEST(DirectionalNeighbour, OverlapBeatsDistanceThenLowerIdWins) {
    const CGRect origin(500, 500, 100, 100);
    const std::map<WindowID, CGRect> windows = {
        {WindowID(7), CGRect(0, 550, 50, 50)},    // far left, overlapping vertically
        {WindowID(3), CGRect(400, 100, 50, 50)},  // near left, wholly above
    };
    EXPECT_EQ(DirectionalNeighbour::nearest(origin, windows, Direction::left), WindowID(7));

    const std::map<WindowID, CGRect> tie = {
        {WindowID(9), CGRect(700, 500, 10, 10)},
        {WindowID(4), CGRect(700, 590, 10, 10)},
    };
    EXPECT_EQ(DirectionalNeighbour::nearest(origin, tie, Direction::right), WindowID(4));

    // Touching spans do not overlap: r.maxY == o.minY.
    const std::map<WindowID, CGRect> touching = {
        {WindowID(1), CGRect(400, 400, 50, 100)},  // ends where the origin begins
        {WindowID(2), CGRect(100, 520, 50, 10)},   // farther, but overlapping
    };
    EXPECT_EQ(DirectionalNeighbour::nearest(origin, touching, Direction::left), WindowID(2));

    // Without any overlap, the nearer one wins.
    const std::map<WindowID, CGRect> apart = {
        {WindowID(1), CGRect(300, 800, 10, 10)},
        {WindowID(2), CGRect(900, 700, 10, 10)},
    };
    EXPECT_EQ(DirectionalNeighbour::nearest(origin, apart, Direction::down), WindowID(2));
}

TEST(Display, HoldingByLargestOverlapThenLowerId) {
    const Display a(2, CGRect(0, 0, 1000, 800));
    const Display b(1, CGRect(1000, 0, 1000, 800));
    EXPECT_FALSE(holding({}, CGRect(0, 0, 10, 10)));
    EXPECT_FALSE(holding({a, b}, CGRect(5000, 0, 10, 10)));
    // Touching an edge is no overlap.
    EXPECT_FALSE(holding({a}, CGRect(1000, 0, 10, 10)));
    EXPECT_EQ(holding({a, b}, CGRect(900, 0, 300, 100))->id, 1u);
    EXPECT_EQ(holding({a, b}, CGRect(800, 0, 300, 100))->id, 2u);
    // Equal shares go to the lower id whatever the list order.
    EXPECT_EQ(holding({a, b}, CGRect(900, 0, 200, 100))->id, 1u);
    EXPECT_EQ(holding({b, a}, CGRect(900, 0, 200, 100))->id, 1u);
    EXPECT_EQ(Display(1, CGRect(0, 0, 1, 1)), Display(1, CGRect(0, 0, 1, 1)));
    EXPECT_NE(Display(1, CGRect(0, 0, 1, 1)), Display(1, CGRect(0, 0, 2, 1)));
}

TEST(GeometryPrinting, FailedComparisonsShowTheNumbers) {
    EXPECT_EQ(::testing::PrintToString(CGRect(1.5, -2, 300, 200)), "(1.5, -2, 300, 200)");
    EXPECT_EQ(::testing::PrintToString(CGPoint{3, 4}), "(3, 4)");
    EXPECT_EQ(::testing::PrintToString(CGSize{5, 6}), "(5 x 6)");
    EXPECT_EQ(::testing::PrintToString(Display(2, CGRect(0, 0, 10, 20))),
              "display 2 (0, 0, 10, 20)");
}

}  // namespace
}  // namespace kelvo
