#include "KelvoCore/Wire/FixtureRequest.h"

namespace kelvo {

FixtureRequest::FixtureRequest(std::string op_, std::optional<FixtureQuirk> quirk_,
                               std::optional<std::string> title_, std::optional<double> after_,
                               std::optional<double> x_, std::optional<double> y_,
                               std::optional<double> width_, std::optional<double> height_,
                               std::optional<std::uint32_t> window_)
    : op(std::move(op_)),
      quirk(quirk_),
      title(std::move(title_)),
      after(after_),
      x(x_),
      y(y_),
      width(width_),
      height(height_),
      window(window_) {}

FixtureRequest FixtureRequest::ping() {
    return FixtureRequest("ping", {}, {}, {}, {}, {}, {}, {}, {});
}
FixtureRequest FixtureRequest::list() {
    return FixtureRequest("list", {}, {}, {}, {}, {}, {}, {}, {});
}
FixtureRequest FixtureRequest::quit() {
    return FixtureRequest("quit", {}, {}, {}, {}, {}, {}, {}, {});
}

JSONValue JSONCoding<FixtureRequest>::encode(const FixtureRequest& r) {
    JSONValue object = JSONValue::object();
    object["op"] = r.op;
    putIfPresent(object, "quirk", r.quirk);
    putIfPresent(object, "title", r.title);
    putIfPresent(object, "after", r.after);
    putIfPresent(object, "x", r.x);
    putIfPresent(object, "y", r.y);
    putIfPresent(object, "width", r.width);
    putIfPresent(object, "height", r.height);
    putIfPresent(object, "window", r.window);
    return object;
}

FixtureRequest JSONCoding<FixtureRequest>::decode(const JSONNode& node) {
    return FixtureRequest(
        node.decode<std::string>("op"), node.decodeIfPresent<FixtureQuirk>("quirk"),
        node.decodeIfPresent<std::string>("title"), node.decodeIfPresent<double>("after"),
        node.decodeIfPresent<double>("x"), node.decodeIfPresent<double>("y"),
        node.decodeIfPresent<double>("width"), node.decodeIfPresent<double>("height"),
        node.decodeIfPresent<std::uint32_t>("window"));
}

}  // namespace kelvo
