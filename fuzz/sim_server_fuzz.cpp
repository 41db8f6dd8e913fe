// Any bytes a client sends to the desktop's server, cut into lines as the server cuts them,
// must each be answered with a reply or an error, or ignored, and leave the desktop usable.
// A crash, a hang or an exception other than the server's own failure is a fault. The client
// is a registered application with a window and a status item of its own, so that pictures,
// element trees and menus it sends reach the desktop's checks; what the desktop keeps of them
// must unpack, list and hit-test without fault.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "Base/Foundation/ManualClock.h"
#include "Base/JSON/JSONWriter.h"
#include "Simulator/Server/DesktopMessages.h"
#include "Simulator/Server/DesktopServer.h"
#include "Simulator/Server/DesktopService.h"
#include "Simulator/Server/LineSplitter.h"
#include "Support/Base/Require.h"
#include "Support/Simulator/InstalledDesktop.h"

namespace {

using kelvo::testing::require;

void serve(sim::DesktopService& service, sim::ServedClient& client, const std::string& line) {
    sim::DesktopRequest request;
    try {
        request = sim::DesktopMessages::decodeRequest(line);
    } catch (const sim::UnreadableRequest& unreadable) {
        require(!sim::DesktopMessages::failure(unreadable.id, unreadable.what()).empty());
        return;
    }
    // A call on a slow or hung application waits, never for less than nothing.
    require(service.answerWait(request) >= 0);
    try {
        const auto result = service.handle(client, request);
        if (request.id) sim::DesktopMessages::reply(*request.id, result);
    } catch (const sim::RequestFailure& failure) {
        require(!sim::DesktopMessages::failure(request.id, failure.what()).empty());
    } catch (const kelvo::EncodingError&) {
        // A result holding a number that is not finite: the server answers with an error.
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static ManualClock clock;
    kelvo::InstalledDesktop installed(CGRect(0, 0, 1440, 900));
    const auto& desktop = installed.desktop;
    // Something on the desktop for requests to reach.
    const sim::Pid app = installed.launch("com.example.app", /*activate=*/true);
    installed.open(app, CGRect(100, 100, 800, 600));

    sim::DesktopService service(desktop);
    sim::ServedClient client;
    client.desktopClient = desktop->attach([](const sim::DesktopEvent& event) {
        require(!sim::DesktopMessages::event(event).empty());
    });
    const sim::Pid self = desktop->registerClient(client.desktopClient, sim::ApplicationSpec{});
    client.pids.insert(self);
    sim::OwnWindowSpec panel;
    panel.frame = CGRect(100, 100, 64, 64);
    panel.menu = true;
    const sim::WindowNumber own = desktop->createOwnWindow(client.desktopClient, panel);
    desktop->orderOwnWindow(own, true);
    desktop->createStatusItem(client.desktopClient, sim::StatusItemSpec{22, {}, true, "", ""});
    sim::LineSplitter splitter(
        sim::LineSplitter::Bound{1 << 16, sim::DesktopServer::drawingRequestPrefix, 1 << 20});
    splitter.append(std::string_view(reinterpret_cast<const char*>(data), size));
    splitter.append("\n");
    while (auto line = splitter.next()) {
        if (!line->empty()) serve(service, client, *line);
    }
    // Whatever was drawn, what the desktop kept unpacks and reaches people and clicks.
    require(desktop->ownWindowPicture(own).isWellFormed());
    desktop->ownWindowPicture(own).unpack();
    for (const auto& item : desktop->statusItems())
        require(item.spec.image.isWellFormed());
    desktop->elements();
    for (const auto& item : desktop->openMenu())
        desktop->pickMenuItem(item.title);
    desktop->typeText("a");
    // Whatever was asked, the desktop keeps answering and lets the client go cleanly.
    clock.advance(10);
    require(desktop->windows().size() < 1000000);
    service.leave(client);
    clock.advance(10);
    return 0;
}
