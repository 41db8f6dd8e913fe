#include "LayerCheck.h"

#include <algorithm>
#include <fstream>
#include <regex>
#include <sstream>
#include <stdexcept>
#include <tuple>

namespace fs = std::filesystem;

namespace kelvo_layers {

namespace {

bool isSource(const fs::path& path) {
    return path.extension() == ".h" || path.extension() == ".cpp";
}

}  // namespace

std::vector<Layer> LayerCheck::readGraph(const fs::path& graphFile) {
    std::ifstream in(graphFile);
    if (!in) throw std::runtime_error("cannot read " + graphFile.string());
    std::vector<Layer> layers;
    std::string line;
    while (std::getline(in, line)) {
        std::istringstream words(line);
        Layer layer;
        if (!(words >> layer.folder >> layer.target)) continue;
        for (std::string use; words >> use;)
            layer.uses.push_back(use);
        layers.push_back(std::move(layer));
    }
    return layers;
}

LayerCheck::LayerCheck(fs::path sourceRoot, std::vector<Layer> layers)
    : root_(std::move(sourceRoot)), layers_(std::move(layers)) {
    for (const Layer& layer : layers_)
        byTarget_[layer.target] = &layer;
}

std::vector<std::string> LayerCheck::run() const {
    std::vector<std::string> breaches = targetCircles();
    const std::vector<Include> all = includes();
    for (auto found : {upwardIncludes(all), fileCircles(all)})
        breaches.insert(breaches.end(), found.begin(), found.end());
    return breaches;
}

const Layer* LayerCheck::layerOf(const fs::path& relative) const {
    // The deepest folder holds the file: Simulator/Server/X.h is the server's, not the
    // simulator's.
    const std::string folder = relative.parent_path().generic_string();
    for (const Layer& layer : layers_)
        if (layer.folder == folder) return &layer;
    return nullptr;
}

std::set<std::string> LayerCheck::reachableFrom(const std::string& target) const {
    std::set<std::string> reached;
    std::vector<std::string> pending{target};
    while (!pending.empty()) {
        const std::string next = pending.back();
        pending.pop_back();
        const auto found = byTarget_.find(next);
        if (found == byTarget_.end()) continue;
        for (const std::string& use : found->second->uses)
            if (reached.insert(use).second) pending.push_back(use);
    }
    return reached;
}

std::vector<LayerCheck::Include> LayerCheck::includes() const {
    static const std::regex includeLine(R"(^\s*#\s*include\s*"([^"]+)\")");
    std::vector<Include> all;
    for (const auto& entry : fs::recursive_directory_iterator(root_)) {
        if (!entry.is_regular_file() || !isSource(entry.path())) continue;
        const fs::path from = fs::relative(entry.path(), root_);
        std::ifstream in(entry.path());
        std::smatch match;
        for (std::string line; std::getline(in, line);) {
            if (!std::regex_search(line, match, includeLine)) continue;
            // As the compiler looks: beside the including file first, then from the root.
            const fs::path beside = from.parent_path() / match[1].str();
            if (fs::exists(root_ / beside)) {
                all.push_back({from, beside.lexically_normal()});
            } else if (fs::exists(root_ / match[1].str())) {
                all.push_back({from, fs::path(match[1].str()).lexically_normal()});
            }
        }
    }
    std::sort(all.begin(), all.end(), [](const Include& a, const Include& b) {
        return std::tie(a.from, a.to) < std::tie(b.from, b.to);
    });
    return all;
}

std::vector<std::string> LayerCheck::targetCircles() const {
    std::vector<std::string> breaches;
    for (const Layer& layer : layers_)
        if (reachableFrom(layer.target).contains(layer.target))
            breaches.push_back("the target " + layer.target + " uses itself through a circle");
    return breaches;
}

std::vector<std::string> LayerCheck::upwardIncludes(const std::vector<Include>& all) const {
    std::vector<std::string> breaches;
    std::map<std::string, std::set<std::string>> reachable;
    for (const Include& include : all) {
        const Layer* from = layerOf(include.from);
        const Layer* to = layerOf(include.to);
        if (!from) {
            breaches.push_back(include.from.generic_string() +
                               " lies in a folder that is no target of the build");
            continue;
        }
        if (!to) {
            breaches.push_back(include.from.generic_string() + " includes " +
                               include.to.generic_string() + ", which is in no target");
            continue;
        }
        if (from == to) continue;
        auto [cached, fresh] = reachable.try_emplace(from->target);
        if (fresh) cached->second = reachableFrom(from->target);
        if (!cached->second.contains(to->target))
            breaches.push_back(include.from.generic_string() + " includes " +
                               include.to.generic_string() + ", but " + from->target +
                               " does not use " + to->target);
    }
    return breaches;
}

std::vector<std::string> LayerCheck::fileCircles(const std::vector<Include>& all) const {
    // Edges between the files of one folder; a file that reaches itself closes a circle.
    std::map<fs::path, std::set<fs::path>> edges;
    for (const Include& include : all)
        if (include.from.parent_path() == include.to.parent_path() && include.from != include.to)
            edges[include.from].insert(include.to);
    std::vector<std::string> breaches;
    for (const auto& [file, next] : edges) {
        std::set<fs::path> seen;
        std::vector<fs::path> pending(next.begin(), next.end());
        while (!pending.empty()) {
            const fs::path at = pending.back();
            pending.pop_back();
            if (!seen.insert(at).second) continue;
            if (const auto found = edges.find(at); found != edges.end())
                pending.insert(pending.end(), found->second.begin(), found->second.end());
        }
        if (seen.contains(file))
            breaches.push_back(file.generic_string() +
                               " includes itself through other files of its folder");
    }
    return breaches;
}

}  // namespace kelvo_layers
