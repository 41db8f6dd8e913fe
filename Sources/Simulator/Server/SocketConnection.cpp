#include "Simulator/Server/SocketConnection.h"

#include "Simulator/Server/DesktopMessages.h"

namespace sim {

using kelvo::encodeJSON;
using kelvo::JSONNode;
using kelvo::JSONValue;

SocketConnection::SocketConnection(const std::string& path)
    : client_(std::make_unique<LineClient>(path)) {
    client_->start([slot = slot_](const std::string& name, const JSONValue& body) {
        auto event = DesktopMessages::decodeEvent(name, body);
        if (!event) return;
        {
            std::lock_guard lock(slot->mutex);
            slot->events.push_back(std::move(*event));
        }
        slot->queued.notify_one();
    });
    delivery_ = std::thread([this] { deliverEvents(); });
}

SocketConnection::~SocketConnection() {
    // A sink still running may wait on a reply, which the reader reads: the delivery ends
    // before the connection closes.
    {
        std::lock_guard lock(slot_->mutex);
        slot_->stopping = true;
    }
    slot_->queued.notify_one();
    delivery_.join();
    client_.reset();
}

void SocketConnection::deliverEvents() {
    std::unique_lock lock(slot_->mutex);
    for (;;) {
        slot_->queued.wait(lock, [&] { return slot_->stopping || !slot_->events.empty(); });
        if (slot_->stopping) return;
        const DesktopEvent event = std::move(slot_->events.front());
        slot_->events.pop_front();
        const EventSink sink = slot_->sink;
        lock.unlock();
        if (sink) sink(event);
        lock.lock();
    }
}

void SocketConnection::setDisconnectHandler(std::function<void()> handler) {
    client_->setDisconnectHandler(std::move(handler));
}

void SocketConnection::setEventSink(EventSink sink) {
    std::lock_guard lock(slot_->mutex);
    slot_->sink = std::move(sink);
}

std::optional<JSONValue> SocketConnection::call(const std::string& op, JSONValue args) {
    try {
        return client_->call(op, std::move(args));
    } catch (const RemoteError&) {
    } catch (const DesktopGone&) {
    }
    return std::nullopt;
}

template <class T>
T SocketConnection::field(const std::optional<JSONValue>& result, const char* key, T fallback) {
    if (!result) return fallback;
    try {
        return JSONNode(*result).decodeIfPresent<T>(key).value_or(std::move(fallback));
    } catch (const std::exception&) {
        return fallback;
    }
}

template <class T>
std::optional<T> SocketConnection::optionalField(const std::optional<JSONValue>& result,
                                                 const char* key) {
    if (!result) return std::nullopt;
    try {
        return JSONNode(*result).decodeIfPresent<T>(key);
    } catch (const std::exception&) {
        return std::nullopt;
    }
}

AccessError SocketConnection::errorOf(const std::optional<JSONValue>& result) {
    return field(result, "error", AccessError::cannotComplete);
}

Pid SocketConnection::registerClient(const ApplicationSpec& self) {
    pid_ = field<Pid>(call("registerClient", encodeJSON(self)), "pid", 0);
    return pid_;
}

bool SocketConnection::isTrusted() {
    return field(call("isTrusted", JSONValue::object()), "trusted", false);
}

bool SocketConnection::checkTrust(bool prompt) {
    return field(call("checkTrust", {{"prompt", prompt}}), "trusted", false);
}

ElementID SocketConnection::applicationElement(Pid pid) {
    return field(call("applicationElement", {{"pid", pid}}), "element", ElementID{});
}

ElementID SocketConnection::systemWideElement() {
    return field(call("systemWideElement", JSONValue::object()), "element", ElementID{});
}

AttributeReply SocketConnection::copyAttribute(ElementID element, const std::string& attribute,
                                               double timeout) {
    const auto result =
        call("copyAttribute",
             {{"attribute", attribute}, {"element", encodeJSON(element)}, {"timeout", timeout}});
    return {errorOf(result), field(result, "value", AttributeValue{})};
}

AccessError SocketConnection::setAttribute(ElementID element, const std::string& attribute,
                                           const AttributeValue& value, double timeout) {
    return errorOf(call("setAttribute", {{"attribute", attribute},
                                         {"element", encodeJSON(element)},
                                         {"timeout", timeout},
                                         {"value", encodeJSON(value)}}));
}

SettableReply SocketConnection::isAttributeSettable(ElementID element, const std::string& attribute,
                                                    double timeout) {
    const auto result =
        call("isAttributeSettable",
             {{"attribute", attribute}, {"element", encodeJSON(element)}, {"timeout", timeout}});
    return {errorOf(result), field(result, "settable", false)};
}

AccessError SocketConnection::performAction(ElementID element, const std::string& action,
                                            double timeout) {
    return errorOf(
        call("performAction",
             {{"action", action}, {"element", encodeJSON(element)}, {"timeout", timeout}}));
}

PidReply SocketConnection::elementPid(ElementID element) {
    const auto result = call("elementPid", {{"element", encodeJSON(element)}});
    return {errorOf(result), field<Pid>(result, "pid", 0)};
}

WindowNumberReply SocketConnection::windowNumber(ElementID element) {
    const auto result = call("windowNumber", {{"element", encodeJSON(element)}});
    return {errorOf(result), field<WindowNumber>(result, "number", 0)};
}

ObserverReply SocketConnection::createObserver(Pid pid) {
    const auto result = call("createObserver", {{"pid", pid}});
    return {errorOf(result), field<ObserverID>(result, "observer", 0)};
}

AccessError SocketConnection::addNotification(ObserverID observer, ElementID element,
                                              const std::string& notification) {
    return errorOf(call("addNotification", {{"element", encodeJSON(element)},
                                            {"notification", notification},
                                            {"observer", observer}}));
}

AccessError SocketConnection::removeNotification(ObserverID observer, ElementID element,
                                                 const std::string& notification) {
    return errorOf(call("removeNotification", {{"element", encodeJSON(element)},
                                               {"notification", notification},
                                               {"observer", observer}}));
}

void SocketConnection::releaseObserver(ObserverID observer) {
    call("releaseObserver", {{"observer", observer}});
}

std::vector<WindowListRow> SocketConnection::windowList(std::uint32_t options,
                                                        WindowNumber relativeTo) {
    return field(call("windowList", {{"options", options}, {"relativeTo", relativeTo}}), "rows",
                 std::vector<WindowListRow>{});
}

std::vector<DisplayInfo> SocketConnection::displays() {
    return field(call("displays", JSONValue::object()), "displays", std::vector<DisplayInfo>{});
}

std::vector<ApplicationInfo> SocketConnection::runningApplications() {
    return field(call("runningApplications", JSONValue::object()), "applications",
                 std::vector<ApplicationInfo>{});
}

std::optional<ApplicationInfo> SocketConnection::application(Pid pid) {
    return optionalField<ApplicationInfo>(call("application", {{"pid", pid}}), "application");
}

std::optional<Pid> SocketConnection::frontmostApplication() {
    return optionalField<Pid>(call("frontmostApplication", JSONValue::object()), "pid");
}

bool SocketConnection::activateApplication(Pid pid, bool allWindows) {
    return field(call("activateApplication", {{"allWindows", allWindows}, {"pid", pid}}), "done",
                 false);
}

bool SocketConnection::hideApplication(Pid pid) {
    return field(call("hideApplication", {{"pid", pid}}), "done", false);
}

bool SocketConnection::unhideApplication(Pid pid) {
    return field(call("unhideApplication", {{"pid", pid}}), "done", false);
}

bool SocketConnection::terminateApplication(Pid pid) {
    return field(call("terminateApplication", {{"pid", pid}}), "done", false);
}

void SocketConnection::setActivationPolicy(Pid pid, ActivationPolicy policy) {
    call("setActivationPolicy", {{"pid", pid}, {"policy", encodeJSON(policy)}});
}

std::optional<std::string> SocketConnection::applicationLocation(const std::string& bundleID) {
    return optionalField<std::string>(call("applicationLocation", {{"bundleID", bundleID}}),
                                      "path");
}

Pid SocketConnection::openApplication(const std::string& bundlePath) {
    return field<Pid>(call("openApplication", {{"bundlePath", bundlePath}}), "pid", 0);
}

TapID SocketConnection::createTap(const TapSpec& spec) {
    return field<TapID>(call("createTap", encodeJSON(spec)), "tap", 0);
}

void SocketConnection::enableTap(TapID tap, bool enabled) {
    call("enableTap", {{"enabled", enabled}, {"tap", tap}});
}

bool SocketConnection::isTapEnabled(TapID tap) {
    return field(call("isTapEnabled", {{"tap", tap}}), "enabled", false);
}

void SocketConnection::releaseTap(TapID tap) {
    call("releaseTap", {{"tap", tap}});
}

void SocketConnection::answerTapEvent(const TapAnswer& answer) {
    // The answer wants no reply: the tap's callback returns at once.
    client_->post("answerTapEvent", encodeJSON(answer));
}

void SocketConnection::postEvent(const InputEvent& event, std::uint32_t location) {
    call("postEvent", {{"event", encodeJSON(event)}, {"location", location}});
}

void SocketConnection::postEventToPid(const InputEvent& event, Pid pid) {
    call("postEventToPid", {{"event", encodeJSON(event)}, {"pid", pid}});
}

std::uint32_t SocketConnection::pressedMouseButtons() {
    return field<std::uint32_t>(call("pressedMouseButtons", JSONValue::object()), "buttons", 0);
}

CGPoint SocketConnection::pointerLocation() {
    return field(call("pointerLocation", JSONValue::object()), "location", CGPoint{});
}

std::uint64_t SocketConnection::modifierFlags() {
    return field<std::uint64_t>(call("modifierFlags", JSONValue::object()), "flags", 0);
}

WindowNumber SocketConnection::createOwnWindow(const OwnWindowSpec& spec) {
    return field<WindowNumber>(call("createOwnWindow", {{"spec", encodeJSON(spec)}}), "number", 0);
}

void SocketConnection::updateOwnWindow(WindowNumber number, const OwnWindowSpec& spec) {
    call("updateOwnWindow", {{"number", number}, {"spec", encodeJSON(spec)}});
}

void SocketConnection::orderOwnWindow(WindowNumber number, bool front) {
    call("orderOwnWindow", {{"front", front}, {"number", number}});
}

void SocketConnection::closeOwnWindow(WindowNumber number) {
    call("closeOwnWindow", {{"number", number}});
}

AlertAnswer SocketConnection::runAlert(const AlertSpec& alert) {
    return field<AlertAnswer>(call("runAlert", {{"alert", encodeJSON(alert)}}), "answer",
                              alertAbandoned);
}

double SocketConnection::bootTime() {
    return field(call("bootTime", JSONValue::object()), "bootTime", 0.0);
}

std::optional<PreferenceData> SocketConnection::copyPreference(const std::string& domain,
                                                               const std::string& key) {
    return optionalField<PreferenceData>(call("copyPreference", {{"domain", domain}, {"key", key}}),
                                         "value");
}

void SocketConnection::writePreference(const std::string& domain, const std::string& key,
                                       const std::optional<PreferenceData>& value) {
    JSONValue args = {{"domain", domain}, {"key", key}};
    kelvo::putIfPresent(args, "value", value);
    call("writePreference", std::move(args));
}

bool SocketConnection::synchronizePreferences(const std::string& domain) {
    return field(call("synchronizePreferences", {{"domain", domain}}), "done", false);
}

std::string SocketConnection::operatingSystemVersion() {
    return field<std::string>(call("operatingSystemVersion", JSONValue::object()), "version", {});
}

void SocketConnection::activateFileViewer(const std::vector<std::string>& paths) {
    call("activateFileViewer", {{"paths", encodeJSON(paths)}});
}

}  // namespace sim
