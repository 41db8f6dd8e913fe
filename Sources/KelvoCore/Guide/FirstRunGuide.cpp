#include "KelvoCore/Guide/FirstRunGuide.h"

#include <map>
#include <string>

namespace kelvo::FirstRunGuide {

std::vector<KeyReference::Entry> dayOne(const Config& config) {
    std::map<std::string, KeyReference::Entry, std::less<>> byID;
    for (const KeyReference::Section& section : KeyReference::sections(config)) {
        for (const KeyReference::Entry& entry : section.entries) {
            byID.try_emplace(entry.id, entry);  // the first row with an id wins
        }
    }
    std::vector<KeyReference::Entry> entries;
    for (std::string_view id : dayOneKeys) {
        if (auto found = byID.find(id); found != byID.end()) entries.push_back(found->second);
    }
    return entries;
}

}  // namespace kelvo::FirstRunGuide
