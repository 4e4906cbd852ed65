// The coordinate text: it reads back as the very same float, and is no longer than needed.
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <string>

#include "framework/float_text.h"

namespace {

float ReadBack(const std::string& text)
{
    char* end = nullptr;
    const float value = std::strtof(text.c_str(), &end);
    EXPECT_EQ(end, text.c_str() + text.size()) << text;
    return value;
}

}  // namespace

TEST(FloatText, KnownValuesHaveTheirShortestText)
{
    EXPECT_EQ(ShortestFloat(0.1f), "0.1");
    EXPECT_EQ(ShortestFloat(1e10f), "1e+10");
    EXPECT_EQ(ShortestFloat(-0.0f), "-0");
    EXPECT_EQ(ShortestFloat(100.0f), "100");
    EXPECT_EQ(ShortestFloat(-0.00038027726f), "-0.00038027726");
    std::string out = "v ";
    AppendShortestFloat(out, 2.5f);
    EXPECT_EQ(out, "v 2.5");
}

TEST(FloatText, EveryBitPatternOfASampleReadsBackExactly)
{
    // A stride through all finite floats, with the extremes: denormals, the largest, -0.
    for (std::uint64_t bits = 0; bits <= 0xffffffffu; bits += 0x00f0f0f1u) {
        const float value = std::bit_cast<float>(static_cast<std::uint32_t>(bits));
        if (!std::isfinite(value)) continue;
        EXPECT_EQ(std::bit_cast<std::uint32_t>(ReadBack(ShortestFloat(value))), bits) << ShortestFloat(value);
    }
    for (const float value : {std::numeric_limits<float>::denorm_min(), std::numeric_limits<float>::max(),
                              std::numeric_limits<float>::lowest(), std::numeric_limits<float>::min(), -0.0f}) {
        EXPECT_EQ(std::bit_cast<std::uint32_t>(ReadBack(ShortestFloat(value))), std::bit_cast<std::uint32_t>(value));
    }
}
