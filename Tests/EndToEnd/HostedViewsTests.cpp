#include <cmath>

#include "Base/JSON/JSONDecoder.h"
#include "Support/EndToEnd/EndToEndTest.h"

namespace kelvo::testing {
namespace {

// Declarative views hosted in a window of another process: kelvo-sim reads their elements and
// clicks where they stand, as a person would, and the values bound to them change in the
// client, which reports them.
class HostedViewsTest : public EndToEndTest {
  protected:
    HostedViewsTest() {
        client_ = std::make_unique<ChildProcess>(
            std::vector<std::string>{KELVO_PANEL_PROGRAM, "--hosted"}, desktop().environment());
        const auto ready = nextReport("ready");
        EXPECT_TRUE(ready);
    }

    /// The next report of that event, reading past others.
    std::optional<JSONValue> nextReport(const std::string& event) {
        while (const auto line = client_->readLine()) {
            JSONValue value = JSONNode::parse(*line);
            if (value["event"] == event) return value;
        }
        return std::nullopt;
    }
    /// Reads states until one meets the condition; the last one read when none does.
    template <class Condition>
    JSONValue stateWhere(Condition condition) {
        JSONValue last;
        while (const auto state = nextReport("state")) {
            last = *state;
            if (condition(last)) break;
        }
        return last;
    }
    /// The centre of the first element of the client with that role (and label), on screen.
    std::optional<CGPoint> centreOf(const std::string& role, const std::string& label = "") {
        std::optional<CGPoint> found;
        eventually([&] {
            for (const auto& line :
                 desktop().lines({"ui", "--pid", std::to_string(client_->pid())})) {
                const JSONValue element = JSONNode::parse(line);
                if (element["role"] != role || (!label.empty() && element["label"] != label))
                    continue;
                const JSONValue& frame = element["frame"];
                found = CGPoint{frame["x"].get<double>() + frame["width"].get<double>() / 2,
                                frame["y"].get<double>() + frame["height"].get<double>() / 2};
                return true;
            }
            return false;
        });
        return found;
    }
    std::optional<CGRect> frameOf(const std::string& role) {
        for (const auto& line : desktop().lines({"ui", "--pid", std::to_string(client_->pid())})) {
            const JSONValue element = JSONNode::parse(line);
            if (element["role"] != role) continue;
            const JSONValue& frame = element["frame"];
            return CGRect(frame["x"].get<double>(), frame["y"].get<double>(),
                          frame["width"].get<double>(), frame["height"].get<double>());
        }
        return std::nullopt;
    }
    int click(CGPoint point) {
        return desktop()
            .run({"click", std::to_string(static_cast<int>(point.x)),
                  std::to_string(static_cast<int>(point.y))})
            .status;
    }

  private:
    std::unique_ptr<ChildProcess> client_;
};

TEST_F(HostedViewsTest, ClicksOnAButtonASwitchASliderASegmentAndAMenuPickerChangeTheBoundValues) {
    const auto button = centreOf("button", "Press");
    ASSERT_TRUE(button);
    ASSERT_EQ(click(*button), 0);
    EXPECT_EQ(stateWhere([](const JSONValue& s) { return s["presses"] == 1; })["presses"], 1);
    EXPECT_TRUE(centreOf("text", "Presses: 1")) << "the window shows the new value";

    const auto toggle = centreOf("switch");
    ASSERT_TRUE(toggle);
    ASSERT_EQ(click(*toggle), 0);
    EXPECT_EQ(stateWhere([](const JSONValue& s) { return s["on"] == true; })["on"], true);

    // A click three quarters along the slider's track.
    const auto track = frameOf("slider");
    ASSERT_TRUE(track);
    ASSERT_EQ(click({track->minX() + track->width() * 0.75, track->midY()}), 0);
    const double level =
        stateWhere([](const JSONValue& s) { return s["level"].get<double>() > 0; })["level"]
            .get<double>();
    EXPECT_NEAR(level, 75, 4);
    // A drag from there to a quarter along: the value follows the pointer and stays where the
    // button comes up.
    const auto at = [&](double fraction) {
        return std::to_string(static_cast<int>(track->minX() + track->width() * fraction));
    };
    const std::string y = std::to_string(static_cast<int>(track->midY()));
    ASSERT_EQ(desktop().run({"drag", at(0.75), y, at(0.25), y}).status, 0);
    // The drag's moves arrive one after another: wait for the value to come near its end.
    const auto nearTheEnd = [](const JSONValue& s) {
        return std::abs(s["level"].get<double>() - 25) <= 4;
    };
    EXPECT_NEAR(stateWhere(nearTheEnd)["level"].get<double>(), 25, 4);

    const auto segment = centreOf("button", "Stack");
    ASSERT_TRUE(segment);
    ASSERT_EQ(click(*segment), 0);
    EXPECT_EQ(stateWhere([](const JSONValue& s) { return s["mode"] == "stack"; })["mode"], "stack");

    const auto picker = centreOf("popUpButton");
    ASSERT_TRUE(picker);
    ASSERT_EQ(click(*picker), 0);
    std::vector<std::string> titles;
    ASSERT_TRUE(eventually([&] {
        titles.clear();
        for (const auto& line : desktop().lines({"menu"}))
            titles.push_back(JSONNode::parse(line)["title"].get<std::string>());
        return !titles.empty();
    }));
    EXPECT_EQ(titles, (std::vector<std::string>{"zsh", "fish"}));
    ASSERT_EQ(desktop().run({"menu", "pick", "fish"}).status, 0);
    EXPECT_EQ(stateWhere([](const JSONValue& s) { return s["shell"] == "fish"; })["shell"], "fish");
    EXPECT_TRUE(centreOf("popUpButton", ""));
}

}  // namespace
}  // namespace kelvo::testing
