#include "SimCommandLine.h"

#include <charconv>
#include <map>
#include <ostream>

#include "Arguments.h"
#include "Base/JSON/JSONWriter.h"
#include "DesktopPicture.h"
#include "KeyChord.h"
#include "ServeCommand.h"
#include "Simulator/Server/DesktopAddress.h"
#include "Simulator/Server/DesktopMessages.h"
#include "Simulator/Server/LineClient.h"
#include "Simulator/Server/UnixSocket.h"

namespace kelvo_sim {

using kelvo::JSONNode;
using kelvo::JSONValue;
using kelvo::JSONWriter;

namespace {

/// A usage mistake, told with the usage text.
struct UsageError {
    std::string message;
};

double coordinate(const std::string& text) {
    const auto value = finiteNumber(text);
    if (!value) throw UsageError{"not a number: " + text};
    return *value;
}

std::int32_t processID(const std::string& text) {
    std::int32_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size()) {
        throw UsageError{"not a process identifier: " + text};
    }
    return value;
}

void expectCount(const std::vector<std::string>& rest, std::size_t count, const std::string& verb) {
    if (rest.size() != count) throw UsageError{"wrong number of arguments for " + verb};
}

/// The member `key` of what the desktop answers to `op`.
template <class T>
T fetch(sim::LineClient& client, const std::string& op, const std::string& key) {
    return JSONNode(client.call(op)).decode<T>(key);
}

/// One line per window, front to back, with the fields a harness reads.
void printWindows(sim::LineClient& client, std::ostream& out) {
    const auto windows = fetch<std::vector<sim::WindowInfo>>(client, "windows", "windows");
    const auto applications =
        fetch<std::vector<sim::ApplicationInfo>>(client, "applications", "applications");
    std::map<sim::Pid, std::optional<std::string>> bundles;
    for (const auto& application : applications)
        bundles[application.pid] = application.bundleID;
    for (const auto& window : windows) {
        JSONValue line = {{"frame", kelvo::encodeJSON(window.frame)},
                          {"layer", window.layer},
                          {"minimized", window.minimized},
                          {"number", window.number},
                          {"onScreen", window.onScreen},
                          {"pid", window.owner},
                          {"title", window.title}};
        kelvo::putIfPresent(line, "bundleID", bundles[window.owner]);
        out << JSONWriter::write(line) << '\n';
    }
}

void printEach(const JSONValue& list, std::ostream& out) {
    for (const auto& item : list)
        out << JSONWriter::write(item) << '\n';
}

DesktopPicture::Scene sceneOf(sim::LineClient& client) {
    DesktopPicture::Scene scene;
    scene.displays = fetch<std::vector<sim::DisplayInfo>>(client, "displays", "displays");
    scene.windows = fetch<std::vector<sim::WindowInfo>>(client, "windows", "windows");
    scene.applications =
        fetch<std::vector<sim::ApplicationInfo>>(client, "applications", "applications");
    scene.pointer = fetch<CGPoint>(client, "pointerLocation", "location");
    const JSONValue own = client.call("ownWindows");
    for (const JSONNode& node : JSONNode(own)["windows"].elements()) {
        scene.panels[node.decode<sim::WindowNumber>("number")] =
            node.decode<sim::OwnWindowSpec>("spec");
    }
    return scene;
}

}  // namespace

std::string SimCommandLine::usage() {
    return "usage: kelvo-sim serve [--socket PATH] [--display WxH]... [--untrusted] "
           "[--boot-time SECONDS]\n"
           "       kelvo-sim windows | apps | displays\n"
           "       kelvo-sim key CHORD              e.g. alt+1, alt+shift+left, ctrl+alt+l, "
           "cmd+n, ⌥⇧2, ⌃⌥L\n"
           "       kelvo-sim click X Y [--mods alt+shift]\n"
           "       kelvo-sim pointer X Y\n"
           "       kelvo-sim activate PID | hide PID | unhide PID\n"
           "       kelvo-sim trust yes|no\n"
           "       kelvo-sim alerts                 the modal alerts shown, oldest first\n"
           "       kelvo-sim answer-alerts BUTTON...\n"
           "       kelvo-sim screenshot FILE.png [--caption TEXT]\n"
           "       kelvo-sim shutdown\n"
           "Clients reach the desktop at $KELVO_SIM_SOCKET (default " +
           sim::DesktopAddress::defaultPath() + ").\n";
}

int SimCommandLine::fail(const std::string& message, int status) {
    err_ << "kelvo-sim: " << message << '\n';
    if (status == usageError) err_ << usage();
    return status;
}

int SimCommandLine::run(const std::vector<std::string>& arguments) {
    if (arguments.empty()) return fail("no verb given", usageError);
    const std::string& verb = arguments.front();
    const std::vector<std::string> rest(arguments.begin() + 1, arguments.end());
    if (verb == "help" || verb == "--help" || verb == "-h") {
        out_ << usage();
        return success;
    }
    try {
        if (verb == "serve") return ServeCommand(err_).run(ServeCommand::parse(rest));
        return runClientVerb(verb, rest);
    } catch (const ServeCommand::UsageError& error) {
        return fail(error.what(), usageError);
    } catch (const UsageError& error) {
        return fail(error.message, usageError);
    } catch (const sim::SocketError& error) {
        return fail(error.what(), failure);
    } catch (const sim::RemoteError& error) {
        return fail(error.what(), failure);
    } catch (const sim::DesktopGone& error) {
        return fail(error.what(), failure);
    } catch (const kelvo::DecodingError& error) {
        return fail(std::string("unexpected answer from the desktop: ") + error.what(), failure);
    } catch (const DesktopPicture::Failure& error) {
        return fail(error.what(), failure);
    }
}

int SimCommandLine::runClientVerb(const std::string& verb, const std::vector<std::string>& rest) {
    static const std::vector<std::string> verbs = {
        "windows", "apps",   "displays", "key",    "click",         "pointer",    "activate",
        "hide",    "unhide", "trust",    "alerts", "answer-alerts", "screenshot", "shutdown"};
    if (std::find(verbs.begin(), verbs.end(), verb) == verbs.end()) {
        throw UsageError{"no such verb: " + verb};
    }
    // Arguments are checked before the desktop is reached, so a typo never half-runs.
    JSONValue args = JSONValue::object();
    std::string op = verb;
    if (verb == "windows" || verb == "apps" || verb == "displays" || verb == "alerts" ||
        verb == "shutdown") {
        expectCount(rest, 0, verb);
    } else if (verb == "answer-alerts") {
        if (rest.empty()) throw UsageError{"answer-alerts takes the title of a button"};
        op = "answerAlerts";
        args = {{"buttons", kelvo::encodeJSON(rest)}};
    } else if (verb == "key") {
        expectCount(rest, 1, verb);
        std::string why;
        const auto chord = KeyChord::parse(rest[0], &why);
        if (!chord) throw UsageError{why};
        args = {{"flags", chord->flags}, {"keyCode", chord->keyCode}};
    } else if (verb == "click") {
        if (rest.size() != 2 && !(rest.size() == 4 && rest[2] == "--mods")) {
            throw UsageError{"usage: click X Y [--mods alt+shift]"};
        }
        std::uint64_t flags = 0;
        if (rest.size() == 4) {
            std::string why;
            const auto mods = KeyChord::modifierFlags(rest[3], &why);
            if (!mods) throw UsageError{why};
            flags = *mods;
        }
        args = {{"flags", flags}, {"x", coordinate(rest[0])}, {"y", coordinate(rest[1])}};
    } else if (verb == "pointer") {
        expectCount(rest, 2, verb);
        args = {{"x", coordinate(rest[0])}, {"y", coordinate(rest[1])}};
    } else if (verb == "activate" || verb == "hide" || verb == "unhide") {
        expectCount(rest, 1, verb);
        args = {{"pid", processID(rest[0])}};
    } else if (verb == "trust") {
        expectCount(rest, 1, verb);
        if (rest[0] != "yes" && rest[0] != "no") throw UsageError{"trust takes yes or no"};
        args = {{"trusted", rest[0] == "yes"}};
    } else if (verb == "screenshot") {
        if (rest.size() != 1 && !(rest.size() == 3 && rest[1] == "--caption")) {
            throw UsageError{"usage: screenshot FILE.png [--caption TEXT]"};
        }
    }

    sim::LineClient client(sim::DesktopAddress::fromEnvironmentOrDefault());
    client.start({});
    if (verb == "windows") {
        printWindows(client, out_);
    } else if (verb == "apps") {
        printEach(client.call("applications")["applications"], out_);
    } else if (verb == "displays") {
        printEach(client.call("displays")["displays"], out_);
    } else if (verb == "alerts") {
        printEach(client.call("alerts")["alerts"], out_);
    } else if (verb == "screenshot") {
        auto scene = sceneOf(client);
        if (rest.size() == 3) scene.caption = rest[2];
        DesktopPicture::draw(scene, rest[0]);
    } else {
        client.call(op, args);
    }
    return success;
}

}  // namespace kelvo_sim
