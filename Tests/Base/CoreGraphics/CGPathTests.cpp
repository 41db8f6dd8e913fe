#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <numbers>

#include "Base/CoreGraphics/CGPath.h"

namespace {

constexpr double pi = std::numbers::pi;
constexpr double nan = std::numeric_limits<double>::quiet_NaN();
constexpr double inf = std::numeric_limits<double>::infinity();

CGPoint end(const CGPathElement& e) {
    return e.pointCount() == 0 ? CGPoint{} : e.points[e.pointCount() - 1];
}

/// A point of the cubic element starting at `from`, at parameter t.
CGPoint along(CGPoint from, const CGPathElement& e, double t) {
    const double u = 1 - t;
    const auto& p = e.points;
    return {
        u * u * u * from.x + 3 * u * u * t * p[0].x + 3 * u * t * t * p[1].x + t * t * t * p[2].x,
        u * u * u * from.y + 3 * u * u * t * p[0].y + 3 * u * t * t * p[1].y + t * t * t * p[2].y};
}

void expectNear(CGPoint actual, CGPoint expected, double tolerance = 1e-9) {
    EXPECT_NEAR(actual.x, expected.x, tolerance);
    EXPECT_NEAR(actual.y, expected.y, tolerance);
}

void expectNear(const CGRect& actual, const CGRect& expected, double tolerance = 1e-9) {
    EXPECT_NEAR(actual.minX(), expected.minX(), tolerance);
    EXPECT_NEAR(actual.minY(), expected.minY(), tolerance);
    EXPECT_NEAR(actual.width(), expected.width(), tolerance);
    EXPECT_NEAR(actual.height(), expected.height(), tolerance);
}

TEST(CGPathTest, ARoundedRectangleRunsStraightBetweenQuarterCirclesOfItsRadius) {
    CGPath path;
    path.addRoundedRect(CGRect(10, 20, 100, 40), 8);
    const auto& e = path.elements();
    // A move, then a line and a curve per corner, and the close.
    ASSERT_EQ(e.size(), 10u);
    EXPECT_EQ(e[0].type, CGPathElementType::moveToPoint);
    expectNear(e[0].points[0], {18, 20});
    EXPECT_EQ(e[1].type, CGPathElementType::addLineToPoint);
    expectNear(e[1].points[0], {102, 20});
    EXPECT_EQ(e[2].type, CGPathElementType::addCurveToPoint);
    expectNear(end(e[2]), {110, 28});
    // The corner's middle lies on the circle of radius 8 about (102, 28).
    const CGPoint middle = along({102, 20}, e[2], 0.5);
    EXPECT_NEAR(std::hypot(middle.x - 102, middle.y - 28), 8, 0.01);
    EXPECT_EQ(e.back().type, CGPathElementType::closeSubpath);
    expectNear(path.boundingBox(), CGRect(10, 20, 100, 40));
}

TEST(CGPathTest, ARadiusLargerThanHalfTheShorterSideMakesACapsule) {
    CGPath path;
    path.addRoundedRect(CGRect(0, 0, 60, 20), 50);
    expectNear(path.elements()[0].points[0], {10, 0});
    expectNear(path.boundingBox(), CGRect(0, 0, 60, 20));
}

TEST(CGPathTest, ContinuousCornersLeaveTheEdgeEarlierAndKeepTheCirclesMiddle) {
    CGPath circular, continuous;
    circular.addRoundedRect(CGRect(0, 0, 100, 100), 10, CGRoundedCornerStyle::circular);
    continuous.addRoundedRect(CGRect(0, 0, 100, 100), 10, CGRoundedCornerStyle::continuous);
    // The straight top edge starts 15.28 in, not 10.
    expectNear(continuous.elements()[0].points[0], {15.28, 0}, 1e-9);
    const auto& corner = continuous.elements()[2];
    expectNear(end(corner), {100, 15.28}, 1e-9);
    const CGPoint middle = along(continuous.elements()[1].points[0], corner, 0.5);
    const CGPoint circleMiddle =
        along(circular.elements()[1].points[0], circular.elements()[2], 0.5);
    expectNear(middle, circleMiddle, 0.01);
    expectNear(continuous.boundingBox(), CGRect(0, 0, 100, 100));
    // With too little room the corner blends back into the circle's.
    CGPath tight;
    tight.addRoundedRect(CGRect(0, 0, 20, 20), 10, CGRoundedCornerStyle::continuous);
    expectNear(tight.elements()[0].points[0], {10, 0});
}

TEST(CGPathTest, FourRadiiThatDoNotFitShrinkTogether) {
    CGPath path;
    // Top radii 30 and 30 on a side 40 long: everything scales by 40 / 60.
    path.addRoundedRect(CGRect(0, 0, 40, 100), CGCornerRadii{30, 30, 6, 0});
    const auto& e = path.elements();
    expectNear(e[0].points[0], {20, 0});
    // The bottom-left corner is square: the path goes straight into it.
    bool reachesCorner = false;
    for (const auto& element : e)
        if (element.type == CGPathElementType::addLineToPoint &&
            element.points[0] == CGPoint{0, 100})
            reachesCorner = true;
    EXPECT_TRUE(reachesCorner);
    expectNear(path.boundingBox(), CGRect(0, 0, 40, 100));
}

TEST(CGPathTest, AnArcFollowsItsCircleFromTheStartToTheEndAngle) {
    CGPath path;
    path.addArc({50, 50}, 20, 0, pi / 2, false);
    const auto& e = path.elements();
    ASSERT_EQ(e.size(), 2u);
    EXPECT_EQ(e[0].type, CGPathElementType::moveToPoint);
    expectNear(e[0].points[0], {70, 50});
    expectNear(end(e[1]), {50, 70});
    const CGPoint middle = along({70, 50}, e[1], 0.5);
    EXPECT_NEAR(std::hypot(middle.x - 50, middle.y - 50), 20, 0.01);
    expectNear(path.boundingBox(), CGRect(50, 50, 20, 20), 1e-6);
}

TEST(CGPathTest, AnArcGoesTheLongWayRoundWhenItsDirectionSaysSo) {
    // From 35° to 300° without the clockwise flag: 265° through growing angles.
    CGPath path;
    path.addArc({11, 8}, 5.1, 0.6108652381980153, 5.235987755982989, false);
    EXPECT_EQ(path.elements().size(), 4u);  // the move and three curves
    const CGRect box = path.boundingBox();
    // It passes 180° and 90° (cubic curves stay within a thousandth of the circle).
    EXPECT_NEAR(box.minX(), 11 - 5.1, 1e-3);
    EXPECT_NEAR(box.maxY(), 8 + 5.1, 1e-3);
    CGPath clockwise;
    clockwise.addArc({11, 8}, 5.1, 0.6108652381980153, 5.235987755982989, true);
    EXPECT_EQ(clockwise.elements().size(), 3u);  // the short way: 95° back, in two curves
    EXPECT_LT(clockwise.boundingBox().minX(), 11 + 5.1);
    EXPECT_GT(clockwise.boundingBox().minX(), 11);
}

TEST(CGPathTest, ATangentArcRoundsTheCornerBetweenTwoLines) {
    CGPath path;
    path.move({0, 0});
    path.addArc({100, 0}, {100, 100}, 10);
    const auto& e = path.elements();
    ASSERT_EQ(e.size(), 3u);
    expectNear(e[1].points[0], {90, 0});
    expectNear(end(e[2]), {100, 10});
    const CGPoint middle = along({90, 0}, e[2], 0.5);
    EXPECT_NEAR(std::hypot(middle.x - 90, middle.y - 10), 10, 0.01);
    // Three points in a line leave only the line.
    CGPath straight;
    straight.move({0, 0});
    straight.addArc({50, 0}, {100, 0}, 10);
    ASSERT_EQ(straight.elements().size(), 2u);
    expectNear(straight.elements()[1].points[0], {50, 0});
}

TEST(CGPathTest, ValuesThatAreNotFiniteAddNothing) {
    CGPath path;
    path.move({nan, 0});
    path.addLine({0, inf});
    path.addRect(CGRect(0, 0, nan, 10));
    path.addArc({0, 0}, nan, 0, 1, false);
    path.addArc({0, 0}, 5, 0, inf, false);
    path.addEllipse(CGRect(inf, 0, 1, 1));
    EXPECT_TRUE(path.isEmpty());
    EXPECT_TRUE(path.boundingBox().isNull());
    // A radius that is not finite counts as none, and the rectangle stays.
    EXPECT_FALSE(path.currentPoint());
    path.addRoundedRect(CGRect(0, 0, 10, 10), CGCornerRadii{nan, 2, 2, 2});
    expectNear(path.boundingBox(), CGRect(0, 0, 10, 10));
    EXPECT_TRUE(CGPath().applying(CGAffineTransform::scale(nan, 1)).isEmpty());
    EXPECT_TRUE(path.applying(CGAffineTransform::scale(inf, 1)).isEmpty());
}

TEST(CGPathTest, ATransformedPathMovesEveryPoint) {
    CGPath path;
    path.addRect(CGRect(0, 0, 10, 10));
    const CGPath moved = path.applying(CGAffineTransform::translation(5, -400).scaledBy(2, 2));
    expectNear(moved.boundingBox(), CGRect(5, -400, 20, 20));
    CGPath both;
    both.addPath(path);
    both.addPath(path, CGAffineTransform::translation(20, 0));
    expectNear(both.boundingBox(), CGRect(0, 0, 30, 10));
}

TEST(CGAffineTransformTest, TheInverseUndoesTheTransformAndASingularOneStays) {
    const CGAffineTransform t =
        CGAffineTransform::translation(10, 20).rotated(0.3).scaledBy(2, -1.5);
    const CGPoint p = CGPointApplyAffineTransform({3, 4}, t);
    expectNear(CGPointApplyAffineTransform(p, t.inverted()), {3, 4}, 1e-9);
    EXPECT_TRUE(t.concatenating(t.inverted()).isInvertible());
    const CGAffineTransform flat = CGAffineTransform::scale(0, 1);
    EXPECT_FALSE(flat.isInvertible());
    EXPECT_EQ(flat.inverted(), flat);
    EXPECT_FALSE(CGAffineTransform::translation(nan, 0).isInvertible());
}

}  // namespace
