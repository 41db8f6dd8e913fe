#include "Simulator/Server/OperationCoding.h"

namespace sim::coding {

std::optional<kelvo::JSONValue> leftOutArgument(std::string_view key) {
#define LEFT_OUT_ARGUMENT(name, value) \
    if (key == argument::name) return kelvo::JSONValue(value);
#include "Simulator/DesktopOperations.def"
    return std::nullopt;
}

}  // namespace sim::coding
