#pragma once

#include <string>

#include "Base/JSON/JSONCaseKey.h"
#include "Base/JSON/JSONCoding.h"

namespace kelvo {

/// `horizontal`: the two children of a split are stacked, the first on top.
/// `vertical`: they stand side by side, the first on the left.
enum class Axis { horizontal, vertical };

Axis flipped(Axis axis);
std::string toString(Axis axis);

/// `{"horizontal":{}}` or `{"vertical":{}}`: the form the layout tree and the session carry.
template <>
struct JSONCoding<Axis> {
    static constexpr const char* keyCountMessage = JSONCaseKey::keyCountMessage;
    static JSONValue encode(Axis axis);
    static Axis decode(const JSONNode& node);
};

}  // namespace kelvo
