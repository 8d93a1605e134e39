#pragma once

#include <filesystem>
#include <optional>

#include "platform/time/date.h"

namespace kesta::model {

// The last change of a file's content, to the whole microsecond: a date that
// lands in "library.json" and is read back must equal a fresh reading of the
// same file, so precision the stored number cannot carry is dropped here.
// Absent when the file cannot be reached (missing, no permission).
std::optional<Date> fileModificationDate(const std::filesystem::path& file);

// Whether two modification dates name the same moment at the microsecond.
bool sameModificationDate(Date a, Date b);

}  // namespace kesta::model
