#pragma once

#include <atomic>
#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "Simulator/DesktopConnection.h"
#include "Simulator/Server/LineClient.h"

namespace sim {

/// A connection to a desktop served by another process (`kelvo-sim serve`), over its socket.
/// Each call is one request and waits for its reply; events arrive on the connection's reader
/// thread and go to the sink, in order, from a delivery thread of their own: a sink may then
/// call the desktop back (a workspace notification asking about its application) while the
/// reader goes on reading that call's reply. Once the desktop is gone every call fails the way
/// `DisconnectedConnection`'s do.
class SocketConnection final : public DesktopConnection {
  public:
    /// Connects to the server at `path` (throws SocketError when nothing serves there).
    explicit SocketConnection(const std::string& path);
    ~SocketConnection() override;

    bool isConnected() const { return client_->isConnected(); }
    /// Called on the reader thread when the desktop goes away.
    void setDisconnectHandler(std::function<void()> handler);
    /// The line client underneath, for requests outside the connection interface (the
    /// application operations and those of the command line).
    LineClient& lines() { return *client_; }

    void setEventSink(EventSink sink) override;
    Pid registerClient(const ApplicationSpec& self) override;
    Pid clientPid() const override { return pid_.load(); }

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
    std::optional<PreferenceData> copyPreference(const std::string& domain,
                                                 const std::string& key) override;
    void writePreference(const std::string& domain, const std::string& key,
                         const std::optional<PreferenceData>& value) override;
    bool synchronizePreferences(const std::string& domain) override;
    std::string operatingSystemVersion() override;
    void activateFileViewer(const std::vector<std::string>& paths) override;

  private:
    /// The sink and the events waiting for it, shared with the reader thread, which only
    /// queues them; the delivery thread hands them over one at a time.
    struct SinkSlot {
        std::mutex mutex;
        std::condition_variable queued;
        std::deque<DesktopEvent> events;
        bool stopping = false;
        EventSink sink;
    };
    void deliverEvents();

    /// The reply's result, or none when the desktop is gone or refused the request.
    std::optional<kelvo::JSONValue> call(const std::string& op, kelvo::JSONValue args);
    /// One member of the result decoded, or `fallback` when there is none.
    template <class T>
    T field(const std::optional<kelvo::JSONValue>& result, const char* key, T fallback);
    template <class T>
    std::optional<T> optionalField(const std::optional<kelvo::JSONValue>& result, const char* key);
    AccessError errorOf(const std::optional<kelvo::JSONValue>& result);

    std::shared_ptr<SinkSlot> slot_ = std::make_shared<SinkSlot>();
    std::unique_ptr<LineClient> client_;
    std::thread delivery_;
    std::atomic<Pid> pid_{0};
};

}  // namespace sim
