// The outcome of work that meets the outside world (open, save, export, import):
// success, or one message that names the file and the reason.
#pragma once

#include <string>
#include <utility>

struct [[nodiscard]] Result {
    bool ok = true;
    std::string error;  // "Cannot save /tmp/ro/box.pdm: Permission denied" when !ok

    static Result Success() { return {}; }
    static Result Failure(std::string message) { return {false, std::move(message)}; }
    explicit operator bool() const { return ok; }
};
