#include "Support/Base/ScopedEnvironment.h"

#include <cstdlib>

namespace kelvo::testing {

ScopedEnvironment::ScopedEnvironment(std::string name) : name_(std::move(name)) {
    if (const char* value = std::getenv(name_.c_str())) previous_ = value;
}

ScopedEnvironment::ScopedEnvironment(std::string name, const std::optional<std::string>& value)
    : ScopedEnvironment(std::move(name)) {
    set(value);
}

ScopedEnvironment::~ScopedEnvironment() {
    set(previous_);
}

void ScopedEnvironment::set(const std::optional<std::string>& value) {
    if (value) {
        ::setenv(name_.c_str(), value->c_str(), 1);
    } else {
        ::unsetenv(name_.c_str());
    }
}

}  // namespace kelvo::testing
