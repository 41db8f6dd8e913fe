#include "Platform/Services/SMAppService.h"

#include "Simulator/SharedConnection.h"

SMAppService& SMAppService::mainApp() {
    static SMAppService service;
    return service;
}

SMAppService::Status SMAppService::status() const {
    const std::string status = sim::SharedConnection::current()->loginItemStatus();
    if (status == "notRegistered") return Status::notRegistered;
    if (status == "enabled") return Status::enabled;
    if (status == "requiresApproval") return Status::requiresApproval;
    return Status::notFound;
}

void SMAppService::registerService() {
    if (const auto refusal = sim::SharedConnection::current()->setLoginItem(true))
        throw Error(*refusal);
}

void SMAppService::unregisterService() {
    if (const auto refusal = sim::SharedConnection::current()->setLoginItem(false))
        throw Error(*refusal);
}

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
