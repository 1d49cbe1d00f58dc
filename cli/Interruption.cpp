#include "Interruption.h"

#include <atomic>
#include <csignal>

namespace {

std::atomic<bool> g_requested{false};
static_assert(std::atomic<bool>::is_always_lock_free, "the flag is set from a signal handler");

void OnSignal(int) { g_requested.store(true); }

}  // namespace

void Interruption::Install() {
  struct sigaction action = {};
  action.sa_handler = OnSignal;
  action.sa_flags = SA_RESETHAND;  // the second signal takes the default action
  sigemptyset(&action.sa_mask);
  sigaction(SIGINT, &action, nullptr);
  sigaction(SIGTERM, &action, nullptr);
}

bool Interruption::Requested() { return g_requested.load(); }
