#include "platform/defaults/defaults_domain.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

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

// A binary property list of the given objects (each its bytes as written),
// with four-byte references, the top object first.
std::string binaryPlist(const std::vector<std::string>& objects) {
  const auto bigEndian = [](std::uint64_t value, int size) {
    std::string out;
    for (int i = size - 1; i >= 0; --i) out += static_cast<char>((value >> (8 * i)) & 0xff);
    return out;
  };
  std::string out = "bplist00";
  std::string offsets;
  for (const std::string& object : objects) {
    offsets += bigEndian(out.size(), 8);
    out += object;
  }
  const std::uint64_t tableStart = out.size();
  out += offsets + std::string(6, '\0') + '\x08' + '\x04' + bigEndian(objects.size(), 8) + bigEndian(0, 8) +
         bigEndian(tableStart, 8);
  return out;
}

std::string ref(std::uint32_t index) {
  return {static_cast<char>(index >> 24), static_cast<char>(index >> 16), static_cast<char>(index >> 8),
          static_cast<char>(index)};
}

// `depth` dictionaries, each holding the next under the key "k".
std::string binaryChain(std::size_t depth) {
  std::vector<std::string> objects;
  for (std::uint32_t i = 0; i + 1 < depth; ++i) objects.push_back("\xd1" + ref(depth) + ref(i + 1));
  objects.push_back("\xd0");
  objects.push_back("\x51k");
  return binaryPlist(objects);
}

std::string xmlChain(std::size_t depth) {
  std::string out = R"(<?xml version="1.0"?><plist version="1.0">)";
  for (std::size_t i = 1; i < depth; ++i) out += "<dict><key>k</key>";
  out += "<dict/>";
  for (std::size_t i = 1; i < depth; ++i) out += "</dict>";
  return out + "</plist>";
}

TEST(DefaultsDomain, NestingIsReadUpToItsLimitAndRefusedBeyondAtAnyDepth) {
  const std::size_t limit = Domain::maximumDepth;
  const struct {
    std::size_t depth;
    bool read;
  } cases[] = {{2, true}, {limit, true}, {limit + 1, false}, {20'000, false}};
  for (const auto& c : cases) {
    EXPECT_EQ(Domain::parse(binaryChain(c.depth)).has_value(), c.read) << "binary, " << c.depth;
    EXPECT_EQ(Domain::parse(xmlChain(c.depth)).has_value(), c.read) << "XML, " << c.depth;
  }
}

TEST(DefaultsDomain, BinaryReferencesThatLoopOrMultiplyAreRefused) {
  // Each array holds the one below it ten times: a small file of 10^8 values.
  std::vector<std::string> laughs = {"\xd1" + ref(9) + ref(1)};
  for (std::uint32_t level = 1; level < 8; ++level) {
    std::string array = "\xaa";
    for (int i = 0; i < 10; ++i) array += ref(level + 1);
    laughs.push_back(array);
  }
  laughs.push_back("\x10\x01");
  laughs.push_back("\x51k");
  EXPECT_FALSE(Domain::parse(binaryPlist(laughs)));

  const std::string cycle = binaryPlist({"\xd1" + ref(2) + ref(1), "\xa1" + ref(1), "\x51k"});
  EXPECT_FALSE(Domain::parse(cycle));
  const std::string outOfRange = binaryPlist({"\xd1" + ref(1) + ref(7), "\x51k"});
  EXPECT_FALSE(Domain::parse(outOfRange));

  // Sharing within the limits is how the system writes repeated values.
  const std::string shared =
      binaryPlist({"\xd2" + ref(3) + ref(4) + ref(1) + ref(1), "\xa2" + ref(2) + ref(2), "\x10\x05",
                   "\x51"
                   "a",
                   "\x51"
                   "b"});
  const auto values = Domain::parse(shared);
  ASSERT_TRUE(values);
  const Value pair{defaults::Array{Value{std::int64_t{5}}, Value{std::int64_t{5}}}};
  EXPECT_EQ(*values, (Dictionary{{"a", pair}, {"b", pair}}));
}

TEST(DefaultsDomain, ASpecialFileInTheDomainsPlaceIsNotOpened) {
  const TempFolder home;
  std::filesystem::create_directories(Domain::fileOf("fifo", home.path()).parent_path());
  ASSERT_EQ(::mkfifo(Domain::fileOf("fifo", home.path()).c_str(), 0600), 0);
  EXPECT_FALSE(Domain::open("fifo", home.path()));
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
