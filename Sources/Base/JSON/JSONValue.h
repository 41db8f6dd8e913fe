#pragma once

#include <nlohmann/json.hpp>

namespace kelvo {

/// The JSON document model. Objects keep the order in which the document listed their keys,
/// so that "whichever key is read later" means later in the file; the writer sorts keys itself.
using JSONValue = nlohmann::ordered_json;

}  // namespace kelvo
