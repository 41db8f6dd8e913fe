#include "KelvoCore/Wire/FixtureWindowReport.h"

namespace kelvo {

FixtureWindowReport::FixtureWindowReport(std::uint32_t number_, std::string title_,
                                         FixtureQuirk quirk_, WireRect frame_, bool visible_,
                                         bool minimized_, bool key_, bool main_)
    : number(number_),
      title(std::move(title_)),
      quirk(quirk_),
      frame(frame_),
      visible(visible_),
      minimized(minimized_),
      key(key_),
      main(main_) {}

JSONValue JSONCoding<FixtureWindowReport>::encode(const FixtureWindowReport& r) {
    JSONValue object = JSONValue::object();
    object["number"] = r.number;
    object["title"] = r.title;
    object["quirk"] = encodeJSON(r.quirk);
    object["frame"] = encodeJSON(r.frame);
    object["visible"] = r.visible;
    object["minimized"] = r.minimized;
    object["key"] = r.key;
    object["main"] = r.main;
    return object;
}

FixtureWindowReport JSONCoding<FixtureWindowReport>::decode(const JSONNode& node) {
    return FixtureWindowReport(node.decode<std::uint32_t>("number"),
                               node.decode<std::string>("title"),
                               node.decode<FixtureQuirk>("quirk"), node.decode<WireRect>("frame"),
                               node.decode<bool>("visible"), node.decode<bool>("minimized"),
                               node.decode<bool>("key"), node.decode<bool>("main"));
}

}  // namespace kelvo
