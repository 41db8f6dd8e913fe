#include "SimCommandLine.h"

#include <charconv>
#include <map>
#include <optional>
#include <ostream>

#include "Arguments.h"
#include "Base/JSON/JSONWriter.h"
#include "DockCommand.h"
#include "KeyChord.h"
#include "ScreenshotProgram.h"
#include "ServeCommand.h"
#include "Simulator/Server/DesktopAddress.h"
#include "Simulator/Server/DesktopClient.h"
#include "Simulator/Server/DesktopMessages.h"
#include "Simulator/Server/LineClient.h"
#include "Simulator/Server/UnixSocket.h"

namespace kelvo_sim {

using kelvo::JSONNode;
using kelvo::JSONValue;
using kelvo::JSONWriter;

namespace {

using UsageError = SimCommandLine::UsageError;

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

sim::WindowNumber windowNumber(const std::string& text) {
    sim::WindowNumber value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size()) {
        throw UsageError{"not a window number: " + text};
    }
    return value;
}

/// `click X Y [--right] [--mods MODS]`, the options in any order.
std::function<void(sim::DesktopClient&)> clickAction(const std::vector<std::string>& rest) {
    const UsageError usage{"usage: click X Y [--right] [--mods alt+shift]"};
    if (rest.size() < 2) throw usage;
    bool right = false;
    std::uint64_t flags = 0;
    for (std::size_t i = 2; i < rest.size(); ++i) {
        if (rest[i] == "--right" && !right) {
            right = true;
        } else if (rest[i] == "--mods" && i + 1 < rest.size()) {
            std::string why;
            const auto mods = KeyChord::modifierFlags(rest[++i], &why);
            if (!mods) throw UsageError{why};
            flags = *mods;
        } else {
            throw usage;
        }
    }
    return [x = coordinate(rest[0]), y = coordinate(rest[1]), flags,
            right](sim::DesktopClient& desktop) {
        if (right) {
            desktop.rightClick(x, y, flags);
        } else {
            desktop.click(x, y, flags);
        }
    };
}

void expectCount(const std::vector<std::string>& rest, std::size_t count, const std::string& verb) {
    if (rest.size() != count) throw UsageError{"wrong number of arguments for " + verb};
}

/// One line per window, front to back, with the fields a harness reads.
void printWindows(sim::DesktopClient& desktop, std::ostream& out) {
    const auto windows = desktop.windows();
    std::map<sim::Pid, std::optional<std::string>> bundles;
    for (const auto& application : desktop.applications())
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

/// One line per status item, right to left.
void printStatusItems(sim::DesktopClient& desktop, std::ostream& out) {
    for (const sim::StatusItemInfo& item : desktop.statusItems()) {
        const JSONValue line = {{"frame", kelvo::encodeJSON(item.frame)},
                                {"label", item.spec.label},
                                {"pid", item.pid},
                                {"toolTip", item.spec.toolTip}};
        out << JSONWriter::write(line) << '\n';
    }
}

/// One line per element, windows front to back, elements in reading order.
void printElements(sim::DesktopClient& desktop, std::optional<sim::Pid> pid, std::ostream& out) {
    for (const sim::ElementRecord& record : desktop.elements(pid)) {
        const sim::InterfaceElement& element = record.element;
        JSONValue line = {{"enabled", element.enabled},
                          {"focused", element.focused},
                          {"frame", kelvo::encodeJSON(element.frame)},
                          {"label", element.label},
                          {"role", element.role},
                          {"window", record.window}};
        kelvo::putIfPresent(line, "identifier", element.identifier);
        kelvo::putIfPresent(line, "toolTip", element.toolTip);
        kelvo::putIfPresent(line, "value", element.value);
        out << JSONWriter::write(line) << '\n';
    }
}

/// One line per item of the open menu, top to bottom.
void printMenu(sim::DesktopClient& desktop, std::ostream& out) {
    for (const sim::MenuItemRecord& item : desktop.openMenu()) {
        const JSONValue line = {{"enabled", item.enabled},
                                {"separator", item.separator},
                                {"state", item.state},
                                {"title", item.title}};
        out << JSONWriter::write(line) << '\n';
    }
}

template <class T>
void printEach(const std::vector<T>& list, std::ostream& out) {
    for (const auto& item : list)
        out << JSONWriter::write(kelvo::encodeJSON(item)) << '\n';
}

}  // namespace

std::string SimCommandLine::usage() {
    return "usage: kelvo-sim serve [--socket PATH] [--display WxH]... [--untrusted] "
           "[--boot-time SECONDS] [--root DIR] [--dock]\n"
           "       kelvo-sim dock                   stands in for the Dock until it is ended "
           "(serve --dock keeps one)\n"
           "       kelvo-sim windows | apps | displays\n"
           "       kelvo-sim key CHORD              e.g. alt+1, alt+shift+left, ctrl+alt+l, "
           "cmd+n, ⌥⇧2, ⌃⌥L\n"
           "       kelvo-sim click X Y [--right] [--mods alt+shift]\n"
           "       kelvo-sim type TEXT              one key per character, to whoever takes keys\n"
           "       kelvo-sim statusitems | ui [--pid PID] | menu | menu pick TITLE\n"
           "       kelvo-sim close NUMBER           presses the window's close button\n"
           "       kelvo-sim pointer X Y\n"
           "       kelvo-sim scroll X Y POINTS      the wheel over X Y: POINTS on down what is "
           "there (negative: back up)\n"
           "       kelvo-sim drag X1 Y1 X2 Y2\n"
           "       kelvo-sim activate PID [--after PID] | hide PID | unhide PID\n"
           "                                        --after: right after a process next "
           "activates that one\n"
           "       kelvo-sim trust yes|no\n"
           "       kelvo-sim slow PID SECONDS | hang PID | unhang PID\n"
           "                                        the application's Accessibility answers "
           "come late, or never\n"
           "       kelvo-sim decline-activation PID yes|no\n"
           "                                        while yes, other processes' requests to "
           "bring the\n"
           "                                        application to the front are dropped "
           "(activate still brings it)\n"
           "       kelvo-sim alerts                 the modal alerts shown, oldest first\n"
           "       kelvo-sim answer-alerts BUTTON...\n"
           "       kelvo-sim screenshot " +
           std::string(ScreenshotProgram::arguments) +
           "\n"
           "                                        --showing: the moment an element of that "
           "label shows\n" +
           ownInterfaceUsage() +
           "       kelvo-sim shutdown\n"
           "Clients reach the desktop at $KELVO_SIM_SOCKET (default " +
           sim::DesktopAddress::defaultPath() + ").\n";
}

int SimCommandLine::fail(const std::string& message, int status) {
    err_ << "kelvo-sim: " << message << '\n';
    // The whole usage would bury the reason; one line says where it is.
    if (status == usageError) err_ << "Run kelvo-sim --help for every verb and its arguments.\n";
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
        if (verb == "dock") {
            expectCount(rest, 0, verb);
            return DockCommand(err_).run();
        }
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
    } catch (const Refused& refused) {
        return fail(refused.message, failure);
    }
}

int SimCommandLine::runClientVerb(const std::string& verb, const std::vector<std::string>& rest) {
    // Arguments are checked before the desktop is reached, so a typo never half-runs.
    const auto action = clientAction(verb, rest);
    // Not started: each call reads its own reply, with no thread beside this one (a call that
    // scripts make by the thousand costs about a process start more than one).
    sim::LineClient lines(sim::DesktopAddress::fromEnvironmentOrDefault());
    sim::DesktopClient desktop(lines);
    action(desktop);
    return success;
}

std::function<void(sim::DesktopClient&)> SimCommandLine::clientAction(
    const std::string& verb, const std::vector<std::string>& rest) {
    using Desktop = sim::DesktopClient;
    if (verb == "windows" || verb == "apps" || verb == "displays" || verb == "alerts" ||
        verb == "shutdown") {
        expectCount(rest, 0, verb);
    }
    if (verb == "windows") return [this](Desktop& desktop) { printWindows(desktop, out_); };
    if (verb == "apps")
        return [this](Desktop& desktop) { printEach(desktop.applications(), out_); };
    if (verb == "displays")
        return [this](Desktop& desktop) { printEach(desktop.displays(), out_); };
    if (verb == "alerts") return [this](Desktop& desktop) { printEach(desktop.alerts(), out_); };
    if (verb == "shutdown") return [](Desktop& desktop) { desktop.shutdown(); };
    if (verb == "answer-alerts") {
        if (rest.empty()) throw UsageError{"answer-alerts takes the title of a button"};
        return [rest](Desktop& desktop) { desktop.answerAlerts(rest); };
    }
    if (verb == "key") {
        expectCount(rest, 1, verb);
        std::string why;
        const auto chord = KeyChord::parse(rest[0], &why);
        if (!chord) throw UsageError{why};
        return [chord = *chord](Desktop& desktop) { desktop.key(chord.keyCode, chord.flags); };
    }
    if (verb == "click") return clickAction(rest);
    if (verb == "type") {
        expectCount(rest, 1, verb);
        return [text = rest[0]](Desktop& desktop) { desktop.typeText(text); };
    }
    if (verb == "statusitems") {
        expectCount(rest, 0, verb);
        return [this](Desktop& desktop) { printStatusItems(desktop, out_); };
    }
    if (verb == "ui") {
        if (!rest.empty() && !(rest.size() == 2 && rest[0] == "--pid"))
            throw UsageError{"usage: ui [--pid PID]"};
        std::optional<sim::Pid> pid;
        if (rest.size() == 2) pid = processID(rest[1]);
        return [this, pid](Desktop& desktop) { printElements(desktop, pid, out_); };
    }
    if (verb == "menu") {
        if (rest.empty()) return [this](Desktop& desktop) { printMenu(desktop, out_); };
        if (rest.size() != 2 || rest[0] != "pick") throw UsageError{"usage: menu [pick TITLE]"};
        return [title = rest[1]](Desktop& desktop) {
            if (!desktop.pickMenuItem(title))
                throw Refused{"the open menu has no enabled item " + title};
        };
    }
    if (verb == "close") {
        expectCount(rest, 1, verb);
        return [number = windowNumber(rest[0])](Desktop& desktop) {
            if (!desktop.pressCloseButton(number))
                throw Refused{"window " + std::to_string(number) + " shows no close button"};
        };
    }
    if (verb == "drag") {
        expectCount(rest, 4, verb);
        return
            [fromX = coordinate(rest[0]), fromY = coordinate(rest[1]), toX = coordinate(rest[2]),
             toY = coordinate(rest[3])](Desktop& desktop) { desktop.drag(fromX, fromY, toX, toY); };
    }
    if (verb == "pointer") {
        expectCount(rest, 2, verb);
        return [x = coordinate(rest[0]), y = coordinate(rest[1])](Desktop& desktop) {
            desktop.pointer(x, y);
        };
    }
    if (verb == "scroll") {
        expectCount(rest, 3, verb);
        // Down the content is the wheel's negative direction.
        return [x = coordinate(rest[0]), y = coordinate(rest[1]),
                deltaY = -coordinate(rest[2])](Desktop& desktop) { desktop.scroll(x, y, deltaY); };
    }
    if (verb == "activate" && rest.size() == 3) {
        if (rest[1] != "--after") throw UsageError{"usage: activate PID [--after PID]"};
        return [pid = processID(rest[0]), after = processID(rest[2])](Desktop& desktop) {
            desktop.activateAfter(pid, after);
        };
    }
    if (verb == "activate" || verb == "hide" || verb == "unhide") {
        expectCount(rest, 1, verb);
        const auto act = verb == "activate" ? &Desktop::activate
                         : verb == "hide"   ? &Desktop::hide
                                            : &Desktop::unhide;
        return [act, pid = processID(rest[0])](Desktop& desktop) { (desktop.*act)(pid); };
    }
    if (verb == "slow") {
        expectCount(rest, 2, verb);
        const double seconds = coordinate(rest[1]);
        if (seconds < 0) throw UsageError{"slow takes a number of seconds, 0 or more"};
        return
            [pid = processID(rest[0]), seconds](Desktop& desktop) { desktop.slow(pid, seconds); };
    }
    if (verb == "hang" || verb == "unhang") {
        expectCount(rest, 1, verb);
        const auto act = verb == "hang" ? &Desktop::hang : &Desktop::unhang;
        return [act, pid = processID(rest[0])](Desktop& desktop) { (desktop.*act)(pid); };
    }
    if (verb == "decline-activation") {
        if (rest.size() != 2 || (rest[1] != "yes" && rest[1] != "no"))
            throw UsageError{"usage: decline-activation PID yes|no"};
        return [pid = processID(rest[0]), declines = rest[1] == "yes"](Desktop& desktop) {
            desktop.declineActivation(pid, declines);
        };
    }
    if (verb == "trust") {
        expectCount(rest, 1, verb);
        if (rest[0] != "yes" && rest[0] != "no") throw UsageError{"trust takes yes or no"};
        return [trusted = rest[0] == "yes"](Desktop& desktop) { desktop.trust(trusted); };
    }
    if (verb == "screenshot" && screenshots_) return screenshots_(rest, out_);
    if (auto action = ownInterfaceAction(verb, rest)) return action;
    throw UsageError{"no such verb: " + verb};
}

}  // namespace kelvo_sim
