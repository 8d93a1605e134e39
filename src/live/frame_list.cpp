#include "live/frame_list.h"

#include <algorithm>
#include <utility>

namespace kesta {

const Frame& FrameList::operator[](std::size_t index) const {
  const std::size_t position = index + dropped_;
  const std::size_t block = position / blockSize;
  if (block < sealed_.size()) return (*sealed_[block])[position % blockSize];
  return open_[position - sealed_.size() * blockSize];
}

void FrameList::push_back(Frame frame) {
  // A block takes exactly its frames: sealing moves it without a copy or slack.
  if (open_.capacity() < blockSize) open_.reserve(blockSize);
  open_.push_back(std::move(frame));
  if (open_.size() < blockSize) return;
  sealed_.push_back(std::make_shared<const Block>(std::move(open_)));
  open_ = Block();
}

bool FrameList::keepNewest(std::size_t bound) {
  if (size() <= bound) return false;
  std::size_t excess = size() - bound;
  while (excess > 0 && !sealed_.empty()) {
    const std::size_t left = blockSize - dropped_;
    if (excess < left) {
      dropped_ += excess;
      return true;
    }
    sealed_.pop_front();
    dropped_ = 0;
    excess -= left;
  }
  open_.erase(open_.begin(), open_.begin() + static_cast<std::ptrdiff_t>(excess));
  return true;
}

void FrameList::replace(const std::function<std::optional<Frame>(const Frame&)>& replacement) {
  for (auto& block : sealed_) {
    std::shared_ptr<Block> changed;
    for (std::size_t i = 0; i < block->size(); ++i) {
      auto frame = replacement((*block)[i]);
      if (!frame) continue;
      if (!changed) changed = std::make_shared<Block>(*block);
      (*changed)[i] = std::move(*frame);
    }
    if (changed) block = std::move(changed);
  }
  for (auto& frame : open_) {
    if (auto replaced = replacement(frame)) frame = std::move(*replaced);
  }
}

bool operator==(const FrameList& a, const FrameList& b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin());
}

}  // namespace kesta
