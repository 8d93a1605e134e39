#include "store/library_file_scanner.h"

#include <algorithm>

namespace kesta::LibraryFile::detail {

bool walkObject(Scanner& scanner, const std::vector<Wanted>& wanted) {
  if (!scanner.consume('{') || scanner.peek('}')) return false;
  std::vector<bool> found(wanted.size(), false);
  do {
    const auto key = scanner.key();
    if (!key || !scanner.consume(':')) return false;
    const auto it = std::ranges::find(wanted, *key, &Wanted::key);
    if (it == wanted.end()) {
      if (!scanner.skipValue()) return false;
      continue;
    }
    const auto index = static_cast<std::size_t>(it - wanted.begin());
    if (found[index] || !it->read()) return false;
    found[index] = true;
  } while (scanner.consume(','));
  return scanner.consume('}') && std::ranges::all_of(found, [](bool seen) { return seen; });
}

bool readList(Scanner& scan, Span& list, std::vector<Span>& elements, bool objects) {
  scan.skipWhitespace();
  list.begin = scan.position();
  if (!scan.consume('[')) return false;
  if (!scan.consume(']')) {
    do {
      scan.skipWhitespace();
      const std::size_t begin = scan.position();
      if ((objects && !scan.peek('{')) || !scan.skipValue()) return false;
      elements.push_back(Span{begin, scan.position()});
    } while (scan.consume(','));
    if (!scan.consume(']')) return false;
  }
  list.end = scan.position();
  return true;
}

}  // namespace kesta::LibraryFile::detail
