// What a typed number may look like, in a dialog's field or a script's step.
#include <gtest/gtest.h>

#include <string>

#include "app/typed_input.h"

namespace {

TEST(TypedInput, Numbers)
{
    const struct {
        const char* text;
        bool ok;
        double value;
    } cases[] = {
        {"-12.5", true, -12.5}, {"+3", true, 3},      {" 1e3\t", true, 1000}, {".5", true, 0.5},
        {"0.1", true, 0.1},     {"-0", true, -0.0},   {"", false, 0},        {"  ", false, 0},
        {"+-5", false, 0},      {"--5", false, 0},    {"1,5", false, 0},     {"12abc", false, 0},
        {"inf", false, 0},      {"-infinity", false, 0}, {"nan", false, 0},  {"1e999", false, 0},
        {"0x10", false, 0},     {"1 2", false, 0},
    };
    for (const auto& c : cases) {
        double value = 7;
        EXPECT_EQ(ParseTypedNumber(c.text, &value), c.ok) << '"' << c.text << '"';
        if (c.ok) {
            EXPECT_EQ(value, c.value) << c.text;
        }
    }
}

TEST(TypedInput, Lists)
{
    const struct {
        const char* text;
        int count;
        bool ok;
    } cases[] = {
        {"1,2,3", 3, true}, {" 1 , -2 ,3e2 ", 3, true}, {"1,2", 3, false}, {"1,2,3,", 3, false},
        {"1,2,3,4", 3, false}, {"45", 1, true}, {"45,", 1, false}, {",", 1, false},
    };
    for (const auto& c : cases) {
        double values[3] = {};
        EXPECT_EQ(ParseTypedNumbers(c.text, std::span<double>(values, c.count)), c.ok) << c.text;
    }
}

}  // namespace
