#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace kesta {

// One item of the clipboard: its data under each format (MIME type) it offers.
using ClipboardItem = std::map<std::string, std::vector<std::uint8_t>>;
// Everything the clipboard holds, item by item; empty when it holds nothing.
using ClipboardContents = std::vector<ClipboardItem>;

// The desktop's clipboard, as far as one application borrows it and gives it
// back. Implementations may be called from any one thread at a time.
class Clipboard {
 public:
  virtual ~Clipboard() = default;

  // Every item with every format it offers, byte for byte.
  virtual ClipboardContents contents() = 0;
  // Replaces everything with one item of plain text.
  virtual void setText(const std::string& text) = 0;
  // Replaces everything with `contents`; empty contents leave it empty.
  virtual void setContents(const ClipboardContents& contents) = 0;
};

}  // namespace kesta
