#include "Support/EndToEnd/EndToEndTest.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <fstream>

#include "Base/JSON/JSONDecoder.h"
#include "KelvoCore/Wire/WireRect.h"

namespace kelvo::testing {

namespace {

CGRect rectOf(const JSONNode& node) {
    return node.decode<WireRect>().rect();
}

std::string nameOf(const std::string& bundleID) {
    const auto dot = bundleID.rfind('.');
    std::string name = dot == std::string::npos ? bundleID : bundleID.substr(dot + 1);
    if (!name.empty()) name[0] = static_cast<char>(std::toupper(name[0]));
    return name;
}

}  // namespace

EndToEndTest::EndToEndTest(std::vector<std::string> serveArguments)
    : desktop_(startDesktop(std::move(serveArguments))) {}

std::unique_ptr<DesktopProcess> EndToEndTest::startDesktop(
    std::vector<std::string> serveArguments) {
    if (serveArguments.empty()) serveArguments = {"--display", "1920x1080"};
    return std::make_unique<DesktopProcess>(KELVO_SIM_PROGRAM, serveArguments);
}

void EndToEndTest::restartDesktop(std::vector<std::string> serveArguments) {
    kelvo_.reset();
    apps_.clear();
    desktop_.reset();
    desktop_ = startDesktop(std::move(serveArguments));
}

void EndToEndTest::TearDown() {
    if (!HasFailure() || !kelvo_) return;
    const auto messages = kelvo_->logMessages();
    const std::size_t shown = std::min<std::size_t>(messages.size(), lastLogLines);
    std::string tail;
    for (std::size_t i = messages.size() - shown; i < messages.size(); ++i)
        tail += "    " + messages[i] + "\n";
    ADD_FAILURE() << "the end of Kelvo's log"
                  << (kelvo_->responsive() ? "" : " (it stopped answering)") << ":\n"
                  << tail;
}

sim::testing::FixtureProcess& EndToEndTest::app(const std::string& bundleID) {
    auto& slot = apps_[bundleID];
    if (!slot) {
        slot = std::make_unique<sim::testing::FixtureProcess>(
            *desktop_,
            std::vector<std::string>{"--bundle-id", bundleID, "--name", nameOf(bundleID)});
        const auto reply = slot->request(FixtureRequest::ping());
        EXPECT_TRUE(reply.ok) << bundleID << " did not start";
    }
    return *slot;
}

std::uint32_t EndToEndTest::open(const std::string& bundleID, const CGRect& frame,
                                 FixtureQuirk quirk, const std::string& title) {
    auto& fixture = app(bundleID);
    auto request = fixture.open(quirk, frame);
    if (!title.empty()) request.title = title;
    const auto reply = fixture.request(request);
    EXPECT_TRUE(reply.ok && reply.window) << bundleID << " could not open a window";
    const std::uint32_t number = reply.window.value_or(0);
    EXPECT_TRUE(eventually([&] { return window(number).has_value(); }))
        << "window " << number << " never appeared";
    return number;
}

void EndToEndTest::tell(const std::string& bundleID, FixtureRequest request) {
    const auto reply = app(bundleID).request(request);
    EXPECT_TRUE(reply.ok) << request.op << " to " << bundleID << ": "
                          << reply.error.value_or("no error text");
}

std::unique_ptr<KelvoProcess> EndToEndTest::launchKelvo(const KelvoProcess::Options& options,
                                                        const std::filesystem::path& program) {
    return std::make_unique<KelvoProcess>(program.empty() ? KELVO_APP_PROGRAM : program.string(),
                                          options,
                                          folder_ / ("home-" + std::to_string(++launches_)));
}

KelvoProcess& EndToEndTest::startKelvo(std::map<std::string, std::string> environment) {
    return startKelvoProcess(std::move(environment), {});
}

KelvoProcess& EndToEndTest::startKelvoFrom(const std::filesystem::path& program) {
    return startKelvoProcess({}, program);
}

KelvoProcess& EndToEndTest::startKelvoProcess(std::map<std::string, std::string> environment,
                                              const std::filesystem::path& program) {
    KelvoProcess::Options options;
    options.desktop = desktop_->environment();
    options.testFolder = kelvoFolder();
    options.environment = std::move(environment);
    kelvo_ = launchKelvo(options, program);
    const auto reply = kelvo_->ping();
    EXPECT_TRUE(reply.ok) << "Kelvo did not answer ping: " << reply.error.value_or("")
                          << "\nits standard error:\n"
                          << kelvo_->standardError();
    return *kelvo_;
}

void EndToEndTest::writeConfig(const std::string& json) const {
    std::filesystem::create_directories(kelvoFolder());
    std::ofstream(kelvoFolder() / "config.json") << json;
}

std::vector<DesktopWindow> EndToEndTest::windows() {
    std::vector<DesktopWindow> result;
    for (const auto& line : desktop_->lines({"windows"})) {
        const JSONValue document = JSONNode::parse(line);
        const JSONNode node(document);
        DesktopWindow w;
        w.number = node["number"].integer<std::uint32_t>();
        w.pid = node["pid"].integer<int>();
        if (auto bundle = node.optional("bundleID")) w.bundleID = bundle->string();
        w.title = node["title"].string();
        w.frame = rectOf(node["frame"]);
        w.minimized = node["minimized"].boolean();
        w.onScreen = node["onScreen"].boolean();
        w.layer = node["layer"].integer<int>();
        result.push_back(w);
    }
    return result;
}

std::optional<DesktopWindow> EndToEndTest::window(std::uint32_t number) {
    for (const auto& w : windows())
        if (w.number == number) return w;
    return std::nullopt;
}

std::vector<DesktopWindow> EndToEndTest::windowsOf(const std::string& bundleID) {
    std::vector<DesktopWindow> found;
    for (const auto& w : windows())
        if (w.bundleID == bundleID) found.push_back(w);
    return found;
}

std::vector<std::string> EndToEndTest::interfaceLabels() {
    std::vector<std::string> found;
    for (const std::string& line :
         desktop_->lines({"ui", "--pid", std::to_string(kelvo_->pid())})) {
        const JSONValue element = JSONNode::parse(line);
        if (element.contains("label")) found.push_back(element["label"].get<std::string>());
    }
    return found;
}

bool EndToEndTest::interfaceShows(const std::string& label) {
    const auto found = interfaceLabels();
    return std::find(found.begin(), found.end(), label) != found.end();
}

std::vector<DesktopDisplay> EndToEndTest::displays() {
    std::vector<DesktopDisplay> result;
    for (const auto& line : desktop_->lines({"displays"})) {
        const JSONValue document = JSONNode::parse(line);
        const JSONNode node(document);
        result.push_back({node["id"].integer<std::uint32_t>(), rectOf(node["frame"]),
                          rectOf(node["visibleFrame"])});
    }
    return result;
}

std::string EndToEndTest::frontApplication() {
    for (const std::string& line : desktop_->lines({"apps"})) {
        const JSONValue app = JSONNode::parse(line);
        if (app["active"].get<bool>() && app.contains("bundleID"))
            return app["bundleID"].get<std::string>();
    }
    return "";
}

bool EndToEndTest::key(const std::string& chord) {
    return desktop_->run({"key", chord}).status == 0;
}

bool EndToEndTest::near(const CGRect& a, const CGRect& b) {
    return std::abs(a.origin.x - b.origin.x) <= tolerance &&
           std::abs(a.origin.y - b.origin.y) <= tolerance &&
           std::abs(a.size.width - b.size.width) <= tolerance &&
           std::abs(a.size.height - b.size.height) <= tolerance;
}

std::vector<KelvoTestWindowRecord> EndToEndTest::records(
    const std::vector<std::uint32_t>& numbers) {
    return kelvo_->state(ids(numbers)).windows.value_or(std::vector<KelvoTestWindowRecord>{});
}

CGRect EndToEndTest::tile(std::uint32_t number) {
    const auto r = records({number});
    return r.size() == 1 && r[0].frame ? r[0].frame->rect() : CGRect::null();
}

std::pair<std::uint32_t, std::uint32_t> EndToEndTest::leftAndRight(std::uint32_t a,
                                                                   std::uint32_t b) {
    const auto placed = records({a, b});
    const bool tiled = placed.size() == 2 && placed[0].frame && placed[1].frame;
    EXPECT_TRUE(tiled) << "Kelvo has no tile for " << a << " or " << b;
    if (!tiled || placed[0].frame->x < placed[1].frame->x) return {a, b};
    return {b, a};
}

bool EndToEndTest::settled(const std::vector<std::uint32_t>& numbers) {
    std::vector<DesktopWindow> previous;
    bool still = false;
    eventually([&] {
        const auto reply = kelvo_->state(ids(numbers));
        if (!kelvo_->responsive()) return true;
        if (!reply.ok || !reply.windows) return false;
        const auto now = windows();
        for (const auto& record : *reply.windows) {
            if (record.desktop != reply.activeDesktop || !record.frame) continue;
            const auto it = std::find_if(now.begin(), now.end(),
                                         [&](const auto& w) { return w.number == record.id; });
            if (it == now.end() || !near(it->frame, record.frame->rect())) return false;
        }
        // Two equal readings in a row: nothing is still on its way.
        still =
            previous.size() == now.size() &&
            std::equal(now.begin(), now.end(), previous.begin(), [](const auto& a, const auto& b) {
                return a.number == b.number && near(a.frame, b.frame) && a.minimized == b.minimized;
            });
        previous = now;
        return still;
    });
    return still;
}

bool EndToEndTest::everyWindowOnADisplay() {
    const auto screens = displays();
    for (const auto& w : windows()) {
        const CGPoint centre{w.frame.midX(), w.frame.midY()};
        const bool shown = std::any_of(screens.begin(), screens.end(),
                                       [&](const auto& d) { return d.frame.contains(centre); });
        if (w.minimized || !shown) return false;
    }
    return true;
}

bool EndToEndTest::tilesFillTheScreen(const std::vector<std::uint32_t>& numbers) {
    const CGRect screen = displays().at(0).visibleFrame;
    const auto placed = records(numbers);
    if (placed.size() != numbers.size()) return false;
    double area = 0;
    for (std::size_t i = 0; i < placed.size(); ++i) {
        if (!placed[i].frame) return false;
        const CGRect tile = placed[i].frame->rect();
        if (screen.intersection(tile) != tile) return false;
        for (std::size_t j = 0; j < i; ++j)
            if (!tile.intersection(placed[j].frame->rect()).isEmpty()) return false;
        area += tile.size.width * tile.size.height;
    }
    return std::abs(area - screen.size.width * screen.size.height) <= tolerance;
}

}  // namespace kelvo::testing
