#include "platform/design.hpp"

#include <algorithm>

namespace brindle::platform {

const ControlDesign* WindowDesign::Find(std::string_view control_name) const noexcept {
    const auto found = std::find_if(controls.begin(), controls.end(),
                                    [&](const ControlDesign& c) { return c.name == control_name; });
    return found == controls.end() ? nullptr : &*found;
}

} // namespace brindle::platform
