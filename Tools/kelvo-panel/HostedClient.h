#pragma once

#include <functional>
#include <memory>
#include <string>

#include "Base/JSON/JSONValue.h"
#include "Platform/AppKit/NSWindow.h"
#include "Platform/SwiftUI/NSHostingView.h"
#include "Platform/SwiftUI/ObservableObject.h"

namespace kelvo_panel {

/// The values the window's controls are bound to.
class HostedModel : public SwiftUI::ObservableObject {
  public:
    SwiftUI::Published<int> presses{*this, 0};
    SwiftUI::Published<bool> on{*this, false};
    SwiftUI::Published<double> level{*this, 0};
    SwiftUI::Published<std::string> mode{*this, "tiles"};
    SwiftUI::Published<std::string> shell{*this, "zsh"};
};

/// What the client shows: a titled window (420 × 300) whose content is a hosting view of a
/// button, a switch, a slider, a segmented picker and a menu picker bound to the model. It
/// reports "ready" with the window's number, then the model's values as a "state" line once
/// per turn of the main loop in which they changed.
class HostedClient {
  public:
    using Report = std::function<void(const kelvo::JSONValue&)>;

    static constexpr double windowWidth = 420;
    static constexpr double windowHeight = 300;

    explicit HostedClient(Report report);
    ~HostedClient();

    void start();

  private:
    SwiftUI::View body();
    void reportState() const;

    Report report_;
    HostedModel model_;
    std::unique_ptr<NSWindow> window_;
    std::shared_ptr<SwiftUI::NSHostingView> hosting_;
    SwiftUI::ObservableObject::Subscription watch_;
    bool reportScheduled_ = false;
};

}  // namespace kelvo_panel
