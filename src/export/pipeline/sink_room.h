// Filling room reserved in a sink piece by piece, without a size check per piece.
#pragma once

#include <cassert>
#include <cstring>
#include <span>
#include <string_view>

#include "export/pipeline/byte_sink.h"

namespace quorlin {

// Room for at most `size` bytes at the end of a sink, filled by pointer and appended with
// Commit; what is not committed is not written. The writer reserves for the worst case of
// what it puts (every piece's largest form), as the pieces are not checked one by one: a
// record's bytes then cost a copy each and no bookkeeping.
class SinkRoom {
 public:
  SinkRoom(ByteSink& sink, std::size_t size) : sink_(sink), room_(sink.Reserve(size)), at_(room_.data()) {}
  SinkRoom(const SinkRoom&) = delete;
  SinkRoom& operator=(const SinkRoom&) = delete;

  void Put(char c) {
    assert(Used() < room_.size());
    *at_++ = c;
  }
  void Put(std::string_view bytes) {
    assert(bytes.size() <= room_.size() - Used());
    if (!bytes.empty()) std::memcpy(at_, bytes.data(), bytes.size());
    at_ += bytes.size();
  }

  // Where the next byte goes, for code that fills the room itself and then calls MovedTo.
  char* At() { return at_; }
  void MovedTo(char* at) {
    assert(at >= room_.data() && at <= room_.data() + room_.size());
    at_ = at;
  }
  std::size_t Used() const { return static_cast<std::size_t>(at_ - room_.data()); }

  void Commit() { sink_.Commit(Used()); }

 private:
  ByteSink& sink_;
  std::span<char> room_;
  char* at_;
};

}  // namespace quorlin
