#include "Support/KelvoCore/WindowMentions.h"

#include <algorithm>

namespace kelvo {

namespace {

/// Collects the names of the tables for which a check holds.
class Mentions {
  public:
    void check(bool names, const char* table) {
        if (names) found_.push_back(table);
    }
    template <class Table>
    void checkKey(const Table& table, WindowID w, const char* name) {
        check(table.contains(w), name);
    }
    template <class Range, class Names>
    void checkAny(const Range& range, Names&& names, const char* table) {
        check(std::any_of(range.begin(), range.end(), names), table);
    }
    std::vector<std::string> found() && { return std::move(found_); }

  private:
    std::vector<std::string> found_;
};

}  // namespace

std::vector<std::string> tablesNaming(const WorkspaceStore& store, WindowID w) {
    const WorkspaceStore::State& s = store.state();
    const Reconciler& r = store.reconciler();
    Mentions mentions;
    mentions.checkKey(s.windows, w, "windows");
    mentions.checkAny(
        s.trees,
        [w](const auto& pane) {
            const auto ws = pane.second.windows();
            return std::find(ws.begin(), ws.end(), w) != ws.end();
        },
        "trees");
    mentions.checkAny(
        s.zoomedByDesktop, [w](const auto& zoom) { return zoom.second == w; }, "zoomedByDesktop");
    mentions.checkAny(
        s.expectedFocus, [w](const ExpectedFocus& e) { return e.window == w; }, "expectedFocus");
    mentions.check(s.nativeFocus && s.nativeFocus->window == w, "nativeFocus");
    mentions.check(s.parkedKeyWindow == w, "parkedKeyWindow");
    // A window never struck and one whose strikes were cleared read alike: zero.
    mentions.check(r.attempts().contains(w) && r.attempts().at(w) > 0, "strikes");
    mentions.checkKey(r.unmanageable(), w, "unmanageable");
    mentions.checkKey(r.clampedSizes(), w, "clampedSizes");
    mentions.checkKey(r.unmovedOvershoot(), w, "unmovedOvershoot");
    mentions.checkKey(r.ledger(), w, "ledger");
    return std::move(mentions).found();
}

std::vector<std::string> lastPassReportsNaming(const WorkspaceStore& store, WindowID w) {
    const Reconciler& r = store.reconciler();
    Mentions mentions;
    mentions.checkKey(r.abandonedInLastPass(), w, "abandonedInLastPass");
    mentions.checkKey(r.minimizedInLastPass(), w, "minimizedInLastPass");
    mentions.checkAny(
        r.skippedInLastPass(), [w](const Reconciler::Skip& skip) { return skip.id == w; },
        "skippedInLastPass");
    mentions.checkKey(r.unreadableInLastPass(), w, "unreadableInLastPass");
    mentions.checkKey(r.abandonedSkipInLastPass(), w, "abandonedSkipInLastPass");
    mentions.checkKey(r.clampedInLastPass(), w, "clampedInLastPass");
    return std::move(mentions).found();
}

}  // namespace kelvo
