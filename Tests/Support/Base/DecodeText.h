#pragma once

#include <string>

#include "Base/JSON/JSONCoding.h"

namespace kelvo::testing {

/// Parses the text and decodes it as T; throws DecodingError as the decoder does.
template <class T>
T decodeText(const std::string& text) {
    const JSONValue document = JSONNode::parse(text);
    return JSONNode(document).decode<T>();
}

}  // namespace kelvo::testing
