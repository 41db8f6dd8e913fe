#include <cmath>

#include "Simulator/Server/DesktopService.h"

// The table of operations: what each request does to the desktop and what it answers.

namespace sim {

using kelvo::encodeJSON;
using kelvo::JSONNode;
using kelvo::JSONValue;
using Call = DesktopService::Call;

namespace {

JSONValue none() {
    return JSONValue::object();
}

template <class T>
T arg(const Call& call, const char* key) {
    return call.args.decode<T>(key);
}

template <class T>
T argOr(const Call& call, const char* key, T fallback) {
    return call.args.decodeIfPresent<T>(key).value_or(fallback);
}

/// Every Accessibility call takes the messaging timeout in force; a client that names none
/// gets the platform's default.
double timeoutOf(const Call& call) {
    const double timeout = argOr(call, "timeout", Desktop::defaultMessagingTimeout);
    if (!(timeout >= 0)) throw RequestFailure("timeout must not be negative");
    return timeout;
}

/// The application a registered client acts as: the one it names, or the first it registered.
Pid selfOf(const Call& call) {
    if (auto pid = call.args.decodeIfPresent<std::int32_t>("pid")) {
        if (!call.client.pids.count(*pid)) {
            throw RequestFailure("not your application " + std::to_string(*pid));
        }
        return *pid;
    }
    if (call.client.pids.empty()) throw RequestFailure("not registered");
    return *call.client.pids.begin();
}

/// A window of one of the client's own applications.
WindowNumber ownWindowOf(const Call& call) {
    const auto number = arg<std::uint32_t>(call, "number");
    const auto window = call.desktop().window(number);
    if (!window || !call.client.pids.count(window->owner)) {
        throw RequestFailure("not your window " + std::to_string(number));
    }
    return number;
}

JSONValue errorReply(AccessError error) {
    return {{"error", encodeJSON(error)}};
}

}  // namespace

void DesktopService::addConnectionOperations(std::map<std::string, Operation>& t) {
    t["registerClient"] = [](const Call& call) {
        const Pid pid = call.desktop().registerClient(call.client.desktopClient,
                                                      call.args.decode<ApplicationSpec>());
        if (pid != 0) call.client.pids.insert(pid);
        return JSONValue{{"pid", pid}};
    };
    t["isTrusted"] = [](const Call& call) {
        return JSONValue{{"trusted", call.desktop().isTrusted()}};
    };
    t["checkTrust"] = [](const Call& call) {
        return JSONValue{{"trusted", call.desktop().checkTrust(argOr(call, "prompt", false))}};
    };
    t["applicationElement"] = [](const Call& call) {
        return JSONValue{
            {"element", encodeJSON(call.desktop().applicationElement(arg<Pid>(call, "pid")))}};
    };
    t["systemWideElement"] = [](const Call& call) {
        return JSONValue{{"element", encodeJSON(call.desktop().systemWideElement())}};
    };
    t["copyAttribute"] = [](const Call& call) {
        const auto reply = call.desktop().copyAttribute(
            arg<ElementID>(call, "element"), arg<std::string>(call, "attribute"), timeoutOf(call));
        return JSONValue{{"error", encodeJSON(reply.error)}, {"value", encodeJSON(reply.value)}};
    };
    t["setAttribute"] = [](const Call& call) {
        return errorReply(call.desktop().setAttribute(
            arg<ElementID>(call, "element"), arg<std::string>(call, "attribute"),
            arg<AttributeValue>(call, "value"), timeoutOf(call)));
    };
    t["isAttributeSettable"] = [](const Call& call) {
        const auto reply = call.desktop().isAttributeSettable(
            arg<ElementID>(call, "element"), arg<std::string>(call, "attribute"), timeoutOf(call));
        return JSONValue{{"error", encodeJSON(reply.error)}, {"settable", reply.settable}};
    };
    t["performAction"] = [](const Call& call) {
        return errorReply(call.desktop().performAction(
            arg<ElementID>(call, "element"), arg<std::string>(call, "action"), timeoutOf(call)));
    };
    t["elementPid"] = [](const Call& call) {
        const auto reply = call.desktop().elementPid(arg<ElementID>(call, "element"));
        return JSONValue{{"error", encodeJSON(reply.error)}, {"pid", reply.pid}};
    };
    t["windowNumber"] = [](const Call& call) {
        const auto reply = call.desktop().windowNumber(arg<ElementID>(call, "element"));
        return JSONValue{{"error", encodeJSON(reply.error)}, {"number", reply.number}};
    };
    t["createObserver"] = [](const Call& call) {
        const auto reply =
            call.desktop().createObserver(call.client.desktopClient, arg<Pid>(call, "pid"));
        return JSONValue{{"error", encodeJSON(reply.error)}, {"observer", reply.observer}};
    };
    t["addNotification"] = [](const Call& call) {
        return errorReply(call.desktop().addNotification(arg<ObserverID>(call, "observer"),
                                                         arg<ElementID>(call, "element"),
                                                         arg<std::string>(call, "notification")));
    };
    t["removeNotification"] = [](const Call& call) {
        return errorReply(call.desktop().removeNotification(
            arg<ObserverID>(call, "observer"), arg<ElementID>(call, "element"),
            arg<std::string>(call, "notification")));
    };
    t["releaseObserver"] = [](const Call& call) {
        call.desktop().releaseObserver(arg<ObserverID>(call, "observer"));
        return none();
    };
    t["windowList"] = [](const Call& call) {
        return JSONValue{{"rows", encodeJSON(call.desktop().windowList(
                                      argOr<std::uint32_t>(call, "options", 0),
                                      argOr<std::uint32_t>(call, "relativeTo", 0)))}};
    };
    t["displays"] = [](const Call& call) {
        return JSONValue{{"displays", encodeJSON(call.desktop().displays())}};
    };
    t["runningApplications"] = [](const Call& call) {
        return JSONValue{{"applications", encodeJSON(call.desktop().runningApplications())}};
    };
    t["application"] = [](const Call& call) {
        JSONValue result = none();
        kelvo::putIfPresent(result, "application",
                            call.desktop().application(arg<Pid>(call, "pid")));
        return result;
    };
    t["frontmostApplication"] = [](const Call& call) {
        JSONValue result = none();
        kelvo::putIfPresent(result, "pid", call.desktop().frontmost());
        return result;
    };
    t["activateApplication"] = [](const Call& call) {
        return JSONValue{{"done", call.desktop().activateApplication(
                                      arg<Pid>(call, "pid"), argOr(call, "allWindows", false))}};
    };
    t["hideApplication"] = [](const Call& call) {
        return JSONValue{{"done", call.desktop().hideApplication(arg<Pid>(call, "pid"))}};
    };
    t["unhideApplication"] = [](const Call& call) {
        return JSONValue{{"done", call.desktop().unhideApplication(arg<Pid>(call, "pid"))}};
    };
    t["terminateApplication"] = [](const Call& call) {
        return JSONValue{{"done", call.desktop().terminateApplication(arg<Pid>(call, "pid"))}};
    };
    t["setActivationPolicy"] = [](const Call& call) {
        call.desktop().setActivationPolicy(arg<Pid>(call, "pid"),
                                           arg<ActivationPolicy>(call, "policy"));
        return none();
    };
    t["applicationLocation"] = [](const Call& call) {
        JSONValue result = none();
        kelvo::putIfPresent(result, "path",
                            call.desktop().applicationLocation(arg<std::string>(call, "bundleID")));
        return result;
    };
    t["openApplication"] = [](const Call& call) {
        return JSONValue{
            {"pid", call.desktop().openApplication(arg<std::string>(call, "bundlePath"))}};
    };
    t["createTap"] = [](const Call& call) {
        return JSONValue{{"tap", call.desktop().createTap(call.client.desktopClient,
                                                          call.args.decode<TapSpec>())}};
    };
    t["enableTap"] = [](const Call& call) {
        call.desktop().enableTap(arg<TapID>(call, "tap"), arg<bool>(call, "enabled"));
        return none();
    };
    t["isTapEnabled"] = [](const Call& call) {
        return JSONValue{{"enabled", call.desktop().tapEnabled(arg<TapID>(call, "tap"))}};
    };
    t["releaseTap"] = [](const Call& call) {
        call.desktop().releaseTap(arg<TapID>(call, "tap"));
        return none();
    };
    t["answerTapEvent"] = [](const Call& call) {
        call.desktop().answerTapEvent(call.args.decode<TapAnswer>());
        return none();
    };
    t["postEvent"] = [](const Call& call) {
        call.desktop().postEvent(arg<InputEvent>(call, "event"),
                                 argOr<std::uint32_t>(call, "location", tapHID));
        return none();
    };
    t["postEventToPid"] = [](const Call& call) {
        call.desktop().postEventToPid(arg<InputEvent>(call, "event"), arg<Pid>(call, "pid"));
        return none();
    };
    t["pressedMouseButtons"] = [](const Call& call) {
        return JSONValue{{"buttons", call.desktop().pressedMouseButtons()}};
    };
    t["pointerLocation"] = [](const Call& call) {
        return JSONValue{{"location", encodeJSON(call.desktop().pointerLocation())}};
    };
    t["modifierFlags"] = [](const Call& call) {
        return JSONValue{{"flags", call.desktop().modifierFlags()}};
    };
    t["createOwnWindow"] = [](const Call& call) {
        return JSONValue{
            {"number", call.desktop().createOwnWindow(call.client.desktopClient,
                                                      arg<OwnWindowSpec>(call, "spec"))}};
    };
    t["updateOwnWindow"] = [](const Call& call) {
        call.desktop().updateOwnWindow(arg<WindowNumber>(call, "number"),
                                       arg<OwnWindowSpec>(call, "spec"));
        return none();
    };
    t["orderOwnWindow"] = [](const Call& call) {
        call.desktop().orderOwnWindow(arg<WindowNumber>(call, "number"), arg<bool>(call, "front"));
        return none();
    };
    t["closeOwnWindow"] = [](const Call& call) {
        call.desktop().closeOwnWindow(arg<WindowNumber>(call, "number"));
        return none();
    };
    t["runAlert"] = [](const Call& call) {
        return JSONValue{{"answer", call.desktop().runAlert(call.client.desktopClient,
                                                            arg<AlertSpec>(call, "alert"))}};
    };
    t["bootTime"] = [](const Call& call) {
        return JSONValue{{"bootTime", call.desktop().bootTime()}};
    };
    t["copyPreference"] = [](const Call& call) {
        JSONValue result = none();
        kelvo::putIfPresent(result, "value",
                            call.desktop().copyPreference(arg<std::string>(call, "domain"),
                                                          arg<std::string>(call, "key")));
        return result;
    };
    t["writePreference"] = [](const Call& call) {
        call.desktop().writePreference(arg<std::string>(call, "domain"),
                                       arg<std::string>(call, "key"),
                                       call.args.decodeIfPresent<PreferenceData>("value"));
        return none();
    };
    t["synchronizePreferences"] = [](const Call& call) {
        return JSONValue{
            {"done", call.desktop().synchronizePreferences(arg<std::string>(call, "domain"))}};
    };
    t["operatingSystemVersion"] = [](const Call& call) {
        return JSONValue{{"version", call.desktop().operatingSystemVersion()}};
    };
    t["activateFileViewer"] = [](const Call& call) {
        call.desktop().activateFileViewer(arg<std::vector<std::string>>(call, "paths"));
        return none();
    };
}

void DesktopService::addApplicationOperations(std::map<std::string, Operation>& t) {
    t["reserveWindowNumber"] = [](const Call& call) {
        selfOf(call);
        return JSONValue{{"number", call.desktop().reserveWindowNumber()}};
    };
    t["openWindow"] = [](const Call& call) {
        const Pid owner = selfOf(call);
        const auto spec = argOr(call, "spec", WindowSpec{});
        if (spec.number && call.desktop().window(*spec.number)) {
            throw RequestFailure("window " + std::to_string(*spec.number) + " exists");
        }
        return JSONValue{{"number", call.desktop().openWindow(owner, spec)}};
    };
    t["closeWindow"] = [](const Call& call) {
        call.desktop().closeWindow(ownWindowOf(call));
        return none();
    };
    t["moveWindow"] = [](const Call& call) {
        call.desktop().moveWindow(ownWindowOf(call), arg<CGRect>(call, "frame"));
        return none();
    };
    t["setMinimized"] = [](const Call& call) {
        call.desktop().setMinimized(ownWindowOf(call), arg<bool>(call, "minimized"));
        return none();
    };
    t["focusWindow"] = [](const Call& call) {
        call.desktop().focusWindow(ownWindowOf(call));
        return none();
    };
    t["hideSelf"] = [](const Call& call) {
        call.desktop().hide(selfOf(call));
        return none();
    };
    t["unhideSelf"] = [](const Call& call) {
        call.desktop().unhide(selfOf(call));
        return none();
    };
    t["activateSelf"] = [](const Call& call) {
        call.desktop().activate(selfOf(call));
        return none();
    };
}

void DesktopService::addCommandLineOperations(std::map<std::string, Operation>& t) {
    t["windows"] = [](const Call& call) {
        return JSONValue{{"windows", encodeJSON(call.desktop().windows())}};
    };
    t["applications"] = [](const Call& call) {
        return JSONValue{{"applications", encodeJSON(call.desktop().runningApplications())}};
    };
    t["key"] = [](const Call& call) {
        call.desktop().pressKey(arg<std::uint16_t>(call, "keyCode"),
                                argOr<std::uint64_t>(call, "flags", 0));
        return none();
    };
    t["click"] = [](const Call& call) {
        const CGPoint at{arg<double>(call, "x"), arg<double>(call, "y")};
        const auto flags = argOr<std::uint64_t>(call, "flags", 0);
        call.desktop().mouseDown(at, flags);
        call.desktop().mouseUp(at, flags);
        return none();
    };
    t["pointer"] = [](const Call& call) {
        call.desktop().movePointer(CGPoint{arg<double>(call, "x"), arg<double>(call, "y")});
        return none();
    };
    t["activate"] = [](const Call& call) {
        const auto pid = arg<Pid>(call, "pid");
        if (!call.desktop().activateApplication(pid, false)) {
            throw RequestFailure("no application " + std::to_string(pid) + " to activate");
        }
        return none();
    };
    t["hide"] = [](const Call& call) {
        const auto pid = arg<Pid>(call, "pid");
        if (!call.desktop().hideApplication(pid)) {
            throw RequestFailure("no application " + std::to_string(pid) + " to hide");
        }
        return none();
    };
    t["unhide"] = [](const Call& call) {
        const auto pid = arg<Pid>(call, "pid");
        if (!call.desktop().unhideApplication(pid)) {
            throw RequestFailure("no application " + std::to_string(pid) + " to unhide");
        }
        return none();
    };
    t["trust"] = [](const Call& call) {
        call.desktop().setTrusted(arg<bool>(call, "trusted"));
        return none();
    };
    t["receivedInput"] = [](const Call& call) {
        return JSONValue{
            {"events", encodeJSON(call.desktop().receivedInput(arg<Pid>(call, "pid")))}};
    };
    t["ownWindows"] = [](const Call& call) {
        JSONValue list = JSONValue::array();
        for (const WindowInfo& window : call.desktop().windows()) {
            if (const auto look = call.desktop().ownWindow(window.number)) {
                list.push_back(JSONValue{{"number", window.number}, {"spec", encodeJSON(*look)}});
            }
        }
        return JSONValue{{"windows", list}};
    };
    t["alerts"] = [](const Call& call) {
        return JSONValue{{"alerts", encodeJSON(call.desktop().alerts())}};
    };
    t["answerAlerts"] = [](const Call& call) {
        call.desktop().answerAlerts(arg<std::vector<std::string>>(call, "buttons"));
        return none();
    };
    t["shutdown"] = [](const Call&) { return none(); };
}

}  // namespace sim
