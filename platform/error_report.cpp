#include "platform/error_report.hpp"

namespace brindle::platform {

std::string ErrorReportText(const RuntimeError& error) {
    switch (error.Number()) {
    case ErrorNumber::Overflow:
        return "Overflow: the estimate is too large to compute";
    case ErrorNumber::OutOfMemory:
        return "Out of memory: the estimate could not be shown";
    case ErrorNumber::ControlCallFailed:
    case ErrorNumber::Internal:
        break;
    }
    return error.Description();
}

} // namespace brindle::platform
