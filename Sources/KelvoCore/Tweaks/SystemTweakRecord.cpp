#include "KelvoCore/Tweaks/SystemTweakRecord.h"

namespace kelvo {

JSONValue JSONCoding<SystemTweakRecord>::encode(const SystemTweakRecord& record) {
    JSONValue object = JSONValue::object();
    object["domain"] = record.domain;
    object["key"] = record.key;
    object["original"] = encodeJSON(record.original);
    object["applied"] = encodeJSON(record.applied);
    return object;
}

SystemTweakRecord JSONCoding<SystemTweakRecord>::decode(const JSONNode& node) {
    SystemTweakRecord record;
    record.domain = node.decode<std::string>("domain");
    record.key = node.decode<std::string>("key");
    record.original = node.decode<PreferenceOriginal>("original");
    record.applied = node.decode<PreferenceValue>("applied");
    return record;
}

std::map<std::string, SystemTweakRecord> JSONCoding<SystemTweakRecord>::decodeEach(
    const JSONNode& node) {
    std::map<std::string, SystemTweakRecord> records;
    if (!node.isObject()) return records;
    for (const std::string& id : node.keys()) {
        try {
            records.insert_or_assign(id, node[id].decode<SystemTweakRecord>());
        } catch (const DecodingError&) {
            // Dropped alone: the other records still hold their originals.
        }
    }
    return records;
}

}  // namespace kelvo
