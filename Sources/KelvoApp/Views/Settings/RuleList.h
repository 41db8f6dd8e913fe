#pragma once

#include <functional>
#include <set>
#include <string>
#include <vector>

#include "KelvoApp/Applications/AppEntry.h"
#include "KelvoCore/Settings/SettingEntry.h"
#include "Platform/SwiftUI/View.h"

namespace kelvo {

/// A set of applications a rule names: a row-like header with an "Add…" menu of the running
/// applications not yet listed, then the listed ones, each with a remove button. It edits
/// nothing itself: it calls `add` and `remove`.
class RuleList {
  public:
    static constexpr CGFloat spacing = 10;
    static constexpr CGFloat horizontalInset = 16;
    static constexpr CGFloat verticalInset = 14;
    static constexpr CGFloat listCornerRadius = 8;
    static constexpr double listOpacity = 0.3;
    static constexpr CGFloat menuOutset = 6;
    static constexpr const char* everyAppListed = "Every running application is already listed";

    SettingEntry entry;
    std::set<std::string> bundleIDs;
    /// Offered for adding, in this order.
    std::vector<AppEntry> running;
    std::function<void(const std::string&)> add;
    std::function<void(const std::string&)> remove;

    /// The running applications not listed yet, in `running`'s order.
    std::vector<AppEntry> addable() const;
    /// The listed identifiers by their applications' names (the identifier itself when no
    /// application has it), in a case-insensitive order of those names.
    std::vector<AppEntry> sorted() const;

    SwiftUI::View body() const;
    operator SwiftUI::View() const { return body(); }

  private:
    SwiftUI::View header() const;
    SwiftUI::View addMenu() const;
    SwiftUI::View list() const;
};

/// One listed application: icon, name and identifier, and the button that removes it.
class RuleRow {
  public:
    static constexpr CGFloat spacing = 9;
    static constexpr CGFloat iconSize = 17;
    static constexpr CGFloat horizontalInset = 10;
    static constexpr CGFloat verticalInset = 7;

    AppEntry entry;
    std::function<void()> remove;

    SwiftUI::View body() const;
    operator SwiftUI::View() const { return body(); }

  private:
    SwiftUI::View icon() const;
};

}  // namespace kelvo
