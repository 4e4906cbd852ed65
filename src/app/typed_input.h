// Reading the numbers a user types into a dialog or a script: no Qt, no locale.
#pragma once

#include <span>
#include <string_view>

// Decimal text such as "-12.5", "+3" or "1e3", with spaces around it allowed. False for
// anything else: empty text, trailing words, an infinity, NaN, or a value beyond a double.
bool ParseTypedNumber(std::string_view text, double* value);

// Exactly values.size() numbers separated by commas ("1.5,-2,0").
bool ParseTypedNumbers(std::string_view text, std::span<double> values);
