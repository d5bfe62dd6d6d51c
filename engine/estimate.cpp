#include "engine/estimate.hpp"

#include "platform/runtime_error.hpp"

#include <cmath>

namespace brindle::engine {
namespace {

// Each constant is held in single precision, and each is exact there.
constexpr ByteFigure kCompressionDivisor = 4.0F;
constexpr ByteFigure kSecondsPerHour = 3600.0F;
constexpr ByteFigure kHoursPerDay = 24.0F;
// 44100 compressed bytes per second (176400 of 44.1 kHz 16-bit stereo, over 4) times 86400 s.
// Held as its own constant rather than derived from the archive rates.
constexpr ByteFigure kCDBytesPerDay = 3810240000.0F;
constexpr ByteFigure kUnitDivisor = 1024.0F;

static_assert(static_cast<double>(kCDBytesPerDay) == 3810240000.0);

// Uncompressed bytes per second: 16-bit samples at 11025 or 22050 Hz, one or two channels.
constexpr double UncompressedRate(ArchiveQuality quality) {
    switch (quality) {
    case ArchiveQuality::Mono11k:
        return 22050.0;
    case ArchiveQuality::Stereo11k:
    case ArchiveQuality::Mono22k:
        return 44100.0;
    case ArchiveQuality::Stereo22k:
        return 88200.0;
    case ArchiveQuality::None:
        break;
    }
    return 0.0;
}

// Round to nearest single-precision value, ties to even; a magnitude beyond the single range
// becomes an infinity, which the check that follows turns into the overflow error.
RoundedFigure RoundToSingle(double exact) {
    return RoundedFigure(static_cast<ByteFigure>(exact));
}

void CheckFinite(double intermediate) {
    if (!std::isfinite(intermediate)) {
        platform::RaiseOverflow();
    }
}

double Widen(ByteFigure figure) {
    return static_cast<double>(figure);
}

} // namespace

ByteFigure RoundedFigure::Checked() const {
    if (!std::isfinite(value_)) {
        platform::RaiseOverflow();
    }
    return value_;
}

void RoundedFigure::StoreInto(ByteFigure& field) const {
    field = value_;
    static_cast<void>(Checked());
}

ByteFigure ArchiveRate(ArchiveQuality quality) {
    if (quality == ArchiveQuality::None) {
        return 0.0F;
    }
    return RoundToSingle(UncompressedRate(quality) / Widen(kCompressionDivisor)).Checked();
}

RoundedFigure ComputeArchiveBytes(ArchiveQuality quality, DayCount days) {
    const double per_day =
        Widen(ArchiveRate(quality)) * Widen(kSecondsPerHour) * Widen(kHoursPerDay);
    CheckFinite(per_day);
    return RoundToSingle(per_day * days);
}

RoundedFigure ComputeCDBytes(DayCount days) {
    return RoundToSingle(Widen(kCDBytesPerDay) * days);
}

RoundedFigure ComputeTotal(ByteFigure cd, ByteFigure archive) {
    return RoundToSingle(Widen(archive) + Widen(cd));
}

RoundedFigure ToGigabytes(ByteFigure total) {
    return RoundToSingle(Widen(total) / Widen(kUnitDivisor) / Widen(kUnitDivisor) /
                         Widen(kUnitDivisor));
}

RoundedFigure ToMegabytes(ByteFigure total) {
    return RoundToSingle(Widen(total) / Widen(kUnitDivisor) / Widen(kUnitDivisor));
}

} // namespace brindle::engine
