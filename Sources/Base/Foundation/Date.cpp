#include "Base/Foundation/Date.h"

#include "Base/Foundation/Clock.h"
#include "Base/Foundation/DateFormatter.h"

Date Date::now() {
    return {Clock::current().secondsSince1970()};
}

Date Date::distantPast() {
    constexpr double firstOfYearOne = -62135596800.0;
    return {firstOfYearOne};
}

std::string Date::description() const {
    DateFormatter formatter;
    formatter.setDateFormat("yyyy-MM-dd HH:mm:ss '+0000'");
    formatter.setTimeZone(TimeZone::gmt);
    return formatter.string(*this);
}
