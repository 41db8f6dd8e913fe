#include <chrono>
#include <optional>
#include <ostream>
#include <thread>

#include "ScreenshotVerb.h"

#include "Arguments.h"
#include "DesktopPicture.h"

// `screenshot`: a picture of the whole desktop, at once or the moment an element of a given label
// shows. Something on screen for under a second (the desktop-switch display) is caught that way
// even by a client that takes longer than that to start.

namespace kelvo_sim {

namespace {

using Clock = std::chrono::steady_clock;

/// How long `--showing` waits for its element when `--within` does not say.
constexpr double defaultWithinSeconds = 10;
/// The pause between two looks at the desktop's elements while waiting.
constexpr std::chrono::milliseconds pollInterval{50};

struct ScreenshotRequest {
    std::string file;
    std::optional<std::string> caption;
    std::optional<std::string> showing;
    double withinSeconds = defaultWithinSeconds;
};

ScreenshotRequest parse(const std::vector<std::string>& rest) {
    const SimCommandLine::UsageError usage{
        "usage: screenshot FILE.png [--caption TEXT] [--showing LABEL [--within SECONDS]]"};
    if (rest.empty()) throw usage;
    ScreenshotRequest request;
    request.file = rest[0];
    std::optional<double> within;
    for (std::size_t i = 1; i < rest.size(); i += 2) {
        if (i + 1 >= rest.size()) throw usage;
        const std::string& option = rest[i];
        const std::string& value = rest[i + 1];
        if (option == "--caption" && !request.caption) {
            request.caption = value;
        } else if (option == "--showing" && !request.showing) {
            request.showing = value;
        } else if (option == "--within" && !within) {
            within = finiteNumber(value);
            if (!within || *within < 0) throw SimCommandLine::UsageError{"not a time: " + value};
        } else {
            throw usage;
        }
    }
    if (within && !request.showing) throw usage;
    if (within) request.withinSeconds = *within;
    return request;
}

/// The desktop's own windows come first: what shows only for a moment is asked for right after
/// it was seen, before the slower rest of the scene.
DesktopPicture::Scene sceneOf(sim::DesktopClient& desktop) {
    DesktopPicture::Scene scene;
    for (const sim::OwnWindowLook& look : desktop.ownWindows()) {
        scene.panels[look.number] = look.spec;
        scene.pictures[look.number] = desktop.ownWindowPicture(look.number);
    }
    scene.displays = desktop.displays();
    scene.windows = desktop.windows();
    scene.applications = desktop.applications();
    scene.pointer = desktop.pointerLocation();
    scene.statusItems = desktop.statusItems();
    return scene;
}

/// The own window holding an element of that label, if one shows.
std::optional<sim::WindowNumber> windowShowing(sim::DesktopClient& desktop,
                                               const std::string& label) {
    for (const sim::ElementRecord& record : desktop.elements(std::nullopt))
        if (record.element.label == label) return record.window;
    return std::nullopt;
}

/// The scene, gathered while an element of that label shows: its window was still there when the
/// scene was asked for, so the picture holds it. None when that never happens in time.
std::optional<DesktopPicture::Scene> sceneShowing(sim::DesktopClient& desktop,
                                                  const std::string& label, double seconds) {
    const auto deadline = Clock::now() + std::chrono::duration_cast<Clock::duration>(
                                             std::chrono::duration<double>(seconds));
    while (true) {
        if (const auto window = windowShowing(desktop, label)) {
            auto scene = sceneOf(desktop);
            if (scene.panels.contains(*window)) return scene;
        }
        if (Clock::now() >= deadline) return std::nullopt;
        std::this_thread::sleep_for(pollInterval);
    }
}

}  // namespace

std::function<void(sim::DesktopClient&)> ScreenshotVerb::action(
    const std::vector<std::string>& rest, std::ostream& out) {
    return [&out, request = parse(rest)](sim::DesktopClient& desktop) {
        std::optional<DesktopPicture::Scene> scene;
        if (request.showing) {
            // Said once the desktop is reached, so that a script can make the element show only
            // when it is sure to be caught.
            out << "waiting for " << *request.showing << std::endl;
            scene = sceneShowing(desktop, *request.showing, request.withinSeconds);
            if (!scene)
                throw SimCommandLine::Refused{"nothing labelled " + *request.showing + " showed"};
        } else {
            scene = sceneOf(desktop);
        }
        if (request.caption) scene->caption = *request.caption;
        try {
            DesktopPicture::draw(*scene, request.file);
        } catch (const DesktopPicture::Failure& failure) {
            throw SimCommandLine::Refused{failure.what()};
        }
    };
}

}  // namespace kelvo_sim
