#include "Base/Foundation/CFDate.h"

bool CFDate::isEqual(const CFObject& other) const {
    const auto* date = dynamic_cast<const CFDate*>(&other);
    return date && date->time_ == time_;
}

CFDateRef CFDateCreate(CFAbsoluteTime time) {
    return std::make_shared<const CFDate>(time);
}

CFAbsoluteTime CFDateGetAbsoluteTime(const CFDateRef& date) {
    return date ? date->absoluteTime() : 0;
}
