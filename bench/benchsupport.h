// What the benchmark programs share: one headless application for the
// window benchmarks, made on first use and never destroyed (Qt's own
// globals are gone by the time statics end).
#pragma once
#include <string>

class QApplication;

namespace vmbench {

QApplication& App();

// A new folder of this run's own under the temporary folder, removed with
// everything in it when the benchmark program ends.
std::string BenchDir(const std::string& stem);

}  // namespace vmbench
