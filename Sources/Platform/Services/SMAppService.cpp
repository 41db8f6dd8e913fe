#include "Platform/Services/SMAppService.h"

SMAppService& SMAppService::mainApp() {
    static SMAppService service;
    return service;
}

SMAppService::Status SMAppService::status() const {
    return Status::notFound;
}

void SMAppService::registerService() {}

void SMAppService::unregisterService() {}

std::string toString(SMAppService::Status status) {
    switch (status) {
        case SMAppService::Status::notRegistered:
            return "notRegistered";
        case SMAppService::Status::enabled:
            return "enabled";
        case SMAppService::Status::requiresApproval:
            return "requiresApproval";
        case SMAppService::Status::notFound:
            return "notFound";
    }
    return "notFound";
}
