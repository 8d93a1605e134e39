#include "model/export_file_names.h"

#include "model/utc_date.h"

namespace kesta::model {

std::string diagnosticsFileName(Date sessionStart) {
  return "kesta-diagnostics-" + utcDay(sessionStart) + ".txt";
}

std::string setFileName(Date setStart) { return "kesta-set-" + utcDay(setStart) + ".csv"; }

}  // namespace kesta::model
