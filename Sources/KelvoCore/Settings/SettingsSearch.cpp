#include "KelvoCore/Settings/SettingsSearch.h"

#include <algorithm>

#include "KelvoCore/Launcher/LauncherMatcher.h"
#include "KelvoCore/Settings/SettingsCatalog.h"

namespace kelvo {

namespace {

std::vector<LauncherMatcher::FoldedFields> foldedRows(const std::vector<SettingEntry>& entries) {
    std::vector<LauncherMatcher::FoldedFields> rows;
    rows.reserve(entries.size());
    for (const SettingEntry& entry : entries)
        rows.emplace_back(entry.fields());
    return rows;
}

}  // namespace

SettingsSearch::SettingsSearch(std::vector<SettingEntry> entries)
    : entries_(std::move(entries)), folded_(foldedRows(entries_)) {
    rerank();
}

void SettingsSearch::setEntries(std::vector<SettingEntry> entries) {
    catalogueOf_.reset();
    if (entries != entries_) {
        entries_ = std::move(entries);
        folded_ = foldedRows(entries_);
    }
    rerank();
}

void SettingsSearch::setCatalogue(const Config& config) {
    if (catalogueOf_ != config) {
        setEntries(SettingsCatalog::entries(config));
        catalogueOf_ = config;
        return;
    }
    rerank();
}

std::vector<SettingEntry> SettingsSearch::matches() const {
    std::vector<SettingEntry> rows;
    rows.reserve(matches_.size());
    for (const std::size_t position : matches_)
        rows.push_back(entries_[position]);
    return rows;
}

bool SettingsSearch::operator==(const SettingsSearch& other) const {
    return entries_ == other.entries_ && query_ == other.query_ && matches_ == other.matches_ &&
           selection_ == other.selection_;
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
    return entries_[matches_[static_cast<std::size_t>(selection_)]];
}

std::vector<std::size_t> SettingsSearch::rankPositions(
    std::string_view query, const std::vector<LauncherMatcher::FoldedFields>& rows) {
    struct Scored {
        LauncherMatcher::Hit hit;
        std::size_t position;
    };
    std::vector<Scored> scored;
    for (std::size_t position = 0; position < rows.size(); ++position) {
        if (auto hit = LauncherMatcher::score(query, rows[position])) {
            scored.push_back({*hit, position});
        }
    }
    // The greater hit is the earlier field, then the higher score; positions break ties.
    std::sort(scored.begin(), scored.end(), [](const Scored& a, const Scored& b) {
        if (a.hit != b.hit) return a.hit > b.hit;
        return a.position < b.position;
    });
    std::vector<std::size_t> positions;
    positions.reserve(scored.size());
    for (const Scored& s : scored)
        positions.push_back(s.position);
    return positions;
}

std::vector<SettingEntry> SettingsSearch::rank(std::string_view query,
                                               const std::vector<SettingEntry>& entries) {
    std::vector<SettingEntry> matches;
    for (const std::size_t position : rankPositions(query, foldedRows(entries)))
        matches.push_back(entries[position]);
    return matches;
}

void SettingsSearch::rerank() {
    matches_ = rankPositions(query_, folded_);
    selection_ = 0;
}

}  // namespace kelvo
