#include "Support/EndToEnd/OwnInterface.h"

#include <cmath>

#include "Base/JSON/JSONDecoder.h"
#include "Support/Base/ChildProcess.h"

namespace kelvo::testing {

namespace {

CGRect rectOf(const JSONValue& frame) {
    return CGRect(frame["x"].get<double>(), frame["y"].get<double>(), frame["width"].get<double>(),
                  frame["height"].get<double>());
}

std::optional<std::string> optionalText(const JSONValue& line, const char* key) {
    if (!line.contains(key)) return std::nullopt;
    return line[key].get<std::string>();
}

/// A text as it reads, without the line breaks where it wrapped.
std::string unwrapped(std::string text) {
    std::erase(text, '\n');
    return text;
}

std::string coordinate(double value) {
    return std::to_string(std::lround(value));
}

}  // namespace

std::vector<InterfaceElement> OwnInterface::elements() {
    std::vector<InterfaceElement> found;
    for (const auto& text : desktop_.lines({"ui", "--pid", std::to_string(pid_)})) {
        const JSONValue line = JSONNode::parse(text);
        InterfaceElement element;
        element.window = line["window"].get<std::uint32_t>();
        element.role = line["role"].get<std::string>();
        element.label = line["label"].get<std::string>();
        element.value = optionalText(line, "value");
        element.identifier = optionalText(line, "identifier");
        element.toolTip = optionalText(line, "toolTip");
        element.frame = rectOf(line["frame"]);
        element.enabled = line["enabled"].get<bool>();
        element.focused = line["focused"].get<bool>();
        found.push_back(std::move(element));
    }
    return found;
}

std::optional<InterfaceElement> OwnInterface::await(
    const std::function<bool(const InterfaceElement&)>& matches) {
    std::optional<InterfaceElement> found;
    eventually([&] {
        for (auto& element : elements()) {
            if (matches(element)) {
                found = std::move(element);
                return true;
            }
        }
        return false;
    });
    return found;
}

std::optional<InterfaceElement> OwnInterface::awaitIdentifier(const std::string& identifier) {
    return await([&](const InterfaceElement& e) { return e.identifier == identifier; });
}

std::optional<InterfaceElement> OwnInterface::awaitLabel(const std::string& label,
                                                         const std::string& role) {
    return await([&](const InterfaceElement& e) {
        return unwrapped(e.label) == label && (role.empty() || e.role == role);
    });
}

bool OwnInterface::click(CGPoint point) {
    return desktop_.run({"click", coordinate(point.x), coordinate(point.y)}).status == 0;
}

bool OwnInterface::press(const std::string& title) {
    const auto button = awaitLabel(title, "button");
    return button && click(*button);
}

std::optional<CGRect> OwnInterface::statusItem() {
    std::optional<CGRect> found;
    eventually([&] {
        for (const auto& text : desktop_.lines({"statusitems"})) {
            const JSONValue item = JSONNode::parse(text);
            if (item["pid"] == pid_) found = rectOf(item["frame"]);
        }
        return found.has_value();
    });
    return found;
}

bool OwnInterface::openStatusMenu() {
    const auto item = statusItem();
    if (!item) return false;
    if (desktop_.run({"click", coordinate(item->midX()), coordinate(item->midY()), "--right"})
            .status != 0)
        return false;
    return eventually([&] { return !menuTitles().empty(); });
}

bool OwnInterface::pickFromStatusMenu(const std::string& title) {
    return openStatusMenu() && desktop_.run({"menu", "pick", title}).status == 0;
}

std::vector<std::string> OwnInterface::menuTitles() {
    std::vector<std::string> titles;
    for (const auto& text : desktop_.lines({"menu"}))
        titles.push_back(JSONNode::parse(text)["title"].get<std::string>());
    return titles;
}

}  // namespace kelvo::testing
