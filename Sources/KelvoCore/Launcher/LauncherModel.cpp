#include "KelvoCore/Launcher/LauncherModel.h"

#include <algorithm>
#include <array>

#include "Base/JSON/JSONCoding.h"
#include "Base/Text/UnicodeText.h"
#include "KelvoCore/Launcher/LauncherMatcher.h"
#include "KelvoCore/Launcher/LauncherRecents.h"

namespace kelvo {

LauncherModel::LauncherModel(std::vector<LauncherEntry> entries,
                             const std::vector<std::string>& recents, bool vimMode)
    : entries_(std::move(entries)),
      recents_(LauncherRecents::cleaned(recents)),
      vimMode_(vimMode),
      mode_(restingMode()) {
    rerank();
}

void LauncherModel::rerank() {
    matches_ = LauncherMatcher::rank(query_, entries_, recents_);
    selection_ = 0;
}

void LauncherModel::setEntries(std::vector<LauncherEntry> entries) {
    entries_ = std::move(entries);
    rerank();
}

void LauncherModel::setRecents(const std::vector<std::string>& recents) {
    recents_ = LauncherRecents::cleaned(recents);
    rerank();
}

void LauncherModel::setVimMode(bool on) {
    vimMode_ = on;
    if (!on) mode_ = Mode::insert;
}

void LauncherModel::recordUse(const std::string& bundleID) {
    recents_ = LauncherRecents::recording(bundleID, recents_);
}

void LauncherModel::type(const std::string& text) {
    query_ = text;
    field_ = text;
    moved_ = false;
    rerank();
}

void LauncherModel::reset() {
    query_.clear();
    field_.clear();
    moved_ = false;
    rerank();
    mode_ = restingMode();
}

void LauncherModel::select(long long index) {
    if (matches_.empty()) return;
    selection_ = static_cast<int>(std::clamp<long long>(index, 0, lastIndex()));
    moved_ = true;
}

void LauncherModel::move(int delta) {
    select(static_cast<long long>(selection_) + delta);
}

std::string LauncherModel::complete(bool forward) {
    if (matches_.empty()) return field_;
    const int count = static_cast<int>(matches_.size());
    if (moved_) {
        selection_ = ((selection_ + (forward ? 1 : -1)) % count + count) % count;
    } else {
        selection_ = forward ? 0 : count - 1;
        moved_ = true;
    }
    // The query stays as typed, so the next Tab cycles through the same matches.
    field_ = matches_[static_cast<std::size_t>(selection_)].name;
    return field_;
}

std::optional<LauncherEntry> LauncherModel::chosen() const {
    if (selection_ < 0 || selection_ > lastIndex()) return std::nullopt;
    return matches_[static_cast<std::size_t>(selection_)];
}

LauncherModel::Outcome LauncherModel::handle(const Key& key) {
    switch (key.kind()) {
        case Key::Kind::enter:
            return Outcome::commit(LauncherRequest::goTo);
        case Key::Kind::shiftEnter:
            return Outcome::commit(LauncherRequest::bringHere);
        case Key::Kind::escape:
            if (vimMode_ && mode_ == Mode::insert) {
                mode_ = Mode::normal;
                return Outcome::blurField();
            }
            return Outcome::close();
        case Key::Kind::character:
            if (!vimMode_ || mode_ == Mode::insert) return Outcome::pass();
            return handleNormalCharacter(key.text());
    }
    return Outcome::handled();
}

LauncherModel::Outcome LauncherModel::handleNormalCharacter(const std::string& text) {
    // Whole texts, case-sensitively: "G" and "g" are different keys.
    if (text == "q") return Outcome::close();
    if (text == "j") {
        select(static_cast<long long>(selection_) + 1);
    } else if (text == "k") {
        select(static_cast<long long>(selection_) - 1);
    } else if (text == "g") {
        select(0);
    } else if (text == "G") {
        select(lastIndex());
    } else if (text == "i" || text == "a") {
        mode_ = Mode::insert;
        return Outcome::focusField(text == "i" ? Caret::start : Caret::end);
    }
    // Every other character is consumed too: typing reaches the field only in insert mode.
    return Outcome::handled();
}

bool LauncherModel::operator==(const LauncherModel& other) const {
    const auto sameTexts = [](const std::vector<std::string>& a,
                              const std::vector<std::string>& b) {
        return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                          [](const std::string& x, const std::string& y) {
                              return UnicodeText::canonicallyEquivalent(x, y);
                          });
    };
    return entries_ == other.entries_ && UnicodeText::canonicallyEquivalent(query_, other.query_) &&
           UnicodeText::canonicallyEquivalent(field_, other.field_) && matches_ == other.matches_ &&
           selection_ == other.selection_ && moved_ == other.moved_ &&
           sameTexts(recents_, other.recents_) && vimMode_ == other.vimMode_ &&
           mode_ == other.mode_;
}

namespace {
constexpr std::array<LauncherModel::Mode, 2> allModes = {LauncherModel::Mode::insert,
                                                         LauncherModel::Mode::normal};
}

std::string rawValue(LauncherModel::Mode mode) {
    return mode == LauncherModel::Mode::insert ? "insert" : "normal";
}

std::optional<LauncherModel::Mode> launcherModeFromRawValue(const std::string& raw) {
    return caseWithRawValue<LauncherModel::Mode>(
        allModes, raw, [](LauncherModel::Mode mode) { return rawValue(mode); });
}

}  // namespace kelvo
