#include <gtest/gtest.h>

#include <cstdint>

#include "Base/Foundation/CFType.h"

namespace {

TEST(CFTypeTests, ValuesCompareByValueAndNothingEqualsNull) {
    EXPECT_TRUE(CFEqual(CFStringCreate("a"), CFStringCreate("a")));
    EXPECT_FALSE(CFEqual(CFStringCreate("a"), CFStringCreate("b")));
    EXPECT_TRUE(CFEqual(CFNumberCreate(std::int64_t{3}), CFNumberCreate(3.0)));
    EXPECT_FALSE(CFEqual(CFNumberCreate(std::int64_t{3}), kCFBooleanTrue));
    EXPECT_FALSE(CFEqual(CFStringCreate("a"), nullptr));
    EXPECT_TRUE(CFEqual(nullptr, nullptr));
    EXPECT_TRUE(CFEqual(CFArrayCreate({kCFBooleanTrue, CFStringCreate("x")}),
                        CFArrayCreate({kCFBooleanTrue, CFStringCreate("x")})));
    EXPECT_FALSE(CFEqual(CFDictionaryCreate({{"k", kCFBooleanTrue}}),
                         CFDictionaryCreate({{"k", kCFBooleanFalse}})));
}

TEST(CFTypeTests, NumbersSayWhenTheyDoNotFit) {
    std::int32_t narrow = 0;
    EXPECT_TRUE(CFNumberGetValue(CFNumberCreate(std::int64_t{-5}), kCFNumberSInt32Type, &narrow));
    EXPECT_EQ(narrow, -5);
    EXPECT_FALSE(
        CFNumberGetValue(CFNumberCreate(std::int64_t{1} << 40), kCFNumberSInt32Type, &narrow));
    std::int64_t whole = 0;
    EXPECT_FALSE(CFNumberGetValue(CFNumberCreate(2.5), kCFNumberSInt64Type, &whole));
    EXPECT_EQ(whole, 2);
    double wide = 0;
    EXPECT_TRUE(CFNumberGetValue(CFNumberCreate(std::int64_t{7}), kCFNumberDoubleType, &wide));
    EXPECT_EQ(wide, 7.0);
}

TEST(CFTypeTests, CastsNarrowOrGiveNull) {
    const CFTypeRef value = CFStringCreate("AXWindow");
    EXPECT_TRUE(CFCast<CFString>(value));
    EXPECT_FALSE(CFCast<CFNumber>(value));
    EXPECT_EQ(CFArrayGetValueAtIndex(CFArrayCreate({}), 0), nullptr);
}

}  // namespace
