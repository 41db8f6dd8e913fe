// Any line read from the test-mode or fixture sockets must decode to a value of the expected
// type or to nothing, and a value that decoded must be written and read back unchanged.
// Anything else (a crash, an exception that escapes, a value that changes) is a fault.

#include <cstddef>
#include <cstdint>
#include <string>

#include "KelvoCore/Wire/FixtureQuirk.h"
#include "KelvoCore/Wire/FixtureReply.h"
#include "KelvoCore/Wire/FixtureRequest.h"
#include "KelvoCore/Wire/FixtureWindowReport.h"
#include "KelvoCore/Wire/KelvoTestReply.h"
#include "KelvoCore/Wire/KelvoTestRequest.h"
#include "KelvoCore/Wire/KelvoTestWindowRecord.h"
#include "KelvoCore/Wire/WireCommand.h"
#include "KelvoCore/Wire/WireLine.h"
#include "KelvoCore/Wire/WireRect.h"
#include "Support/Base/Require.h"

namespace {

using namespace kelvo;

using kelvo::testing::require;

template <class T>
void readAs(const std::string& line) {
    const std::optional<T> value = WireLine::decode<T>(line);
    if (!value) return;
    // A decoded value holds only finite numbers, so it can always be written.
    const std::optional<std::string> again = WireLine::encode(*value);
    require(again.has_value());
    require(WireLine::decode<T>(*again) == value);
    require(WireLine::encode(*WireLine::decode<T>(*again)) == again);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string line(reinterpret_cast<const char*>(data), size);
    readAs<KelvoTestRequest>(line);
    readAs<KelvoTestReply>(line);
    readAs<KelvoTestWindowRecord>(line);
    readAs<FixtureRequest>(line);
    readAs<FixtureReply>(line);
    readAs<FixtureWindowReport>(line);
    readAs<FixtureQuirk>(line);
    readAs<WireCommand>(line);
    readAs<WireRect>(line);
    return 0;
}
