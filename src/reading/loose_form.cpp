#include "reading/loose_form.h"

#include "library/text_tools.h"

namespace kesta {

std::string looseForm(std::string_view text) {
  std::string key = TextTools::normalized(text);
  for (char& c : key) {
    if (c == '0')
      c = 'o';
    else if (c == '1')
      c = 'l';
  }
  return key;
}

}  // namespace kesta
