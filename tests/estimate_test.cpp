#include "engine/estimate.hpp"
#include "platform/runtime_error.hpp"
#include "printers.hpp"

#include <cmath>
#include <limits>

#include <gtest/gtest.h>

namespace brindle::engine {
namespace {

using platform::ErrorNumber;
using platform::RuntimeError;

constexpr double kInfinity = std::numeric_limits<double>::infinity();

// Expected figures come from an independent float32 model of the arithmetic, so they pin every
// rounding to single precision, not just the order of magnitude.
struct CDCase {
    DayCount days;
    ByteFigure bytes;
};

TEST(ComputeCDBytes, RoundsTheProductOnceToSinglePrecision) {
    const CDCase cases[] = {
        {0.0, 0.0F},           {1.0, 3810240000.0F},
        {5.0, 19051200512.0F}, // 19051200000 is not a float
        {1.5, 5715359744.0F},  {-2.0, -7620480000.0F},
        {2.5, 9525600256.0F},  {8.93e28, 3.4025443804291424e38F}, // just inside the single range
    };
    for (const auto& [days, bytes] : cases) {
        EXPECT_EQ(ComputeCDBytes(days).Checked(), bytes) << days << " days";
    }
}

TEST(ArchiveRate, HalvesThenDoublesWithQualityAndIsZeroWhenNoneIsChosen) {
    EXPECT_EQ(ArchiveRate(ArchiveQuality::Mono11k), 5512.5F);
    EXPECT_EQ(ArchiveRate(ArchiveQuality::Stereo11k), 11025.0F);
    EXPECT_EQ(ArchiveRate(ArchiveQuality::Mono22k), 11025.0F);
    EXPECT_EQ(ArchiveRate(ArchiveQuality::Stereo22k), 22050.0F);
    EXPECT_EQ(ArchiveRate(ArchiveQuality::None), 0.0F);
}

struct ArchiveCase {
    ArchiveQuality quality;
    DayCount days;
    ByteFigure bytes;
};

TEST(ComputeArchiveBytes, MultipliesRateByDayThenByDays) {
    const ArchiveCase cases[] = {
        {ArchiveQuality::Mono11k, 1.0, 476280000.0F},
        {ArchiveQuality::Stereo11k, 1.0, 952560000.0F},
        {ArchiveQuality::Mono22k, 1.0, 952560000.0F},
        {ArchiveQuality::Stereo22k, 1.0, 1905120000.0F},
        {ArchiveQuality::Mono11k, 37.0, 17622360064.0F},
        {ArchiveQuality::Stereo11k, 37.0, 35244720128.0F},
        {ArchiveQuality::Stereo22k, 37.0, 70489440256.0F},
        {ArchiveQuality::Mono22k, 0.5, 476280000.0F},
        {ArchiveQuality::Stereo22k, -0.25, -476280000.0F},
        {ArchiveQuality::None, 37.0, 0.0F},
        {ArchiveQuality::None, -1e300, 0.0F},
        {ArchiveQuality::Mono11k, 7.14e29, 3.4006392536950713e38F},
    };
    for (const auto& [quality, days, bytes] : cases) {
        EXPECT_EQ(ComputeArchiveBytes(quality, days).Checked(), bytes)
            << static_cast<int>(quality) << " quality, " << days << " days";
    }
}

TEST(ComputeTotal, AddsInSinglePrecision) {
    EXPECT_EQ(ComputeTotal(19051200512.0F, 17622360064.0F).Checked(), 36673560576.0F);
    EXPECT_EQ(ComputeTotal(-3810240000.0F, 476280000.0F).Checked(), -3333959936.0F);
    // 2^24 + 1 is not a float: the sum rounds to even.
    EXPECT_EQ(ComputeTotal(16777216.0F, 1.0F).Checked(), 16777216.0F);
}

struct DisplayCase {
    ByteFigure total;
    ByteFigure gigabytes;
    ByteFigure megabytes;
};

TEST(DisplayValues, DivideByPowersOf1024AndRoundOnce) {
    const DisplayCase cases[] = {
        {36673560576.0F, 34.154915F, 34974.633F},
        {3810240000.0F, 3.5485625F, 3633.728F},
        {0.0F, 0.0F, 0.0F},
        {-7620480000.0F, -7.097125F, -7267.456F},
        {std::numeric_limits<float>::max(), 3.1691263e29F, 3.2451853e32F},
    };
    for (const auto& [total, gigabytes, megabytes] : cases) {
        EXPECT_EQ(ToGigabytes(total).Checked(), gigabytes) << total;
        EXPECT_EQ(ToMegabytes(total).Checked(), megabytes) << total;
    }
}

// Every step that can see a non-finite result raises the overflow error, whether the cause is a
// product beyond the single range or an invalid operation such as zero times infinity.
TEST(FaultCheck, NonFiniteResultsRaiseOverflow) {
    const auto expect_overflow = [](const RoundedFigure& figure, const char* what) {
        try {
            static_cast<void>(figure.Checked());
            ADD_FAILURE() << what << " did not fault";
        } catch (const RuntimeError& error) {
            EXPECT_EQ(error.Number(), ErrorNumber::Overflow) << what;
            EXPECT_EQ(error.Description(), "Overflow") << what;
        }
    };
    expect_overflow(ComputeCDBytes(1e30), "1e30 CD days");
    expect_overflow(ComputeCDBytes(8.94e28), "8.94e28 CD days");
    expect_overflow(ComputeCDBytes(-1e30), "-1e30 CD days");
    expect_overflow(ComputeCDBytes(kInfinity), "infinite CD days");
    expect_overflow(ComputeArchiveBytes(ArchiveQuality::Mono11k, 7.2e29), "7.2e29 mono days");
    expect_overflow(ComputeArchiveBytes(ArchiveQuality::Stereo22k, 2e29), "2e29 stereo days");
    expect_overflow(ComputeArchiveBytes(ArchiveQuality::None, kInfinity), "0 x infinity");
    expect_overflow(ComputeTotal(3.0e38F, 3.0e38F), "sum beyond range");
    expect_overflow(ComputeTotal(-3.0e38F, -3.0e38F), "negative sum beyond range");
    const float infinity = std::numeric_limits<float>::infinity();
    expect_overflow(ComputeTotal(infinity, -infinity), "inf - inf");
    expect_overflow(ToGigabytes(infinity), "gigabytes of infinity");
    expect_overflow(ToMegabytes(std::numeric_limits<float>::quiet_NaN()), "megabytes of NaN");
}

TEST(FaultCheck, StoresTheFigureBeforeRaising) {
    ByteFigure field = 1.0F;
    EXPECT_THROW(ComputeCDBytes(1e30).StoreInto(field), RuntimeError);
    EXPECT_TRUE(std::isinf(field));
    EXPECT_THROW(ComputeArchiveBytes(ArchiveQuality::None, kInfinity).StoreInto(field),
                 RuntimeError);
    EXPECT_TRUE(std::isnan(field));
    ComputeCDBytes(1.0).StoreInto(field);
    EXPECT_EQ(field, 3810240000.0F);
}

// Tiny results underflow to zero or a subnormal; that is not a fault.
TEST(FaultCheck, UnderflowIsNotAFault) {
    EXPECT_EQ(ComputeCDBytes(1e-300).Checked(), 0.0F);
    EXPECT_GT(ComputeCDBytes(1e-50).Checked(), 0.0F);
    EXPECT_EQ(ToGigabytes(std::numeric_limits<float>::denorm_min()).Checked(), 0.0F);
}

} // namespace
} // namespace brindle::engine
