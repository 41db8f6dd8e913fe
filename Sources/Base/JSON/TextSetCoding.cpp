#include "Base/JSON/TextSetCoding.h"

namespace kelvo {

JSONValue JSONCoding<TextSet>::encode(const TextSet& set) {
    JSONValue array = JSONValue::array();
    for (const std::string& text : set)
        array.push_back(text);
    return array;
}

TextSet JSONCoding<TextSet>::decode(const JSONNode& node) {
    TextSet set;
    for (const JSONNode& element : node.elements())
        set.insert(element.string());
    return set;
}

}  // namespace kelvo
