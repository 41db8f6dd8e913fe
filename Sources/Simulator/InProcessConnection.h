#pragma once

#include <atomic>
#include <memory>
#include <mutex>

#include "Simulator/Desktop.h"
#include "Simulator/DesktopConnection.h"

namespace sim {

/// A connection to a desktop that lives in the same process: each call is a direct call on the
/// desktop, and events reach the sink on the thread that caused them.
class InProcessConnection final : public DesktopConnection {
  public:
    explicit InProcessConnection(std::shared_ptr<Desktop> desktop);
    ~InProcessConnection() override;

    const std::shared_ptr<Desktop>& desktop() const { return desktop_; }

    void setEventSink(EventSink sink) override;
    Pid registerClient(const ApplicationSpec& self) override;
    Pid clientPid() const override;

    bool isTrusted() override;
    bool checkTrust(bool prompt) override;
    ElementID applicationElement(Pid pid) override;
    ElementID systemWideElement() override;
    AttributeReply copyAttribute(ElementID element, const std::string& attribute,
                                 double timeout) override;
    AccessError setAttribute(ElementID element, const std::string& attribute,
                             const AttributeValue& value, double timeout) override;
    SettableReply isAttributeSettable(ElementID element, const std::string& attribute,
                                      double timeout) override;
    AccessError performAction(ElementID element, const std::string& action,
                              double timeout) override;
    PidReply elementPid(ElementID element) override;
    WindowNumberReply windowNumber(ElementID element) override;
    ObserverReply createObserver(Pid pid) override;
    AccessError addNotification(ObserverID observer, ElementID element,
                                const std::string& notification) override;
    AccessError removeNotification(ObserverID observer, ElementID element,
                                   const std::string& notification) override;
    void releaseObserver(ObserverID observer) override;

    std::vector<WindowListRow> windowList(std::uint32_t options, WindowNumber relativeTo) override;
    std::vector<DisplayInfo> displays() override;

    std::vector<ApplicationInfo> runningApplications() override;
    std::optional<ApplicationInfo> application(Pid pid) override;
    std::optional<Pid> frontmostApplication() override;
    bool activateApplication(Pid pid, bool allWindows) override;
    bool hideApplication(Pid pid) override;
    bool unhideApplication(Pid pid) override;
    bool terminateApplication(Pid pid) override;
    void setActivationPolicy(Pid pid, ActivationPolicy policy) override;
    std::optional<std::string> applicationLocation(const std::string& bundleID) override;
    Pid openApplication(const std::string& bundlePath) override;

    TapID createTap(const TapSpec& spec) override;
    void enableTap(TapID tap, bool enabled) override;
    bool isTapEnabled(TapID tap) override;
    void releaseTap(TapID tap) override;
    void answerTapEvent(const TapAnswer& answer) override;
    void postEvent(const InputEvent& event, std::uint32_t location) override;
    void postEventToPid(const InputEvent& event, Pid pid) override;
    std::uint32_t pressedMouseButtons() override;
    CGPoint pointerLocation() override;
    std::uint64_t modifierFlags() override;

    WindowNumber createOwnWindow(const OwnWindowSpec& spec) override;
    void updateOwnWindow(WindowNumber number, const OwnWindowSpec& spec) override;
    void orderOwnWindow(WindowNumber number, bool front) override;
    void closeOwnWindow(WindowNumber number) override;
    AlertAnswer runAlert(const AlertSpec& alert) override;

    double bootTime() override;
    std::string operatingSystemVersion() override;
    void activateFileViewer(const std::vector<std::string>& paths) override;
    std::optional<PreferenceData> copyPreference(const std::string& domain,
                                                 const std::string& key) override;
    void writePreference(const std::string& domain, const std::string& key,
                         const std::optional<PreferenceData>& value) override;
    bool synchronizePreferences(const std::string& domain) override;

  private:
    /// The sink, shared with the desktop's delivery so that an event under way when the
    /// connection goes never reaches a destroyed object.
    struct SinkSlot {
        std::mutex mutex;
        EventSink sink;
        void deliver(const DesktopEvent& event);
    };

    std::shared_ptr<Desktop> desktop_;
    std::shared_ptr<SinkSlot> slot_ = std::make_shared<SinkSlot>();
    ClientID client_ = 0;
    std::atomic<Pid> pid_{0};
};

}  // namespace sim
