#pragma once

#include "Base/JSON/JSONCoding.h"
#include "Base/Text/TextSet.h"

namespace kelvo {

/// An array of texts; repeated elements collapse when read.
template <>
struct JSONCoding<TextSet> {
    static JSONValue encode(const TextSet& set);
    static TextSet decode(const JSONNode& node);
};

}  // namespace kelvo
