#include "KelvoApp/Services/Launcher/LauncherViewModel.h"

#include <algorithm>
#include <utility>

namespace kelvo {

LauncherViewModel::LauncherViewModel(
    std::function<std::optional<int>(const std::string&)> desktopOf,
    std::function<bool(const LauncherEntry&)> bringsHere)
    : desktopOf_(std::move(desktopOf)), bringsHere_(std::move(bringsHere)) {}

void LauncherViewModel::setApps(Apps apps) {
    apps_ = std::move(apps);
    std::vector<LauncherEntry> entries;
    entries.reserve(apps_.size());
    for (const auto& [bundleID, app] : apps_)
        entries.push_back(app.entry);
    model_.setEntries(std::move(entries));
    windowStart_ = 0;
    publish();
}

void LauncherViewModel::setRecents(const std::vector<std::string>& recents) {
    model_.setRecents(recents);
    windowStart_ = 0;
    publish();
}

void LauncherViewModel::setVimMode(bool on) {
    model_.setVimMode(on);
    publish();
}

void LauncherViewModel::reset() {
    model_.reset();
    windowStart_ = 0;
    publish();
}

void LauncherViewModel::type(const std::string& text) {
    model_.type(text);
    windowStart_ = 0;
    publish();
}

void LauncherViewModel::move(int delta) {
    model_.move(delta);
    publish();
}

void LauncherViewModel::complete(bool forward) {
    model_.complete(forward);
    publish();
}

bool LauncherViewModel::key(const LauncherModel::Key& key) {
    const LauncherModel::Outcome outcome = model_.handle(key);
    publish();
    switch (outcome.kind()) {
        case LauncherModel::Outcome::Kind::pass:
            return false;
        case LauncherModel::Outcome::Kind::handled:
            return true;
        case LauncherModel::Outcome::Kind::blurField:
            if (onBlurField) onBlurField();
            return true;
        case LauncherModel::Outcome::Kind::close:
            if (onCancel) onCancel();
            return true;
        case LauncherModel::Outcome::Kind::focusField:
            if (onFocusField) onFocusField(*outcome.caret());
            return true;
        case LauncherModel::Outcome::Kind::commit:
            if (const auto chosen = model_.chosen()) commit(chosen->bundleID, *outcome.request());
            return true;
    }
    return true;
}

void LauncherViewModel::choose(int rowIndex) {
    const std::vector<LauncherRowItem>& shown = rows.get();
    if (rowIndex < 0 || rowIndex >= static_cast<int>(shown.size())) return;
    commit(shown[static_cast<std::size_t>(rowIndex)].bundleID, LauncherRequest::goTo);
}

void LauncherViewModel::commit(const std::string& bundleID, LauncherRequest request) {
    const auto found = apps_.find(bundleID);
    if (found == apps_.end()) return;
    // The callbacks may reset or replace the candidates, so the pick travels as a copy.
    const LauncherApp app = found->second;
    model_.recordUse(bundleID);
    if (onUse) onUse(bundleID);
    if (onCommit) onCommit(app, request);
}

void LauncherViewModel::followSelection() {
    const int selected = model_.selection();
    if (selected < windowStart_) windowStart_ = selected;
    if (selected >= windowStart_ + visibleRows) windowStart_ = selected - (visibleRows - 1);
    const int count = static_cast<int>(model_.matches().size());
    windowStart_ = std::clamp(windowStart_, 0, std::max(0, count - visibleRows));
}

LauncherRowItem LauncherViewModel::rowItem(const LauncherEntry& entry) const {
    LauncherRowItem row{entry.bundleID, entry.name, entry.isRunning, std::nullopt, nullptr};
    if (desktopOf_) row.desktop = desktopOf_(entry.bundleID);
    if (iconOf) {
        const auto app = apps_.find(entry.bundleID);
        row.icon = iconOf(entry.bundleID, app == apps_.end() ? std::nullopt : app->second.url);
    }
    return row;
}

void LauncherViewModel::publish() {
    followSelection();
    const std::vector<LauncherEntry>& matches = model_.matches();
    const auto first = std::min(matches.size(), static_cast<std::size_t>(windowStart_));
    const auto last = std::min(matches.size(), first + visibleRows);
    std::vector<LauncherRowItem> shown;
    shown.reserve(last - first);
    for (auto i = first; i < last; ++i)
        shown.push_back(rowItem(matches[i]));

    const std::size_t before = rows->size();
    const std::size_t after = shown.size();
    rows = std::move(shown);
    selection = model_.selection() - windowStart_;
    field = model_.field();
    vimMode = model_.vimMode();
    mode = model_.mode();
    const auto chosen = model_.chosen();
    canBringHere = chosen && bringsHere_ && bringsHere_(*chosen);
    if (after != before && onHeightChange) onHeightChange();
}

}  // namespace kelvo
