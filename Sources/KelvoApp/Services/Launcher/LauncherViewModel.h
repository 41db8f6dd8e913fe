#pragma once

#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "KelvoApp/Services/Launcher/LauncherApp.h"
#include "KelvoApp/Services/Launcher/LauncherRowItem.h"
#include "KelvoCore/Launcher/LauncherModel.h"
#include "KelvoCore/Launcher/LauncherRequest.h"
#include "Platform/SwiftUI/ObservableObject.h"

class NSTextField;

namespace kelvo {

/// The bridge between the launcher's model and its view: it feeds the model the keys and the
/// typed text, publishes the visible rows (a window of at most eight matches that follows the
/// selection) and carries the model's outcomes out through its callbacks.
class LauncherViewModel : public SwiftUI::ObservableObject {
  public:
    using Apps = std::map<std::string, LauncherApp>;
    /// The most rows shown at once.
    static constexpr int visibleRows = 8;

    using IconLookup = std::function<NSImageRef(const std::string& bundleID,
                                                const std::optional<std::filesystem::path>& url)>;

    LauncherViewModel(std::function<std::optional<int>(const std::string&)> desktopOf,
                      std::function<bool(const LauncherEntry&)> bringsHere);

    // Published for the view.
    SwiftUI::Published<std::vector<LauncherRowItem>> rows{*this, {}};
    /// The selected row's index within `rows`.
    SwiftUI::Published<int> selection{*this, 0};
    /// The text the query field must show.
    SwiftUI::Published<std::string> field{*this, {}};
    SwiftUI::Published<bool> vimMode{*this, false};
    SwiftUI::Published<LauncherModel::Mode> mode{*this, LauncherModel::Mode::insert};
    SwiftUI::Published<bool> canBringHere{*this, false};

    /// The query field while it exists.
    std::weak_ptr<NSTextField> fieldView;
    std::function<void(const LauncherApp&, LauncherRequest)> onCommit;
    std::function<void()> onCancel;
    std::function<void()> onHeightChange;
    std::function<void(LauncherModel::Caret)> onFocusField;
    std::function<void()> onBlurField;
    std::function<void(const std::string&)> onUse;
    /// Where the rows' icons come from (the process-wide icon memo in the program); no
    /// icons when unset.
    IconLookup iconOf;

    const LauncherModel& model() const { return model_; }
    const Apps& apps() const { return apps_; }
    /// Index in the model's matches of the first visible row.
    int windowStart() const { return windowStart_; }

    /// The candidates, by bundle identifier; ranking decides their order.
    void setApps(Apps apps);
    void setRecents(const std::vector<std::string>& recents);
    void setVimMode(bool on);
    /// Back to a freshly shown launcher.
    void reset();
    /// The field's text changed: it is the new query.
    void type(const std::string& text);
    void move(int delta);
    /// Tab completion.
    void complete(bool forward);
    /// A key routed by the panel; true when it was consumed.
    bool key(const LauncherModel::Key& key);
    /// A click on a visible row goes to that application.
    void choose(int rowIndex);

  private:
    void commit(const std::string& bundleID, LauncherRequest request);
    void publish();
    void followSelection();
    LauncherRowItem rowItem(const LauncherEntry& entry) const;

    std::function<std::optional<int>(const std::string&)> desktopOf_;
    std::function<bool(const LauncherEntry&)> bringsHere_;
    LauncherModel model_{{}, {}, false};
    Apps apps_;
    int windowStart_ = 0;
};

}  // namespace kelvo
