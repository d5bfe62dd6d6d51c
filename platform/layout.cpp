#include "platform/layout.hpp"

#include <algorithm>
#include <numeric>

namespace brindle::platform {
namespace {

// The least room kept between a grown control and the one it pushes, and between the rightmost
// control and the window's edge when the window has to widen.
constexpr int kGapTwips = 60;

bool SharesARow(const TwipsRect& a, const TwipsRect& b) {
    return a.top < b.top + b.height && b.top < a.top + a.height;
}

PixelRect Fit(const ControlDesign& control, std::size_t index, const TwipsScale& scale,
              const CaptionMeasure& measure, PixelSize& natural) {
    PixelRect rect = scale.ToPixels(control.place);
    if (control.kind == ControlKind::TextBox) {
        return rect;
    }
    if (control.style.sizes_to_caption && control.style.word_wrap) {
        rect.height = measure.WrappedHeight(index, rect.width);
        return rect;
    }
    natural = measure.Natural(index);
    if (control.style.sizes_to_caption) {
        rect.width = natural.width;
        rect.height = natural.height;
    } else {
        rect.width = std::max(rect.width, natural.width);
    }
    return rect;
}

} // namespace

WindowLayout LayOutWindow(const WindowDesign& design, const TwipsScale& scale,
                          const CaptionMeasure& measure) {
    const std::span<const ControlDesign> controls = design.controls;
    WindowLayout layout;
    layout.controls.reserve(controls.size());
    layout.natural.assign(controls.size(), PixelSize{});
    for (std::size_t i = 0; i < controls.size(); ++i) {
        layout.controls.push_back(Fit(controls[i], i, scale, measure, layout.natural[i]));
    }

    // Left to right, so that a push passes on along the row.
    std::vector<std::size_t> order(controls.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        return controls[a].place.left < controls[b].place.left;
    });
    const int gap = scale.ToPixels(kGapTwips);
    for (std::size_t at = 0; at < order.size(); ++at) {
        const std::size_t grown = order[at];
        const TwipsRect& grown_place = controls[grown].place;
        const int design_right = scale.ToPixels(grown_place.left + grown_place.width);
        const PixelRect& grown_rect = layout.controls[grown];
        if (grown_rect.Right() <= design_right) {
            continue;
        }
        for (std::size_t next = at + 1; next < order.size(); ++next) {
            const std::size_t other = order[next];
            const TwipsRect& other_place = controls[other].place;
            if (other_place.left >= grown_place.left + grown_place.width &&
                SharesARow(grown_place, other_place)) {
                PixelRect& pushed = layout.controls[other];
                pushed.x = std::max(pushed.x, grown_rect.Right() + gap);
            }
        }
    }

    layout.client = {scale.ToPixels(design.client_width), scale.ToPixels(design.client_height)};
    for (const PixelRect& rect : layout.controls) {
        if (rect.Right() > layout.client.width) {
            layout.client.width = rect.Right() + gap;
        }
        if (rect.Bottom() > layout.client.height) {
            layout.client.height = rect.Bottom() + gap;
        }
    }
    return layout;
}

} // namespace brindle::platform
