#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "KelvoCore/Settings/SettingEntry.h"

namespace kelvo {

/// Finding a settings row by typing: the rows of the catalogue ranked against the query with
/// the launcher's matcher, and a selection in that ranking. A plain value; every operation
/// ranks the whole list again, so `matches` is always the ranking of `query` over `entries`
/// and `selection` always lies within `matches` (0 when there are none).
class SettingsSearch {
  public:
    /// No rows, no query, no matches.
    SettingsSearch() = default;
    /// The rows in catalogue order, ranked for the empty query.
    explicit SettingsSearch(std::vector<SettingEntry> entries);

    const std::vector<SettingEntry>& entries() const { return entries_; }
    const std::string& query() const { return query_; }
    const std::vector<SettingEntry>& matches() const { return matches_; }
    int selection() const { return selection_; }

    /// New rows, ranked against the query typed so far; the selection goes to the top.
    void setEntries(std::vector<SettingEntry> entries);
    /// The query is now `text`; the selection goes to the top even when the text is the same.
    void type(std::string text);
    /// The empty query again.
    void reset();
    /// Moves the selection by `step`, held at the first and last match; no wrap-around.
    void move(int step);
    /// The match at the selection; none when there are no matches.
    std::optional<SettingEntry> chosen() const;

    /// The rows the query hits: earlier fields first (a title before a keyword before the
    /// detail), then higher scores, then catalogue position.
    static std::vector<SettingEntry> rank(std::string_view query,
                                          const std::vector<SettingEntry>& entries);

    bool operator==(const SettingsSearch&) const = default;

  private:
    void rerank();

    std::vector<SettingEntry> entries_;
    std::string query_;
    std::vector<SettingEntry> matches_;
    int selection_ = 0;
};

}  // namespace kelvo
