// A bounded retry of a step of the tree that another program may be in the way of for a moment.
#pragma once

#include <array>
#include <chrono>
#include <system_error>

namespace wondergen {

// The waits between tries, growing; a run has about a second of waiting in all.
inline constexpr std::array<std::chrono::milliseconds, 6> kRetryWaits = {
    std::chrono::milliseconds(1),  std::chrono::milliseconds(10), std::chrono::milliseconds(20),
    std::chrono::milliseconds(40), std::chrono::milliseconds(80), std::chrono::milliseconds(160)};
inline constexpr std::chrono::milliseconds kRetryBudgetOfARun(1000);

// Tries `attempt(error)`, and tries it again after each wait while it fails with an error that
// `mayPass` holds and the run's `budget` lasts; the last failure stands. `sleep(wait)` waits.
template <typename Attempt, typename MayPass, typename Sleep>
bool Retry(const Attempt& attempt, std::error_code& error, std::chrono::milliseconds& budget,
           const MayPass& mayPass, const Sleep& sleep) {
  for (const std::chrono::milliseconds wait : kRetryWaits) {
    error.clear();
    if (attempt(error)) return true;
    if (!mayPass(error) || wait > budget) return false;
    sleep(wait);
    budget -= wait;
  }
  error.clear();
  return attempt(error);
}

}  // namespace wondergen
