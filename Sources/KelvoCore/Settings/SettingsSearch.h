#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "KelvoCore/Config/Config.h"
#include "KelvoCore/Settings/SettingEntry.h"

namespace kelvo {

/// Finding a settings row by typing: the rows of the catalogue ranked against the query with
/// the launcher's matcher, and a selection in that ranking. A plain value; every operation
/// ranks the whole list again, so `matches` is always the ranking of `query` over `entries`
/// and `selection` always lies within `matches` (0 when there are none).
///
/// Each row's fields are folded once and kept while the rows stay the same (the catalogue is
/// asked for again on every keystroke, from a configuration that rarely changes: the rows of a
/// configuration are made again only when it differs from the one they were made from), and
/// the ranking holds the rows' positions rather than copies of them.
class SettingsSearch {
  public:
    /// No rows, no query, no matches.
    SettingsSearch() = default;
    /// The rows in catalogue order, ranked for the empty query.
    explicit SettingsSearch(std::vector<SettingEntry> entries);

    const std::vector<SettingEntry>& entries() const { return entries_; }
    const std::string& query() const { return query_; }
    /// The matching rows, best first (copies; `matchPositions` names them without copying).
    std::vector<SettingEntry> matches() const;
    /// The positions in `entries` of the matching rows, best first.
    const std::vector<std::size_t>& matchPositions() const { return matches_; }
    int selection() const { return selection_; }

    /// New rows, ranked against the query typed so far; the selection goes to the top.
    void setEntries(std::vector<SettingEntry> entries);
    /// The catalogue's rows for `config` as new rows, as `setEntries` does with them.
    void setCatalogue(const Config& config);
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

    /// Equal rows, query, ranking and selection.
    bool operator==(const SettingsSearch& other) const;

  private:
    /// The positions of the rows the query hits, in the order of `rank`.
    static std::vector<std::size_t> rankPositions(
        std::string_view query, const std::vector<LauncherMatcher::FoldedFields>& rows);
    void rerank();

    std::vector<SettingEntry> entries_;
    /// Each entry's fields, folded, in the same order.
    std::vector<LauncherMatcher::FoldedFields> folded_;
    /// The configuration whose catalogue the rows are; none when they were given as rows.
    std::optional<Config> catalogueOf_;
    std::string query_;
    std::vector<std::size_t> matches_;
    int selection_ = 0;
};

}  // namespace kelvo
