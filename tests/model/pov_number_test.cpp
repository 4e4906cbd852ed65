// The five-digit number text of the POV-Ray file: the documented table, the ties the
// C library would round the other way, and the edges of the fixed notation.
#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <string>

#include "model/pov_number.h"

namespace {

TEST(PovNumber, DocumentedTable)
{
    EXPECT_EQ(PovNumber(0.0f), "0.0");
    EXPECT_EQ(PovNumber(-0.0f), "0.0");
    EXPECT_EQ(PovNumber(1.0f), "1.");
    EXPECT_EQ(PovNumber(10.0f), "10.");
    EXPECT_EQ(PovNumber(-3.0f), "-3.");
    EXPECT_EQ(PovNumber(0.5f), "0.5");
    EXPECT_EQ(PovNumber(-2.25f), "-2.25");
    EXPECT_EQ(PovNumber(100.0f), "100.");
    EXPECT_EQ(PovNumber(0.1f), "0.1");
    EXPECT_EQ(PovNumber(1.0f / 3.0f), "0.33333");
    EXPECT_EQ(PovNumber(0.123456f), "0.12346");
    EXPECT_EQ(PovNumber(12345.0f), "12345");
    EXPECT_EQ(PovNumber(123456.0f), "1.2346e+005");
    EXPECT_EQ(PovNumber(0.05f), "5.e-002");
}

TEST(PovNumber, ExactTiesRoundAwayFromZero)
{
    // printf would give 12.312, 12344 and -0.11719 (ties to even).
    EXPECT_EQ(PovNumber(12.3125f), "12.313");
    EXPECT_EQ(PovNumber(-12.3125f), "-12.313");
    EXPECT_EQ(PovNumber(12344.5f), "12345");
    EXPECT_EQ(PovNumber(-0.1171875f), "-0.11719");
    // Not ties: the floats nearest 1.00005 and 1.00015 lie just below them.
    EXPECT_EQ(PovNumber(1.00005f), "1.");
    EXPECT_EQ(PovNumber(1.00015f), "1.0001");
}

TEST(PovNumber, RoundingCanMoveTheNumberIntoTheNextNotation)
{
    EXPECT_EQ(PovNumber(99999.0f), "99999");
    EXPECT_EQ(PovNumber(99999.5f), "1.e+005");
    EXPECT_EQ(PovNumber(100000.0f), "1.e+005");
    EXPECT_EQ(PovNumber(0.099999f), "9.9999e-002");
    EXPECT_EQ(PovNumber(0.0999999f), "0.1");
    EXPECT_EQ(PovNumber(9.99996f), "10.");
}

TEST(PovNumber, FixedAndExponentNotationAtTheirLimits)
{
    EXPECT_EQ(PovNumber(10000.0f), "10000");
    EXPECT_EQ(PovNumber(12345.6f), "12346");
    EXPECT_EQ(PovNumber(1234.5f), "1234.5");
    EXPECT_EQ(PovNumber(0.01f), "1.e-002");
    EXPECT_EQ(PovNumber(-0.00012675909f), "-1.2676e-004");
    EXPECT_EQ(PovNumber(1e20f), "1.e+020");
    EXPECT_EQ(PovNumber(FLT_MAX), "3.4028e+038");
    EXPECT_EQ(PovNumber(-FLT_MAX), "-3.4028e+038");
    EXPECT_EQ(PovNumber(std::nextafter(0.0f, 1.0f)), "1.4013e-045");  // the smallest subnormal
    EXPECT_EQ(PovNumber(FLT_MIN), "1.1755e-038");
}

TEST(PovNumber, CornerText)
{
    std::string out;
    WritePovVector(0.0f, 10.0f, -0.0f, out);
    EXPECT_EQ(out, " <0.0,10.,0.0> ");
}

}  // namespace
