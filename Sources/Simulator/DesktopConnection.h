#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "Simulator/AlertInfo.h"
#include "Simulator/ApplicationInfo.h"
#include "Simulator/DesktopEvent.h"
#include "Simulator/DesktopValues.h"
#include "Simulator/DisplayInfo.h"
#include "Simulator/InputEvent.h"
#include "Simulator/PreferenceData.h"
#include "Simulator/WindowInfo.h"

namespace sim {

/// The one road from the platform stand-ins to a simulated desktop.
///
/// Every call takes and returns plain values (identifiers, numbers, texts, small structs), so
/// that each maps onto one request and one reply of a line protocol: a call never hands the
/// desktop a pointer or a callback, and no reply points into the desktop. What happens later
/// (observer notifications, workspace notifications, screen changes, events for taps) reaches
/// the client only through the connection's event sink, which the client sets once before it
/// registers; the stand-ins turn each event into a delivery on the right run loop or thread.
///
/// A client registers first (`registerClient`): it becomes a process of the desktop, the owner
/// of the observers, taps and windows it makes, and the receiver of its events. Calls may come
/// from any thread. A desktop that cannot be reached answers every call as a failure (errors,
/// empty lists, none, zero identifiers).
class DesktopConnection {
  public:
    virtual ~DesktopConnection() = default;

    /// Where this connection's events go. Set before `registerClient`; replacing it later is
    /// allowed but not atomic with deliveries already under way.
    virtual void setEventSink(EventSink sink) = 0;
    /// Makes the caller a process of the desktop; its pid is the one asked for when it is free,
    /// else one the desktop chooses. Returns the pid in force (0 when the desktop is gone).
    virtual Pid registerClient(const ApplicationSpec& self) = 0;
    /// The pid this client registered as (0 before).
    virtual Pid clientPid() const = 0;

    // Accessibility. `timeout` is the messaging timeout in force for the element, in seconds:
    // an application slower than that answers `cannotComplete`.
    virtual bool isTrusted() = 0;
    /// Asks whether the client is trusted; with `prompt` the desktop shows its prompt.
    virtual bool checkTrust(bool prompt) = 0;
    virtual ElementID applicationElement(Pid pid) = 0;
    virtual ElementID systemWideElement() = 0;
    virtual AttributeReply copyAttribute(ElementID element, const std::string& attribute,
                                         double timeout) = 0;
    virtual AccessError setAttribute(ElementID element, const std::string& attribute,
                                     const AttributeValue& value, double timeout) = 0;
    virtual SettableReply isAttributeSettable(ElementID element, const std::string& attribute,
                                              double timeout) = 0;
    virtual AccessError performAction(ElementID element, const std::string& action,
                                      double timeout) = 0;
    virtual PidReply elementPid(ElementID element) = 0;
    virtual WindowNumberReply windowNumber(ElementID element) = 0;
    virtual ObserverReply createObserver(Pid pid) = 0;
    virtual AccessError addNotification(ObserverID observer, ElementID element,
                                        const std::string& notification) = 0;
    virtual AccessError removeNotification(ObserverID observer, ElementID element,
                                           const std::string& notification) = 0;
    virtual void releaseObserver(ObserverID observer) = 0;

    // The window server.
    virtual std::vector<WindowListRow> windowList(std::uint32_t options,
                                                  WindowNumber relativeTo) = 0;
    virtual std::vector<DisplayInfo> displays() = 0;

    // The workspace and running applications.
    /// Running applications in launch order (terminated ones only while still listed).
    virtual std::vector<ApplicationInfo> runningApplications() = 0;
    virtual std::optional<ApplicationInfo> application(Pid pid) = 0;
    virtual std::optional<Pid> frontmostApplication() = 0;
    /// `allWindows` brings every window of the application forward, not only its main one.
    virtual bool activateApplication(Pid pid, bool allWindows) = 0;
    virtual bool hideApplication(Pid pid) = 0;
    virtual bool unhideApplication(Pid pid) = 0;
    virtual bool terminateApplication(Pid pid) = 0;
    virtual void setActivationPolicy(Pid pid, ActivationPolicy policy) = 0;
    /// Where the application with this bundle identifier is installed, if anywhere.
    virtual std::optional<std::string> applicationLocation(const std::string& bundleID) = 0;
    /// Opens the application bundle at `bundlePath`: launches it, or asks a running one to
    /// reopen. Returns its pid, 0 when nothing is installed there.
    virtual Pid openApplication(const std::string& bundlePath) = 0;

    // Input.
    /// A tap for the client; 0 when the desktop refuses one.
    virtual TapID createTap(const TapSpec& spec) = 0;
    virtual void enableTap(TapID tap, bool enabled) = 0;
    virtual bool isTapEnabled(TapID tap) = 0;
    virtual void releaseTap(TapID tap) = 0;
    virtual void answerTapEvent(const TapAnswer& answer) = 0;
    /// Posts an event as if typed or clicked, at the given tap location (HID events pass every
    /// tap; session events pass the session taps).
    virtual void postEvent(const InputEvent& event, std::uint32_t location) = 0;
    /// Posts an event straight to one application, past every tap.
    virtual void postEventToPid(const InputEvent& event, Pid pid) = 0;
    /// Bit n set while mouse button n is held (bit 0: the left button).
    virtual std::uint32_t pressedMouseButtons() = 0;
    virtual CGPoint pointerLocation() = 0;
    virtual std::uint64_t modifierFlags() = 0;

    // The client's own windows (its panels), listed by the window server like any other.
    virtual WindowNumber createOwnWindow(const OwnWindowSpec& spec) = 0;
    virtual void updateOwnWindow(WindowNumber number, const OwnWindowSpec& spec) = 0;
    /// `front`: ordered in at the top of its level; otherwise ordered out.
    virtual void orderOwnWindow(WindowNumber number, bool front) = 0;
    virtual void closeOwnWindow(WindowNumber number) = 0;
    /// Shows a modal alert of the client and waits for the button pressed in it.
    virtual AlertAnswer runAlert(const AlertSpec& alert) = 0;

    // Services.
    /// The machine's boot time in seconds since 1970; it stays the same for a desktop's life.
    virtual double bootTime() = 0;
    virtual std::string operatingSystemVersion() = 0;
    /// Shows the items selected in a file viewer window.
    virtual void activateFileViewer(const std::vector<std::string>& paths) = 0;

    // Preferences of the current user, by domain (`Desktop::globalPreferenceDomain` for the
    // any-application one). A connection that does not carry them answers as a desktop that
    // keeps no preferences: nothing is read and no write is kept.
    virtual std::optional<PreferenceData> copyPreference(const std::string& domain,
                                                         const std::string& key);
    /// None removes the key. Nothing is reported: a domain may drop the write.
    virtual void writePreference(const std::string& domain, const std::string& key,
                                 const std::optional<PreferenceData>& value);
    /// False when the domain could not be written out.
    virtual bool synchronizePreferences(const std::string& domain);
};

/// The connection of a client that has no desktop: every call fails.
class DisconnectedConnection final : public DesktopConnection {
  public:
    void setEventSink(EventSink) override {}
    Pid registerClient(const ApplicationSpec&) override { return 0; }
    Pid clientPid() const override { return 0; }
    bool isTrusted() override { return false; }
    bool checkTrust(bool) override { return false; }
    ElementID applicationElement(Pid) override { return {}; }
    ElementID systemWideElement() override { return {}; }
    AttributeReply copyAttribute(ElementID, const std::string&, double) override;
    AccessError setAttribute(ElementID, const std::string&, const AttributeValue&, double) override;
    SettableReply isAttributeSettable(ElementID, const std::string&, double) override;
    AccessError performAction(ElementID, const std::string&, double) override;
    PidReply elementPid(ElementID) override;
    WindowNumberReply windowNumber(ElementID) override;
    ObserverReply createObserver(Pid) override;
    AccessError addNotification(ObserverID, ElementID, const std::string&) override;
    AccessError removeNotification(ObserverID, ElementID, const std::string&) override;
    void releaseObserver(ObserverID) override {}
    std::vector<WindowListRow> windowList(std::uint32_t, WindowNumber) override { return {}; }
    std::vector<DisplayInfo> displays() override { return {}; }
    std::vector<ApplicationInfo> runningApplications() override { return {}; }
    std::optional<ApplicationInfo> application(Pid) override { return std::nullopt; }
    std::optional<Pid> frontmostApplication() override { return std::nullopt; }
    bool activateApplication(Pid, bool) override { return false; }
    bool hideApplication(Pid) override { return false; }
    bool unhideApplication(Pid) override { return false; }
    bool terminateApplication(Pid) override { return false; }
    void setActivationPolicy(Pid, ActivationPolicy) override {}
    std::optional<std::string> applicationLocation(const std::string&) override {
        return std::nullopt;
    }
    Pid openApplication(const std::string&) override { return 0; }
    TapID createTap(const TapSpec&) override { return 0; }
    void enableTap(TapID, bool) override {}
    bool isTapEnabled(TapID) override { return false; }
    void releaseTap(TapID) override {}
    void answerTapEvent(const TapAnswer&) override {}
    void postEvent(const InputEvent&, std::uint32_t) override {}
    void postEventToPid(const InputEvent&, Pid) override {}
    std::uint32_t pressedMouseButtons() override { return 0; }
    CGPoint pointerLocation() override { return {}; }
    std::uint64_t modifierFlags() override { return 0; }
    WindowNumber createOwnWindow(const OwnWindowSpec&) override { return 0; }
    void updateOwnWindow(WindowNumber, const OwnWindowSpec&) override {}
    void orderOwnWindow(WindowNumber, bool) override {}
    void closeOwnWindow(WindowNumber) override {}
    AlertAnswer runAlert(const AlertSpec&) override { return alertAbandoned; }
    double bootTime() override { return 0; }
    std::string operatingSystemVersion() override { return {}; }
    void activateFileViewer(const std::vector<std::string>&) override {}
};

}  // namespace sim
