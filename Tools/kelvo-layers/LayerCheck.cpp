#include "LayerCheck.h"

#include <algorithm>
#include <fstream>
#include <regex>
#include <sstream>
#include <stdexcept>
#include <tuple>

#include "TypeDeclarations.h"

namespace fs = std::filesystem;

namespace kelvo_layers {

namespace {

bool isSource(const fs::path& path) {
    return path.extension() == ".h" || path.extension() == ".cpp";
}

std::string textOf(const fs::path& file) {
    std::ifstream in(file);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
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
    for (auto found : {upwardIncludes(all), fileCircles(all), upwardDeclarations()})
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

std::vector<fs::path> LayerCheck::sources() const {
    std::vector<fs::path> all;
    for (const auto& entry : fs::recursive_directory_iterator(root_)) {
        if (entry.is_regular_file() && isSource(entry.path()))
            all.push_back(fs::relative(entry.path(), root_));
    }
    std::sort(all.begin(), all.end());
    return all;
}

std::vector<LayerCheck::Include> LayerCheck::includes() const {
    static const std::regex includeLine(R"(^\s*#\s*include\s*"([^"]+)\")");
    std::vector<Include> all;
    for (const fs::path& from : sources()) {
        std::ifstream in(root_ / from);
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

std::vector<std::string> LayerCheck::upwardDeclarations() const {
    // Where each type is defined, and every declaration ahead with the file that makes it.
    std::map<std::string, std::set<const Layer*>> definedIn;
    std::vector<std::pair<fs::path, TypeDeclaration>> ahead;
    for (const fs::path& file : sources()) {
        const Layer* layer = layerOf(file);
        if (!layer) continue;
        for (TypeDeclaration& found : TypeDeclarations::of(textOf(root_ / file))) {
            if (found.defines) {
                definedIn[found.type].insert(layer);
            } else {
                ahead.emplace_back(file, std::move(found));
            }
        }
    }
    std::vector<std::string> breaches;
    for (const auto& [file, declaration] : ahead) {
        if (const Layer* above = definerOutOfReach(file, definedIn[declaration.type]))
            breaches.push_back(file.generic_string() + ":" + std::to_string(declaration.line) +
                               " declares " + declaration.type + " ahead, which " + above->folder +
                               " defines, but " + layerOf(file)->target + " does not use " +
                               above->target);
    }
    return breaches;
}

const Layer* LayerCheck::definerOutOfReach(const fs::path& file,
                                           const std::set<const Layer*>& definers) const {
    // A type of the same name defined within reach is the one declared; only when every
    // definition lies out of reach does the declaration lean on a floor it may not use.
    const Layer* from = layerOf(file);
    const std::set<std::string> reached = reachableFrom(from->target);
    const Layer* outOfReach = nullptr;
    for (const Layer* definer : definers) {
        if (definer == from || reached.contains(definer->target)) return nullptr;
        if (!outOfReach || definer->folder < outOfReach->folder) outOfReach = definer;
    }
    return outOfReach;
}

}  // namespace kelvo_layers
