#pragma once

#include <optional>
#include <string>

namespace kelvo::testing {

/// One environment variable of this process held for a test (HOME, TZ, …): set as asked while
/// the object lives, and put back as it was when it goes, removed again if it was not set.
class ScopedEnvironment {
  public:
    /// Keeps the variable as it is, to be put back.
    explicit ScopedEnvironment(std::string name);
    /// Sets the variable to `value`; none removes it.
    ScopedEnvironment(std::string name, const std::optional<std::string>& value);
    ~ScopedEnvironment();
    ScopedEnvironment(const ScopedEnvironment&) = delete;
    ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

    /// Sets the variable again; what is put back stays what it was at first.
    void set(const std::optional<std::string>& value);

  private:
    std::string name_;
    std::optional<std::string> previous_;
};

}  // namespace kelvo::testing
