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
/// folder no file includes itself through others (two headers including each other); the
/// targets themselves form no circle; and a class or struct declared ahead (`class X;`) is one
/// defined in the file's own folder or within the same reach, so that a declaration cannot
/// hide what an include would show.
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
    /// Every header and source under the root, relative to it, in order.
    std::vector<std::filesystem::path> sources() const;
    std::vector<Include> includes() const;
    std::vector<std::string> targetCircles() const;
    std::vector<std::string> upwardIncludes(const std::vector<Include>& all) const;
    std::vector<std::string> fileCircles(const std::vector<Include>& all) const;
    std::vector<std::string> upwardDeclarations() const;
    /// The folder, first by name, that defines a type the file declares ahead, when none of
    /// those defining it is within the file's reach; none otherwise.
    const Layer* definerOutOfReach(const std::filesystem::path& file,
                                   const std::set<const Layer*>& definers) const;

    std::filesystem::path root_;
    std::vector<Layer> layers_;
    std::map<std::string, const Layer*> byTarget_;
};

}  // namespace kelvo_layers
