// Coordinate text of OBJ files that fast readers take back exactly, not only exact ones.
//
// A fast reader (the Open Asset Import Library's, which File > Import uses) does not
// round a decimal once: it turns the integer digits and the fraction digits (at most 15)
// into two numbers, adds them in float, and multiplies by a float power of ten for an
// exponent. The shortest text can then come back one unit in the last place off:
// "15.64356" is not read as the float it was written from. Writing the whole part and
// the fraction's own shortest digits instead makes both parts exact and their sum exact,
// and the text still lies within half a unit of the float, so exact readers agree.
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <string>
#include <string_view>

#include "model/formats/mesh_writer.h"

namespace {

constexpr int kFractionDigits = 15;

// The value the fast reader makes of the text; false for text it would take apart
// differently (more than 19 integer digits overflow it, further fraction digits are dropped).
bool FastRead(std::string_view text, float* value)
{
    static constexpr double kScale[kFractionDigits + 1] = {0.0,   1e-1,  1e-2,  1e-3,  1e-4,  1e-5,  1e-6,  1e-7,
                                                           1e-8,  1e-9,  1e-10, 1e-11, 1e-12, 1e-13, 1e-14, 1e-15};
    std::size_t at = 0;
    const bool negative = at < text.size() && text[at] == '-';
    if (negative) ++at;
    auto digits = [&](int limit, std::uint64_t* number, int* count) {
        *number = 0;
        *count = 0;
        while (at < text.size() && text[at] >= '0' && text[at] <= '9') {
            if (*count == limit) return false;
            *number = *number * 10 + std::uint64_t(text[at++] - '0');
            ++*count;
        }
        return true;
    };
    std::uint64_t whole = 0, fraction = 0, exponent = 0;
    int wholeDigits = 0, fractionDigits = 0, exponentDigits = 0;
    if (!digits(19, &whole, &wholeDigits)) return false;
    float f = static_cast<float>(whole);
    if (at < text.size() && text[at] == '.') {
        ++at;
        if (!digits(kFractionDigits, &fraction, &fractionDigits)) return false;
        f += static_cast<float>(static_cast<double>(fraction) * kScale[fractionDigits]);
    }
    if (at < text.size() && (text[at] == 'e' || text[at] == 'E')) {
        ++at;
        const bool down = at < text.size() && text[at] == '-';
        if (at < text.size() && (text[at] == '-' || text[at] == '+')) ++at;
        if (!digits(3, &exponent, &exponentDigits)) return false;
        const float power = static_cast<float>(exponent);
        f *= std::pow(10.0f, down ? -power : power);
    }
    if (at != text.size() || wholeDigits + fractionDigits == 0) return false;
    *value = negative ? -f : f;
    return true;
}

bool ReadsBackAs(std::string_view text, float value)
{
    float read = 0.0f;
    return FastRead(text, &read) && std::bit_cast<std::uint32_t>(read) == std::bit_cast<std::uint32_t>(value);
}

}  // namespace

void AppendObjFloat(std::string& out, float value)
{
    char shortest[32];
    const auto end = std::to_chars(shortest, shortest + sizeof shortest, value).ptr;
    const std::string_view text(shortest, static_cast<std::size_t>(end - shortest));
    if (ReadsBackAs(text, value) || !std::isfinite(value)) {
        out.append(text);
        return;
    }
    // The whole part, then the fraction's shortest digits. The fraction of a float is
    // itself a float, so nothing is rounded on the way.
    const float whole = std::trunc(std::fabs(value));
    if (whole < 1e19f) {
        std::string split = std::signbit(value) ? "-" : "";
        split += std::to_string(static_cast<std::uint64_t>(whole));
        const float fraction = std::fabs(value) - whole;
        if (fraction != 0.0f) {
            char digits[64];
            const auto stop = std::to_chars(digits, digits + sizeof digits, fraction, std::chars_format::fixed).ptr;
            split.append(digits + 1, stop);  // ".64355946" of "0.64355946"
        }
        if (ReadsBackAs(split, value)) {
            out += split;
            return;
        }
    }
    // Far from 1 (below about 1e-8, above 1e19) the fast reader scales a mantissa by a
    // power of ten in float, which rounds once more: a longer mantissa often survives
    // that, though none always does. Failing all, the shortest text, which exact readers
    // still take back exactly.
    for (int precision = 8; precision <= 12; ++precision) {
        char scientific[48];
        const auto stop = std::to_chars(scientific, scientific + sizeof scientific, value,
                                        std::chars_format::scientific, precision)
                              .ptr;
        const std::string_view candidate(scientific, static_cast<std::size_t>(stop - scientific));
        if (ReadsBackAs(candidate, value)) {
            out.append(candidate);
            return;
        }
    }
    out.append(text);
}
