#pragma once

#include <initializer_list>
#include <string>

#include "Base/JSON/JSONDecoder.h"

namespace kelvo {

/// An enumeration with payloads is written as an object with one key, the case's name, over
/// the case's payload: `{"vertical":{}}`, `{"leaf":{"_0":…}}`.
struct JSONCaseKey {
    static constexpr const char* keyCountMessage = "Invalid number of keys found, expected one.";

    /// The one case named among the object's keys. Keys that name no case are ignored; none or
    /// several case keys fail with a type mismatch saying keyCountMessage.
    static std::string read(const JSONNode& node, std::initializer_list<const char*> cases);
};

}  // namespace kelvo
