#include "Simulator/PreferenceData.h"

#include <algorithm>

namespace sim {

PreferenceData PreferenceData::makeBoolean(bool value) {
    PreferenceData data;
    data.kind = Kind::boolean;
    data.boolean = value;
    return data;
}

PreferenceData PreferenceData::makeInteger(std::int64_t value) {
    PreferenceData data;
    data.kind = Kind::integer;
    data.integer = value;
    return data;
}

PreferenceData PreferenceData::makeReal(double value) {
    PreferenceData data;
    data.kind = Kind::real;
    data.real = value;
    return data;
}

PreferenceData PreferenceData::makeString(std::string value) {
    PreferenceData data;
    data.kind = Kind::string;
    data.text = std::move(value);
    return data;
}

PreferenceData PreferenceData::makeDate(double secondsSince2001) {
    PreferenceData data;
    data.kind = Kind::date;
    data.real = secondsSince2001;
    return data;
}

PreferenceData PreferenceData::makeData(std::string bytes) {
    PreferenceData data;
    data.kind = Kind::data;
    data.text = std::move(bytes);
    return data;
}

PreferenceData PreferenceData::makeArray(std::vector<PreferenceData> items) {
    PreferenceData data;
    data.kind = Kind::array;
    data.items = std::move(items);
    return data;
}

PreferenceData PreferenceData::makeDictionary(
    std::vector<std::pair<std::string, PreferenceData>> entries) {
    std::sort(entries.begin(), entries.end(),
              [](const auto& a, const auto& b) { return a.first < b.first; });
    PreferenceData data;
    data.kind = Kind::dictionary;
    for (auto& [key, value] : entries) {
        data.keys.push_back(key);
        data.items.push_back(std::move(value));
    }
    return data;
}

}  // namespace sim
