#include "oneclick/key_preset.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>

#include "support/test_paths.h"

namespace kesta {
namespace {

namespace fs = std::filesystem;
using KeyPreset::Differs;
using KeyPreset::Matches;
using KeyPreset::Result;
using KeyPreset::Unknown;

const char* const kDeck1 = "Load track to Deck 1";
const char* const kAllNames[] = {"Search for tracks in Collections", "Load track to Deck 1",
                                 "Load track to Deck 2", "Undo track load"};

// A home folder of its own for one test, with HOME pointing at it until the end.
class TemporaryHome {
 public:
  TemporaryHome() {
    std::string pattern = (fs::temp_directory_path() / "kesta-home-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
    home_ = pattern;
    if (const char* previous = std::getenv("HOME")) previous_ = previous;
    setenv("HOME", home_.c_str(), 1);
  }
  ~TemporaryHome() {
    if (previous_) {
      setenv("HOME", previous_->c_str(), 1);
    } else {
      unsetenv("HOME");
    }
    std::error_code ignored;
    fs::remove_all(home_, ignored);
  }
  TemporaryHome(const TemporaryHome&) = delete;
  TemporaryHome& operator=(const TemporaryHome&) = delete;

  fs::path rekordboxFolder() const {
    return home_ / "Library" / "Application Support" / "Pioneer" / "rekordbox6";
  }

  // Installs one of the fixture folders as rekordbox's settings folder.
  void install(const std::string& fixture) const {
    const fs::path source = test::sourceDir() / "tests" / "oneclick" / "fixtures" / "keypreset" / fixture;
    fs::create_directories(rekordboxFolder());
    fs::copy(source, rekordboxFolder(), fs::copy_options::recursive);
  }

  void write(const fs::path& relative, const std::string& bytes) const {
    const fs::path path = rekordboxFolder() / relative;
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << bytes;
  }

 private:
  fs::path home_;
  std::optional<std::string> previous_;
};

std::string mappings(const std::string& name, const std::string& body) {
  return "<?xml version=\"1.0\"?><KEYMAPPING><VALUE name=\"keyMappingName\" val=\"" + name +
         "\"/><KEYMAPPINGS>" + body + "</KEYMAPPINGS></KEYMAPPING>";
}

const std::string kDefaultBody = R"(<MAPPING commandId="7000" key="ctrl + F"/>)"
                                 R"(<MAPPING commandId="b129" key="shift + cursor left"/>)"
                                 R"(<MAPPING commandId="b12a" key="shift + cursor right"/>)"
                                 R"(<MAPPING commandId="b137" key="command + Z"/>)";

TEST(KeyPresetFolders, CheckReadsTheActivePresetUnderTheHome) {
  struct Row {
    const char* fixture;
    Result expected;
  };
  const Row rows[] = {
      {"default", Matches{"Default"}},
      {"moved", Differs{"My gig keys", {kDeck1, "Undo track load"}}},
      {"missing", Unknown{"preset file missing"}},
      {"malformed", Unknown{"preset file unreadable"}},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.fixture);
    const TemporaryHome home;
    home.install(row.fixture);
    EXPECT_EQ(KeyPreset::settingsFolder(), home.rekordboxFolder());
    EXPECT_EQ(KeyPreset::check(), row.expected);
  }
}

TEST(KeyPresetFolders, UnreadableSettingsOrPresetGiveUnknown) {
  const std::string active = R"(<VALUE name="performaceKeyMapping" val="1"/>)";
  const std::string preset = "KeyMappings/rekordbox_1.mappings";
  const Unknown noPreset{"no active preset in rekordbox settings"};
  struct Row {
    const char* name;
    std::optional<std::string> settings;  // absent: a folder in the file's place
    std::optional<std::string> mappings;  // absent: a folder in the file's place
    Result expected;
  };
  const Row rows[] = {
      {"settings without the preset entry", R"(<VALUE name="skinType" val="1"/>)", "", noPreset},
      {"settings that are not UTF-8", active + "\xff\xfe", mappings("Default", kDefaultBody), noPreset},
      {"a folder in place of the settings", std::nullopt, "", noPreset},
      {"a folder in place of the preset", active, std::nullopt, Unknown{"preset file missing"}},
      {"an empty preset", active, "", Unknown{"preset file unreadable"}},
  };
  {
    const TemporaryHome home;  // nothing installed at all
    EXPECT_EQ(KeyPreset::check(), Result{noPreset});
  }
  for (const auto& row : rows) {
    const TemporaryHome home;
    const auto place = [&](const fs::path& relative, const std::optional<std::string>& bytes) {
      if (bytes) {
        home.write(relative, *bytes);
      } else {
        fs::create_directories(home.rekordboxFolder() / relative);
      }
    };
    place("rekordbox3.settings", row.settings);
    place(preset, row.mappings);
    EXPECT_EQ(KeyPreset::check(), row.expected) << row.name;
  }
}

TEST(KeyPresetFolders, SpecialOrOversizedFilesAreNotWaitedOnOrRead) {
  const std::string active = R"(<VALUE name="performaceKeyMapping" val="1"/>)";
  const fs::path preset = "KeyMappings/rekordbox_1.mappings";
  const Unknown noPreset{"no active preset in rekordbox settings"};
  const Unknown missing{"preset file missing"};
  enum class Kind { fifo, oversized };
  const struct {
    fs::path file;
    Kind kind;
    Result expected;
  } rows[] = {
      {"rekordbox3.settings", Kind::fifo, noPreset},
      {preset, Kind::fifo, missing},
      {"rekordbox3.settings", Kind::oversized, noPreset},
      {preset, Kind::oversized, missing},
  };
  for (const auto& row : rows) {
    const TemporaryHome home;
    home.write("rekordbox3.settings", active);
    home.write(preset, mappings("Default", kDefaultBody));
    const fs::path file = home.rekordboxFolder() / row.file;
    fs::remove(file);
    if (row.kind == Kind::fifo) {
      ASSERT_EQ(::mkfifo(file.c_str(), 0600), 0);
    } else {
      home.write(row.file, active);
      fs::resize_file(file, std::uint64_t{1} << 30);
    }
    EXPECT_EQ(KeyPreset::check(), row.expected) << row.file;
  }
}

TEST(KeyPreset, ActivePresetID) {
  struct Row {
    const char* name;
    std::string settings;
    std::optional<std::string> expected;
  };
  const Row rows[] = {
      {"one space", R"(<VALUE name="performaceKeyMapping" val="3"/>)", "3"},
      {"several spaces", R"(<VALUE name="performaceKeyMapping"    val="12"/>)", "12"},
      {"line break", "<VALUE name=\"performaceKeyMapping\"\n\t val=\"5\"/>", "5"},
      {"first of two", R"(name="performaceKeyMapping" val="1" name="performaceKeyMapping" val="2")", "1"},
      {"attributes swapped", R"(<VALUE val="3" name="performaceKeyMapping"/>)", std::nullopt},
      {"correct spelling is not rekordbox's", R"(<VALUE name="performanceKeyMapping" val="3"/>)",
       std::nullopt},
      {"no white space", R"(<VALUE name="performaceKeyMapping"val="3"/>)", std::nullopt},
      {"not digits", R"(<VALUE name="performaceKeyMapping" val="x3"/>)", std::nullopt},
      {"empty value", R"(<VALUE name="performaceKeyMapping" val=""/>)", std::nullopt},
      {"empty text", "", std::nullopt},
  };
  for (const auto& row : rows) EXPECT_EQ(KeyPreset::activePresetID(row.settings), row.expected) << row.name;
}

TEST(KeyPreset, Evaluate) {
  struct Row {
    const char* name;
    std::string xml;
    Result expected;
  };
  const Row rows[] = {
      {"defaults", mappings("Default", kDefaultBody), Matches{"Default"}},
      {"other order, tabs around parts",
       mappings(
           "P",
           "<MAPPING commandId=\"7000\" key=\"F+ctrl\"/><MAPPING commandId=\"b129\" key=\"\tcursor left\t+ "
           "shift\"/>"
           R"(<MAPPING commandId="b12a" key="shift+cursor right+"/><MAPPING commandId="b137" key="Z + command"/>)"),
       Matches{"P"}},
      {"upper-case command id, keys in capitals without spaces",
       mappings(
           "P",
           R"(<MAPPING commandId="7000" key="ctrl + F"/><MAPPING commandId="B129" key="SHIFT+CURSOR LEFT"/>)"
           R"(<MAPPING commandId="B12A" key="shift + cursor right"/><MAPPING commandId="B137" key="command + Z"/>)"),
       Matches{"P"}},
      {"shift with the up arrow",
       mappings(
           "P",
           R"(<MAPPING commandId="7000" key="ctrl + F"/><MAPPING commandId="b129" key="shift + cursor up"/>)"
           R"(<MAPPING commandId="b12a" key="shift + cursor right"/><MAPPING commandId="b137" key="command + Z"/>)"),
       Differs{"P", {kDeck1}}},
      {"a space inside a part matters",
       mappings(
           "P",
           R"(<MAPPING commandId="7000" key="ctrl + F"/><MAPPING commandId="b129" key="shift + cursorleft"/>)"
           R"(<MAPPING commandId="b12a" key="shift + cursor right"/><MAPPING commandId="b137" key="command + Z"/>)"),
       Differs{"P", {kDeck1}}},
      {"listed twice, second is default",
       mappings(
           "P",
           R"(<MAPPING commandId="7000" key="ctrl + F"/><MAPPING commandId="b129" key="shift + cursor up"/>)"
           R"(<MAPPING commandId="b129" key="shift + cursor left"/>)"
           R"(<MAPPING commandId="b12a" key="shift + cursor right"/><MAPPING commandId="b137" key="command + Z"/>)"),
       Matches{"P"}},
      {"mapping without a key attribute",
       mappings(
           "P",
           R"(<MAPPING commandId="7000"/><MAPPING commandId="b129" key="shift + cursor left"/>)"
           R"(<MAPPING commandId="b12a" key="shift + cursor right"/><MAPPING commandId="b137" key="command + Z"/>)"),
       Differs{"P", {kAllNames[0]}}},
      {"empty mapping list", mappings("P", ""),
       Differs{"P", {kAllNames[0], kAllNames[1], kAllNames[2], kAllNames[3]}}},
      {"list without a name", "<KEYMAPPING><KEYMAPPINGS>" + kDefaultBody + "</KEYMAPPINGS></KEYMAPPING>",
       Matches{"unnamed preset"}},
      {"None preset without a list",
       R"x(<KEYMAPPING><VALUE name="keyMappingName" val="None (Preset)"/></KEYMAPPING>)x",
       Differs{"None (Preset)", {kAllNames[0], kAllNames[1], kAllNames[2], kAllNames[3]}}},
      {"named preset without a list", R"(<KEYMAPPING><VALUE name="keyMappingName" val="Club"/></KEYMAPPING>)",
       Unknown{"Club keys not recorded"}},
      {"no name, no list", "<KEYMAPPING/>", Unknown{"unnamed preset keys not recorded"}},
      {"element names are case-sensitive",
       "<KEYMAPPING><keymappings>" + kDefaultBody + "</keymappings></KEYMAPPING>",
       Unknown{"unnamed preset keys not recorded"}},
      {"not XML", "rekordbox", Unknown{"preset file unreadable"}},
      {"empty", "", Unknown{"preset file unreadable"}},
      {"unclosed", "<KEYMAPPING><KEYMAPPINGS>" + kDefaultBody, Unknown{"preset file unreadable"}},
  };
  for (const auto& row : rows) EXPECT_EQ(KeyPreset::evaluate(row.xml), row.expected) << row.name;
}

TEST(KeyPreset, NormalizedKeySets) {
  using Set = std::set<std::string>;
  EXPECT_EQ(KeyPreset::normalized("shift + cursor left"), (Set{"shift", "cursor left"}));
  EXPECT_EQ(KeyPreset::normalized("CURSOR LEFT+SHIFT"), (Set{"shift", "cursor left"}));
  EXPECT_EQ(KeyPreset::normalized(" + ctrl ++ F + "), (Set{"ctrl", "f"}));
  EXPECT_EQ(KeyPreset::normalized("shift\n+F"), (Set{"shift\n", "f"})) << "line breaks are kept";
  EXPECT_EQ(KeyPreset::normalized(""), Set{});
}

}  // namespace
}  // namespace kesta
