#include "KelvoCore/Settings/SettingsSearch.h"

#include <algorithm>

#include "KelvoCore/Launcher/LauncherMatcher.h"

namespace kelvo {

SettingsSearch::SettingsSearch(std::vector<SettingEntry> entries) : entries_(std::move(entries)) {
    rerank();
}

void SettingsSearch::setEntries(std::vector<SettingEntry> entries) {
    entries_ = std::move(entries);
    rerank();
}

void SettingsSearch::type(std::string text) {
    query_ = std::move(text);
    rerank();
}

void SettingsSearch::reset() {
    type({});
}

void SettingsSearch::move(int step) {
    if (matches_.empty()) return;
    // Wide enough that no step can overflow before the clamp.
    const long long last = static_cast<long long>(matches_.size()) - 1;
    selection_ = static_cast<int>(std::clamp(static_cast<long long>(selection_) + step, 0LL, last));
}

std::optional<SettingEntry> SettingsSearch::chosen() const {
    if (selection_ < 0 || static_cast<std::size_t>(selection_) >= matches_.size()) {
        return std::nullopt;
    }
    return matches_[static_cast<std::size_t>(selection_)];
}

std::vector<SettingEntry> SettingsSearch::rank(std::string_view query,
                                               const std::vector<SettingEntry>& entries) {
    struct Scored {
        LauncherMatcher::Hit hit;
        std::size_t position;
    };
    std::vector<Scored> scored;
    for (std::size_t position = 0; position < entries.size(); ++position) {
        if (auto hit = LauncherMatcher::score(query, entries[position].fields())) {
            scored.push_back({*hit, position});
        }
    }
    // The greater hit is the earlier field, then the higher score; positions break ties.
    std::sort(scored.begin(), scored.end(), [](const Scored& a, const Scored& b) {
        if (a.hit != b.hit) return a.hit > b.hit;
        return a.position < b.position;
    });
    std::vector<SettingEntry> matches;
    matches.reserve(scored.size());
    for (const Scored& s : scored)
        matches.push_back(entries[s.position]);
    return matches;
}

void SettingsSearch::rerank() {
    matches_ = rank(query_, entries_);
    selection_ = 0;
}

}  // namespace kelvo
