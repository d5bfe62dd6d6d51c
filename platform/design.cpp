#include "platform/design.hpp"

#include <algorithm>
#include <numeric>
#include <stdexcept>
#include <string>

namespace brindle::platform {

const ControlDesign* WindowDesign::Find(std::string_view control_name) const noexcept {
    const auto found = std::find_if(controls.begin(), controls.end(),
                                    [&](const ControlDesign& c) { return c.name == control_name; });
    return found == controls.end() ? nullptr : &*found;
}

std::optional<std::size_t> WindowDesign::IndexOf(std::string_view control_name) const noexcept {
    const ControlDesign* const found = Find(control_name);
    if (found == nullptr) {
        return std::nullopt;
    }
    return static_cast<std::size_t>(found - controls.data());
}

std::size_t WindowDesign::IndexOf(std::string_view control_name, ControlKind kind) const {
    const std::optional<std::size_t> index = IndexOf(control_name);
    if (!index || controls[*index].kind != kind) {
        throw std::logic_error("no control of that kind named " + std::string(control_name));
    }
    return *index;
}

std::vector<std::size_t> WindowDesign::TabOrder() const {
    std::vector<std::size_t> order(controls.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        return controls[a].tab_index < controls[b].tab_index;
    });
    return order;
}

} // namespace brindle::platform
