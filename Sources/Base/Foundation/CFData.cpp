#include "Base/Foundation/CFData.h"

bool CFData::isEqual(const CFObject& other) const {
    const auto* data = dynamic_cast<const CFData*>(&other);
    return data && data->bytes_ == bytes_;
}

CFDataRef CFDataCreate(std::string bytes) {
    return std::make_shared<const CFData>(std::move(bytes));
}

long CFDataGetLength(const CFDataRef& data) {
    return data ? static_cast<long>(data->bytes().size()) : 0;
}
