#include <gtest/gtest.h>

#include <string>

#include "Base/Foundation/DateFormatter.h"
#include "Base/Foundation/ManualClock.h"
#include "Support/Base/ScopedEnvironment.h"

namespace {

class DateFormatterTest : public ::testing::Test {
  protected:
    void SetUp() override {
        formatter.setDateFormat("yyyy-MM-dd HH:mm:ss.SSS");
        formatter.setLocaleIdentifier("en_US_POSIX");
    }
    void useZone(const char* name) { zone.set(name); }

    kelvo::testing::ScopedEnvironment zone{"TZ"};
    DateFormatter formatter;
};

TEST_F(DateFormatterTest, LogTimestampsInTheLocalZone) {
    struct Row {
        const char* zone;
        double seconds;
        const char* text;
    };
    const Row rows[] = {
        {"UTC0", 1767225600.0, "2026-01-01 00:00:00.000"},
        {"UTC0", 1767225600.123, "2026-01-01 00:00:00.123"},
        {"UTC0", 1767225600.9999, "2026-01-01 00:00:00.999"},  // truncated, never rounded up
        {"UTC0", 1783008005.5, "2026-07-02 16:00:05.500"},
        {"EST5", 1767225600.25, "2025-12-31 19:00:00.250"},
        {"<+0530>-5:30", 1767225600.0, "2026-01-01 05:30:00.000"},
        {"UTC0", 0.001, "1970-01-01 00:00:00.001"},
    };
    for (const Row& row : rows) {
        useZone(row.zone);
        EXPECT_EQ(formatter.string(Date{row.seconds}), row.text) << row.zone << " " << row.seconds;
    }
}

TEST_F(DateFormatterTest, QuotedTextAndOtherCharactersAreCopied) {
    useZone("UTC0");
    formatter.setDateFormat("'day' dd/MM/yy 'o''clock' H:m S");
    EXPECT_EQ(formatter.string(Date{1767225600.75}), "day 01/01/26 o'clock 0:0 7");
}

TEST_F(DateFormatterTest, NowIsTheClocksDate) {
    useZone("UTC0");
    ManualClock clock;
    clock.advance(1.5);
    EXPECT_EQ(formatter.string(Date::now()), "2026-01-01 00:00:01.500");
}

TEST_F(DateFormatterTest, UTCFormattingIgnoresTheSystemsZone) {
    formatter.setTimeZone(TimeZone::gmt);
    formatter.setDateFormat("yyyyMMdd'T'HHmmss");
    for (const char* zone : {"UTC0", "EST5", "<+0530>-5:30"}) {
        useZone(zone);
        EXPECT_EQ(formatter.string(Date{1796685785.75}), "20261207T232305") << zone;
    }
    formatter.setTimeZone(TimeZone::current);
    EXPECT_EQ(formatter.string(Date{1796685785.75}), "20261208T045305");
}

TEST_F(DateFormatterTest, DescriptionIsTheDateInUTC) {
    useZone("EST5");
    EXPECT_EQ(Date{1796685785.9}.description(), "2026-12-07 23:23:05 +0000");
    EXPECT_EQ(Date{0}.description(), "1970-01-01 00:00:00 +0000");
    EXPECT_EQ(Date::distantPast().description(), "0001-01-01 00:00:00 +0000");
    EXPECT_LT(Date::distantPast(), Date{-1e10});
}

}  // namespace
