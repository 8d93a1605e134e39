#pragma once

#include <fstream>
#include <string>

namespace kesta::bench {

// The process's peak resident memory since the last reset (VmHWM), so that
// one step is measured apart from what ran before it.
inline void resetPeakMemory() { std::ofstream("/proc/self/clear_refs") << "5"; }

inline double peakMegabytes() {
  std::ifstream status("/proc/self/status");
  for (std::string line; std::getline(status, line);) {
    if (line.starts_with("VmHWM:")) return std::stod(line.substr(6)) / 1024.0;
  }
  return 0;
}

}  // namespace kesta::bench
