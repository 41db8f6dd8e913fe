#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace sim {

/// A value of a preference domain as it crosses a desktop connection: every kind a property
/// list can hold. Plain data, so it can be copied to another thread or written onto a socket.
struct PreferenceData {
    enum class Kind { boolean, integer, real, string, date, data, array, dictionary };

    Kind kind = Kind::boolean;
    bool boolean = false;
    std::int64_t integer = 0;
    /// A real number, or a date as seconds since 1 January 2001.
    double real = 0;
    /// A string, or the bytes of a data value.
    std::string text;
    /// The elements of an array, or the values of a dictionary.
    std::vector<PreferenceData> items;
    /// The keys of a dictionary, one per item, ascending.
    std::vector<std::string> keys;

    static PreferenceData makeBoolean(bool value);
    static PreferenceData makeInteger(std::int64_t value);
    static PreferenceData makeReal(double value);
    static PreferenceData makeString(std::string value);
    static PreferenceData makeDate(double secondsSince2001);
    static PreferenceData makeData(std::string bytes);
    static PreferenceData makeArray(std::vector<PreferenceData> items);
    /// Keys must be unique; they are kept in ascending order.
    static PreferenceData makeDictionary(
        std::vector<std::pair<std::string, PreferenceData>> entries);

    bool operator==(const PreferenceData&) const = default;
};

}  // namespace sim
