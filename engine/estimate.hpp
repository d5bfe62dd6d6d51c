#pragma once

// How many bytes an around-the-clock recording fills, and the figures the window shows for it.
// 16-bit audio compressed 4:1, 86400 seconds to the day. Intermediate products are formed in double
// precision; results are rounded to single precision at fixed points, and those roundings show in
// the displayed digits.
namespace brindle::engine {

using DayCount = double;
using ByteFigure = float;

enum class ArchiveQuality { None, Mono11k, Stereo11k, Mono22k, Stereo22k };

// A figure just rounded to single precision whose fault check is still due. The window stores a
// new figure before checking it, so that a figure that overflowed stays non-finite in its state
// and every later total faults too, rather than being computed from a stale figure that no longer
// matches its box. Being [[nodiscard]], a result cannot be dropped unchecked.
class [[nodiscard]] RoundedFigure {
public:
    constexpr explicit RoundedFigure(ByteFigure value) noexcept : value_(value) {}

    // The figure, or the overflow run-time error when it is not finite.
    [[nodiscard]] ByteFigure Checked() const;
    // Stores the figure into `field`, then checks it.
    void StoreInto(ByteFigure& field) const;

private:
    ByteFigure value_;
};

// Compressed bytes per second of the quality; 0 when none is chosen.
[[nodiscard]] ByteFigure ArchiveRate(ArchiveQuality quality);

[[nodiscard]] RoundedFigure ComputeArchiveBytes(ArchiveQuality quality, DayCount days);
[[nodiscard]] RoundedFigure ComputeCDBytes(DayCount days);
[[nodiscard]] RoundedFigure ComputeTotal(ByteFigure cd, ByteFigure archive);

// The display values of a total.
[[nodiscard]] RoundedFigure ToGigabytes(ByteFigure total);
[[nodiscard]] RoundedFigure ToMegabytes(ByteFigure total);

} // namespace brindle::engine
