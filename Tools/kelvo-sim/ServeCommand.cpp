#include "ServeCommand.h"

#include <csignal>
#include <memory>
#include <ostream>

#include "Arguments.h"
#include "Base/Foundation/DispatchQueue.h"
#include "Base/Foundation/DispatchSource.h"
#include "Base/Foundation/FileSystem.h"
#include "Base/Foundation/MainLoop.h"
#include "Simulator/Desktop.h"
#include "Simulator/Server/BundleProcesses.h"
#include "Simulator/Server/DesktopAddress.h"
#include "Simulator/Server/DesktopServer.h"
#include "Simulator/Server/DockKeeper.h"
#include "Simulator/Server/UnixSocket.h"

namespace kelvo_sim {

namespace {

double number(const std::string& text, const std::string& what) {
    const auto value = finiteNumber(text);
    if (!value) throw ServeCommand::UsageError("not a number for " + what + ": " + text);
    return *value;
}

/// One side of `--display WxH`, the side named when it is missing or no number.
double displaySide(const std::string& text, const std::string& part, const std::string& side) {
    if (const auto value = finiteNumber(part)) return *value;
    throw ServeCommand::UsageError("--display " + text + ": the " + side + " is " +
                                   (part.empty() ? "missing" : "not a number: " + part) +
                                   " (a display is WxH, as 1440x900)");
}

CGSize displaySize(const std::string& text) {
    const auto x = text.find('x');
    if (x == std::string::npos) throw ServeCommand::UsageError("a display is WxH, not " + text);
    const double width = displaySide(text, text.substr(0, x), "width");
    const double height = displaySide(text, text.substr(x + 1), "height");
    // Taller than the menu bar, and small enough that every frame stays an ordinary number.
    if (width < 100 || height < 100 || width > 100000 || height > 100000) {
        throw ServeCommand::UsageError("a display must be between 100x100 and 100000x100000");
    }
    return CGSize{width, height};
}

}  // namespace

ServeCommand::Options ServeCommand::parse(const std::vector<std::string>& arguments) {
    Options options;
    options.socketPath = sim::DesktopAddress::fromEnvironmentOrDefault();
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& flag = arguments[i];
        auto value = [&]() -> const std::string& {
            if (i + 1 >= arguments.size()) throw UsageError(flag + " needs a value");
            return arguments[++i];
        };
        if (flag == "--socket") {
            options.socketPath = value();
        } else if (flag == "--display") {
            options.displays.push_back(displaySize(value()));
        } else if (flag == "--untrusted") {
            options.trusted = false;
        } else if (flag == "--dock") {
            options.dock = true;
        } else if (flag == "--root") {
            options.root = value();
        } else if (flag == "--boot-time") {
            options.bootTime = number(value(), "--boot-time");
        } else {
            throw UsageError("serve does not take " + flag);
        }
    }
    if (options.displays.empty()) options.displays.push_back(defaultDisplay);
    return options;
}

int ServeCommand::run(const Options& options) {
    auto desktop = std::make_shared<sim::Desktop>();
    double left = 0;
    for (const CGSize& size : options.displays) {
        desktop->addDisplay(CGRect(left, 0, size.width, size.height));
        left += size.width;
    }
    desktop->setTrusted(options.trusted);
    if (options.bootTime) desktop->setBootTime(*options.bootTime);
    if (options.root) desktop->setFileSystemRoot(*options.root);

    sim::DesktopServer server(desktop, options.socketPath);
    // Declared after the server, so the processes end before it stops serving them. One that
    // ends is terminated on the desktop as any other, even one that never reached it.
    sim::BundleProcesses processes(options.socketPath,
                                   [desktop](pid_t pid) { desktop->terminate(pid); });
    desktop->setProcessStarter(
        [&processes](const sim::ApplicationBundle& bundle) { return processes.start(bundle); });
    desktop->setProcessSignaller([](sim::Pid pid, int signal) { return ::kill(pid, signal) == 0; });
    // Started once the desktop serves, and ended while it still does.
    std::unique_ptr<sim::DockKeeper> dock;
    auto stop = [] { MainLoop::shared().stop(); };
    server.setShutdownHandler([stop] { DispatchQueue::main().async(stop); });
    auto interrupt = DispatchSource::makeSignalSource(SIGINT, DispatchQueue::main());
    auto terminate = DispatchSource::makeSignalSource(SIGTERM, DispatchQueue::main());
    for (auto* source : {&interrupt, &terminate}) {
        source->setEventHandler(stop);
        source->resume();
    }
    server.start();
    if (options.dock) {
        dock = std::make_unique<sim::DockKeeper>(
            executablePath().string(), std::vector<std::string>{"dock"}, options.socketPath);
    }
    err_ << "kelvo-sim: serving a desktop at " << options.socketPath << std::endl;
    MainLoop::shared().run();
    interrupt.cancel();
    terminate.cancel();
    dock.reset();
    desktop->setProcessStarter(nullptr);
    desktop->setProcessSignaller(nullptr);
    return 0;
}

}  // namespace kelvo_sim
