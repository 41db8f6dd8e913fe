#include <cmath>

#include "Base/JSON/JSONDecoder.h"
#include "Simulator/Server/SocketConnection.h"
#include "Support/Base/PNGPixels.h"
#include "Support/EndToEnd/EndToEndTest.h"

namespace kelvo::testing {
namespace {

// A process's own windows on the desktop, across processes: the small panel client (a key
// panel with a field, a titled window, a status item with a menu) beside the desktop, driven
// by kelvo-sim as a person would, and what reaches the client read from its report lines.
class OwnInterfaceTest : public EndToEndTest {
  protected:
    OwnInterfaceTest() {
        client_ = std::make_unique<ChildProcess>(std::vector<std::string>{KELVO_PANEL_PROGRAM},
                                                 desktop().environment());
        const auto ready = report("ready");
        EXPECT_TRUE(ready);
        if (!ready) return;
        panelNumber = (*ready)["panel"].get<std::uint32_t>();
        windowNumber = (*ready)["window"].get<std::uint32_t>();
    }

    /// The next report of that event, reading past others (kept for `reports`).
    std::optional<JSONValue> report(const std::string& event) {
        for (std::size_t i = 0; i < unread_.size(); ++i) {
            if (unread_[i]["event"] == event) {
                JSONValue found = unread_[i];
                unread_.erase(unread_.begin() + static_cast<long>(i));
                return found;
            }
        }
        while (const auto line = client_->readLine()) {
            JSONValue value = JSONNode::parse(*line);
            if (value["event"] == event) return value;
            unread_.push_back(std::move(value));
        }
        return std::nullopt;
    }
    /// The client heard that its settings window closes, and the desktop no longer shows it.
    void expectTheWindowClosed() {
        const auto closed = report("windowWillClose");
        ASSERT_TRUE(closed);
        EXPECT_EQ((*closed)["title"], "Panel Client Settings");
        EXPECT_TRUE(eventually([&] {
            const auto shown = window(windowNumber);
            return shown && !shown->onScreen;
        }));
    }
    /// How many reports of that event came so far (reading what is there now).
    int count(const std::string& event) {
        while (const auto line = client_->readLine(std::chrono::milliseconds(300)))
            unread_.push_back(JSONNode::parse(*line));
        int n = 0;
        for (const auto& value : unread_)
            n += value["event"] == event ? 1 : 0;
        return n;
    }

    std::vector<JSONValue> listed(std::vector<std::string> verb) {
        std::vector<JSONValue> values;
        for (const auto& line : desktop().lines(std::move(verb)))
            values.push_back(JSONNode::parse(line));
        return values;
    }
    std::vector<std::string> menuTitles() {
        std::vector<std::string> titles;
        for (const auto& item : listed({"menu"}))
            titles.push_back(item["title"].get<std::string>());
        return titles;
    }
    static std::string number(double value) { return std::to_string(static_cast<int>(value)); }
    static CGRect rect(const JSONValue& frame) {
        return CGRect(frame["x"].get<double>(), frame["y"].get<double>(),
                      frame["width"].get<double>(), frame["height"].get<double>());
    }
    int clientPid() const { return client_->pid(); }

    std::uint32_t panelNumber = 0;
    std::uint32_t windowNumber = 0;

  private:
    std::unique_ptr<ChildProcess> client_;
    std::vector<JSONValue> unread_;
};

TEST_F(OwnInterfaceTest, ARightClickOnTheStatusItemOpensItsMenuWhosePickRunsTheActionOnce) {
    const auto items = listed({"statusitems"});
    ASSERT_EQ(items.size(), 1u);
    EXPECT_EQ(items[0]["label"], "Panel client");
    EXPECT_EQ(items[0]["toolTip"], "Right-click for the menu");
    EXPECT_EQ(items[0]["pid"], clientPid());
    const CGRect frame = rect(items[0]["frame"]);
    EXPECT_EQ(frame.minY(), 0);
    EXPECT_NEAR(frame.maxX(), 1920 - 10, tolerance) << "the first item stands at the right";
    const std::string x = number(frame.midX()), y = number(frame.midY());

    // A plain click sends the action, which opens nothing.
    EXPECT_EQ(desktop().run({"click", x, y}).status, 0);
    EXPECT_TRUE(report("leftClick"));
    EXPECT_TRUE(menuTitles().empty());

    EXPECT_EQ(desktop().run({"click", x, y, "--right"}).status, 0);
    EXPECT_TRUE(report("menuOpens"));
    std::vector<JSONValue> shown;
    ASSERT_TRUE(eventually([&] { return !(shown = listed({"menu"})).empty(); }));
    ASSERT_EQ(shown.size(), 5u);
    EXPECT_EQ(shown[0]["title"], "Show Window");
    EXPECT_EQ(shown[1]["title"], "Count");
    EXPECT_EQ(shown[2]["separator"], true);
    EXPECT_EQ(shown[3]["enabled"], false);
    EXPECT_EQ(shown[4]["title"], "Quit Panel Client");
    EXPECT_EQ(desktop().run({"menu", "pick", "Unavailable"}).status, 1) << "a disabled item";

    EXPECT_EQ(desktop().run({"menu", "pick", "Count"}).status, 0);
    const auto action = report("action");
    ASSERT_TRUE(action);
    EXPECT_EQ((*action)["name"], "count");
    EXPECT_EQ((*action)["count"], 1);
    EXPECT_TRUE(report("menuClosed"));
    EXPECT_TRUE(eventually([&] { return menuTitles().empty(); }));
    EXPECT_EQ(desktop().run({"menu", "pick", "Count"}).status, 1) << "no menu is open";
    EXPECT_EQ(count("action"), 0) << "the pick ran the action once";

    // Escape closes the menu without a pick; so does a click outside it.
    desktop().run({"click", x, y, "--mods", "ctrl"});
    ASSERT_TRUE(eventually([&] { return !menuTitles().empty(); }));
    EXPECT_TRUE(key("escape"));
    EXPECT_TRUE(eventually([&] { return menuTitles().empty(); }));
    desktop().run({"click", x, y, "--right"});
    ASSERT_TRUE(eventually([&] { return !menuTitles().empty(); }));
    desktop().run({"click", "600", "700"});
    EXPECT_TRUE(eventually([&] { return menuTitles().empty(); }));
    EXPECT_EQ(count("action"), 0);
}

TEST_F(OwnInterfaceTest, TypedTextReachesTheKeyPanelsFieldWhileAnotherApplicationStaysInFront) {
    const int notesPid = pidOf(notes);
    open(notes, CGRect(100, 100, 600, 400));
    ASSERT_EQ(desktop().run({"activate", std::to_string(notesPid)}).status, 0);

    ASSERT_EQ(desktop().run({"type", "fire fox"}).status, 0);
    std::optional<JSONValue> field;
    ASSERT_TRUE(eventually([&] {
        for (const auto& element : listed({"ui", "--pid", std::to_string(clientPid())}))
            if (element["role"] == "textField") field = element;
        return field && (*field)["value"] == "fire fox";
    })) << (field ? field->dump() : "no field");
    EXPECT_EQ((*field)["identifier"], "query");
    EXPECT_EQ((*field)["focused"], true);
    EXPECT_EQ((*field)["window"], panelNumber);
    // The panel stands at x 200 with its top 300 + 400 points above the bottom of a 1080-point
    // screen; the field lies 20 points in from its left and top.
    EXPECT_TRUE(near(rect((*field)["frame"]), CGRect(220, 1080 - 700 + 20, 600, 60)))
        << (*field)["frame"].dump();

    bool notesInFront = false;
    for (const auto& app : listed({"apps"}))
        if (app["pid"] == notesPid) notesInFront = app["active"].get<bool>();
    EXPECT_TRUE(notesInFront);

    // Escape reaches the panel's cancel operation; every key-down passed the local monitor.
    EXPECT_TRUE(key("escape"));
    EXPECT_TRUE(report("cancelOperation"));
    EXPECT_EQ(count("monitor"), 9);
    EXPECT_TRUE(key("cmd+a"));
    const auto equivalent = report("keyEquivalent");
    ASSERT_TRUE(equivalent);
    EXPECT_EQ((*equivalent)["key"], "a");
}

TEST_F(OwnInterfaceTest, TheClientsKeyEquivalentsSelectCopyPasteAndUndoInTheFieldEditor) {
    const auto fieldValue = [&]() -> std::optional<JSONValue> {
        for (const auto& element : listed({"ui", "--pid", std::to_string(clientPid())}))
            if (element["role"] == "textField") return element["value"];
        return std::nullopt;
    };
    const auto shows = [&](const std::string& text) {
        return eventually([&] { return fieldValue() == JSONValue(text); });
    };
    ASSERT_EQ(desktop().run({"type", "fire fox"}).status, 0);
    ASSERT_TRUE(shows("fire fox"));

    // Select all and copy: the text is on the desktop's one pasteboard, for every process.
    ASSERT_TRUE(key("cmd+a"));
    ASSERT_TRUE(key("cmd+c"));
    sim::SocketConnection other(desktop().socketPath());
    EXPECT_TRUE(eventually([&] { return other.pasteboardString() == "fire fox"; }));
    // Paste at the end, undo it, redo it.
    ASSERT_TRUE(key("right"));
    ASSERT_TRUE(key("cmd+v"));
    EXPECT_TRUE(shows("fire foxfire fox"));
    ASSERT_TRUE(key("cmd+z"));
    EXPECT_TRUE(shows("fire fox"));
    ASSERT_TRUE(key("cmd+shift+z"));
    EXPECT_TRUE(shows("fire foxfire fox"));
    // A selection is replaced by what is typed next.
    ASSERT_TRUE(key("cmd+a"));
    ASSERT_EQ(desktop().run({"type", "safari"}).status, 0);
    EXPECT_TRUE(shows("safari")) << fieldValue().value_or("none").dump();
}

TEST_F(OwnInterfaceTest, TheCloseButtonClosesATitledWindowThroughItsDelegate) {
    EXPECT_EQ(desktop().run({"close", std::to_string(panelNumber)}).status, 1)
        << "a panel shows none";
    EXPECT_EQ(desktop().run({"close", std::to_string(windowNumber)}).status, 0);
    expectTheWindowClosed();
    EXPECT_EQ(desktop().run({"close", std::to_string(windowNumber)}).status, 1) << "closed already";
}

TEST_F(OwnInterfaceTest, AClickOnTheCloseButtonThatUiListsClosesTheWindowThroughItsDelegate) {
    std::optional<CGRect> close;
    std::vector<std::string> identifiers;
    ASSERT_TRUE(eventually([&] {
        identifiers.clear();
        for (const auto& element : listed({"ui", "--pid", std::to_string(clientPid())})) {
            if (element["window"] != windowNumber || element["role"] != "button") continue;
            if (!element.contains("identifier")) continue;
            identifiers.push_back(element["identifier"].get<std::string>());
            if (element["identifier"] == "close") close = rect(element["frame"]);
        }
        return close.has_value();
    }));
    EXPECT_EQ(identifiers[0], "close");
    EXPECT_EQ(identifiers[1], "minimize");
    EXPECT_EQ(identifiers[2], "zoom");
    ASSERT_EQ(desktop()
                  .run({"click", std::to_string(std::lround(close->midX())),
                        std::to_string(std::lround(close->midY()))})
                  .status,
              0);
    expectTheWindowClosed();
}

TEST_F(OwnInterfaceTest, AScreenshotShowsThePanelsPixelsAndTheStatusItemInTheMenuBar) {
    const auto items = listed({"statusitems"});
    ASSERT_EQ(items.size(), 1u);
    const CGRect item = rect(items[0]["frame"]);
    ASSERT_EQ(desktop().run({"type", "x"}).status, 0);
    const auto file = kelvoFolder().parent_path() / "own.png";
    std::optional<PNGPixels> picture;
    // The panel's background (sRGB 0.12, 0.13, 0.16) where nothing else is drawn.
    const Pixel background{31, 33, 41, 255};
    const auto near = [](const Pixel& a, const Pixel& b) {
        return std::abs(a.red - b.red) <= 1 && std::abs(a.green - b.green) <= 1 &&
               std::abs(a.blue - b.blue) <= 1 && a.alpha == b.alpha;
    };
    Pixel seen;
    ASSERT_TRUE(eventually([&] {
        if (desktop().run({"screenshot", file.string()}).status != 0) return false;
        picture.emplace(file);
        seen = picture->at(210, 1080 - 700 + 200);
        return near(seen, background);
    })) << seen.red
        << " " << seen.green << " " << seen.blue << " " << seen.alpha;
    // The status item's template circle in the bar's dark text colour, at its middle.
    const Pixel middle = picture->at(static_cast<int>(item.midX()), static_cast<int>(item.midY()));
    EXPECT_LT(middle.red, 60);
    EXPECT_LT(middle.green, 60);
}

}  // namespace
}  // namespace kelvo::testing
