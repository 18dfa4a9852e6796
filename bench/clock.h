#pragma once
// The clock every part of the window benchmark reads, and how a part gives up.
#include <chrono>
#include <stdexcept>
#include <string>

namespace windowbench {

using Clock = std::chrono::steady_clock;

inline double millisecondsBetween(Clock::time_point from, Clock::time_point to)
{
    return std::chrono::duration<double, std::milli>(to - from).count();
}

inline Clock::time_point after(double ms)
{
    return Clock::now() + std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double, std::milli>(ms));
}

[[noreturn]] inline void fail(const std::string &what)
{
    throw std::runtime_error(what);
}

} // namespace windowbench
