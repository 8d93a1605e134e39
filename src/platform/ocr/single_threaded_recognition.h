#pragma once

namespace kesta {

// Text recognition runs on one core per call only when OMP_THREAD_LIMIT=1 was
// in the environment when the process started (the OpenMP runtime reads it as
// it loads). Called first thing in main: when the variable is missing or
// different, it sets it and starts the program again in place, with the same
// arguments; otherwise it returns. Returns too when the restart fails.
void requireSingleThreadedRecognition(char** argv);

}  // namespace kesta
