// Writing and reading the recovery copy's description, strictly: a damaged one is refused.
#include "framework/recovery_info.h"

#include <charconv>
#include <map>

namespace {

constexpr std::string_view kHeader = "Polydrom recovery copy 1";

std::string Escape(std::string_view text)
{
    std::string out;
    for (char c : text) {
        if (c == '\\') out += "\\\\";
        else if (c == '\n') out += "\\n";
        else if (c == '\r') out += "\\r";
        else out += c;
    }
    return out;
}

bool Unescape(std::string_view text, std::string* out)
{
    out->clear();
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\') {
            *out += text[i];
            continue;
        }
        if (++i == text.size()) return false;
        switch (text[i]) {
        case '\\': *out += '\\'; break;
        case 'n': *out += '\n'; break;
        case 'r': *out += '\r'; break;
        default: return false;
        }
    }
    return true;
}

template <typename Number>
bool ParseNumber(std::string_view text, Number* value)
{
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), *value);
    return error == std::errc() && end == text.data() + text.size() && !text.empty();
}

// A value of digits only (the start time); empty is allowed.
bool IsDigits(std::string_view text) { return text.find_first_not_of("0123456789") == std::string_view::npos; }

}  // namespace

std::string FormatRecoveryInfo(const RecoveryInfo& info)
{
    std::string text(kHeader);
    text += '\n';
    text += info.original.empty() ? std::string("original") : "original " + Escape(info.original);
    text += "\ntime " + std::to_string(info.time);
    text += "\npid " + std::to_string(info.process.pid);
    text += "\nboot " + Escape(info.process.boot);
    text += "\nstarted " + Escape(info.process.started);
    text += '\n';
    return text;
}

Result ParseRecoveryInfo(std::string_view text, RecoveryInfo* info)
{
    std::map<std::string, std::string, std::less<>> values;
    bool first = true;
    while (!text.empty()) {
        const auto end = text.find('\n');
        if (end == std::string_view::npos) return Result::Failure("the last line is cut short");
        const std::string_view line = text.substr(0, end);
        text.remove_prefix(end + 1);
        if (first) {
            if (line != kHeader) return Result::Failure("it does not start with \"" + std::string(kHeader) + "\"");
            first = false;
            continue;
        }
        const auto space = line.find(' ');
        const std::string key(line.substr(0, space));
        const std::string_view value = space == std::string_view::npos ? std::string_view() : line.substr(space + 1);
        std::string unescaped;
        if (!Unescape(value, &unescaped)) return Result::Failure("the " + key + " line has a stray backslash");
        if (!values.emplace(key, unescaped).second) return Result::Failure("the " + key + " line appears twice");
    }
    if (first) return Result::Failure("it is empty");
    // Lines of later versions are ignored; these must be there and make sense. Every
    // line is required, so a description cut short at a line's end is refused too.
    for (const char* key : {"original", "time", "pid", "boot", "started"})
        if (!values.contains(key)) return Result::Failure(std::string("it has no ") + key + " line");

    RecoveryInfo parsed;
    parsed.original = values["original"];
    if (!ParseNumber(values["time"], &parsed.time) || parsed.time < 0)
        return Result::Failure("the time \"" + values["time"] + "\" is not a number of seconds");
    if (!ParseNumber(values["pid"], &parsed.process.pid) || parsed.process.pid <= 0)
        return Result::Failure("the pid \"" + values["pid"] + "\" is not a process id");
    parsed.process.boot = values["boot"];
    parsed.process.started = values["started"];
    if (!IsDigits(parsed.process.started))
        return Result::Failure("the start time \"" + parsed.process.started + "\" is not a number");
    *info = std::move(parsed);
    return Result::Success();
}
