#include "Simulator/Server/DesktopClient.h"

#include "Simulator/Server/OperationCoding.h"

namespace sim {

template <class Reply, class... Arguments>
Reply DesktopClient::request(const OperationForm& form, const std::tuple<Arguments...>& arguments) {
    const std::string op(form.name);
    kelvo::JSONValue args = coding::encodeArguments(form, arguments);
    if constexpr (std::is_void_v<Reply>) {
        if (form.request == RequestForm::postedFields) {
            lines_.post(op, std::move(args));
        } else {
            lines_.call(op, std::move(args));
        }
    } else {
        return coding::decodeResult<Reply>(form, lines_.call(op, std::move(args)));
    }
}

#define DESKTOP_OPERATION(Reply, name, parameters, arguments, ...)               \
    Reply DesktopClient::name parameters {                                       \
        return request<Reply>(operation::name, std::forward_as_tuple arguments); \
    }
#define APPLICATION_OPERATION DESKTOP_OPERATION
#define CONTROL_OPERATION DESKTOP_OPERATION
#include "Simulator/DesktopOperations.def"

}  // namespace sim
