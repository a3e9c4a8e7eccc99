// Power notifications: injected notices reach started listeners only, in
// order, and reading never blocks.
#include "platform/power/power.h"

#include <gtest/gtest.h>

namespace {

using platform::PowerState;

TEST(PowerTest, StartedListenersReceiveInjectedNoticesInOrder) {
  platform::PowerNotifications a, b;
  EXPECT_FALSE(a.read().has_value());  // not started: nothing, no wait
  ASSERT_TRUE(a.start());
  ASSERT_TRUE(a.start());  // a second start changes nothing
  ASSERT_TRUE(b.start());
  platform::injectPowerNotice(PowerState::Idle);
  platform::injectPowerNotice(PowerState::On);
  EXPECT_EQ(a.read(), PowerState::Idle);
  EXPECT_EQ(a.read(), PowerState::On);
  EXPECT_FALSE(a.read().has_value());
  EXPECT_EQ(b.read(), PowerState::Idle);
  EXPECT_EQ(b.read(), PowerState::On);
}

TEST(PowerTest, StoppedListenerLosesNotices) {
  platform::PowerNotifications n;
  platform::injectPowerNotice(PowerState::Suspend);  // before start: lost
  ASSERT_TRUE(n.start());
  EXPECT_FALSE(n.read().has_value());
  platform::injectPowerNotice(PowerState::Suspend);
  n.stop();
  EXPECT_FALSE(n.isStarted());
  platform::injectPowerNotice(PowerState::On);  // while stopped: lost
  ASSERT_TRUE(n.start());
  EXPECT_FALSE(n.read().has_value());  // the queue was closed with what it held
  platform::injectPowerNotice(PowerState::Unattended);
  EXPECT_EQ(n.read(), PowerState::Unattended);
}

TEST(PowerTest, DestroyedListenerIsForgotten) {
  {
    platform::PowerNotifications n;
    n.start();
  }
  platform::injectPowerNotice(PowerState::On);  // must not touch the destroyed one
  platform::PowerNotifications m;
  m.start();
  EXPECT_FALSE(m.read().has_value());
}

}  // namespace
