#pragma once

#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace kelvo_layers {

/// One folder of the source tree as the build declares it: the target it is and the targets
/// it uses directly.
struct Layer {
    std::string folder;
    std::string target;
    std::vector<std::string> uses;
};

/// The floors of the source tree against its `#include` lines: a file may include files of its
/// own folder and of the folders its target reaches through the targets it uses; inside a
/// folder no file includes itself through others (two headers including each other); and
/// the targets themselves form no circle.
class LayerCheck {
  public:
    /// Reads the graph the build writes: one folder a line, its target, then the targets it
    /// uses, separated by spaces.
    static std::vector<Layer> readGraph(const std::filesystem::path& graphFile);

    LayerCheck(std::filesystem::path sourceRoot, std::vector<Layer> layers);

    /// Every breach, one sentence each, in a stable order; empty when the tree holds.
    std::vector<std::string> run() const;

  private:
    struct Include {
        std::filesystem::path from;
        std::filesystem::path to;
    };

    const Layer* layerOf(const std::filesystem::path& relative) const;
    std::set<std::string> reachableFrom(const std::string& target) const;
    std::vector<Include> includes() const;
    std::vector<std::string> targetCircles() const;
    std::vector<std::string> upwardIncludes(const std::vector<Include>& all) const;
    std::vector<std::string> fileCircles(const std::vector<Include>& all) const;

    std::filesystem::path root_;
    std::vector<Layer> layers_;
    std::map<std::string, const Layer*> byTarget_;
};

}  // namespace kelvo_layers
