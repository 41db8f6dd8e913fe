#pragma once

#include <string>
#include <vector>

namespace kelvo {

/// What a stand-in service was asked, one line per request in the order asked, written as
/// the call reads in code: "setDesktops(2, [1 2])". The services of the panels, the status
/// item and the own windows keep one until their own drawing exists.
class RequestLog {
  public:
    void note(std::string request) { requests_.push_back(std::move(request)); }
    const std::vector<std::string>& requests() const { return requests_; }
    void clear() { requests_.clear(); }

  private:
    std::vector<std::string> requests_;
};

}  // namespace kelvo
