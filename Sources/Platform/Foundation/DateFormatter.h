#pragma once

#include <string>
#include <string_view>

#include "Platform/Foundation/Date.h"

/// Formats dates with a pattern of the platform's letters: `yyyy`, `MM`, `dd`, `HH`, `mm`,
/// `ss` and `S` (fractions of a second, truncated, one digit per letter); other characters
/// are copied, text in single quotes literally. Digits are always ASCII, as in the fixed POSIX
/// locale, which is the only locale kept. The time zone is the system's current one (`TZ`).
/// Safe to use from several threads at once.
class DateFormatter {
  public:
    void setDateFormat(std::string format) { format_ = std::move(format); }
    void setLocaleIdentifier(std::string identifier) { locale_ = std::move(identifier); }

    std::string string(Date date) const;

  private:
    std::string format_;
    std::string locale_ = "en_US_POSIX";
};
