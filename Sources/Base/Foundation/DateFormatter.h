#pragma once

#include <string>
#include <string_view>

#include "Base/Foundation/Date.h"

/// The zones a formatter can work in: the system's current one (`TZ`) or UTC.
enum class TimeZone { current, gmt };

/// Formats dates with a pattern of the platform's letters: `yyyy`, `MM`, `dd`, `HH`, `mm`,
/// `ss` and `S` (fractions of a second, truncated, one digit per letter); other characters
/// are copied, text in single quotes literally. Digits are always ASCII, as in the fixed POSIX
/// locale, which is the only locale kept. The time zone is the system's current one (`TZ`)
/// unless UTC is asked for.
/// Safe to use from several threads at once.
class DateFormatter {
  public:
    void setDateFormat(std::string format) { format_ = std::move(format); }
    void setLocaleIdentifier(std::string identifier) { locale_ = std::move(identifier); }
    void setTimeZone(TimeZone zone) { zone_ = zone; }

    std::string string(Date date) const;

  private:
    std::string format_;
    std::string locale_ = "en_US_POSIX";
    TimeZone zone_ = TimeZone::current;
};
