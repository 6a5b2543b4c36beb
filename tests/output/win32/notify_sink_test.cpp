// The system notification sink posts to a real window's queue.
#include <windows.h>

#include <gtest/gtest.h>

#include "platform/notify/notify_sink.h"

namespace qv {
namespace {

TEST(SystemNotifySink, PostsToTheWindowAndDropsWithoutOne) {
  HWND window = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
  ASSERT_NE(window, nullptr);
  auto sink = CreateSystemNotifySink();
  sink->Post(nullptr, kWmEngineStatus, 9, 9);  // no window: nothing happens
  sink->Post(window, kWmEngineStatus, 0, 1);
  sink->Post(window, kWmEngineBlock, 0, 0);

  MSG msg;
  ASSERT_TRUE(PeekMessageW(&msg, window, 0, 0, PM_REMOVE));
  EXPECT_EQ(msg.message, kWmEngineStatus);
  EXPECT_EQ(msg.wParam, 0u);
  EXPECT_EQ(msg.lParam, 1);
  ASSERT_TRUE(PeekMessageW(&msg, window, 0, 0, PM_REMOVE));
  EXPECT_EQ(msg.message, kWmEngineBlock);
  EXPECT_FALSE(PeekMessageW(&msg, nullptr, kWmEngineStatus, kWmEngineBlock, PM_REMOVE));
  DestroyWindow(window);
}

}  // namespace
}  // namespace qv
