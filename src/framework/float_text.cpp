// Float to text: the shortest round-trip form, as std::to_chars gives it.
#include "framework/float_text.h"

#include <charconv>

void AppendShortestFloat(std::string& out, float value)
{
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    out.append(buffer, result.ptr);
}

std::string ShortestFloat(float value)
{
    std::string text;
    AppendShortestFloat(text, value);
    return text;
}
