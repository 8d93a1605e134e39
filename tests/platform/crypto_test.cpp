#include <gtest/gtest.h>

#include <set>

#include "platform/crypto/sha256.h"
#include "platform/crypto/uuid.h"

namespace kesta {
namespace {

TEST(Sha256, MatchesPublishedVectors) {
  EXPECT_EQ(crypto::sha256Hex(""), "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855");
  EXPECT_EQ(crypto::sha256Hex("abc"), "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
  EXPECT_EQ(crypto::sha256Hex("abc", 24), "ba7816bf8f01cfea414140de");
}

TEST(Uuid, IsUpperCaseVersionFourAndRandom) {
  std::set<std::string> seen;
  for (int i = 0; i < 100; ++i) {
    const std::string id = crypto::randomUuid();
    ASSERT_EQ(id.size(), 36u);
    EXPECT_EQ(id[14], '4');
    EXPECT_NE(std::string("89AB").find(id[19]), std::string::npos);
    EXPECT_EQ(id.find_first_not_of("0123456789ABCDEF-"), std::string::npos);
    seen.insert(id);
  }
  EXPECT_EQ(seen.size(), 100u);
}

}  // namespace
}  // namespace kesta
