// Power notifications: the phone tells a program when it is switched on, goes
// idle or suspends. On this machine they come from logind's PrepareForSleep
// signal on the system bus (going to sleep: Suspend; waking: On) when a system
// bus and logind are there; otherwise none arrive. Tests and tools inject
// notifications with injectPowerNotice; they reach every started listener.
//
// A listener holds its notices only while started, as the phone's
// notification queue exists only between start and stop: notices that arrive
// while it is stopped are lost. Reading never blocks.
#pragma once

#include <deque>
#include <memory>
#include <mutex>
#include <optional>

namespace platform {

enum class PowerState {
  On,          // powered on / resumed
  Idle,        // display off, idle
  Suspend,     // about to suspend
  Unattended,  // running without a user
};

class PowerNotifications {
 public:
  PowerNotifications();
  ~PowerNotifications();
  PowerNotifications(const PowerNotifications&) = delete;
  PowerNotifications& operator=(const PowerNotifications&) = delete;

  // Starts listening (nothing when already started). True when listening; a
  // machine without logind still listens, for injected notices.
  bool start();
  void stop();
  bool isStarted() const;

  // The oldest waiting notice, without blocking.
  std::optional<PowerState> read();

  struct State;

 private:
  std::shared_ptr<State> state_;
};

// Delivers a notice to every started listener of this process.
void injectPowerNotice(PowerState state);

}  // namespace platform
