#include "Simulator/Server/SocketForwarder.h"

#include "Simulator/Server/OperationCoding.h"

namespace sim {

SocketForwarder::SocketForwarder(const std::string& path)
    : lines_(std::make_unique<LineClient>(path)) {}

template <class Reply, class... Arguments>
Reply SocketForwarder::ask(const OperationForm& form, Unanswered<Reply> unanswered,
                           const std::tuple<Arguments...>& arguments) {
    const std::string op(form.name);
    kelvo::JSONValue args = coding::encodeArguments(form, arguments);
    if (form.request == RequestForm::postedFields) {
        lines_->post(op, std::move(args));
        return unanswered.get();
    }
    std::optional<kelvo::JSONValue> result;
    try {
        result = lines_->call(op, std::move(args));
    } catch (const RemoteError&) {
    } catch (const DesktopGone&) {
    }
    if constexpr (std::is_void_v<Reply>) {
        return;
    } else {
        if (!result) return unanswered.get();
        try {
            return coding::decodeResult<Reply>(form, *result);
        } catch (const std::exception&) {
            return unanswered.get();
        }
    }
}

#define DESKTOP_OPERATION(Reply, name, parameters, arguments, request, reply, unanswered) \
    Reply SocketForwarder::name parameters {                                              \
        return ask(operation::name, Unanswered<Reply>{unanswered},                        \
                   std::forward_as_tuple arguments);                                      \
    }
#include "Simulator/DesktopOperations.def"

}  // namespace sim
