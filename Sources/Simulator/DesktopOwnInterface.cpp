#include <algorithm>
#include <cctype>
#include <filesystem>

#include "Base/Foundation/MutexLock.h"
#include "Simulator/Desktop.h"
#include "Simulator/DesktopTransaction.h"

namespace sim {

namespace {

std::string lowercased(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

bool hasAllowedExtension(const std::string& path, const std::vector<ContentType>& allowed) {
    if (allowed.empty()) return true;
    const std::string extension = std::filesystem::path(path).extension().string();
    if (extension.size() < 2) return false;
    const std::string bare = lowercased(extension.substr(1));
    return std::any_of(allowed.begin(), allowed.end(), [&](const ContentType& type) {
        return lowercased(type.filenameExtension) == bare;
    });
}

/// What the person's answer gives the panel: a save panel adds the first allowed type's
/// extension to a name without one, as its name field does; an open panel cannot choose a file
/// of another type, so that answer leaves it cancelled.
FilePanelAnswer chosen(const FilePanelSpec& panel, const std::string& answer) {
    if (answer == filePanelCancelled) return std::nullopt;
    if (hasAllowedExtension(answer, panel.allowedContentTypes)) return answer;
    if (panel.kind == FilePanelSpec::Kind::open) return std::nullopt;
    return answer + "." + panel.allowedContentTypes.front().filenameExtension;
}

}  // namespace

// ---- The pasteboard

std::int64_t Desktop::clearPasteboard() {
    Transaction transaction(*this);
    pasteboardString_.reset();
    return ++pasteboardChanges_;
}

bool Desktop::setPasteboardString(const std::string& string) {
    Transaction transaction(*this);
    pasteboardString_ = string;
    return true;
}

std::optional<std::string> Desktop::pasteboardString() const {
    MutexLock lock(mutex_);
    return pasteboardString_;
}

// ---- File panels

void Desktop::answerFilePanels(const std::vector<std::string>& answers) {
    Transaction transaction(*this);
    filePanelAnswers_.insert(filePanelAnswers_.end(), answers.begin(), answers.end());
}

std::vector<FilePanelRecord> Desktop::filePanels() const {
    MutexLock lock(mutex_);
    return filePanels_;
}

FilePanelAnswer Desktop::runFilePanel(ClientID client, const FilePanelSpec& panel) {
    Transaction transaction(*this);
    FilePanelAnswer answer;
    if (!filePanelAnswers_.empty()) {
        answer = chosen(panel, filePanelAnswers_.front());
        filePanelAnswers_.pop_front();
    }
    filePanels_.push_back(FilePanelRecord{clientApplicationLocked(client), panel, answer});
    return answer;
}

// ---- Colour panels

std::optional<std::string> Desktop::normalizedColor(const std::string& text) {
    std::string digits = text.starts_with('#') ? text.substr(1) : text;
    if (digits.size() != 6 || !std::all_of(digits.begin(), digits.end(),
                                           [](unsigned char c) { return std::isxdigit(c); }))
        return std::nullopt;
    std::transform(digits.begin(), digits.end(), digits.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return "#" + digits;
}

void Desktop::answerColorPanels(const std::vector<std::string>& colors) {
    Transaction transaction(*this);
    for (const std::string& color : colors) {
        if (const auto normal = normalizedColor(color)) colorPicks_.push_back(*normal);
    }
}

std::vector<ColorPanelRecord> Desktop::colorPanels() const {
    MutexLock lock(mutex_);
    return colorPanels_;
}

std::optional<std::string> Desktop::showColorPanel(ClientID client, const ColorPanelSpec& panel) {
    Transaction transaction(*this);
    std::optional<std::string> picked;
    if (!colorPicks_.empty()) {
        picked = colorPicks_.front();
        colorPicks_.pop_front();
    }
    colorPanels_.push_back(ColorPanelRecord{clientApplicationLocked(client), panel, picked});
    return picked;
}

// ---- Opening and revealing, and the display settings

std::string Desktop::fileURL(const std::string& path) {
    static constexpr char hex[] = "0123456789ABCDEF";
    std::string url = "file://";
    for (const unsigned char c : path) {
        if (std::isalnum(c) || c == '/' || c == '-' || c == '.' || c == '_' || c == '~') {
            url += static_cast<char>(c);
        } else {
            url += '%';
            url += hex[c >> 4];
            url += hex[c & 0xF];
        }
    }
    return url;
}

bool Desktop::openURL(const std::string& url) {
    Transaction transaction(*this);
    if (url.find(':') == std::string::npos) return false;
    openedURLs_.push_back(url);
    return true;
}

std::vector<std::string> Desktop::openedURLs() const {
    MutexLock lock(mutex_);
    return openedURLs_;
}

void Desktop::setReduceMotion(bool on) {
    Transaction transaction(*this);
    reduceMotion_ = on;
}

bool Desktop::reduceMotion() const {
    MutexLock lock(mutex_);
    return reduceMotion_;
}

}  // namespace sim

namespace sim {

// ---- Login items

namespace {

std::string loginItemKey(const ApplicationInfo& info) {
    return info.bundleID.value_or(info.executablePath);
}

}  // namespace

void Desktop::setLoginItemPolicy(const std::string& application, LoginItemPolicy policy) {
    Transaction transaction(*this);
    loginItems_[application].policy = policy;
}

std::vector<std::string> Desktop::loginItems() const {
    MutexLock lock(mutex_);
    std::vector<std::string> lines;
    for (const auto& [application, item] : loginItems_)
        lines.push_back(application + " " + item.reportedStatus() + " " + toString(item.policy));
    return lines;
}

std::string Desktop::loginItemStatus(ClientID client) const {
    MutexLock lock(mutex_);
    const auto app = applications_.find(clientApplicationLocked(client));
    if (app == applications_.end()) return "notFound";
    const auto item = loginItems_.find(loginItemKey(app->second.info));
    return item == loginItems_.end() ? LoginItem().reportedStatus() : item->second.reportedStatus();
}

std::optional<std::string> Desktop::setLoginItem(ClientID client, bool on) {
    Transaction transaction(*this);
    const auto app = applications_.find(clientApplicationLocked(client));
    if (app == applications_.end()) return "No such process";
    return loginItems_[loginItemKey(app->second.info)].change(on);
}

}  // namespace sim
