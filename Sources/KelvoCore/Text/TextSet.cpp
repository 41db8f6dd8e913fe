#include "KelvoCore/Text/TextSet.h"

#include <algorithm>

namespace kelvo {

bool TextSet::operator==(const TextSet& other) const {
    return std::equal(begin(), end(), other.begin(), other.end(),
                      [](const std::string& a, const std::string& b) {
                          return UnicodeText::canonicallyEquivalent(a, b);
                      });
}

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
