#include "platform/bounded_calls.h"

#include <gtest/gtest.h>

#include <atomic>
#include <future>
#include <memory>
#include <string>
#include <thread>

namespace tabulon::platform {
namespace {

using std::chrono::milliseconds;

struct Answer {
  win::Status status = win::ERROR_SUCCESS;
  std::string text;
  std::thread::id thread;
};

// A call that blocks until the test releases it, as a call to a computer
// that stopped answering does.
struct Gate {
  std::promise<void> opened;
  std::shared_future<void> open = opened.get_future().share();
};

TEST(BoundedCalls, CallsRunInOrderOnOneWorkerThreadThatEntersAndLeavesOnce) {
  auto entered = std::make_shared<std::atomic<int>>(0);
  auto left = std::make_shared<std::atomic<int>>(0);
  {
    BoundedCalls calls(milliseconds(10000), CancelToken(),
                       {[entered] { return ++*entered, win::ERROR_SUCCESS; }, [left] { ++*left; }});
    const Answer first = calls.Run<Answer>([] {
      return Answer{0, "one", std::this_thread::get_id()};
    });
    const Answer second = calls.Run<Answer>([] {
      return Answer{0, "two", std::this_thread::get_id()};
    });
    EXPECT_EQ(first.text, "one");
    EXPECT_EQ(second.text, "two");
    EXPECT_NE(first.thread, std::this_thread::get_id());
    EXPECT_EQ(first.thread, second.thread);
    EXPECT_EQ(calls.Run<win::Status>([] { return win::ERROR_ACCESS_DENIED; }),
              win::ERROR_ACCESS_DENIED);
  }
  EXPECT_EQ(*entered, 1);
  EXPECT_EQ(*left, 1);
}

TEST(BoundedCalls, AStuckCallIsAbandonedAndTheNextRunsOnAFreshWorker) {
  for (const bool stop : {false, true}) {
    SCOPED_TRACE(stop ? "stopped" : "timed out");
    std::atomic<int> stop_flag{0};
    auto gate = std::make_shared<Gate>();
    auto finished = std::make_shared<std::atomic<bool>>(false);
    BoundedCalls calls(stop ? milliseconds(60000) : milliseconds(50), CancelToken(&stop_flag));
    std::thread stopper;
    if (stop) {
      stopper = std::thread([&] {
        std::this_thread::sleep_for(milliseconds(30));
        stop_flag = 1;
      });
    }
    const Answer stuck = calls.Run<Answer>([gate, finished] {
      gate->open.wait();
      *finished = true;
      return Answer{0, "late", std::this_thread::get_id()};
    });
    if (stopper.joinable()) stopper.join();
    EXPECT_EQ(stuck.status, stop ? win::ERROR_CANCELLED : win::ERROR_TIMEOUT);
    EXPECT_EQ(stuck.text, "");
    if (stop) {
      // A stopped run makes no further calls, but still releases what it holds.
      EXPECT_EQ(calls.Run<win::Status>([] { return win::ERROR_SUCCESS; }), win::ERROR_CANCELLED);
      auto released = std::make_shared<std::atomic<bool>>(false);
      calls.Release([released] { *released = true; });
      EXPECT_TRUE(*released);
      stop_flag = 0;
    }
    const Answer next = calls.Run<Answer>([] {
      return Answer{0, "next", std::this_thread::get_id()};
    });
    EXPECT_EQ(next.text, "next");
    EXPECT_FALSE(*finished);
    // The abandoned call still ends, on its own thread, with what it owns.
    gate->opened.set_value();
    while (!*finished) std::this_thread::sleep_for(milliseconds(1));
  }
}

// What a call captured (a handle, an interface) is released on the worker
// that used it, not on the caller's thread.
TEST(BoundedCalls, WhatACallCapturedEndsOnTheWorker) {
  struct Capture {
    std::shared_ptr<std::thread::id> ended_on = std::make_shared<std::thread::id>();
    bool armed = true;
    Capture() = default;
    Capture(Capture&& other) noexcept : ended_on(std::move(other.ended_on)) { other.armed = false; }
    Capture(const Capture&) = delete;
    ~Capture() {
      if (armed) *ended_on = std::this_thread::get_id();
    }
  };
  BoundedCalls calls(milliseconds(10000), CancelToken());
  Capture capture;
  const auto ended_on = capture.ended_on;
  const std::thread::id worker = calls
                                     .Run<Answer>([c = std::move(capture)] {
                                       return Answer{0, "", std::this_thread::get_id()};
                                     })
                                     .thread;
  EXPECT_EQ(*ended_on, worker);
}

TEST(BoundedCalls, AFailedEnterFailsEveryCallWithItsStatusAndSkipsLeave) {
  auto left = std::make_shared<std::atomic<int>>(0);
  auto ran = std::make_shared<std::atomic<int>>(0);
  {
    BoundedCalls calls(milliseconds(10000), CancelToken(),
                       {[] { return win::ERROR_LOGON_FAILURE; }, [left] { ++*left; }});
    for (int i = 0; i < 2; ++i) {
      EXPECT_EQ(calls.Run<Answer>([ran] { return ++*ran, Answer{}; }).status,
                win::ERROR_LOGON_FAILURE);
    }
  }
  EXPECT_EQ(*ran, 0);
  EXPECT_EQ(*left, 0);
}

}  // namespace
}  // namespace tabulon::platform
