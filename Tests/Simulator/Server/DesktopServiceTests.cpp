#include <gtest/gtest.h>

#include <mutex>
#include <vector>

#include "Base/JSON/JSONWriter.h"
#include "Platform/Quartz/CGEvent.h"
#include "Simulator/Server/DesktopService.h"
#include "Support/Platform/DesktopFixture.h"

namespace sim {
namespace {

using kelvo::JSONNode;
using kelvo::JSONValue;

/// The service over an in-process desktop on the manual clock, with clients attached as the
/// server attaches its connections.
class DesktopServiceTest : public kelvo::DesktopFixture {
  protected:
    struct Client {
        ServedClient served;
        std::vector<DesktopEvent> events;
        std::vector<TapEventDelivery> taps() const {
            std::vector<TapEventDelivery> found;
            for (const auto& event : events)
                if (const auto* d = std::get_if<TapEventDelivery>(&event)) found.push_back(*d);
            return found;
        }
    };

    ~DesktopServiceTest() override {
        // The clients leave before their event records go: the fixture's own client leaves
        // after them, and its leaving is announced to every client still attached.
        for (auto& client : clients_)
            service.leave(client->served);
    }

    Client& attach() {
        clients_.push_back(std::make_unique<Client>());
        Client* client = clients_.back().get();
        client->served.desktopClient = desktop->attach(
            [client](const DesktopEvent& event) { client->events.push_back(event); });
        return *client;
    }

    JSONValue call(Client& client, const std::string& op, JSONValue args = JSONValue::object()) {
        return service.handle(client.served, DesktopRequest{1, op, std::move(args)});
    }

    std::string failureOf(Client& client, const std::string& op,
                          JSONValue args = JSONValue::object()) {
        try {
            call(client, op, std::move(args));
        } catch (const RequestFailure& failure) {
            return failure.what();
        }
        return "(no failure)";
    }

    Pid registerApp(Client& client, const std::string& bundleID) {
        return call(client, "registerClient", {{"bundleID", bundleID}, {"name", bundleID}})["pid"];
    }

    DesktopService service{desktop};
    std::vector<std::unique_ptr<Client>> clients_;
};

TEST_F(DesktopServiceTest, UnknownOpsAndArgumentsOfTheWrongShapeAreRefused) {
    Client& client = attach();
    EXPECT_EQ(failureOf(client, "frobnicate"), "unknown op frobnicate");
    EXPECT_EQ(failureOf(client, "Windows"), "unknown op Windows");
    EXPECT_EQ(failureOf(client, "copyAttribute", {{"element", "one"}})
                  .rfind("bad arguments for copyAttribute: ", 0),
              0u);
    EXPECT_EQ(failureOf(client, "copyAttribute",
                        {{"attribute", "AXRole"}, {"element", 1}, {"timeout", -1}}),
              "timeout must not be negative");
    EXPECT_EQ(failureOf(client, "activate", {{"pid", 4242}}), "no application 4242 to activate");
    EXPECT_EQ(failureOf(client, "hide", {{"pid", 4242}}), "no application 4242 to hide");
    EXPECT_EQ(failureOf(client, "unhide", {{"pid", 4242}}), "no application 4242 to unhide");
    EXPECT_EQ(failureOf(client, "key", {{"keyCode", 70000}}).rfind("bad arguments for key", 0), 0u);
}

TEST_F(DesktopServiceTest, AnApplicationActsOnlyOnItsOwnWindows) {
    Client& fixture = attach();
    Client& other = attach();
    EXPECT_EQ(failureOf(fixture, "openWindow"), "not registered");
    const Pid pid = registerApp(fixture, "com.example.fixture");
    ASSERT_NE(pid, 0);
    const WindowNumber reserved = call(fixture, "reserveWindowNumber")["number"];
    const WindowNumber first =
        call(fixture, "openWindow",
             {{"spec",
               {{"title", "One"},
                {"frame", {{"x", 10}, {"y", 40}, {"width", 300}, {"height", 200}}}}}})["number"];
    EXPECT_NE(first, reserved);
    const WindowNumber late = call(fixture, "openWindow",
                                   {{"spec", {{"title", "Late"}, {"number", reserved}}}})["number"];
    EXPECT_EQ(late, reserved);
    EXPECT_EQ(failureOf(fixture, "openWindow", {{"spec", {{"number", reserved}}}}),
              "window " + std::to_string(reserved) + " exists");

    call(fixture, "moveWindow",
         {{"number", first}, {"frame", {{"x", 50}, {"y", 60}, {"width", 310}, {"height", 210}}}});
    EXPECT_EQ(desktop->window(first)->frame, CGRect(50, 60, 310, 210));
    call(fixture, "setMinimized", {{"number", first}, {"minimized", true}});
    EXPECT_TRUE(desktop->window(first)->minimized);

    EXPECT_EQ(failureOf(other, "closeWindow", {{"number", first}}),
              "not your window " + std::to_string(first));
    EXPECT_EQ(failureOf(other, "hideSelf"), "not registered");
    EXPECT_EQ(failureOf(fixture, "hideSelf", {{"pid", ownPid}}),
              "not your application " + std::to_string(ownPid));
    call(fixture, "closeWindow", {{"number", first}});
    EXPECT_FALSE(desktop->window(first));
}

TEST_F(DesktopServiceTest, WindowsAreListedFrontToBack) {
    const Pid app = launch("com.example.editor");
    const WindowNumber back = open(app, CGRect(0, 30, 100, 100));
    const WindowNumber front = open(app, CGRect(10, 40, 100, 100));
    Client& cli = attach();
    const auto windows = JSONNode(call(cli, "windows")).decode<std::vector<WindowInfo>>("windows");
    ASSERT_EQ(windows.size(), 2u);
    EXPECT_EQ(windows[0].number, front);
    EXPECT_EQ(windows[1].number, back);
    EXPECT_EQ(windows[0].owner, app);
}

TEST_F(DesktopServiceTest, AKeyGoesThroughAClientsTapWhichSwallowsOrPassesIt) {
    const Pid front = launch("com.example.front", true);
    Client& tapper = attach();
    registerApp(tapper, "com.example.tapper");
    const TapID tap =
        call(tapper, "createTap", {{"eventsOfInterest", CGEventMaskBit(kCGEventKeyDown)}})["tap"];
    ASSERT_NE(tap, 0u);
    Client& cli = attach();
    call(cli, "key", {{"keyCode", 18}, {"flags", kCGEventFlagMaskAlternate}});
    call(cli, "key", {{"keyCode", 19}, {"flags", kCGEventFlagMaskAlternate}});
    // The first key down waits for the tap; everything behind it waits too.
    ASSERT_EQ(tapper.taps().size(), 1u);
    auto delivery = tapper.taps()[0];
    EXPECT_EQ(delivery.event.keyCode, 18);
    EXPECT_EQ(delivery.event.flags, kCGEventFlagMaskAlternate);
    EXPECT_TRUE(desktop->receivedInput(front).empty());
    call(tapper, "answerTapEvent", {{"delivery", delivery.delivery}});  // swallowed
    ASSERT_EQ(tapper.taps().size(), 2u);
    delivery = tapper.taps()[1];
    call(tapper, "answerTapEvent",
         {{"delivery", delivery.delivery}, {"passed", kelvo::encodeJSON(delivery.event)}});
    const auto received = JSONNode(call(cli, "receivedInput", {{"pid", front}}))
                              .decode<std::vector<InputEvent>>("events");
    std::vector<std::pair<std::uint32_t, std::uint16_t>> seen;
    for (const auto& event : received)
        seen.emplace_back(event.type, event.keyCode);
    EXPECT_EQ(seen, (std::vector<std::pair<std::uint32_t, std::uint16_t>>{
                        {inputKeyUp, 18}, {inputKeyDown, 19}, {inputKeyUp, 19}}));
}

TEST_F(DesktopServiceTest, ATapThatDoesNotAnswerIsDisabledAndTheKeyGoesOn) {
    const Pid front = launch("com.example.front", true);
    Client& tapper = attach();
    registerApp(tapper, "com.example.tapper");
    const TapID tap =
        call(tapper, "createTap", {{"eventsOfInterest", CGEventMaskBit(kCGEventKeyDown)}})["tap"];
    Client& cli = attach();
    call(cli, "key", {{"keyCode", 18}});
    clock.advance(Desktop::tapTimeout);
    EXPECT_FALSE(call(tapper, "isTapEnabled", {{"tap", tap}})["enabled"].get<bool>());
    ASSERT_EQ(tapper.taps().size(), 2u);
    EXPECT_EQ(tapper.taps()[1].event.type, inputTapDisabledByTimeout);
    std::vector<std::uint32_t> types;
    for (const auto& event : desktop->receivedInput(front))
        types.push_back(event.type);
    EXPECT_EQ(types, (std::vector<std::uint32_t>{inputKeyDown, inputKeyUp}));
}

TEST_F(DesktopServiceTest, AClientThatLeavesTakesItsApplicationsWindowsAndTapsAlong) {
    const Pid front = launch("com.example.front", true);
    Client& watcher = attach();
    Client& fixture = attach();
    const Pid pid = registerApp(fixture, "com.example.fixture");
    const WindowNumber window = call(fixture, "openWindow")["number"];
    call(fixture, "createTap", {{"eventsOfInterest", CGEventMaskBit(kCGEventKeyDown)}});
    desktop->pressKey(18);
    ASSERT_EQ(desktop->pendingInputCount(), 2u);

    service.leave(fixture.served);
    EXPECT_TRUE(desktop->application(pid)->terminated);
    EXPECT_FALSE(desktop->window(window));
    EXPECT_EQ(desktop->tapCount(), 0u);
    // The key it held goes on at once, without waiting for the tap's timeout.
    EXPECT_EQ(desktop->pendingInputCount(), 0u);
    EXPECT_EQ(desktop->receivedInput(front).size(), 2u);
    const WorkspaceNotification terminated{WorkspaceNotification::Kind::terminated, pid};
    EXPECT_NE(std::find(watcher.events.begin(), watcher.events.end(), DesktopEvent{terminated}),
              watcher.events.end());
    // Leaving twice does nothing more.
    service.leave(fixture.served);
}

TEST_F(DesktopServiceTest, TheConnectionOperationsAnswerLikeTheDesktop) {
    const Pid app = launch("com.example.editor", true);
    const WindowNumber number = open(app, CGRect(100, 100, 400, 300));
    Client& client = attach();
    const auto element =
        JSONNode(call(client, "applicationElement", {{"pid", app}})).decode<ElementID>("element");
    const auto windows =
        call(client, "copyAttribute", {{"attribute", "AXWindows"}, {"element", element.raw}});
    EXPECT_EQ(windows["error"], 0);
    const auto list = JSONNode(windows["value"]).decode<AttributeValue>();
    ASSERT_EQ(std::get<std::vector<ElementID>>(list).size(), 1u);
    const ElementID windowElement = std::get<std::vector<ElementID>>(list)[0];
    EXPECT_EQ(call(client, "setAttribute",
                   {{"attribute", "AXPosition"},
                    {"element", windowElement.raw},
                    {"value", {{"point", {{"x", 20}, {"y", 50}}}}}})["error"],
              0);
    EXPECT_EQ(desktop->window(number)->frame.origin, (CGPoint{20, 50}));
    desktop->closeWindow(number);
    EXPECT_EQ(call(client, "copyAttribute",
                   {{"attribute", "AXPosition"}, {"element", windowElement.raw}})["error"],
              -25202);
    EXPECT_EQ(call(client, "frontmostApplication")["pid"], app);
    EXPECT_FALSE(call(client, "application", {{"pid", 4242}}).contains("application"));
}

TEST_F(DesktopServiceTest, PreferencesAreReadWrittenAndSynchronizedAsTheDesktopKeepsThem) {
    Client& client = attach();
    const JSONValue where = {{"domain", "com.apple.dock"}, {"key", "autohide-delay"}};
    EXPECT_FALSE(call(client, "copyPreference", where).contains("value"));

    JSONValue write = where;
    write["value"] = {{"real", 0}};
    call(client, "writePreference", write);
    EXPECT_EQ(desktop->preference("com.apple.dock", "autohide-delay"), PreferenceData::makeReal(0));
    EXPECT_EQ(call(client, "copyPreference", where)["value"], (JSONValue{{"real", 0}}));
    EXPECT_EQ(call(client, "synchronizePreferences", {{"domain", "com.apple.dock"}})["done"], true);

    call(client, "writePreference", where);
    EXPECT_FALSE(desktop->preference("com.apple.dock", "autohide-delay"));

    desktop->setKeepsPreferenceWrites("com.apple.dock", false);
    call(client, "writePreference", write);
    EXPECT_FALSE(desktop->preference("com.apple.dock", "autohide-delay"));
    EXPECT_EQ(call(client, "synchronizePreferences", {{"domain", "com.apple.dock"}})["done"],
              false);
    EXPECT_EQ(desktop->preferenceSynchronizations("com.apple.dock"), 2);
    EXPECT_NE(failureOf(client, "copyPreference", {{"domain", "com.apple.dock"}}), "(no failure)");
}

}  // namespace
}  // namespace sim
