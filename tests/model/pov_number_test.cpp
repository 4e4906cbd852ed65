// The five-digit number text of the POV-Ray file: the everyday cases, the ties the
// C library would round the other way, and the edges of the fixed notation.
#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <string>

#include "model/formats/pov_number.h"

namespace {

TEST(PovNumber, Examples)
{
    const std::pair<float, const char*> cases[] = {
        // Everyday numbers.
        {0.0f, "0.0"}, {-0.0f, "0.0"}, {1.0f, "1."}, {10.0f, "10."}, {-3.0f, "-3."}, {0.5f, "0.5"},
        {-2.25f, "-2.25"}, {100.0f, "100."}, {0.1f, "0.1"}, {1.0f / 3.0f, "0.33333"}, {0.123456f, "0.12346"},
        {12345.0f, "12345"}, {123456.0f, "1.2346e+005"}, {0.05f, "5.e-002"},
        // Exact ties round away from zero; printf would give 12.312, 12344 and -0.11719.
        {12.3125f, "12.313"}, {-12.3125f, "-12.313"}, {12344.5f, "12345"}, {-0.1171875f, "-0.11719"},
        // Not ties: the floats nearest 1.00005 and 1.00015 lie just below them.
        {1.00005f, "1."}, {1.00015f, "1.0001"},
        // Rounding can move the number into the next notation.
        {99999.0f, "99999"}, {99999.5f, "1.e+005"}, {100000.0f, "1.e+005"}, {0.099999f, "9.9999e-002"},
        {0.0999999f, "0.1"}, {9.99996f, "10."},
        // Fixed and exponent notation at their limits.
        {10000.0f, "10000"}, {12345.6f, "12346"}, {1234.5f, "1234.5"}, {0.01f, "1.e-002"},
        {-0.00012675909f, "-1.2676e-004"}, {1e20f, "1.e+020"}, {FLT_MAX, "3.4028e+038"}, {-FLT_MAX, "-3.4028e+038"},
        {std::nextafter(0.0f, 1.0f), "1.4013e-045"}, {FLT_MIN, "1.1755e-038"},
    };
    for (auto [value, text] : cases) EXPECT_EQ(PovNumber(value), text) << value;

    std::string out;
    WritePovVector(0.0f, 10.0f, -0.0f, out);
    EXPECT_EQ(out, " <0.0,10.,0.0> ");
}

}  // namespace
