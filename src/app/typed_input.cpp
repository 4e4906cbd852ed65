// Typed numbers are read with from_chars, so a decimal point is a point whatever the
// desktop's language, and a script means the same on every machine.
#include "app/typed_input.h"

#include <charconv>
#include <cmath>

bool ParseTypedNumber(std::string_view text, double* value)
{
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) return false;
    text = text.substr(first, text.find_last_not_of(" \t") - first + 1);
    // from_chars takes a minus but not a plus; people type both.
    if (text.starts_with('+')) {
        text.remove_prefix(1);
        if (text.starts_with('-')) return false;
    }
    double parsed = 0;
    const auto result = std::from_chars(text.data(), text.data() + text.size(), parsed);
    if (result.ec != std::errc() || result.ptr != text.data() + text.size() || !std::isfinite(parsed)) return false;
    *value = parsed;
    return true;
}

bool ParseTypedNumbers(std::string_view text, std::span<double> values)
{
    for (std::size_t k = 0; k < values.size(); ++k) {
        const bool last = k + 1 == values.size();
        const auto comma = last ? text.size() : text.find(',');
        if (comma == std::string_view::npos || (last && text.find(',') != std::string_view::npos)) return false;
        if (!ParseTypedNumber(text.substr(0, comma), &values[k])) return false;
        text.remove_prefix(last ? text.size() : comma + 1);
    }
    return true;
}
