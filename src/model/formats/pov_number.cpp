// Five-significant-digit numbers for the POV-Ray file, rounded on the exact value.
#include "model/formats/pov_number.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <system_error>

namespace {

// Every float, widened to double, has an exact decimal expansion of at most 112
// significant digits (the smallest subnormal, 2^-149, has 105), so scientific
// notation with this many digits after the point never rounds: the digits below
// are the value itself, and ties can be broken the way the file has always done it
// (away from zero) instead of the C library's ties-to-even.
constexpr int kExactDigits = 120;
constexpr int kSignificant = 5;

struct Decimal {
    char digits[kSignificant];  // '0'..'9', the leading one non-zero
    int exponent;               // value = d.dddd x 10^exponent
};

Decimal RoundToFiveDigits(double magnitude)
{
    char text[kExactDigits + 16];
    const auto result =
        std::to_chars(text, text + sizeof text, magnitude, std::chars_format::scientific, kExactDigits);
    // "d.ddd...e+XX": the leading digit, then the fraction digits, then the exponent.
    const char* e = text;
    while (e < result.ptr && *e != 'e') ++e;
    Decimal d{};
    // to_chars does not end its text with a NUL: parse the exponent within the text.
    const char* sign = e + 1;
    if (sign < result.ptr && *sign == '+') ++sign;
    std::from_chars(sign, result.ptr, d.exponent);
    d.digits[0] = text[0];
    for (int k = 1; k < kSignificant; ++k) d.digits[k] = text[k + 1];
    // The sixth digit decides: 5 or more (a tie included) rounds the magnitude up.
    if (text[kSignificant + 1] >= '5') {
        int k = kSignificant - 1;
        while (k >= 0 && d.digits[k] == '9') d.digits[k--] = '0';
        if (k >= 0) {
            ++d.digits[k];
        } else {
            // 9.9999|5 became 10.000: one digit more to the left.
            d.digits[0] = '1';
            ++d.exponent;
        }
    }
    return d;
}

// Drops trailing zeros of digits[from, to) and appends what is left.
void AppendWithoutTrailingZeros(std::string& out, const char* digits, int from, int to)
{
    while (to > from && digits[to - 1] == '0') --to;
    out.append(digits + from, digits + to);
}

}  // namespace

void AppendPovNumber(std::string& out, float value)
{
    if (value == 0.0f) {
        out += "0.0";
        return;
    }
    const double wide = value;
    if (std::signbit(wide)) out += '-';
    if (!std::isfinite(wide)) {
        // No reader takes these; the export refuses such a model before it writes.
        out += std::isnan(wide) ? "nan" : "inf";
        return;
    }
    const Decimal d = RoundToFiveDigits(std::fabs(wide));
    if (d.exponent >= -1 && d.exponent <= kSignificant - 1) {
        if (d.exponent == -1) {
            out += "0.";
            AppendWithoutTrailingZeros(out, d.digits, 0, kSignificant);
        } else {
            const int integerDigits = d.exponent + 1;
            out.append(d.digits, d.digits + integerDigits);
            if (integerDigits < kSignificant) {
                out += '.';
                AppendWithoutTrailingZeros(out, d.digits, integerDigits, kSignificant);
            }
        }
        return;
    }
    out += d.digits[0];
    out += '.';
    AppendWithoutTrailingZeros(out, d.digits, 1, kSignificant);
    out += 'e';
    out += d.exponent < 0 ? '-' : '+';
    const int magnitude = std::abs(d.exponent);
    out += static_cast<char>('0' + magnitude / 100 % 10);
    out += static_cast<char>('0' + magnitude / 10 % 10);
    out += static_cast<char>('0' + magnitude % 10);
}

std::string PovNumber(float value)
{
    std::string out;
    AppendPovNumber(out, value);
    return out;
}

void WritePovVector(float x, float y, float z, std::string& out)
{
    out += " <";
    AppendPovNumber(out, x);
    out += ',';
    AppendPovNumber(out, y);
    out += ',';
    AppendPovNumber(out, z);
    out += "> ";
}
