// Two pieces of work that only read what they share, run side by side on a big model.
#pragma once

#include <exception>
#include <system_error>
#include <thread>

// Runs `first` here and, when `together`, `second` on a thread of its own; otherwise one
// after the other. Both have ended when it returns, and an exception of `first` is thrown
// in preference to one of `second`, as when they run one after the other.
template <typename First, typename Second>
void SideBySide(bool together, First&& first, Second&& second)
{
    if (!together) {
        first();
        second();
        return;
    }
    std::exception_ptr failed;
    std::thread aside;
    try {
        aside = std::thread([&] {
            try {
                second();
            } catch (...) {
                failed = std::current_exception();
            }
        });
    } catch (const std::system_error&) {
        // No thread to be had (the system's limit): the same work, one after the other.
        first();
        second();
        return;
    }
    try {
        first();
    } catch (...) {
        aside.join();
        throw;
    }
    aside.join();
    if (failed) std::rethrow_exception(failed);
}
