#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/json/json_coding.h"
#include "store/legacy_data.h"
#include "store/preferences.h"
#include "store/store_fixtures.h"
#include "store/user_data.h"

namespace kesta {
namespace {

json::Value parsed(const std::string& text) { return json::parse(text); }

Preferences fullPreferences() {
  Preferences preferences;
  preferences.xmlPath = "/Users/dj/rekordbox.xml";
  preferences.poolByLibrary = {{"rekordbox.xml", "playlist:0123456789abcdef"}, {"old.xml", "regulars"}};
  preferences.includeRawText = true;
  preferences.compact = true;
  preferences.windowTopLeft = {{"card", {1200.5, 80}}, {"full", {10, 20}}};
  preferences.legacyImported = true;
  preferences.oneClickLoad = false;
  preferences.resumePoint =
      ResumePoint{{DeckContent::track("12"), DeckContent::unmatched("Some Title")}, 2, Date{726000000.125}};
  return preferences;
}

TEST(Preferences, DefaultsWriteOnlyTheFiveAlwaysWrittenKeys) {
  const auto object = Preferences{}.toJson();
  std::vector<std::string> keys;
  for (const auto& [key, value] : object.items()) keys.push_back(key);
  EXPECT_EQ(keys, (std::vector<std::string>{"compact", "includeRawText", "legacyImported", "poolByLibrary",
                                            "windowTopLeft"}));
  EXPECT_EQ(Preferences::fromJson(object), Preferences{});
}

TEST(Preferences, AMissingOrNullRequiredKeyMakesTheWholeRecordUnreadable) {
  for (const std::string key :
       {"poolByLibrary", "includeRawText", "compact", "windowTopLeft", "legacyImported"}) {
    auto object = fullPreferences().toJson();
    object.erase(key);
    EXPECT_THROW(Preferences::fromJson(object), json::DecodingError) << "without " << key;
    object[key] = nullptr;
    EXPECT_THROW(Preferences::fromJson(object), json::DecodingError) << key << " null";
  }
}

TEST(Preferences, MistypedValuesAnywhereAreRejected) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"xmlPath", R"(3)"},
      {"poolByLibrary", R"({"a.xml": 1})"},
      {"includeRawText", R"("true")"},
      {"compact", R"(1)"},
      {"windowTopLeft", R"({"card": ["10", 20]})"},
      {"oneClickLoad", R"("yes")"},
      {"resumePoint", R"({"decks": [], "deck": 1.5, "at": 0})"},
      {"resumePoint", R"({"decks": [], "deck": 1})"},
      {"resumePoint", R"({"decks": [{"track": {"_0": "1"}, "empty": {}}], "deck": 1, "at": 0})"},
  };
  for (const auto& [key, value] : cases) {
    auto object = Preferences{}.toJson();
    object[key] = parsed(value);
    EXPECT_THROW(Preferences::fromJson(object), json::DecodingError) << key << " = " << value;
  }
}

TEST(Preferences, OptionalKeysReadAsAbsentWhenMissingOrNull) {
  auto object = Preferences{}.toJson();
  object["xmlPath"] = nullptr;
  object["oneClickLoad"] = nullptr;
  object["resumePoint"] = nullptr;
  object["fromALaterVersion"] = "ignored";
  const auto preferences = Preferences::fromJson(object);
  EXPECT_EQ(preferences, Preferences{});

  object["oneClickLoad"] = false;
  EXPECT_EQ(Preferences::fromJson(object).oneClickLoad, std::optional<bool>(false));
}

TEST(UserData, RoundTripsAndRejectsIncompleteOrFractionalData) {
  EXPECT_EQ(json::write(UserData{}.toJson()), R"({"playedPairs":{},"ratings":{}})");
  const UserData data{{{"file:abc", 4}, {"spotify:1", 0}},
                      {{"file:abc>spotify:1", 3}, {"not>split>here", 1}}};
  EXPECT_EQ(UserData::fromJson(json::parse(json::write(data.toJson()))), data);

  for (const std::string text :
       {R"({"ratings": {}})", R"({"ratings": {"a": 4.5}, "playedPairs": {}})",
        R"({"ratings": [], "playedPairs": {}})", R"({"ratings": null, "playedPairs": {}})",
        R"({"ratings": {"a": "4"}, "playedPairs": {}})"}) {
    EXPECT_THROW(UserData::fromJson(parsed(text)), json::DecodingError) << text;
  }
}

TEST(LegacyData, RequiresEveryKeyButThePath) {
  const LegacyData data{"com.kesta.live.beta",        std::nullopt,
                        {{"Spotify:1", 5}},           {{"Spotify:1", {"Song", "Someone"}}},
                        {test::sampleSet(700000000)}, {{"Spotify:1", 5}}};
  EXPECT_FALSE(data.toJson().contains("xmlPath"));

  const LegacyData empty{"d", std::nullopt, {}, {}, {}, {}};
  EXPECT_EQ(json::write(empty.toJson()),
            R"({"ratings":{},"sets":[],"sourceDomain":"d","tracks":{},"unresolvedRatings":{}})");

  auto object = data.toJson();
  object["xmlPath"] = nullptr;
  EXPECT_EQ(LegacyData::fromJson(object), data);
  for (const std::string key : {"sourceDomain", "ratings", "tracks", "sets", "unresolvedRatings"}) {
    auto without = data.toJson();
    without.erase(key);
    EXPECT_THROW(LegacyData::fromJson(without), json::DecodingError) << key;
  }
  object["tracks"] = parsed(R"({"Spotify:1": {"title": "Song"}})");
  EXPECT_THROW(LegacyData::fromJson(object), json::DecodingError);
}

}  // namespace
}  // namespace kesta
