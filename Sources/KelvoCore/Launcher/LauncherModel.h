#pragma once

#include <optional>
#include <string>
#include <vector>

#include "KelvoCore/Launcher/LauncherEntry.h"
#include "KelvoCore/Launcher/LauncherRequest.h"

namespace kelvo {

/// The launcher's state as a plain value: the candidates, what was typed and what the field
/// shows, the ranked matches and the selection, the recents and the optional vim-style modal
/// editing. It decides what each key does and says so as an `Outcome`; carrying that out
/// (focusing the field, closing the panel, going to the application) is its owner's work.
class LauncherModel {
  public:
    /// `insert`: keys go to the query field. `normal`: letters move and act (vim mode only).
    enum class Mode { insert, normal };
    /// Where the text cursor goes when the field takes focus.
    enum class Caret { start, end };

    /// A key the panel routes to the model.
    class Key {
      public:
        enum class Kind { character, escape, enter, shiftEnter };

        /// The typed text of one key.
        static Key character(std::string text) { return Key(Kind::character, std::move(text)); }
        static Key escape() { return Key(Kind::escape, {}); }
        static Key enter() { return Key(Kind::enter, {}); }
        static Key shiftEnter() { return Key(Kind::shiftEnter, {}); }

        Kind kind() const { return kind_; }
        /// The text of a `character` key; empty for the others.
        const std::string& text() const { return text_; }

        bool operator==(const Key&) const = default;

      private:
        Key(Kind kind, std::string text) : kind_(kind), text_(std::move(text)) {}

        Kind kind_;
        std::string text_;
    };

    /// What the owner does after a key.
    class Outcome {
      public:
        enum class Kind { focusField, commit, pass, handled, blurField, close };

        static Outcome focusField(Caret caret) { return Outcome(Kind::focusField, caret, {}); }
        static Outcome commit(LauncherRequest request) {
            return Outcome(Kind::commit, {}, request);
        }
        /// The key is not the model's: the text field has it.
        static Outcome pass() { return Outcome(Kind::pass, {}, {}); }
        /// Consumed; nothing more to do.
        static Outcome handled() { return Outcome(Kind::handled, {}, {}); }
        static Outcome blurField() { return Outcome(Kind::blurField, {}, {}); }
        static Outcome close() { return Outcome(Kind::close, {}, {}); }

        Kind kind() const { return kind_; }
        /// The caret of `focusField`.
        std::optional<Caret> caret() const { return caret_; }
        /// The request of `commit`.
        std::optional<LauncherRequest> request() const { return request_; }

        bool operator==(const Outcome&) const = default;

      private:
        Outcome(Kind kind, std::optional<Caret> caret, std::optional<LauncherRequest> request)
            : kind_(kind), caret_(caret), request_(request) {}

        Kind kind_;
        std::optional<Caret> caret_;
        std::optional<LauncherRequest> request_;
    };

    /// Empty query, the empty query's ranking, the first match selected; opens in `normal`
    /// mode when vim mode is on. The recents are kept cleaned.
    LauncherModel(std::vector<LauncherEntry> entries, const std::vector<std::string>& recents,
                  bool vimMode);

    const std::vector<LauncherEntry>& entries() const { return entries_; }
    /// The text typed, which the matches are ranked for.
    const std::string& query() const { return query_; }
    /// The text the field shows: the query, or after Tab completion the completed name.
    const std::string& field() const { return field_; }
    const std::vector<LauncherEntry>& matches() const { return matches_; }
    /// Index into `matches`.
    int selection() const { return selection_; }
    /// Whether the selection was moved or completed since the query last changed.
    bool moved() const { return moved_; }
    /// Bundle identifiers, most recent first.
    const std::vector<std::string>& recents() const { return recents_; }
    bool vimMode() const { return vimMode_; }
    Mode mode() const { return mode_; }

    /// Re-ranks for the current query and selects the first match.
    void setEntries(std::vector<LauncherEntry> entries);
    void setRecents(const std::vector<std::string>& recents);
    /// Turning vim mode off goes back to `insert`; turning it on waits for the next `reset`.
    void setVimMode(bool on);
    /// Puts the application first in the recents; the matches keep their order until the next
    /// ranking.
    void recordUse(const std::string& bundleID);
    /// The field's text changed: it becomes the query.
    void type(const std::string& text);
    /// Back to the state of a freshly shown launcher.
    void reset();
    /// Moves the selection, stopping at the first and the last match.
    void move(int delta);
    /// Tab completion: the field shows the next (or previous) match's name, cycling through
    /// the matches of the unchanged query. Returns the new field text.
    std::string complete(bool forward);
    /// The selected match; none when there are no matches.
    std::optional<LauncherEntry> chosen() const;
    /// What the key does in the current mode.
    Outcome handle(const Key& key);

    bool operator==(const LauncherModel& other) const;

  private:
    void rerank();
    Mode restingMode() const { return vimMode_ ? Mode::normal : Mode::insert; }
    int lastIndex() const { return static_cast<int>(matches_.size()) - 1; }
    Outcome handleNormalCharacter(const std::string& text);
    /// Selects `index` (clamped) and marks the selection moved; nothing at all without matches.
    void select(long long index);

    std::vector<LauncherEntry> entries_;
    std::string query_;
    std::string field_;
    std::vector<LauncherEntry> matches_;
    int selection_ = 0;
    bool moved_ = false;
    std::vector<std::string> recents_;
    bool vimMode_ = false;
    Mode mode_ = Mode::insert;
};

/// "insert" or "normal".
std::string rawValue(LauncherModel::Mode mode);
/// Exact raw values only.
std::optional<LauncherModel::Mode> launcherModeFromRawValue(const std::string& raw);

}  // namespace kelvo
