#pragma once

#include <string>
#include <utility>
#include <variant>

#include "platform/variant/sum_type.h"

namespace kesta::model {

// Where the library restore and import stand.
struct LibraryState : SumType<LibraryState> {
  // A library is being opened or read; the text says which.
  struct Importing {
    std::string text;
    friend bool operator==(const Importing&, const Importing&) = default;
  };
  // The last import failed; the text is the error's message.
  struct Failed {
    std::string text;
    friend bool operator==(const Failed&, const Failed&) = default;
  };
  // No library and nothing to import.
  struct None {
    friend bool operator==(const None&, const None&) = default;
  };
  // A library is installed.
  struct Ready {
    friend bool operator==(const Ready&, const Ready&) = default;
  };

  std::variant<Importing, Failed, None, Ready> value = None{};

  static LibraryState importing(std::string text) { return {{}, Importing{std::move(text)}}; }
  static LibraryState failed(std::string text) { return {{}, Failed{std::move(text)}}; }
  static LibraryState none() { return {{}, None{}}; }
  static LibraryState ready() { return {{}, Ready{}}; }

  friend bool operator==(const LibraryState&, const LibraryState&) = default;
};

}  // namespace kesta::model
