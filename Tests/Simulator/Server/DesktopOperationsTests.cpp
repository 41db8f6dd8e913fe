#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <fstream>
#include <functional>
#include <mutex>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <tuple>
#include <type_traits>
#include <vector>

#include "Base/JSON/JSONWriter.h"
#include "Simulator/DesktopOperation.h"
#include "Simulator/Server/DesktopClient.h"
#include "Simulator/Server/DesktopService.h"
#include "Simulator/Server/OperationCoding.h"
#include "Simulator/Server/SocketConnection.h"
#include "Simulator/Server/SocketServer.h"
#include "Support/Base/ChildProcess.h"
#include "Support/Base/TemporaryFolder.h"
#include "Support/Platform/DesktopFixture.h"

namespace sim {
namespace {

using kelvo::JSONNode;
using kelvo::JSONValue;
using kelvo::JSONWriter;

/// A desktop's socket that writes down every request and answers each with `answer(id)`, or
/// with nothing once `stop()` has closed it.
class RecordingDesktop {
  public:
    explicit RecordingDesktop(std::function<JSONValue(const JSONValue& id)> answer)
        : answer_(std::move(answer)) {
        server_ = std::make_unique<SocketServer>(path(), SocketServer::Limits{}, "{}");
        server_->start({
            .connected = {},
            .line = [this](SocketServer::ClientID client, std::string line) { take(client, line); },
            .disconnected = {},
        });
    }

    std::string path() const { return (folder_.path() / "desktop.sock").string(); }
    std::vector<std::string> lines() {
        std::lock_guard lock(mutex_);
        return lines_;
    }
    void stop() { server_.reset(); }
    /// Pushes an event line to the client that spoke last.
    void push(const std::string& line) {
        std::lock_guard lock(mutex_);
        if (client_) server_->send(*client_, line);
    }

  private:
    void take(SocketServer::ClientID client, const std::string& line) {
        const JSONValue request = JSONNode::parse(line);
        {
            std::lock_guard lock(mutex_);
            lines_.push_back(line);
            client_ = client;
        }
        if (request.contains("id"))
            server_->send(client, JSONWriter::write(answer_(request["id"])));
    }

    kelvo::testing::TemporaryFolder folder_;
    std::function<JSONValue(const JSONValue&)> answer_;
    std::mutex mutex_;
    std::vector<std::string> lines_;
    std::optional<SocketServer::ClientID> client_;
    std::unique_ptr<SocketServer> server_;
};

JSONValue emptyResult(const JSONValue& id) {
    return {{"id", id}, {"result", JSONValue::object()}};
}

JSONValue refusal(const JSONValue& id) {
    return {{"error", "refused"}, {"id", id}};
}

// The lines below are the socket's messages as every client and the server have always
// written them: a change here breaks every program that speaks to a desktop.

const std::string ownWindow =
    R"({"alpha":1,"background":{"alpha":0,"blue":0,"green":0,"red":0},)"
    R"("borderColour":{"alpha":0,"blue":0,"green":0,"red":0},"borderWidth":0,"closable":false,)"
    R"("cornerRadius":0,"frame":{"height":0,"width":0,"x":0,"y":0},"ignoresMouseEvents":false,)"
    R"("key":false,"level":0,"menu":false,"nonactivating":false,"opacity":1,"title":""})";
const std::string keyEvent =
    R"({"autorepeat":false,"flags":0,"keyCode":18,"location":{"x":0,"y":0},"type":10})";

TEST(DesktopOperations, EveryCallOfTheConnectionKeepsItsRequestLine) {
    RecordingDesktop desktop(emptyResult);
    SocketConnection connection(desktop.path());
    const ElementID element{3};
    InputEvent event;
    event.type = inputKeyDown;
    event.keyCode = 18;
    AlertSpec alert;
    alert.messageText = "Quit?";
    alert.buttons = {"OK"};

    connection.registerClient(ApplicationSpec{});
    connection.isTrusted();
    connection.checkTrust(true);
    connection.applicationElement(70000);
    connection.systemWideElement();
    connection.copyAttribute(element, "AXRole", 1.5);
    connection.copyAttributes(element, {"AXPosition", "AXSize"}, 0.25);
    connection.setAttribute(element, "AXPosition", CGPoint{1, 2}, 6);
    connection.isAttributeSettable(element, "AXSize", 2);
    connection.performAction(element, "AXRaise", 1);
    connection.elementPid(element);
    connection.windowNumber(element);
    connection.createObserver(70000);
    connection.addNotification(4, element, "AXWindowMoved");
    connection.removeNotification(4, element, "AXWindowMoved");
    connection.releaseObserver(4);
    connection.windowList(1, 100);
    connection.displays();
    connection.runningApplications();
    connection.application(70000);
    connection.frontmostApplication();
    connection.activateApplication(70000, true);
    connection.hideApplication(70000);
    connection.unhideApplication(70000);
    connection.terminateApplication(70000);
    connection.setActivationPolicy(70000, ActivationPolicy::accessory);
    connection.applicationLocation("com.example.app");
    connection.openApplication("/Applications/A.app");
    connection.createTap(TapSpec{});
    connection.enableTap(9, false);
    connection.isTapEnabled(9);
    connection.releaseTap(9);
    connection.answerTapEvent(TapAnswer{5, std::nullopt});
    connection.postEvent(event, tapSession);
    connection.postEventToPid(event, 70000);
    connection.pressedMouseButtons();
    connection.pointerLocation();
    connection.modifierFlags();
    connection.createOwnWindow(OwnWindowSpec{});
    connection.updateOwnWindow(120, OwnWindowSpec{});
    connection.orderOwnWindow(120, true);
    connection.closeOwnWindow(120);
    connection.runAlert(alert);
    connection.bootTime();
    connection.operatingSystemVersion();
    connection.activateFileViewer({"/tmp/a"});
    connection.copyPreference("com.kelvo", "k");
    connection.writePreference("com.kelvo", "k", PreferenceData::makeBoolean(true));
    connection.writePreference("com.kelvo", "k", std::nullopt);
    connection.synchronizePreferences("com.kelvo");
    const std::uint32_t black = 0xFF000000;
    connection.drawOwnWindow(OwnWindowContent{120, WindowPicture::pack(&black, 1, 1, 1), {}, {}});
    connection.createStatusItem(StatusItemSpec{22, {}, true, "Kelvo", "tip"});
    connection.updateStatusItem(9, StatusItemSpec{});
    connection.statusItemFrame(9);
    connection.removeStatusItem(9);

    const std::vector<std::string> expected = {
        R"({"args":{"activationPolicy":0,"bundleID":"com.example.app","executablePath":"","name":"App"},"id":1,"op":"registerClient"})",
        R"({"args":{},"id":2,"op":"isTrusted"})",
        R"({"args":{"prompt":true},"id":3,"op":"checkTrust"})",
        R"({"args":{"pid":70000},"id":4,"op":"applicationElement"})",
        R"({"args":{},"id":5,"op":"systemWideElement"})",
        R"({"args":{"attribute":"AXRole","element":3,"timeout":1.5},"id":6,"op":"copyAttribute"})",
        R"({"args":{"attributes":["AXPosition","AXSize"],"element":3,"timeout":0.25},"id":7,"op":"copyAttributes"})",
        R"({"args":{"attribute":"AXPosition","element":3,"timeout":6,"value":{"point":{"x":1,"y":2}}},"id":8,"op":"setAttribute"})",
        R"({"args":{"attribute":"AXSize","element":3,"timeout":2},"id":9,"op":"isAttributeSettable"})",
        R"({"args":{"action":"AXRaise","element":3,"timeout":1},"id":10,"op":"performAction"})",
        R"({"args":{"element":3},"id":11,"op":"elementPid"})",
        R"({"args":{"element":3},"id":12,"op":"windowNumber"})",
        R"({"args":{"pid":70000},"id":13,"op":"createObserver"})",
        R"({"args":{"element":3,"notification":"AXWindowMoved","observer":4},"id":14,"op":"addNotification"})",
        R"({"args":{"element":3,"notification":"AXWindowMoved","observer":4},"id":15,"op":"removeNotification"})",
        R"({"args":{"observer":4},"id":16,"op":"releaseObserver"})",
        R"({"args":{"options":1,"relativeTo":100},"id":17,"op":"windowList"})",
        R"({"args":{},"id":18,"op":"displays"})",
        R"({"args":{},"id":19,"op":"runningApplications"})",
        R"({"args":{"pid":70000},"id":20,"op":"application"})",
        R"({"args":{},"id":21,"op":"frontmostApplication"})",
        R"({"args":{"allWindows":true,"pid":70000},"id":22,"op":"activateApplication"})",
        R"({"args":{"pid":70000},"id":23,"op":"hideApplication"})",
        R"({"args":{"pid":70000},"id":24,"op":"unhideApplication"})",
        R"({"args":{"pid":70000},"id":25,"op":"terminateApplication"})",
        R"({"args":{"pid":70000,"policy":1},"id":26,"op":"setActivationPolicy"})",
        R"({"args":{"bundleID":"com.example.app"},"id":27,"op":"applicationLocation"})",
        R"({"args":{"bundlePath":"\/Applications\/A.app"},"id":28,"op":"openApplication"})",
        R"({"args":{"eventsOfInterest":0,"location":1,"options":0,"placement":0},"id":29,"op":"createTap"})",
        R"({"args":{"enabled":false,"tap":9},"id":30,"op":"enableTap"})",
        R"({"args":{"tap":9},"id":31,"op":"isTapEnabled"})",
        R"({"args":{"tap":9},"id":32,"op":"releaseTap"})",
        R"({"args":{"delivery":5},"op":"answerTapEvent"})",
        R"({"args":{"event":)" + keyEvent + R"(,"location":1},"id":33,"op":"postEvent"})",
        R"({"args":{"event":)" + keyEvent + R"(,"pid":70000},"id":34,"op":"postEventToPid"})",
        R"({"args":{},"id":35,"op":"pressedMouseButtons"})",
        R"({"args":{},"id":36,"op":"pointerLocation"})",
        R"({"args":{},"id":37,"op":"modifierFlags"})",
        R"({"args":{"spec":)" + ownWindow + R"(},"id":38,"op":"createOwnWindow"})",
        R"({"args":{"number":120,"spec":)" + ownWindow + R"(},"id":39,"op":"updateOwnWindow"})",
        R"({"args":{"front":true,"number":120},"id":40,"op":"orderOwnWindow"})",
        R"({"args":{"number":120},"id":41,"op":"closeOwnWindow"})",
        R"({"args":{"alert":{"buttons":["OK"],"informativeText":"","messageText":"Quit?"}},"id":42,"op":"runAlert"})",
        R"({"args":{},"id":43,"op":"bootTime"})",
        R"({"args":{},"id":44,"op":"operatingSystemVersion"})",
        R"({"args":{"paths":["\/tmp\/a"]},"id":45,"op":"activateFileViewer"})",
        R"({"args":{"domain":"com.kelvo","key":"k"},"id":46,"op":"copyPreference"})",
        R"({"args":{"domain":"com.kelvo","key":"k","value":{"bool":true}},"id":47,"op":"writePreference"})",
        R"({"args":{"domain":"com.kelvo","key":"k"},"id":48,"op":"writePreference"})",
        R"({"args":{"domain":"com.kelvo"},"id":49,"op":"synchronizePreferences"})",
        R"({"args":{"drawing":{"height":1,"packed":"AAAAAAD_","width":1},"elements":[],"menu":[],"number":120},"op":"drawOwnWindow"})",
        R"({"args":{"spec":{"image":{"height":0,"packed":"","width":0},"imageIsTemplate":true,"label":"Kelvo","length":22,"toolTip":"tip"}},"id":50,"op":"createStatusItem"})",
        R"({"args":{"item":9,"spec":{"image":{"height":0,"packed":"","width":0},"imageIsTemplate":false,"label":"","length":0,"toolTip":""}},"id":51,"op":"updateStatusItem"})",
        R"({"args":{"item":9},"id":52,"op":"statusItemFrame"})",
        R"({"args":{"item":9},"id":53,"op":"removeStatusItem"})",
    };
    const auto lines = desktop.lines();
    ASSERT_EQ(lines.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i)
        EXPECT_EQ(lines[i], expected[i]);
}

// The pressed buttons are asked once; then the desktop's word of a press or release keeps them.
TEST(DesktopOperations, ThePressedButtonsAreAnsweredFromWhatTheDesktopSaid) {
    RecordingDesktop desktop([](const JSONValue& id) {
        return JSONValue{{"id", id}, {"result", {{"buttons", 0}}}};
    });
    SocketConnection connection(desktop.path());
    EXPECT_EQ(connection.pressedMouseButtons(), 0u);
    EXPECT_EQ(connection.pressedMouseButtons(), 0u);
    EXPECT_EQ(desktop.lines().size(), 1u);

    desktop.push(DesktopMessages::event(MouseButtonsChanged{1}));
    EXPECT_TRUE(kelvo::testing::eventually([&] { return connection.pressedMouseButtons() == 1; }));
    desktop.push(DesktopMessages::event(MouseButtonsChanged{0}));
    EXPECT_TRUE(kelvo::testing::eventually([&] { return connection.pressedMouseButtons() == 0; }));
    EXPECT_EQ(desktop.lines().size(), 1u) << "told, not asked";
}

// An element stands for one window while it exists: its number is asked until it is told.
TEST(DesktopOperations, AnElementsWindowNumberIsAskedUntilItIsTold) {
    std::atomic<int> asked = 0;
    RecordingDesktop desktop([&asked](const JSONValue& id) {
        const int error = asked++ == 0 ? static_cast<int>(AccessError::cannotComplete) : 0;
        return JSONValue{{"id", id}, {"result", {{"error", error}, {"number", 130}}}};
    });
    SocketConnection connection(desktop.path());
    const ElementID element = ElementID::of(70000, 5);
    EXPECT_EQ(connection.windowNumber(element).error, AccessError::cannotComplete);
    EXPECT_EQ(connection.windowNumber(element).number, 130u);
    EXPECT_EQ(connection.windowNumber(element).number, 130u);
    EXPECT_EQ(desktop.lines().size(), 2u);
}

TEST(DesktopOperations, TheApplicationsAndTheCommandLinesRequestsKeepTheirLines) {
    RecordingDesktop desktop([](const JSONValue& id) {
        return JSONValue{{"id", id}, {"result", {{"number", 130}}}};
    });
    LineClient lines(desktop.path());
    lines.start({});
    DesktopClient client(lines);

    client.reserveWindowNumber(std::nullopt);
    client.setMinimized(130, true);
    client.moveWindow(130, CGRect(10, 20, 300, 200));
    client.focusWindow(130);
    client.closeWindow(130);
    client.hideSelf(std::nullopt);
    client.unhideSelf(70001);
    client.activateSelf(std::nullopt);
    client.key(18, 524288);
    client.click(10, 20.5, 0);
    client.pointer(10, 20);
    client.activate(70000);
    client.hide(70000);
    client.unhide(70000);
    client.trust(false);
    client.answerAlerts({"Cancel", "OK"});
    client.shutdown();

    const std::vector<std::string> expected = {
        R"({"args":{},"id":1,"op":"reserveWindowNumber"})",
        R"({"args":{"minimized":true,"number":130},"id":2,"op":"setMinimized"})",
        R"({"args":{"frame":{"height":200,"width":300,"x":10,"y":20},"number":130},"id":3,"op":"moveWindow"})",
        R"({"args":{"number":130},"id":4,"op":"focusWindow"})",
        R"({"args":{"number":130},"id":5,"op":"closeWindow"})",
        R"({"args":{},"id":6,"op":"hideSelf"})",
        R"({"args":{"pid":70001},"id":7,"op":"unhideSelf"})",
        R"({"args":{},"id":8,"op":"activateSelf"})",
        R"({"args":{"flags":524288,"keyCode":18},"id":9,"op":"key"})",
        R"({"args":{"flags":0,"x":10,"y":20.5},"id":10,"op":"click"})",
        R"({"args":{"x":10,"y":20},"id":11,"op":"pointer"})",
        R"({"args":{"pid":70000},"id":12,"op":"activate"})",
        R"({"args":{"pid":70000},"id":13,"op":"hide"})",
        R"({"args":{"pid":70000},"id":14,"op":"unhide"})",
        R"({"args":{"trusted":false},"id":15,"op":"trust"})",
        R"({"args":{"buttons":["Cancel","OK"]},"id":16,"op":"answerAlerts"})",
        R"({"args":{},"id":17,"op":"shutdown"})",
    };
    EXPECT_EQ(desktop.lines(), expected);
}

/// Every operation of the connection with arguments of no particular value, its answer
/// written as the server writes results.
std::vector<std::string> answersOf(DesktopConnection& connection) {
    std::vector<std::string> answers;
    const auto ask = [&]<class Reply, class... Parameters>(
                         const OperationForm& form,
                         Reply (DesktopConnection::*method)(Parameters...)) {
        std::tuple<std::decay_t<Parameters>...> arguments;
        const auto call = [&] {
            return std::apply([&](auto&... values) { return (connection.*method)(values...); },
                              arguments);
        };
        if constexpr (std::is_void_v<Reply>) {
            call();
        } else {
            answers.push_back(std::string(form.name) + " " +
                              JSONWriter::write(coding::encodeResult(form, call())));
        }
    };
#define DESKTOP_OPERATION(Reply, name, ...) ask(operation::name, &DesktopConnection::name);
#include "Simulator/DesktopOperations.def"
    return answers;
}

TEST(DesktopOperations, ADesktopThatRefusesOrIsGoneAnswersAsNoDesktop) {
    DisconnectedConnection none;
    const auto unanswered = answersOf(none);
    ASSERT_FALSE(unanswered.empty());
    EXPECT_NE(std::find(unanswered.begin(), unanswered.end(), R"(runAlert {"answer":-1001})"),
              unanswered.end());
    EXPECT_NE(std::find(unanswered.begin(), unanswered.end(),
                        R"(copyAttribute {"error":-25204,"value":{}})"),
              unanswered.end());

    RecordingDesktop desktop(refusal);
    SocketConnection connection(desktop.path());
    EXPECT_EQ(answersOf(connection), unanswered) << "refused";
    desktop.stop();
    EXPECT_EQ(answersOf(connection), unanswered) << "gone";
}

class DesktopOperationsServed : public kelvo::DesktopFixture {};

TEST_F(DesktopOperationsServed, TheServerCarriesOutEveryOperationOfTheList) {
    DesktopService service(desktop);
    ServedClient client;
    client.desktopClient = desktop->attach([](const DesktopEvent&) {});
    for (const OperationForm* form : operation::all) {
        const std::string op(form->name);
        try {
            service.handle(client, DesktopRequest{1, op, JSONValue::object()});
        } catch (const RequestFailure& failure) {
            EXPECT_NE(std::string(failure.what()), "unknown op " + op);
        }
    }
    service.leave(client);
}

/// The message header's documentation of the operations, one line per documented operation.
std::vector<std::string> documentedOperations() {
    std::ifstream header(KELVO_TESTS_DIR "/../Sources/Simulator/Server/DesktopMessages.h");
    std::vector<std::string> lines;
    for (std::string line; std::getline(header, line);) {
        if (line.rfind("//     ", 0) == 0 && line.find("->") != std::string::npos) {
            lines.push_back(line);
        }
    }
    return lines;
}

TEST(DesktopOperations, TheMessageHeaderDocumentsEveryOperationWithItsKeys) {
    const auto documented = documentedOperations();
    ASSERT_FALSE(documented.empty());
    for (const OperationForm* form : operation::all) {
        const std::regex named("\\b" + std::string(form->name) + "\\b");
        const auto line = std::find_if(documented.begin(), documented.end(), [&](const auto& l) {
            return std::regex_search(l.substr(0, l.find('{')), named);
        });
        ASSERT_NE(line, documented.end()) << form->name << " is not documented";
        const std::string arguments = line->substr(0, line->find("->"));
        const std::string result = line->substr(line->find("->"));
        if (form->request == RequestForm::named) {
            for (std::size_t i = 0; i < form->keys.size(); ++i) {
                const std::string key = "\"" + std::string(form->keys[i]) + "\"";
                EXPECT_NE(arguments.find(key), std::string::npos) << form->name << " " << key;
            }
        }
        if (form->reply.kind == ReplyForm::Kind::key) {
            const std::string key = "\"" + std::string(form->reply.key) + "\"";
            EXPECT_NE(result.find(key), std::string::npos) << form->name << " " << key;
        }
    }
}

TEST(DesktopOperations, ArgumentKeysAreTheNamesOfTheList) {
    static_assert(operation::copyAttribute.keys.size() == 3);
    EXPECT_EQ(operation::copyAttribute.keys[0], "element");
    EXPECT_EQ(operation::copyAttribute.keys[2], "timeout");
    EXPECT_EQ(operation::isTrusted.keys.size(), 0u);
    EXPECT_EQ(operation::click.keys[2], "flags");
    std::set<std::string_view> names;
    for (const OperationForm* form : operation::all)
        EXPECT_TRUE(names.insert(form->name).second) << form->name << " is listed twice";
}

}  // namespace
}  // namespace sim
