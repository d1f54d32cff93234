// A stop signal becomes one call on the event loop; the display going away
// after it is no failure, before it is one.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>

#include <csignal>

#include "platform/stopsignals.h"

namespace {

TEST(StopSignals, ASignalBecomesOneCallOnTheEventLoop) {
    const QString gone = "The X11 connection broke (error 1). Did the X11 server die?";
    int stops = 0;
    {
        vm::StopSignalWatch watch([&] { ++stops; });
        EXPECT_FALSE(vm::StopSignalReceived());
        EXPECT_FALSE(vm::IsDisplayGoneAfterStop(gone)) << "a display lost on its own is a failure";
        std::raise(SIGTERM);  // handled: the test goes on
        EXPECT_EQ(stops, 0) << "nothing runs inside the signal handler";
        QElapsedTimer t;
        t.start();
        while (stops == 0 && t.elapsed() < 5000) QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
        EXPECT_EQ(stops, 1);
        EXPECT_TRUE(vm::StopSignalReceived());
        EXPECT_TRUE(vm::IsDisplayGoneAfterStop(gone));
        EXPECT_FALSE(vm::IsDisplayGoneAfterStop("QSocketNotifier: Invalid socket"));
    }
    // The watch gone, the former handlers are back (here: a handler of the test's own).
    static volatile std::sig_atomic_t caught = 0;
    auto former = std::signal(SIGTERM, [](int) { caught = 1; });
    {
        vm::StopSignalWatch watch([] {});
    }
    std::raise(SIGTERM);
    EXPECT_EQ(caught, 1);
    std::signal(SIGTERM, former);
}

}  // namespace
