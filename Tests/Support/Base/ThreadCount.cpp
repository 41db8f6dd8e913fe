#include "Support/Base/ThreadCount.h"

#include <filesystem>
#include <iterator>

namespace kelvo::testing {

std::size_t threadCount() {
    const std::filesystem::directory_iterator tasks("/proc/self/task");
    return static_cast<std::size_t>(std::distance(tasks, std::filesystem::directory_iterator()));
}

}  // namespace kelvo::testing
