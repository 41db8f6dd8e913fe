#include "Base/Foundation/News.h"

#include <unordered_map>

#include "Base/Foundation/Mutex.h"
#include "Base/Foundation/MutexLock.h"

namespace {

/// The news about one subject: all of it, and the part that was not only a move.
struct SubjectCounts {
    std::uint64_t any = 0;
    std::uint64_t beyondFrame = 0;
};

struct Counts {
    Mutex mutex;
    std::uint64_t general GUARDED_BY(mutex) = 0;
    /// One entry per group that ever had news: one per process that ended.
    std::unordered_map<std::uint64_t, std::uint64_t> groups GUARDED_BY(mutex);
    /// One entry per subject that ever had news: a handful per window.
    std::unordered_map<std::uint64_t, SubjectCounts> about GUARDED_BY(mutex);
};

Counts& counts() {
    static Counts* shared = new Counts();  // lives as long as the process
    return *shared;
}

template <class Count>
News::Mark markOf(std::uint64_t subject, std::uint64_t group, Count count) {
    Counts& c = counts();
    MutexLock lock(c.mutex);
    const auto inGroup = c.groups.find(group);
    const auto about = c.about.find(subject);
    return News::Mark{c.general, inGroup == c.groups.end() ? 0 : inGroup->second,
                      about == c.about.end() ? 0 : count(about->second)};
}

}  // namespace

News::Mark News::mark(std::uint64_t subject, std::uint64_t group) {
    return markOf(subject, group, [](const SubjectCounts& s) { return s.any; });
}

News::Mark News::markBeyondFrame(std::uint64_t subject, std::uint64_t group) {
    return markOf(subject, group, [](const SubjectCounts& s) { return s.beyondFrame; });
}

void News::arrived() {
    Counts& c = counts();
    MutexLock lock(c.mutex);
    ++c.general;
}

void News::arrivedAboutGroup(std::uint64_t group) {
    Counts& c = counts();
    MutexLock lock(c.mutex);
    ++c.groups[group];
}

void News::arrivedAbout(std::uint64_t subject) {
    Counts& c = counts();
    MutexLock lock(c.mutex);
    SubjectCounts& s = c.about[subject];
    ++s.any;
    ++s.beyondFrame;
}

void News::movedAbout(std::uint64_t subject) {
    Counts& c = counts();
    MutexLock lock(c.mutex);
    ++c.about[subject].any;
}
