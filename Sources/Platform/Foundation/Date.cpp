#include "Platform/Foundation/Date.h"

#include "Platform/Foundation/Clock.h"

Date Date::now() {
    return {Clock::current().secondsSince1970()};
}
