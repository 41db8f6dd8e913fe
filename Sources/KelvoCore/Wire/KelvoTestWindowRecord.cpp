#include "KelvoCore/Wire/KelvoTestWindowRecord.h"

namespace kelvo {

KelvoTestWindowRecord::KelvoTestWindowRecord(std::uint32_t id_,
                                             std::optional<std::int64_t> desktop_, bool floating_,
                                             std::optional<WireRect> frame_)
    : id(id_), desktop(desktop_), floating(floating_), frame(frame_) {}

JSONValue JSONCoding<KelvoTestWindowRecord>::encode(const KelvoTestWindowRecord& r) {
    JSONValue object = JSONValue::object();
    object["id"] = r.id;
    putIfPresent(object, "desktop", r.desktop);
    object["floating"] = r.floating;
    putIfPresent(object, "frame", r.frame);
    return object;
}

KelvoTestWindowRecord JSONCoding<KelvoTestWindowRecord>::decode(const JSONNode& node) {
    return KelvoTestWindowRecord(
        node.decode<std::uint32_t>("id"), node.decodeIfPresent<std::int64_t>("desktop"),
        node.decode<bool>("floating"), node.decodeIfPresent<WireRect>("frame"));
}

}  // namespace kelvo
