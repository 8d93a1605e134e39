#include "platform/defaults/defaults_domain.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>
#include <string_view>
#include <vector>

#include "store/store_fixtures.h"

namespace kesta {
namespace {

using defaults::Dictionary;
using defaults::Domain;
using defaults::Value;
using test::PlistFormat;
using test::readFile;
using test::TempFolder;
using test::writeDomain;
using test::writeFile;

Dictionary everyKind() {
  return Dictionary{
      {"flag", Value{true}},
      {"negative", Value{std::int64_t{-7}}},
      {"largest", Value{std::numeric_limits<std::int64_t>::max()}},
      {"smallest", Value{std::numeric_limits<std::int64_t>::min()}},
      {"real", Value{4.9}},
      {"text", Value{std::string("Café – ünïcödé")}},
      {"bytes", Value{defaults::Data{std::string("{\"a\":\0}", 7)}}},
      {"date", Value{Date{700000000}}},
      {"list", Value{defaults::Array{Value{std::int64_t{1}}, Value{std::string("two")}}}},
      {"map", Value{Dictionary{{"Spotify:1", Value{std::int64_t{5}}}, {"inner", Value{Dictionary{}}}}}},
  };
}

class DefaultsDomainFormats : public ::testing::TestWithParam<PlistFormat> {};

TEST_P(DefaultsDomainFormats, EveryKindOfValueReadsBackAsWritten) {
  const TempFolder home;
  writeDomain(home.path(), "com.example.app", everyKind(), GetParam());
  const auto domain = Domain::open("com.example.app", home.path());
  ASSERT_TRUE(domain);
  EXPECT_EQ(domain->values(), everyKind());
}

INSTANTIATE_TEST_SUITE_P(BinaryAndXml, DefaultsDomainFormats,
                         ::testing::Values(PlistFormat::binary, PlistFormat::xml));

TEST(DefaultsDomain, WhatIsNotADictionaryPropertyListDoesNotOpen) {
  const TempFolder home;
  const std::vector<std::pair<std::string, std::string>> files = {
      {"empty", ""},
      {"garbage", "not a property list"},
      {"truncated", "bplist00\xd1\x01\x02"},
      {"array", R"(<?xml version="1.0"?><plist version="1.0"><array><string>a</string></array></plist>)"},
  };
  for (const auto& [domain, content] : files) {
    writeFile(Domain::fileOf(domain, home.path()), content);
    EXPECT_FALSE(Domain::open(domain, home.path())) << domain;
  }
  EXPECT_FALSE(Domain::open("never.written", home.path()));
}

TEST(DefaultsDomain, TextThatIsNotUtf8ReadsWithReplacementCharacters) {
  // Found by fuzzing: a key with a stray byte changed when the imported data
  // was saved as JSON and read back.
  const struct {
    std::string raw;
    std::string read;
  } cases[] = {
      {"Spot\xf3"
       "fy:9",
       "Spot\uFFFDfy:9"},
      {"\xc3", "\uFFFD"},
      {"caf\xc3\xa9", "caf\u00e9"},
  };
  for (const auto& c : cases) {
    const std::string plist = R"(<?xml version="1.0"?><plist version="1.0"><dict><key>)" + c.raw +
                              "</key><string>" + c.raw + "</string></dict></plist>";
    const auto values = Domain::parse(plist);
    ASSERT_TRUE(values) << c.read;
    ASSERT_EQ(values->size(), 1u);
    EXPECT_EQ(values->begin()->first, c.read);
    EXPECT_EQ(values->begin()->second, Value{c.read});
  }
}

TEST(DefaultsDomain, ABinaryKeyWithANulCharacterIsRefused) {
  // Found by fuzzing: libplist ends the process with a failed assertion when
  // such a key is read.
  using namespace std::string_view_literals;
  const struct {
    const char* name;
    std::string_view bytes;
  } cases[] = {
      {"ASCII key",
       "\x62\x70\x6c\x69\x73\x74\x30\x30\xd2\x01\x02\x03\x04\x53\x61\x00\x62\x52\x6f\x6b\x10\x01\x10\x02\x08\x0d\x11\x14\x16\x00\x00\x00\x00\x00\x00\x01\x01\x00\x00\x00\x00\x00\x00\x00\x05\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x18"sv},
      {"UTF-16 key",
       "\x62\x70\x6c\x69\x73\x74\x30\x30\xd1\x01\x02\x62\x00\xe9\x00\x00\x51\x78\x08\x0b\x10\x00\x00\x00\x00\x00\x00\x01\x01\x00\x00\x00\x00\x00\x00\x00\x03\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x12"sv},
      {"nested key",
       "\x62\x70\x6c\x69\x73\x74\x30\x30\xd1\x01\x02\x55\x6f\x75\x74\x65\x72\xd1\x03\x04\x56\x69\x6e\x00\x6e\x65\x72\x09\x08\x0b\x11\x14\x1b\x00\x00\x00\x00\x00\x00\x01\x01\x00\x00\x00\x00\x00\x00\x00\x05\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x1c"sv},
  };
  for (const auto& c : cases) EXPECT_FALSE(Domain::parse(c.bytes)) << c.name;
}

TEST(DefaultsDomain, ADomainNameCannotReachOutsideThePreferencesFolder) {
  const TempFolder home;
  writeDomain(home.path(), "real", {{"k", Value{true}}}, PlistFormat::xml);
  writeFile(home / "Library" / "outside.plist", readFile(Domain::fileOf("real", home.path())));
  for (const char* name : {"../outside", "sub/real", "", ".", ".."}) {
    EXPECT_FALSE(Domain::open(name, home.path())) << name;
  }
  EXPECT_TRUE(Domain::open("real", home.path()));
}

}  // namespace
}  // namespace kesta
