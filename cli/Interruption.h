#pragma once

// Ctrl-C and SIGTERM during a run. The first request lets the files that are
// running finish (every output file is complete or absent, since outputs are
// written atomically) and starts no new one; a second ends the process at once.
class Interruption {
 public:
  static void Install();
  static bool Requested();
};
