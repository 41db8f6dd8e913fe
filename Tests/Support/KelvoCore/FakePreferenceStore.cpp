#include "Support/KelvoCore/FakePreferenceStore.h"

namespace kelvo {

std::optional<PreferenceValue> FakePreferenceStore::value(const std::string& key,
                                                          const std::string& domain) {
    calls_.push_back("value(" + key + ", " + domain + ")");
    return stored(domain, key);
}

void FakePreferenceStore::setValue(const std::optional<PreferenceValue>& value,
                                   const std::string& key, const std::string& domain) {
    calls_.push_back("setValue(" + (value ? value->description() : std::string("none")) + ", " +
                     key + ", " + domain + ")");
    if (ignores(domain, key)) return;
    if (value && value->kind() == PreferenceValue::Kind::unrepresentable) return;
    const auto landing = landings_.find({domain, key});
    if (value && landing != landings_.end()) {
        seed(domain, key, landing->second);
        return;
    }
    seed(domain, key, value);
}

void FakePreferenceStore::synchronize(const std::string& domain) {
    calls_.push_back("synchronize(" + domain + ")");
}

void FakePreferenceStore::seed(const std::string& domain, const std::string& key,
                               std::optional<PreferenceValue> value) {
    if (value) {
        values_.insert_or_assign({domain, key}, std::move(*value));
    } else {
        values_.erase({domain, key});
    }
}

std::optional<PreferenceValue> FakePreferenceStore::stored(const std::string& domain,
                                                           const std::string& key) const {
    const auto found = values_.find({domain, key});
    if (found == values_.end()) return std::nullopt;
    return found->second;
}

void FakePreferenceStore::ignoreWrites(const std::string& domain, const std::string& key) {
    ignored_.insert({domain, key});
}

void FakePreferenceStore::landWritesAs(const std::string& domain, const std::string& key,
                                       PreferenceValue landing) {
    landings_.insert_or_assign({domain, key}, std::move(landing));
}

std::vector<std::string> FakePreferenceStore::callsOf(const std::string& name) const {
    std::vector<std::string> lines;
    for (const std::string& line : calls_) {
        if (line.starts_with(name + "(")) lines.push_back(line);
    }
    return lines;
}

bool FakePreferenceStore::ignores(const std::string& domain, const std::string& key) const {
    return ignored_.contains({domain, key}) || ignored_.contains({domain, std::string()});
}

}  // namespace kelvo
