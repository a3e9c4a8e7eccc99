// Power listeners: a queue per listener, a process-wide list of the started
// ones (for injection), and an optional private system-bus connection that is
// polled (never waited on) when the owner reads.
#include "platform/power/power.h"

#include "platform/log/log.h"

#include <algorithm>
#include <dbus/dbus.h>
#include <vector>

namespace platform {

struct PowerNotifications::State {
  std::mutex mutex;
  bool started = false;
  std::deque<PowerState> notices;
  DBusConnection* bus = nullptr;  // owner thread only
};

namespace {

constexpr const char* kSleepMatch =
    "type='signal',sender='org.freedesktop.login1',interface='org.freedesktop.login1.Manager',"
    "member='PrepareForSleep',path='/org/freedesktop/login1'";

std::mutex& listenersMutex() {
  static std::mutex* m = new std::mutex;
  return *m;
}
std::vector<std::weak_ptr<PowerNotifications::State>>& listeners() {
  static auto* list = new std::vector<std::weak_ptr<PowerNotifications::State>>;
  return *list;
}

DBusConnection* connectToLogind() {
  static const bool threadsReady = dbus_threads_init_default();
  (void)threadsReady;
  DBusError error;
  dbus_error_init(&error);
  DBusConnection* bus = dbus_bus_get_private(DBUS_BUS_SYSTEM, &error);
  if (!bus) {
    dbus_error_free(&error);
    return nullptr;  // no system bus: no notices from the machine
  }
  dbus_connection_set_exit_on_disconnect(bus, FALSE);
  dbus_bus_add_match(bus, kSleepMatch, &error);
  if (dbus_error_is_set(&error)) {
    platformLog(LogLevel::Warning, "power: cannot watch logind: %s", error.message);
    dbus_error_free(&error);
    dbus_connection_close(bus);
    dbus_connection_unref(bus);
    return nullptr;
  }
  return bus;
}

void closeBus(DBusConnection*& bus) {
  if (!bus) return;
  dbus_connection_close(bus);
  dbus_connection_unref(bus);
  bus = nullptr;
}

// Moves waiting logind signals into the queue.
void pollBus(PowerNotifications::State& s) {
  if (!s.bus) return;
  if (!dbus_connection_read_write(s.bus, 0)) {  // disconnected
    closeBus(s.bus);
    return;
  }
  while (DBusMessage* message = dbus_connection_pop_message(s.bus)) {
    if (dbus_message_is_signal(message, "org.freedesktop.login1.Manager", "PrepareForSleep")) {
      dbus_bool_t goingToSleep = FALSE;
      DBusError error;
      dbus_error_init(&error);
      if (dbus_message_get_args(message, &error, DBUS_TYPE_BOOLEAN, &goingToSleep, DBUS_TYPE_INVALID)) {
        std::lock_guard<std::mutex> lock(s.mutex);
        s.notices.push_back(goingToSleep ? PowerState::Suspend : PowerState::On);
      }
      dbus_error_free(&error);
    }
    dbus_message_unref(message);
  }
}

}  // namespace

PowerNotifications::PowerNotifications() : state_(std::make_shared<State>()) {}

PowerNotifications::~PowerNotifications() { stop(); }

bool PowerNotifications::start() {
  {
    std::lock_guard<std::mutex> lock(state_->mutex);
    if (state_->started) return true;
    state_->started = true;
    state_->notices.clear();
  }
  state_->bus = connectToLogind();
  std::lock_guard<std::mutex> lock(listenersMutex());
  listeners().push_back(state_);
  return true;
}

void PowerNotifications::stop() {
  {
    std::lock_guard<std::mutex> lock(state_->mutex);
    if (!state_->started) return;
    state_->started = false;
    state_->notices.clear();
  }
  closeBus(state_->bus);
  std::lock_guard<std::mutex> lock(listenersMutex());
  auto& list = listeners();
  list.erase(std::remove_if(list.begin(), list.end(),
                            [&](const auto& w) {
                              auto s = w.lock();
                              return !s || s == state_;
                            }),
             list.end());
}

bool PowerNotifications::isStarted() const {
  std::lock_guard<std::mutex> lock(state_->mutex);
  return state_->started;
}

std::optional<PowerState> PowerNotifications::read() {
  if (!isStarted()) return std::nullopt;
  pollBus(*state_);
  std::lock_guard<std::mutex> lock(state_->mutex);
  if (state_->notices.empty()) return std::nullopt;
  const PowerState notice = state_->notices.front();
  state_->notices.pop_front();
  return notice;
}

void injectPowerNotice(PowerState notice) {
  std::vector<std::shared_ptr<PowerNotifications::State>> targets;
  {
    std::lock_guard<std::mutex> lock(listenersMutex());
    for (const auto& w : listeners()) {
      if (auto s = w.lock()) targets.push_back(std::move(s));
    }
  }
  for (const auto& s : targets) {
    std::lock_guard<std::mutex> lock(s->mutex);
    if (s->started) s->notices.push_back(notice);
  }
}

}  // namespace platform
