#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "KelvoApp/Services/Launcher/LauncherRowItem.h"
#include "KelvoApp/Services/Launcher/LauncherViewModel.h"
#include "Platform/SwiftUI/View.h"

namespace kelvo {

/// The launcher's content: the query row, up to eight application rows and the hint bar of
/// the keys that work in the current mode. It only draws what the view model publishes and
/// hands a click on a row back to it.
class LauncherView {
  public:
    static constexpr CGFloat queryRowHeight = 60;
    static constexpr CGFloat rowHeight = 52;
    static constexpr CGFloat listPadding = 8;
    static constexpr CGFloat hintBarHeight = 34;
    static constexpr CGFloat separatorHeight = 1;

    /// `field` is the query field as a view of the tree.
    LauncherView(std::shared_ptr<LauncherViewModel> model, SwiftUI::View field);

    SwiftUI::View body() const;

    /// The height of the whole stack with that many rows.
    static CGFloat height(int rows);

  private:
    SwiftUI::View queryRow() const;
    SwiftUI::View modeChip() const;
    SwiftUI::View list() const;
    SwiftUI::View hintBar() const;

    std::shared_ptr<LauncherViewModel> model_;
    SwiftUI::View field_;
};

/// One application row: icon, name, desktop badge; the selected one on an accent plate.
class LauncherRowView {
  public:
    static constexpr CGFloat iconSize = 32;

    LauncherRowView(LauncherRowItem row, bool selected)
        : row_(std::move(row)), selected_(selected) {}
    SwiftUI::View body() const;

  private:
    SwiftUI::View icon() const;
    SwiftUI::View badge(int desktop) const;
    SwiftUI::View plate() const;

    LauncherRowItem row_;
    bool selected_;
};

/// One hint of the hint bar: a key cap and what the key does.
struct LauncherHint {
    std::string cap;
    std::string label;
    bool operator==(const LauncherHint&) const = default;
};

/// The hints for the published state, in order.
std::vector<LauncherHint> launcherHints(bool vimMode, LauncherModel::Mode mode, bool canBringHere);

}  // namespace kelvo
