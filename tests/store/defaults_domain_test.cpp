#include "platform/defaults/defaults_domain.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "store/store_fixtures.h"

namespace kesta {
namespace {

using defaults::Dictionary;
using defaults::Domain;
using defaults::Value;
using testing::PlistFormat;
using testing::readFile;
using testing::TempFolder;
using testing::writeDomain;
using testing::writeFile;

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
