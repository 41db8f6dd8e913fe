#include "KelvoCore/Wire/KelvoTestReply.h"

namespace kelvo {

KelvoTestReply::KelvoTestReply(bool ok_, std::optional<std::string> error_,
                               std::optional<std::int32_t> pid_,
                               std::optional<std::int64_t> activeDesktop_,
                               std::optional<std::uint32_t> focused_,
                               std::optional<std::vector<KelvoTestWindowRecord>> windows_,
                               std::optional<std::string> description_)
    : ok(ok_),
      error(std::move(error_)),
      pid(pid_),
      activeDesktop(activeDesktop_),
      focused(focused_),
      windows(std::move(windows_)),
      description(std::move(description_)) {}

KelvoTestReply KelvoTestReply::failure(const std::string& message) {
    return KelvoTestReply(false, message, {}, {}, {}, {}, {});
}

JSONValue JSONCoding<KelvoTestReply>::encode(const KelvoTestReply& r) {
    JSONValue object = JSONValue::object();
    object["ok"] = r.ok;
    putIfPresent(object, "error", r.error);
    putIfPresent(object, "pid", r.pid);
    putIfPresent(object, "activeDesktop", r.activeDesktop);
    putIfPresent(object, "focused", r.focused);
    putIfPresent(object, "windows", r.windows);
    putIfPresent(object, "description", r.description);
    return object;
}

KelvoTestReply JSONCoding<KelvoTestReply>::decode(const JSONNode& node) {
    return KelvoTestReply(node.decode<bool>("ok"), node.decodeIfPresent<std::string>("error"),
                          node.decodeIfPresent<std::int32_t>("pid"),
                          node.decodeIfPresent<std::int64_t>("activeDesktop"),
                          node.decodeIfPresent<std::uint32_t>("focused"),
                          node.decodeIfPresent<std::vector<KelvoTestWindowRecord>>("windows"),
                          node.decodeIfPresent<std::string>("description"));
}

}  // namespace kelvo
