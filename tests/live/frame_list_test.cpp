#include "live/frame_list.h"

#include <gtest/gtest.h>

#include <deque>
#include <vector>

namespace kesta {
namespace {

Frame frame(std::uint64_t seq) {
  Frame out;
  out.seq = seq;
  out.time = static_cast<double>(seq) / 4;
  return out;
}

std::vector<Frame> contents(const FrameList& list) { return {list.begin(), list.end()}; }

// Pushes and drops against a plain deque doing the same, across block edges.
TEST(FrameList, KeepsTheNewestFramesInOrder) {
  struct Step {
    std::uint64_t pushes;
    std::size_t bound;
  };
  const std::vector<std::vector<Step>> cases = {
      {{0, 0}},
      {{1, 0}},
      {{5, 3}},
      {{128, 128}},
      {{129, 128}},
      {{300, 1}},
      {{300, 129}},
      {{300, 200}, {1, 200}, {60, 200}},
      {{700, 300}, {300, 300}, {5, 0}, {3, 10}},
  };
  for (const auto& steps : cases) {
    FrameList list;
    std::deque<Frame> expected;
    std::uint64_t seq = 0;
    for (const auto& step : steps) {
      for (std::uint64_t i = 0; i < step.pushes; ++i) {
        list.push_back(frame(++seq));
        expected.push_back(frame(seq));
      }
      const bool dropped = expected.size() > step.bound;
      while (expected.size() > step.bound) expected.pop_front();
      EXPECT_EQ(list.keepNewest(step.bound), dropped) << seq;
      ASSERT_EQ(list.size(), expected.size()) << seq;
      EXPECT_EQ(contents(list), std::vector<Frame>(expected.begin(), expected.end())) << seq;
      if (!expected.empty()) {
        EXPECT_EQ(list.front(), expected.front()) << seq;
      }

      FrameList fresh;
      for (const auto& f : expected) fresh.push_back(f);
      EXPECT_EQ(list, fresh) << "equal however the blocks lie, at " << seq;
    }
  }
}

// A save hands a copy to another thread while recording goes on: neither may
// see the other's changes through the blocks they share.
TEST(FrameList, CopiesAreIndependent) {
  FrameList original;
  for (std::uint64_t seq = 1; seq <= 300; ++seq) original.push_back(frame(seq));
  FrameList copy = original;
  const auto snapshot = contents(copy);

  for (std::uint64_t seq = 301; seq <= 350; ++seq) original.push_back(frame(seq));
  original.keepNewest(100);
  original.replace(
      [](const Frame& f) { return f.seq % 2 == 0 ? std::optional(frame(f.seq + 1000)) : std::nullopt; });
  EXPECT_EQ(contents(copy), snapshot);
  EXPECT_EQ(original.front(), frame(251));
  EXPECT_EQ(original.back(), frame(1350));

  const auto changed = contents(original);
  copy.replace([](const Frame& f) { return std::optional(frame(f.seq + 5000)); });
  copy.push_back(frame(9999));
  EXPECT_EQ(contents(original), changed);
  EXPECT_EQ(copy.front(), frame(5001));
}

}  // namespace
}  // namespace kesta
