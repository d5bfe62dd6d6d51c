#pragma once

#include "platform/design.hpp"
#include "platform/twips.hpp"

#include <cstddef>
#include <vector>

namespace brindle::platform {

struct PixelSize {
    int width = 0;
    int height = 0;
    friend bool operator==(const PixelSize&, const PixelSize&) = default;
};

// How much room each control's current caption needs in the window's font, as the backend
// measures it, including the control's own frame, margins or indicator. Controls are numbered in
// the design's order.
class CaptionMeasure {
public:
    [[nodiscard]] virtual PixelSize Natural(std::size_t control) const = 0;
    // The height of a word-wrapping label's caption broken into lines of at most `width`.
    [[nodiscard]] virtual int WrappedHeight(std::size_t control, int width) const = 0;

protected:
    ~CaptionMeasure() = default;
};

struct WindowLayout {
    PixelSize client;
    std::vector<PixelRect> controls; // in the design's order
    std::vector<PixelSize> natural;  // what each caption needed; zero where it was not measured
};

// Where every control goes, in pixels, for the captions the controls have now. Places and sizes are
// the design's, scaled; then:
// - a label that sizes itself keeps its left and top and takes its caption's size (a wrapping one
//   keeps its width and takes the height of its lines);
// - no label or option is narrower than its caption needs, so nothing is cut off;
// - a control that has grown past its design width pushes the controls to its right in the same
//   row along, so that nothing overlaps;
// - the client area is the design's, widened only when a control would otherwise reach past it.
// With the design's own font nothing grows, and every control sits on its design rectangle.
[[nodiscard]] WindowLayout LayOutWindow(const WindowDesign& design, const TwipsScale& scale,
                                        const CaptionMeasure& measure);

// Whether `layout` still holds after the caption of control `index` changed to one that needs
// `natural`. Most new figures need exactly the room the old ones did (a font's digits share one
// width), and then a backend need not lay the window out again on the keystroke. A wrapping label
// never counts as unchanged: its height depends on where its words break.
// Inline: it runs on every caption write, twice a keystroke.
[[nodiscard]] inline bool LayoutStillHolds(const WindowLayout& layout, const WindowDesign& design,
                                           std::size_t index, PixelSize natural) {
    return !design.controls[index].style.word_wrap && layout.natural[index] == natural;
}

} // namespace brindle::platform
