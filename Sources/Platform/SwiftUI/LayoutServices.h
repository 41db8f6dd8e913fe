#pragma once

#include <any>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <typeindex>
#include <vector>

#include "Platform/SwiftUI/Animation.h"
#include "Platform/SwiftUI/LayoutAnswers.h"
#include "Platform/SwiftUI/LayoutNode.h"
#include "Platform/SwiftUI/SymbolImageCache.h"
#include "Platform/SwiftUI/TextMeasurer.h"
#include "Platform/SwiftUI/View.h"

namespace SwiftUI {

/// One line of a menu a view pops up.
struct MenuEntry {
    std::string title = {};
    bool enabled = true;
    bool checked = false;
    bool separator = false;
    bool operator==(const MenuEntry&) const = default;
};

struct ScrollTarget {
    std::string identifier = {};
    UnitPoint anchor;
    std::optional<Animation> animation = std::nullopt;
};

/// What a view graph lends the views it lays out: text measurement, storage that outlives
/// one evaluation (state, scroll offsets, last seen values, keyed by identity path), the
/// preference values gathered on the way up, and the work that runs once a pass is over
/// (appearance, changes, preference callbacks).
class LayoutServices {
  public:
    TextMeasurer& text() { return text_; }
    SymbolImageCache& symbols() { return symbols_; }

    /// The stored value at `key`, made from `initial` the first time.
    template <class T>
    T& stored(const std::string& key, const T& initial) {
        auto found = store_.find(key);
        if (found == store_.end())
            found = store_.emplace(key, std::any(std::in_place_type<T>, initial)).first;
        return *std::any_cast<T>(&found->second);
    }
    bool has(const std::string& key) const { return store_.count(key) != 0; }
    void forget(const std::string& key) { store_.erase(key); }

    /// What the views answered in this pass; a new pass forgets it.
    LayoutAnswers& answers() { return answers_; }
    void newPass() { answers_.newPass(); }

    /// Runs once the pass is over, in the order asked.
    void afterLayout(std::function<void()> work) {
        if (!trial_) afterLayout_.push_back(std::move(work));
    }

    /// While a trial placement lasts (a scroll view finding its target), views report no
    /// preferences, appearances or changes: only the real placement counts.
    class Trial {
      public:
        explicit Trial(LayoutServices& services) : services_(services) { ++services_.trial_; }
        ~Trial() { --services_.trial_; }
        Trial(const Trial&) = delete;
        Trial& operator=(const Trial&) = delete;

      private:
        LayoutServices& services_;
    };
    bool inTrial() const { return trial_ > 0; }

    // Preferences travel up: each reader opens a collection, each writer reduces into every
    // open collection of its key.
    struct Collection {
        PreferenceKeyOps key;
        std::any value;
    };
    void openCollection(Collection& collection) { collections_.push_back(&collection); }
    void closeCollection() { collections_.pop_back(); }
    void report(const PreferenceKeyOps& key, const std::any& value);

    // Appearance: the paths of views that asked to hear it, this pass and the last.
    void appeared(const std::string& path, std::function<void()> onAppear);
    void willDisappear(const std::string& path, std::function<void()> onDisappear);

    // Scrolling.
    void requestScroll(const std::string& readerPath, ScrollTarget target);
    /// The scroll asked of the reader at that path, taken (it is done once).
    std::optional<ScrollTarget> takeScroll(const std::string& readerPath);

    // Pop-ups the views ask for (menus, colour panels, dialogs) go to whoever hosts the graph.
    /// A menu popped up under `anchor` (in the graph's coordinates); `chosen` hears the
    /// position of the item picked, if one is.
    std::function<void(const std::vector<MenuEntry>& entries, CGRect anchor,
                       std::function<void(std::size_t)> chosen)>
        presentMenu;
    std::function<void(const Color& current, std::function<void(const Color&)> picked)>
        presentColorPanel;
    /// An AppKit view a representable made, to be shown in the host from now on.
    std::function<void(const std::shared_ptr<NSView>& view)> adoptHostedView;

    /// Asks the graph for another pass on the next frame (animations, scrolls).
    void needsFrame() {
        if (onNeedsFrame) onNeedsFrame();
    }
    std::function<void()> onNeedsFrame = nullptr;
    /// Asks the graph to evaluate its views again on the next turn (a state changed).
    void invalidate() {
        if (onInvalidate) onInvalidate();
    }
    std::function<void()> onInvalidate = nullptr;

    /// The identity of the text field that takes the keys, if any.
    std::optional<std::size_t> focusedField = std::nullopt;

    /// Starts a pass: forgets what the last one gathered.
    void beginPass();
    /// Ends a pass: calls what disappeared, then the work asked for, in order.
    void endPass();

  private:
    TextMeasurer text_;
    SymbolImageCache symbols_;
    LayoutAnswers answers_;
    std::map<std::string, std::any> store_;
    std::vector<std::function<void()>> afterLayout_;
    std::vector<Collection*> collections_;
    std::set<std::string> appearedNow_;
    std::set<std::string> appearedBefore_;
    std::map<std::string, std::function<void()>> disappearNow_;
    std::map<std::string, std::function<void()>> disappearBefore_;
    std::map<std::string, ScrollTarget> scrolls_;
    int trial_ = 0;
};

}  // namespace SwiftUI
