#include "Base/Foundation/News.h"

#include <mutex>
#include <unordered_map>

namespace {

struct Counts {
    std::mutex mutex;
    std::uint64_t general = 0;
    /// One entry per subject that ever had news: a handful per window.
    std::unordered_map<std::uint64_t, std::uint64_t> about;
};

Counts& counts() {
    static Counts* shared = new Counts();  // lives as long as the process
    return *shared;
}

}  // namespace

News::Mark News::mark(std::uint64_t subject) {
    Counts& c = counts();
    std::lock_guard lock(c.mutex);
    const auto found = c.about.find(subject);
    return Mark{c.general, found == c.about.end() ? 0 : found->second};
}

void News::arrived() {
    Counts& c = counts();
    std::lock_guard lock(c.mutex);
    ++c.general;
}

void News::arrivedAbout(std::uint64_t subject) {
    Counts& c = counts();
    std::lock_guard lock(c.mutex);
    ++c.about[subject];
}
