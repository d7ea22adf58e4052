#include <unistd.h>

#include <atomic>
#include <csignal>
#include <iostream>

#include "cli/command_line.h"

namespace {

std::atomic<bool> interrupted{false};
static_assert(std::atomic<bool>::is_always_lock_free, "set from a signal handler");

extern "C" void onInterrupt(int) { interrupted.store(true); }

}  // namespace

int main(int argc, char** argv) {
  // The first Ctrl+C ends the run cleanly; a second one ends the program at once.
  struct sigaction action {};
  action.sa_handler = onInterrupt;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESETHAND;
  sigaction(SIGINT, &action, nullptr);

  wolterix::cli::RunControl control;
  control.showProgress = ::isatty(STDERR_FILENO) == 1;
  control.interrupted = &interrupted;
  try {
    return wolterix::cli::runCommandLine(argc, argv, std::cout, std::cerr, control);
  } catch (...) {
    return wolterix::cli::kUsageOrFileError;  // nothing is left that could even report it
  }
}
