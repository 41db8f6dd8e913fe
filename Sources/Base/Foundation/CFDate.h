#pragma once

#include <memory>

#include "Base/Foundation/CFType.h"

/// Seconds relative to 1 January 2001, 00:00 UTC, the platform's reference date.
using CFAbsoluteTime = double;

/// A moment in time, as preference domains and property lists hold dates.
class CFDate final : public CFObject {
  public:
    explicit CFDate(CFAbsoluteTime time) : time_(time) {}
    CFAbsoluteTime absoluteTime() const { return time_; }
    bool isEqual(const CFObject& other) const override;

  private:
    CFAbsoluteTime time_;
};
using CFDateRef = std::shared_ptr<const CFDate>;
CFDateRef CFDateCreate(CFAbsoluteTime time);
CFAbsoluteTime CFDateGetAbsoluteTime(const CFDateRef& date);
