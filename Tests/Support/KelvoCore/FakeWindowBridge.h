#pragma once

#include <deque>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "KelvoCore/Store/WindowBridging.h"
#include "Support/KelvoCore/Printers.h"

namespace kelvo {

/// A scriptable window bridge for store tests. Each window answers frame writes the way the test
/// chooses (accept, clamp to a minimum or maximum size, refuse its position or size or both,
/// land late, cannot be read), can be minimized, full screen, retained or unreachable, and every
/// call is recorded in order so a test can assert exactly which reads and writes a pass made.
class FakeWindowBridge : public WindowBridging {
  public:
    /// How a window answers a frame or position write.
    enum class Response {
        accept,
        /// Keeps its frame altogether.
        refuse,
        /// Takes the size, keeps its position.
        refusePosition,
        /// Takes the position, keeps its size.
        refuseSize,
    };

    struct Window {
        ManagedWindow record;
        Response response = Response::accept;
        /// 0 in a dimension: no limit there.
        CGSize minimumSize;
        CGSize maximumSize;
        /// Reads after a write that still show the frame from before it.
        int landsAfterReads = 0;
        bool readable = true;
        bool fullScreen = false;
        bool reachable = true;
        /// Kept by the bridge although its application's window list missed it.
        bool retained = false;

        Window& refuses() { return respond(Response::refuse); }
        Window& refusesPosition() { return respond(Response::refusePosition); }
        Window& refusesSize() { return respond(Response::refuseSize); }
        Window& clampsToMinimum(CGSize size);
        Window& clampsToMaximum(CGSize size);
        Window& landsLate(int reads);
        Window& unreadable();
        Window& minimized();
        Window& inFullScreen();
        Window& retainedOnly();
        Window& unreachable();
        Window& floating();

      private:
        friend class FakeWindowBridge;
        Window& respond(Response r);

        std::optional<CGRect> pending;
        int readsBeforeLanding = 0;
        std::deque<std::optional<CGRect>> scriptedReads;
    };

    /// One call made through the interface.
    struct Call {
        enum class Operation {
            windows,
            frame,
            setFrame,
            setPosition,
            raise,
            focus,
            setMinimized,
            isWindowMinimized,
            isWindowFullScreen,
            canReach,
            retainedWindows,
            setHidden,
            isApplicationHidden,
        };
        Operation operation = Operation::windows;
        std::optional<WindowID> id = std::nullopt;
        std::optional<CGRect> rect = std::nullopt;
        std::optional<CGPoint> point = std::nullopt;
        std::optional<bool> flag = std::nullopt;
        std::string bundleID = {};

        /// The call as written in code: "setFrame({0, 0, 500, 400}, win#1)".
        std::string description() const;
        /// Whether it asks the window or its application to change.
        bool isWrite() const;
        bool operator==(const Call&) const = default;
    };

    static constexpr const char* defaultBundleID = "com.example.app";

    /// Adds (or replaces) a window that accepts every write.
    Window& add(WindowID id, const CGRect& frame, const std::string& bundleID = defaultBundleID);
    Window& window(WindowID id);
    bool contains(WindowID id) const;
    void remove(WindowID id);
    /// The next reads of the window give these answers (none: unreadable) before its own.
    void scriptReads(WindowID id, const std::vector<std::optional<CGRect>>& answers);
    /// The frame as it really is, without recording a call.
    std::optional<CGRect> actualFrame(WindowID id) const;
    /// Every late write lands now.
    void landPendingWrites();
    void setApplicationHidden(const std::string& bundleID, bool hidden);
    /// The application stays hidden when asked to unhide.
    void refuseUnhide(const std::string& bundleID);
    std::optional<WindowID> focusedWindow() const { return focused_; }

    const std::vector<Call>& calls() const { return calls_; }
    /// Every call's description, in order.
    std::vector<std::string> callLog() const;
    /// Only the calls that ask for a change, in order.
    std::vector<std::string> writeLog() const;
    /// Calls of one operation since the last `clearCalls`, whether recorded or not.
    std::size_t count(Call::Operation operation) const;
    void clearCalls();
    /// Off: calls are only counted, for long benchmark runs.
    void setRecording(bool recording) { recording_ = recording; }

    std::vector<ManagedWindow> windows() override;
    std::optional<CGRect> frame(WindowID id) override;
    bool setFrame(const CGRect& frame, WindowID id) override;
    void setPosition(const CGPoint& position, WindowID id) override;
    void raise(WindowID id) override;
    void focus(WindowID id) override;
    void setMinimized(bool minimized, WindowID id) override;
    bool isWindowMinimized(WindowID id) override;
    bool isWindowFullScreen(WindowID id) override;
    bool canReach(WindowID id) override;
    std::set<WindowID> retainedWindows() const override;
    void setHidden(bool hidden, const std::string& bundleID) override;
    bool isApplicationHidden(const std::string& bundleID) override;

  private:
    Window* find(WindowID id);
    Window* reachable(WindowID id);
    void note(Call call) const;
    bool write(Window& window, const CGRect& asked, bool keepSize);
    static CGSize clamped(const Window& window, CGSize size);

    std::map<WindowID, Window> windows_;
    std::set<std::string> hiddenApps_;
    std::set<std::string> unhideRefused_;
    std::optional<WindowID> focused_;
    /// Mutable so that the const `retainedWindows` is recorded like every other call.
    mutable std::vector<Call> calls_;
    mutable std::map<Call::Operation, std::size_t> counts_;
    bool recording_ = true;
};

}  // namespace kelvo
