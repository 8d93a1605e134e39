#include "platform/ocr/single_threaded_recognition.h"

#include <unistd.h>

#include <cstdlib>
#include <cstring>

namespace kesta {

void requireSingleThreadedRecognition(char** argv) {
  const char* limit = std::getenv("OMP_THREAD_LIMIT");
  if (limit && std::strcmp(limit, "1") == 0) return;
  if (::setenv("OMP_THREAD_LIMIT", "1", 1) != 0) return;
  ::execv("/proc/self/exe", argv);
}

}  // namespace kesta
