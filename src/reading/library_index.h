#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "library/library.h"
#include "library/track.h"
#include "platform/ocr/text_recognizer.h"

namespace kesta {

// The search structure over one imported library that every reading of
// on-screen text goes through: tracks by id, normalised titles (exact, by
// prefix, a few edits away, contained in a line) and normalised artists.
//
// Built once per library and immutable: copies share one set of tables, so
// handing the index to the live engine or the loader costs a pointer copy.
// Every lookup takes and returns normalised text; returned views point into
// the shared tables and stay valid while any copy of this index lives.
class LibraryIndex {
 public:
  struct NearTitle {
    std::string_view title;
    int distance = 0;
  };

  // The index of an empty library.
  LibraryIndex();
  // Keeps a copy of the library for `track(id)`.
  explicit LibraryIndex(const Library& library);
  // Shares the library instead of copying it; a null pointer is an empty library.
  explicit LibraryIndex(std::shared_ptr<const Library> library);

  // True when the text holds a character of a script (Hebrew, Arabic, Thai,
  // Hangul, kana, CJK ideographs) that text recognition reads only with
  // automatic language detection.
  static bool hasDetectionOnlyScript(std::string_view text);
  // True when the text holds a Latin letter that English does not use
  // (ñ, Å, ø, ł, ș …).
  static bool hasLatinBeyondEnglish(std::string_view text);
  // The scripts of a text that are read with models of their own (Script
  // flags): ideographs count as Chinese unless the text holds kana, which
  // makes it Japanese; none when `hasDetectionOnlyScript` is false.
  static std::uint8_t scriptsOf(std::string_view text);

  // Every track of the library, titled or not, by `Track::id`.
  const Track* track(std::string_view id) const;
  std::size_t trackCount() const;
  // Every track in library order, entries with a repeated id included.
  const std::vector<Track>& tracks() const;
  // The library the index was built over, shared by every copy of the index.
  const Library& library() const;

  // The ids of the tracks with exactly this normalised title, in library order.
  const std::vector<std::string>& idsForTitle(std::string_view title) const;
  // Titles longer than `title` that begin with it.
  std::vector<std::string_view> longerTitles(std::string_view title) const;
  // Titles that begin with `prefix`, itself included; none for a prefix under
  // four characters.
  std::vector<std::string_view> titlesWithPrefix(std::string_view prefix) const;
  // Titles within `limit` edits of `title` (never `title` itself), found among
  // the titles sharing its first or its last four characters; none for a text
  // under six characters. In no particular order.
  std::vector<NearTitle> nearTitles(std::string_view title, int limit) const;
  // Titles longer than `text` that go on from a beginning within `limit`
  // edits of it (a beginning as long as `text`, give or take `limit`
  // characters), found among the titles sharing its first four characters:
  // what a line cut short and misread may be the start of. None that begin
  // with `text` itself, none for a text under six characters; in no
  // particular order.
  std::vector<NearTitle> nearBeginnings(std::string_view text, int limit) const;
  // Titles of at least six characters and at least half the length of `text`
  // that occur inside it and are not equal to it, in `allTitles` order.
  std::vector<std::string_view> titlesContained(std::string_view text) const;

  // The normalised artist of a titled track; nullptr for other ids.
  const std::string* artist(std::string_view id) const;
  // `TextTools::artistTokens` of a titled track's artist; empty for other ids.
  const std::set<std::string>& artistTokenSet(std::string_view id) const;

  // Every normalised title once.
  const std::vector<std::string>& allTitles() const;
  // Whether some title or artist needs language detection to be recognised.
  bool needsLanguageDetection() const;
  // The languages deck and browser texts are recognised in: the Latin-script
  // languages when some title or artist has Latin letters beyond English,
  // else English; with the scripts of every title and artist (`scriptsOf`).
  RecognitionLanguages recognitionLanguages() const;

 private:
  struct Tables;
  std::shared_ptr<const Tables> tables_;
};

}  // namespace kesta
