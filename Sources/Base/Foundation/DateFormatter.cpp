#include "Base/Foundation/DateFormatter.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <ctime>

#include "Base/Foundation/Mutex.h"
#include "Base/Foundation/MutexLock.h"

namespace {

struct Fields {
    struct tm calendar {};  // in the formatter's zone
    std::int64_t milliseconds = 0;
};

// Breaking a second into local fields is the costly part, and log lines come many to the
// second: each thread keeps the last second it broke down, and for which zone setting.
const struct tm& localFields(std::time_t second) {
    thread_local std::time_t cachedSecond = -1;
    thread_local std::string cachedZone;
    thread_local struct tm cached {};
    const char* zone = std::getenv("TZ");
    const std::string_view zoneText = zone ? zone : "\x01";  // unset differs from empty
    if (second != cachedSecond || zoneText != cachedZone) {
        // One thread at a time through the C library's zone state (its own lock is one the
        // thread checker cannot see); this runs about once a second per thread.
        static Mutex zoneLock;
        MutexLock lock(zoneLock);
        if (zoneText != cachedZone) tzset();  // the library reads the zone setting only here
        localtime_r(&second, &cached);
        cachedSecond = second;
        cachedZone = zoneText;
    }
    return cached;
}

Fields fieldsOf(Date date, TimeZone zone) {
    // A hair above the exact product so that 0.123 s, stored as 0.12299..., is 123 ms.
    const double totalMilliseconds = std::floor(date.timeIntervalSince1970 * 1000.0 + 1e-6);
    const auto total = static_cast<std::int64_t>(totalMilliseconds);
    std::int64_t second = total / 1000;
    std::int64_t millisecond = total % 1000;
    if (millisecond < 0) {
        millisecond += 1000;
        --second;
    }
    Fields fields;
    const auto time = static_cast<std::time_t>(second);
    if (zone == TimeZone::gmt) {
        gmtime_r(&time, &fields.calendar);
    } else {
        fields.calendar = localFields(time);
    }
    fields.milliseconds = millisecond;
    return fields;
}

void appendPadded(std::string& out, std::int64_t value, std::size_t width) {
    std::string digits = std::to_string(value < 0 ? -value : value);
    if (value < 0) out += '-';
    if (digits.size() < width) out.append(width - digits.size(), '0');
    out += digits;
}

void appendField(std::string& out, char letter, std::size_t count, const Fields& fields) {
    const struct tm& t = fields.calendar;
    switch (letter) {
        case 'y':
            return appendPadded(out, count == 2 ? (t.tm_year + 1900) % 100 : t.tm_year + 1900,
                                count);
        case 'M':
            return appendPadded(out, t.tm_mon + 1, count);
        case 'd':
            return appendPadded(out, t.tm_mday, count);
        case 'H':
            return appendPadded(out, t.tm_hour, count);
        case 'm':
            return appendPadded(out, t.tm_min, count);
        case 's':
            return appendPadded(out, t.tm_sec, count);
        case 'S': {
            std::string digits;
            appendPadded(digits, fields.milliseconds, 3);
            digits.resize(count, '0');
            out += digits;
            return;
        }
        default:
            out.append(count, letter);
    }
}

// Copies quoted text starting after the opening quote, where two quotes stand for one; gives
// the position after the closing quote. A lone "''" outside quotes is one quote too.
std::size_t appendQuoted(std::string& out, const std::string& format, std::size_t i) {
    if (i < format.size() && format[i] == '\'') {
        out += '\'';
        return i + 1;
    }
    while (i < format.size()) {
        if (format[i] != '\'') {
            out += format[i++];
        } else if (i + 1 < format.size() && format[i + 1] == '\'') {
            out += '\'';
            i += 2;
        } else {
            return i + 1;
        }
    }
    return i;
}

}  // namespace

std::string DateFormatter::string(Date date) const {
    const Fields fields = fieldsOf(date, zone_);
    std::string out;
    out.reserve(format_.size() + 8);
    for (std::size_t i = 0; i < format_.size();) {
        const char c = format_[i];
        if (c == '\'') {
            i = appendQuoted(out, format_, i + 1);
            continue;
        }
        std::size_t run = 1;
        while (i + run < format_.size() && format_[i + run] == c)
            ++run;
        if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z')) {
            appendField(out, c, run, fields);
        } else {
            out.append(run, c);
        }
        i += run;
    }
    return out;
}
