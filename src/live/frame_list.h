#pragma once

#include <cstddef>
#include <deque>
#include <functional>
#include <iterator>
#include <memory>
#include <optional>
#include <vector>

#include "live/frame.h"

namespace kesta {

// The frames a diagnostics log keeps, oldest first. Frames are held in blocks
// of `blockSize`; a full block never changes again and is shared by copies,
// so a copy (every diagnostics save hands one to the store's writer thread)
// costs a pointer per full block and a copy of the newest, open block only.
// Copies may be read and changed on different threads; each list itself, like
// any container, on one thread at a time. Dropped frames are freed with the
// last of their block.
class FrameList {
 public:
  static constexpr std::size_t blockSize = 128;

  class const_iterator {
   public:
    using iterator_category = std::forward_iterator_tag;
    using value_type = Frame;
    using difference_type = std::ptrdiff_t;
    using pointer = const Frame*;
    using reference = const Frame&;

    const_iterator() = default;
    reference operator*() const { return (*list_)[index_]; }
    pointer operator->() const { return &**this; }
    const_iterator& operator++() {
      ++index_;
      return *this;
    }
    const_iterator operator++(int) {
      auto before = *this;
      ++index_;
      return before;
    }
    friend bool operator==(const const_iterator& a, const const_iterator& b) { return a.index_ == b.index_; }
    friend difference_type operator-(const const_iterator& a, const const_iterator& b) {
      return static_cast<difference_type>(a.index_) - static_cast<difference_type>(b.index_);
    }

   private:
    friend class FrameList;
    const_iterator(const FrameList* list, std::size_t index) : list_(list), index_(index) {}

    const FrameList* list_ = nullptr;
    std::size_t index_ = 0;
  };

  std::size_t size() const { return sealed_.size() * blockSize - dropped_ + open_.size(); }
  bool empty() const { return size() == 0; }
  // Index 0 is the oldest frame; `index` must be below size().
  const Frame& operator[](std::size_t index) const;
  const Frame& front() const { return (*this)[0]; }
  const Frame& back() const { return (*this)[size() - 1]; }
  const_iterator begin() const { return {this, 0}; }
  const_iterator end() const { return {this, size()}; }

  void push_back(Frame frame);
  // Drops the oldest frames until at most `bound` remain; answers whether any went.
  bool keepNewest(std::size_t bound);
  // Puts `replacement(frame)` in place of each frame it gives one for. Only the
  // full blocks with a replaced frame are copied; copies keep the old frames.
  void replace(const std::function<std::optional<Frame>(const Frame&)>& replacement);

  friend bool operator==(const FrameList& a, const FrameList& b);

 private:
  using Block = std::vector<Frame>;

  std::deque<std::shared_ptr<const Block>> sealed_;  // full blocks, oldest first
  std::size_t dropped_ = 0;                          // frames of the first full block already dropped
  Block open_;                                       // the newest frames, fewer than blockSize
};

}  // namespace kesta
