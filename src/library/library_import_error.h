#pragma once

#include <stdexcept>
#include <string>

namespace kesta {

// Why an import of the collection export failed; what() is the text shown to the user.
class LibraryImportError : public std::runtime_error {
 public:
  enum class Kind { unreadable, notRekordbox, noTracks };

  // `detail` says why the file could not be read as XML.
  static LibraryImportError unreadable(const std::string& detail);
  static LibraryImportError notRekordbox();
  static LibraryImportError noTracks();

  Kind kind() const { return kind_; }
  // The detail of `unreadable`; empty for the other kinds.
  const std::string& detail() const { return detail_; }
  std::string errorDescription() const { return what(); }

 private:
  LibraryImportError(Kind kind, std::string detail, const std::string& text);

  Kind kind_;
  std::string detail_;
};

}  // namespace kesta
