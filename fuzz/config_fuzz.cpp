// Any byte string as a configuration file or as an imported settings file must give a
// configuration or the typed error, and a configuration that was read must survive being
// written and read again. Anything else (a crash, a hang, another exception) is a fault.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "Base/JSON/JSONWriter.h"
#include "KelvoCore/Bindings/KeyReference.h"
#include "KelvoCore/Bindings/Keymap.h"
#include "KelvoCore/Config/Config.h"
#include "KelvoCore/Config/ConfigTransfer.h"
#include "Support/Base/Require.h"

namespace {

using namespace kelvo;

using kelvo::testing::require;

Config reread(const Config& config) {
    const std::string text = JSONWriter::write(encodeJSON(config), JSONWriter::prettyPrinted());
    const JSONValue document = JSONNode::parse(text);
    return JSONNode(document).decode<Config>();
}

void readAsConfigurationFile(std::string_view bytes) {
    Config config;
    try {
        const JSONValue document = JSONNode::parse(bytes);
        config = JSONNode(document).decode<Config>();
    } catch (const DecodingError&) {
        return;
    }
    require(reread(config) == config);
    // Everything built from a configuration must cope with whatever a file can hold.
    const Keymap keymap(config);
    const auto sections = KeyReference::sections(config);
    require(sections.size() == (config.showLauncher ? 8u : 7u));
}

void readAsSettingsFile(std::string_view bytes) {
    Config imported;
    try {
        imported = ConfigTransfer::importSettings(bytes, Config::defaults());
    } catch (const ConfigTransfer::Failure& failure) {
        require(!failure.message().empty());
        return;
    }
    const Config again = ConfigTransfer::importSettings(ConfigTransfer::exportSettings(imported),
                                                        Config::defaults());
    require(again == imported);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    readAsConfigurationFile(bytes);
    readAsSettingsFile(bytes);
    return 0;
}
