#include "KelvoApp/Services/Launcher/LauncherController.h"

#include <cmath>
#include <utility>

#include "KelvoApp/Services/Launcher/AppIcons.h"
#include "KelvoApp/Services/Launcher/LauncherCatalog.h"
#include "KelvoApp/Services/Launcher/LauncherView.h"
#include "KelvoApp/Services/Overlays/HUDBackdrop.h"
#include "Platform/AppKit/NSAppearance.h"
#include "Platform/AppKit/NSColor.h"
#include "Platform/AppKit/NSEvent.h"
#include "Platform/AppKit/NSScreen.h"

namespace kelvo {

namespace {

constexpr CGFloat cornerRadius = 20;

NSScreenRef pointerScreen(const NSWindow& panel) {
    const CGPoint pointer = NSEvent::mouseLocation();
    const std::vector<NSScreenRef> screens = NSScreen::screens();
    for (const NSScreenRef& screen : screens) {
        if (screen->frame().contains(pointer)) return screen;
    }
    // The screen the panel stands on.
    for (const NSScreenRef& screen : screens) {
        if (screen->frame().contains(panel.frame().origin)) return screen;
    }
    return NSScreen::mainScreen();
}

}  // namespace

LauncherController::LauncherController(Callbacks callbacks, Sources sources)
    : callbacks_(std::move(callbacks)),
      sources_(std::move(sources)),
      model_(std::make_shared<LauncherViewModel>(callbacks_.desktopOf, callbacks_.bringsHere)),
      scanQueue_(sources_.scanQueue ? *sources_.scanQueue
                                    : DispatchQueue("launcher.scan", DispatchQoS::userInitiated)) {
    if (!sources_.installed) sources_.installed = &LauncherCatalog::installed;
    if (!sources_.running) sources_.running = &LauncherCatalog::running;
    if (!sources_.icons) sources_.icons = &AppIcons::icon;
    model_->iconOf = sources_.icons;
    buildPanel();
    wireCallbacks();
    observeResignKey();
    rescan();
}

LauncherController::~LauncherController() {
    NSNotificationCenter::defaultCenter().removeObserver(resignObserver_);
    panel_->orderOut(nullptr);
}

void LauncherController::buildPanel() {
    panel_ = std::make_unique<LauncherPanel>(CGRect(0, 0, width, LauncherView::height(0)),
                                             NSWindowStyleMaskNonactivatingPanel,
                                             NSBackingStoreBuffered, false);
    panel_->setLevel(NSPopUpMenuWindowLevel);
    panel_->setOpaque(false);
    panel_->setBackgroundColor(NSColor::clearColor());
    panel_->setHasShadow(true);
    panel_->setMovable(false);
    panel_->setHidesOnDeactivate(false);
    panel_->setReleasedWhenClosed(false);
    panel_->setCollectionBehavior(NSWindowCollectionBehaviorCanJoinAllSpaces |
                                  NSWindowCollectionBehaviorIgnoresCycle |
                                  NSWindowCollectionBehaviorFullScreenAuxiliary);
    panel_->setAppearance(NSAppearance::appearanceNamed(NSAppearanceNameDarkAqua));
    panel_->setAnimationBehavior(NSWindowAnimationBehavior::utilityWindow);

    auto material = makeHUDBackdrop(panel_->frame(), cornerRadius);
    material->layer()->setCornerCurve(CALayerCornerCurve::continuous);
    material->layer()->setBorderWidth(1);
    material->layer()->setBorderColor(
        NSColor::whiteColor()->colorWithAlphaComponent(0.1)->CGColor());
    panel_->setContentView(material);

    const std::shared_ptr<LauncherViewModel> model = model_;
    host_ = std::make_shared<SwiftUI::NSHostingView>(
        [model] { return LauncherView(model, QueryField(model).body()).body(); });
    host_->observe(*model_);
    host_->setTranslatesAutoresizingMaskIntoConstraints(false);
    material->addSubview(host_);
    NSLayoutConstraint::activateConstraints({
        host_->leadingAnchor().constraintEqualToAnchor(material->leadingAnchor()),
        host_->trailingAnchor().constraintEqualToAnchor(material->trailingAnchor()),
        host_->topAnchor().constraintEqualToAnchor(material->topAnchor()),
        host_->bottomAnchor().constraintEqualToAnchor(material->bottomAnchor()),
    });
}

void LauncherController::wireCallbacks() {
    const std::weak_ptr<bool> alive = alive_;
    // Each callback reaches the controller only while it lives.
    const auto guarded = [alive, this](auto action) {
        return [alive, this, action](auto&&... arguments) {
            if (alive.lock()) action(*this, std::forward<decltype(arguments)>(arguments)...);
        };
    };
    model_->onHeightChange = guarded([](LauncherController& self) { self.reposition(); });
    model_->onCancel = guarded([](LauncherController& self) { self.cancel(); });
    model_->onCommit = guarded([](LauncherController& self, const LauncherApp& app,
                                  LauncherRequest request) { self.hand(app, request); });
    model_->onUse = guarded([](LauncherController& self, const std::string& bundleID) {
        if (self.callbacks_.recordUse) self.callbacks_.recordUse(bundleID);
    });
    model_->onFocusField = guarded(
        [](LauncherController& self, LauncherModel::Caret caret) { self.focusField(caret); });
    model_->onBlurField =
        guarded([](LauncherController& self) { self.panel_->makeFirstResponder(nullptr); });

    panel_->onCancel =
        guarded([](LauncherController& self) { self.model_->key(LauncherModel::Key::escape()); });
    panel_->onKey = [alive, this](const LauncherModel::Key& key) {
        return alive.lock() && model_->key(key);
    };
    panel_->onControlMove =
        guarded([](LauncherController& self, int delta) { self.model_->move(delta); });
}

void LauncherController::observeResignKey() {
    const std::weak_ptr<bool> alive = alive_;
    resignObserver_ = NSNotificationCenter::defaultCenter().addObserver(
        NSWindowDidResignKeyNotification, static_cast<const NSWindow*>(panel_.get()),
        &DispatchQueue::main(), [alive, this](const NSNotification&) {
            // A click elsewhere: the panel goes, and nothing is given the front back. A notice
            // that comes after the panel was shown and made key again is stale.
            if (alive.lock() && panel_->isVisible() && !panel_->isKeyWindow()) hide();
        });
}

void LauncherController::show() {
    previousApp_ = sources_.frontmost ? sources_.frontmost() : std::nullopt;
    model_->setApps(merged());
    model_->setRecents(callbacks_.recents ? callbacks_.recents() : std::vector<std::string>{});
    model_->setVimMode(callbacks_.vimMode && callbacks_.vimMode());
    model_->reset();
    reposition();
    panel_->makeKeyAndOrderFront(nullptr);
    if (model_->mode == LauncherModel::Mode::normal) {
        layOutContent();
        panel_->makeFirstResponder(nullptr);
    } else {
        focusField();
    }
    rescan();
}

QueryTextField* LauncherController::field() const {
    return dynamic_cast<QueryTextField*>(model_->fieldView.lock().get());
}

void LauncherController::layOutContent() {
    panel_->contentView()->layoutSubtreeIfNeeded();
    host_->layoutTree();
}

void LauncherController::focusField(std::optional<LauncherModel::Caret> caret) {
    layOutContent();
    QueryTextField* field = this->field();
    if (!field) return;
    panel_->makeFirstResponder(field);
    if (caret) {
        if (NSTextView* editor = field->currentEditor()) {
            const std::size_t at =
                *caret == LauncherModel::Caret::start ? 0 : editor->string().size();
            editor->setSelectedRange(NSRange{at, 0});
        }
        return;
    }
    // The panel may not be key yet on this turn; the field asks again on the next one.
    const std::weak_ptr<bool> alive = alive_;
    DispatchQueue::main().async([alive, this] {
        if (!alive.lock() || !panel_->isVisible()) return;
        QueryTextField* again = this->field();
        if (again &&
            (!again->currentEditor() || panel_->firstResponder() != again->currentEditor()))
            panel_->makeFirstResponder(again);
    });
}

void LauncherController::rescan() {
    if (scanning_) return;
    scanning_ = true;
    const std::weak_ptr<bool> alive = alive_;
    scanQueue_.async([alive, this, installed = sources_.installed] {
        LauncherViewModel::Apps found = installed ? installed() : LauncherViewModel::Apps{};
        DispatchQueue::main().async([alive, this, found = std::move(found)]() mutable {
            if (!alive.lock()) return;
            installed_ = std::move(found);
            scanning_ = false;
            if (panel_->isVisible()) model_->setApps(merged());
        });
    });
}

LauncherViewModel::Apps LauncherController::merged() const {
    LauncherViewModel::Apps apps = installed_;
    if (!sources_.running) return apps;
    for (auto& [bundleID, app] : sources_.running())
        apps[bundleID] = std::move(app);
    return apps;
}

void LauncherController::reposition() {
    const NSScreenRef screen = pointerScreen(*panel_);
    if (!screen) return;
    const CGRect visible = screen->visibleFrame();
    const CGFloat height = LauncherView::height(static_cast<int>(model_->rows->size()));
    const CGRect frame(std::round(visible.midX() - width / 2),
                       std::round(visible.maxY() - topInset * visible.height() - height), width,
                       height);
    panel_->setFrame(frame, true);
}

void LauncherController::hide() {
    panel_->orderOut(nullptr);
    model_->reset();
    previousApp_.reset();
}

void LauncherController::hand(const LauncherApp& app, LauncherRequest request) {
    if (panel_->isVisible()) hide();
    if (callbacks_.commit) callbacks_.commit(app, request);
}

void LauncherController::cancel() {
    if (!panel_->isVisible()) return;
    const std::optional<RunningApplication> previous = previousApp_;
    hide();
    if (!previous || !sources_.runningApplications) return;
    for (const RunningApplication& app : sources_.runningApplications()) {
        if (app.pid != previous->pid || app.terminated || app.active) continue;
        if (app.bundleID && callbacks_.expectActivation) callbacks_.expectActivation(*app.bundleID);
        if (sources_.activate) sources_.activate(app.pid);
        return;
    }
}

}  // namespace kelvo
