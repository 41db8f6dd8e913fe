#pragma once

#include <memory>
#include <string>

#include "Base/Foundation/CFType.h"

/// An immutable run of bytes.
class CFData final : public CFObject {
  public:
    explicit CFData(std::string bytes) : bytes_(std::move(bytes)) {}
    const std::string& bytes() const { return bytes_; }
    bool isEqual(const CFObject& other) const override;

  private:
    std::string bytes_;
};
using CFDataRef = std::shared_ptr<const CFData>;
CFDataRef CFDataCreate(std::string bytes);
long CFDataGetLength(const CFDataRef& data);
