// A worker's thread as every thread of the program starts it: its end is told on every path, a paused
// worker waits at its checkpoint, and a stop ends the pause.
#include "win/Mailbox.h"
#include "win/StopToken.h"
#include "win/Thread.h"

#include <gtest/gtest.h>

#include <atomic>
#include <stdexcept>
#include <thread>
#include <vector>

namespace {

TEST(Worker, TellsItsEndOnEveryPathAndWaitsWhilePausedUntilStopped) {
    win::StopToken token;
    win::Mailbox<bool> ends;  // each end: whether the work completed
    std::atomic<int> arrived{0};
    std::atomic<int> steps{0};
    token.pause();
    win::Worker worker;
    auto work = [&] {
        for (;;) {
            ++arrived;
            token.checkpoint();
            if (token.stopRequested())
                throw std::runtime_error("stopped");  // a failure on the way out: the end is told all the same
            ++steps;
        }
    };
    ASSERT_TRUE(worker.start(work, [&](bool completed) { ends.post(completed); }));
    while (arrived == 0)
        std::this_thread::yield();
    EXPECT_FALSE(worker.join(200)) << "a paused worker waits at its checkpoint";
    EXPECT_EQ(steps, 0);
    EXPECT_FALSE(worker.start([] {})) << "one thread at a time";

    token.resume();
    while (steps < 100)
        std::this_thread::yield();
    token.pause();
    token.stop();  // also ends the pause
    ASSERT_TRUE(worker.join(10000));
    EXPECT_EQ(ends.take(), std::vector<bool>{false});

    ASSERT_TRUE(worker.start([] {}, [&](bool completed) { ends.post(completed); })) << "joined, it starts again";
    ASSERT_TRUE(worker.join(10000));
    EXPECT_EQ(ends.take(), std::vector<bool>{true});
}

}  // namespace
