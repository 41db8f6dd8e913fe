#include "Base/Foundation/NSObject.h"

bool NSObject::performAction(const std::string&, const void*) {
    return false;
}
