#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "platform/sync/counted_lock.h"

namespace qv {
namespace {

TEST(CountedRecursiveLock, CountsNestedEntries) {
  CountedRecursiveLock lock;
  lock.lock();
  lock.lock();
  EXPECT_EQ(lock.entries(), 2);
  lock.unlock();
  EXPECT_EQ(lock.entries(), 1);
  lock.unlock();
  EXPECT_EQ(lock.entries(), 0);
}

TEST(CountedRecursiveLock, ExtraReleaseIsIgnoredAndLockStaysUsable) {
  CountedRecursiveLock lock;
  lock.unlock();  // never entered
  lock.lock();
  lock.unlock();
  lock.unlock();  // one too many
  EXPECT_EQ(lock.entries(), 0);
  std::atomic<bool> taken{false};
  std::thread other([&] {
    CountedLockGuard guard(lock);
    taken = true;
  });
  other.join();
  EXPECT_TRUE(taken);
}

TEST(CountedRecursiveLock, ReleaseFromANonOwnerDoesNotFreeTheOwner) {
  CountedRecursiveLock lock;
  lock.lock();
  std::thread intruder([&] { lock.unlock(); });
  intruder.join();
  EXPECT_EQ(lock.entries(), 1);
  std::atomic<bool> got{true};
  std::thread tryer([&] { got = lock.try_lock(); if (got) lock.unlock(); });
  tryer.join();
  EXPECT_FALSE(got);  // still held by this thread
  lock.unlock();
}

}  // namespace
}  // namespace qv
