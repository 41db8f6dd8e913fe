#include "Platform/SwiftUI/LayoutServices.h"

namespace SwiftUI {

void LayoutServices::report(const PreferenceKeyOps& key, const std::any& value) {
    if (trial_) return;
    for (Collection* collection : collections_)
        if (collection->key.key == key.key) collection->key.reduce(collection->value, value);
}

void LayoutServices::appeared(const std::string& path, std::function<void()> onAppear) {
    if (trial_) return;
    appearedNow_.insert(path);
    if (!appearedBefore_.count(path) && onAppear) afterLayout(std::move(onAppear));
}

void LayoutServices::willDisappear(const std::string& path, std::function<void()> onDisappear) {
    if (trial_) return;
    disappearNow_[path] = std::move(onDisappear);
}

void LayoutServices::requestScroll(const std::string& readerPath, ScrollTarget target) {
    scrolls_[readerPath] = std::move(target);
}

std::optional<ScrollTarget> LayoutServices::takeScroll(const std::string& readerPath) {
    auto found = scrolls_.find(readerPath);
    if (found == scrolls_.end()) return std::nullopt;
    ScrollTarget target = found->second;
    scrolls_.erase(found);
    return target;
}

void LayoutServices::beginPass() {
    newPass();
    afterLayout_.clear();
    collections_.clear();
    appearedBefore_ = std::move(appearedNow_);
    appearedNow_.clear();
    disappearBefore_ = std::move(disappearNow_);
    disappearNow_.clear();
}

void LayoutServices::endPass() {
    std::vector<std::function<void()>> work;
    for (auto& [path, onDisappear] : disappearBefore_)
        if (!disappearNow_.count(path) && onDisappear) work.push_back(onDisappear);
    for (auto& item : afterLayout_)
        work.push_back(std::move(item));
    afterLayout_.clear();
    for (auto& item : work)
        item();
}

}  // namespace SwiftUI
