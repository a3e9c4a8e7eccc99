// Thread stack bounds from the thread's attributes (glibc reads the main
// thread's from its stack mapping and resource limit).
#include "platform/stack/stack.h"

#include <pthread.h>

namespace platform {

void* currentStackBase() {
  pthread_attr_t attr;
  if (pthread_getattr_np(pthread_self(), &attr) != 0) return nullptr;
  void* low = nullptr;
  size_t size = 0;
  const int rc = pthread_attr_getstack(&attr, &low, &size);
  pthread_attr_destroy(&attr);
  if (rc != 0 || !low) return nullptr;
  return static_cast<char*>(low) + size;
}

}  // namespace platform
