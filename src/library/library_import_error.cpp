#include "library/library_import_error.h"

#include <utility>

namespace kesta {

LibraryImportError::LibraryImportError(Kind kind, std::string detail, const std::string& text)
    : std::runtime_error(text), kind_(kind), detail_(std::move(detail)) {}

LibraryImportError LibraryImportError::unreadable(const std::string& detail) {
  return {Kind::unreadable, detail,
          "That file could not be read as XML (" + detail +
              "). In rekordbox choose File \u203A Export Collection in xml format, then pick the new file."};
}

LibraryImportError LibraryImportError::notRekordbox() {
  return {Kind::notRekordbox, "",
          "That XML is not a rekordbox collection export. In rekordbox choose File \u203A Export Collection "
          "in xml "
          "format."};
}

LibraryImportError LibraryImportError::noTracks() {
  return {Kind::noTracks, "", "That rekordbox export contains no tracks in Collection."};
}

}  // namespace kesta
