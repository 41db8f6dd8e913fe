#include "Simulator/ApplicationBundle.h"

#include <plist/plist.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <memory>

namespace sim {

namespace {

struct PlistFree {
    void operator()(plist_t node) const { plist_free(node); }
};
using Plist = std::unique_ptr<void, PlistFree>;

std::optional<std::string> fileText(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

/// The text of a string node; none for any other kind.
std::optional<std::string> stringValue(plist_t node) {
    if (!node || plist_get_node_type(node) != PLIST_STRING) return std::nullopt;
    char* text = nullptr;
    plist_get_string_val(node, &text);
    if (!text) return std::nullopt;
    std::string value(text);
    std::free(text);
    return value;
}

bool trueValue(plist_t node) {
    if (!node) return false;
    if (plist_get_node_type(node) == PLIST_BOOLEAN) {
        std::uint8_t value = 0;
        plist_get_bool_val(node, &value);
        return value != 0;
    }
    // Older bundles write the flag as the text "1" or "YES".
    const auto text = stringValue(node);
    return text && (*text == "1" || *text == "YES" || *text == "true");
}

std::map<std::string, std::string> textValues(plist_t dictionary) {
    std::map<std::string, std::string> values;
    plist_dict_iter iterator = nullptr;
    plist_dict_new_iter(dictionary, &iterator);
    if (!iterator) return values;
    for (;;) {
        char* key = nullptr;
        plist_t value = nullptr;
        plist_dict_next_item(dictionary, iterator, &key, &value);
        if (!key) break;
        if (const auto text = stringValue(value)) values.emplace(key, *text);
        std::free(key);
    }
    std::free(iterator);
    return values;
}

std::string withoutExtension(const std::filesystem::path& path) {
    return path.filename().stem().string();
}

}  // namespace

std::optional<ApplicationBundle> ApplicationBundle::read(const std::filesystem::path& folder) {
    std::error_code error;
    if (!std::filesystem::is_directory(folder, error)) return std::nullopt;
    const auto text = fileText(folder / infoPlistPath);
    if (!text || text->empty()) return std::nullopt;
    plist_t parsed = nullptr;
    plist_from_memory(text->data(), static_cast<std::uint32_t>(text->size()), &parsed);
    const Plist root(parsed);
    if (!root || plist_get_node_type(root.get()) != PLIST_DICT) return std::nullopt;

    ApplicationBundle bundle;
    bundle.path = folder;
    bundle.infoDictionary = textValues(root.get());
    bundle.bundleID = stringValue(plist_dict_get_item(root.get(), "CFBundleIdentifier"));
    if (trueValue(plist_dict_get_item(root.get(), "LSBackgroundOnly"))) {
        bundle.activationPolicy = ActivationPolicy::prohibited;
    } else if (trueValue(plist_dict_get_item(root.get(), "LSUIElement"))) {
        bundle.activationPolicy = ActivationPolicy::accessory;
    }
    return bundle;
}

std::string ApplicationBundle::name() const {
    const auto found = infoDictionary.find("CFBundleName");
    if (found != infoDictionary.end() && !found->second.empty()) return found->second;
    return withoutExtension(path);
}

std::filesystem::path ApplicationBundle::executablePath() const {
    const auto found = infoDictionary.find("CFBundleExecutable");
    const std::string file =
        found != infoDictionary.end() && !found->second.empty() ? found->second : name();
    return path / executableFolder / file;
}

std::optional<std::filesystem::path> ApplicationBundle::iconPath() const {
    const auto found = infoDictionary.find("CFBundleIconFile");
    if (found == infoDictionary.end() || found->second.empty()) return std::nullopt;
    std::filesystem::path file = found->second;
    if (!file.has_extension()) file += ".png";
    return path / resourcesFolder / file;
}

ApplicationSpec ApplicationBundle::spec() const {
    ApplicationSpec spec;
    spec.bundleID = bundleID;
    spec.name = name();
    spec.executablePath = executablePath().string();
    spec.bundlePath = path.string();
    spec.infoDictionary = infoDictionary;
    spec.activationPolicy = activationPolicy;
    return spec;
}

std::optional<std::string> ApplicationBundle::launchFailure() const {
    const std::filesystem::path executable = executablePath();
    std::error_code error;
    if (!std::filesystem::is_regular_file(executable, error))
        return cannotBeOpened("its executable is missing");
    if (::access(executable.c_str(), X_OK) != 0)
        return cannotBeOpened("you don’t have permission to run its executable");
    return std::nullopt;
}

std::string ApplicationBundle::cannotBeOpened(const std::string& because) const {
    return "The application “" + name() + "” can’t be opened because " + because + ".";
}

std::string ApplicationBundle::unreadable(const std::filesystem::path& folder) {
    std::error_code error;
    if (!std::filesystem::exists(folder, error)) {
        return "The file “" + folder.filename().string() +
               "” couldn’t be opened because there is no such file.";
    }
    return "The application “" + withoutExtension(folder) +
           "” can’t be opened because it may be damaged or incomplete.";
}

}  // namespace sim
