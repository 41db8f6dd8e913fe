#include "KelvoCore/Wire/FixtureReply.h"

namespace kelvo {

FixtureReply::FixtureReply(bool ok_, std::optional<std::string> error_,
                           std::optional<std::int32_t> pid_, std::optional<std::uint32_t> window_,
                           std::optional<std::vector<FixtureWindowReport>> windows_,
                           std::optional<bool> appActive_, std::optional<bool> appHidden_)
    : ok(ok_),
      error(std::move(error_)),
      pid(pid_),
      window(window_),
      windows(std::move(windows_)),
      appActive(appActive_),
      appHidden(appHidden_) {}

FixtureReply FixtureReply::failure(const std::string& message) {
    return FixtureReply(false, message, {}, {}, {}, {}, {});
}

JSONValue JSONCoding<FixtureReply>::encode(const FixtureReply& r) {
    JSONValue object = JSONValue::object();
    object["ok"] = r.ok;
    putIfPresent(object, "error", r.error);
    putIfPresent(object, "pid", r.pid);
    putIfPresent(object, "window", r.window);
    putIfPresent(object, "windows", r.windows);
    putIfPresent(object, "appActive", r.appActive);
    putIfPresent(object, "appHidden", r.appHidden);
    return object;
}

FixtureReply JSONCoding<FixtureReply>::decode(const JSONNode& node) {
    return FixtureReply(
        node.decode<bool>("ok"), node.decodeIfPresent<std::string>("error"),
        node.decodeIfPresent<std::int32_t>("pid"), node.decodeIfPresent<std::uint32_t>("window"),
        node.decodeIfPresent<std::vector<FixtureWindowReport>>("windows"),
        node.decodeIfPresent<bool>("appActive"), node.decodeIfPresent<bool>("appHidden"));
}

}  // namespace kelvo
