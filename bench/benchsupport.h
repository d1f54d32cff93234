// What the benchmark programs share: one headless application for the
// window benchmarks, made on first use and never destroyed (Qt's own
// globals are gone by the time statics end).
#pragma once
class QApplication;

namespace vmbench {

QApplication& App();

}  // namespace vmbench
