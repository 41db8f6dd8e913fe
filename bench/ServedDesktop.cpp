#include "ServedDesktop.h"

#include <unistd.h>

#include <atomic>
#include <thread>

#include "Base/Foundation/DispatchQueue.h"
#include "Base/Foundation/MainLoop.h"
#include "Platform/AppKit/NSApplication.h"
#include "Simulator/Server/SocketConnection.h"
#include "Simulator/SharedConnection.h"
#include "Support/Simulator/InstalledDesktop.h"

namespace kelvo::bench {

ServedDesktop::ServedDesktop(const CGRect& display) {
    desktop->addDisplay(display);
    server = std::make_unique<sim::DesktopServer>(desktop, (folder / "desktop.sock").string());
    server->start();
    auto connection = std::make_shared<sim::SocketConnection>(server->path());
    sim::SharedConnection::install(connection);
    // A regular application, as the system is while one of its windows is open.
    sim::ApplicationSpec self = InstalledDesktop::system(InstalledDesktop::ownBundlePath);
    self.activationPolicy = sim::ActivationPolicy::regular;
    pid = connection->registerClient(self);
    // The application object takes the desktop's events for this process's windows.
    NSApplication::sharedApplication();
    personLines_ = std::make_unique<sim::LineClient>(server->path());
    personLines_->start({});
    person_ = std::make_unique<sim::DesktopClient>(*personLines_);
}

ServedDesktop::~ServedDesktop() {
    person_.reset();
    personLines_.reset();
    sim::SharedConnection::install(nullptr);
}

std::optional<ServedDesktop::Clock::duration> ServedDesktop::runUntil(
    const std::function<void(sim::DesktopClient&)>& act, const Holds& holds) {
    std::optional<Clock::duration> took;
    std::thread watch([&] {
        const auto start = Clock::now();
        act(*person_);
        while (Clock::now() - start < bound) {
            if (holds(elements())) {
                took = Clock::now() - start;
                break;
            }
            std::this_thread::sleep_for(lookGap);
        }
        MainLoop::shared().stop();
    });
    MainLoop::shared().run();
    watch.join();
    return took;
}

std::optional<ServedDesktop::Clock::duration> ServedDesktop::typeLastOf(const std::string& query) {
    return runUntil(
        [&](sim::DesktopClient& person) { person.typeText(query.substr(query.size() - 1)); },
        [&](const std::vector<sim::ElementRecord>& held) { return textFieldValue(held) == query; });
}

void ServedDesktop::runFor(Clock::duration span) {
    DispatchQueue::main().asyncAfter(
        DispatchTime::now() + std::chrono::duration<double>(span).count(),
        [] { MainLoop::shared().stop(); });
    MainLoop::shared().run();
}

std::optional<CGRect> ServedDesktop::frameOf(const std::string& identifier) const {
    for (const sim::ElementRecord& record : elements())
        if (record.element.identifier == identifier) return record.element.frame;
    return std::nullopt;
}

bool holdsIdentifier(const std::vector<sim::ElementRecord>& records,
                     const std::string& identifier) {
    for (const sim::ElementRecord& record : records)
        if (record.element.identifier == identifier) return true;
    return false;
}

std::optional<std::string> textFieldValue(const std::vector<sim::ElementRecord>& records) {
    for (const sim::ElementRecord& record : records)
        if (record.element.role == "textField") return record.element.value.value_or("");
    return std::nullopt;
}

}  // namespace kelvo::bench
