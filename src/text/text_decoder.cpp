#include "text/text_decoder.h"

#include <iconv.h>

#include <bit>
#include <cerrno>
#include <cstring>
#include <stdexcept>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "text/utf8_text.h"

namespace quorlin {

namespace {

constexpr char kReplacement[] = "\xEF\xBF\xBD";
constexpr std::size_t kReplacementSize = 3;
constexpr std::uint64_t kHighBits = 0x8080808080808080ULL;

iconv_t AsIconv(void* converter) { return static_cast<iconv_t>(converter); }

// How many bytes the UTF-8 sequence led by `lead` takes; 0 for a byte no sequence starts with.
std::size_t Utf8LengthOfLead(unsigned char lead) {
  if (lead < 0x80) return 1;
  if (lead >= 0xC2 && lead <= 0xDF) return 2;
  if (lead >= 0xE0 && lead <= 0xEF) return 3;
  if (lead >= 0xF0 && lead <= 0xF4) return 4;
  return 0;
}

// Whether `tail` is the start of a sequence that more bytes could complete.
bool IsCutSequence(std::string_view tail) {
  const std::size_t length = Utf8LengthOfLead(static_cast<unsigned char>(tail[0]));
  if (length <= tail.size()) return false;
  for (std::size_t i = 1; i < tail.size(); ++i) {
    if ((static_cast<unsigned char>(tail[i]) & 0xC0) != 0x80) return false;
  }
  return true;
}

// Copies the ASCII bytes `in` starts with to `out`; gives how many there were. Sixteen bytes are
// looked at and copied at a time, so `out` may take up to fifteen bytes more than that while
// sixteen are left, which the room of three output bytes per input byte holds.
std::size_t CopyAscii(const char* in, std::size_t size, char* out) {
  std::size_t i = 0;
#if defined(__SSE2__)
  while (size - i >= 16) {
    const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + i));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i), bytes);
    const int high = _mm_movemask_epi8(bytes);
    if (high != 0) return i + static_cast<std::size_t>(std::countr_zero(static_cast<unsigned>(high)));
    i += 16;
  }
#endif
  while (size - i >= 8) {
    std::uint64_t word;
    std::memcpy(&word, in + i, sizeof word);
    if ((word & kHighBits) != 0) break;
    std::memcpy(out + i, &word, sizeof word);
    i += 8;
  }
  while (i < size && static_cast<unsigned char>(in[i]) < 0x80) {
    out[i] = in[i];
    ++i;
  }
  return i;
}

}  // namespace

TextDecoder::TextDecoder(const CharacterSet& set) : kind_(set.Kind()) {
  if (kind_ == CharacterSetKind::Legacy) throw std::logic_error("the legacy set is not decoded");
  if (kind_ == CharacterSetKind::Utf8) return;
  const iconv_t converter = iconv_open("UTF-8", set.ConverterName().c_str());
  if (converter == reinterpret_cast<iconv_t>(-1)) {
    throw std::runtime_error(CharacterSet::UnknownMessage(set.Name()));
  }
  if (set.IsWide()) {
    converter_ = converter;
    return;
  }
  asciiIsAscii_ = true;
  for (int byte = 0; byte < 256; ++byte) {
    char in = static_cast<char>(byte);
    char* from = &in;
    std::size_t inLeft = 1;
    Encoded& encoded = table_[static_cast<std::size_t>(byte)];
    char* to = encoded.bytes.data();
    std::size_t outLeft = encoded.bytes.size();
    iconv(converter, nullptr, nullptr, nullptr, nullptr);
    if (iconv(converter, &from, &inLeft, &to, &outLeft) == static_cast<std::size_t>(-1) || inLeft != 0 ||
        outLeft == encoded.bytes.size()) {
      std::memcpy(encoded.bytes.data(), kReplacement, kReplacementSize);
      encoded.size = kReplacementSize;
      encoded.valid = false;
    } else {
      encoded.size = static_cast<unsigned char>(encoded.bytes.size() - outLeft);
    }
    if (byte < 0x80 && (encoded.size != 1 || encoded.bytes[0] != in)) asciiIsAscii_ = false;
  }
  iconv_close(converter);
}

TextDecoder::~TextDecoder() {
  if (converter_ != nullptr) iconv_close(AsIconv(converter_));
}

void TextDecoder::Reset() {
  pendingSize_ = 0;
  replaced_ = 0;
  if (converter_ != nullptr) iconv(AsIconv(converter_), nullptr, nullptr, nullptr, nullptr);
}

char* TextDecoder::PutReplacement(char* out) {
  ++replaced_;
  std::memcpy(out, kReplacement, kReplacementSize);
  return out + kReplacementSize;
}

std::size_t TextDecoder::Decode(const char* in, std::size_t size, char* out) {
  char* at = out;
  if (pendingSize_ > 0) {
    // The cut sequence is completed, or found invalid, with the first bytes of this piece.
    char joined[2 * (kMostPendingBytes + 1)];
    const std::size_t taken = std::min(size, kMostPendingBytes + 1);
    std::memcpy(joined, pending_.data(), pendingSize_);
    std::memcpy(joined + pendingSize_, in, taken);
    const std::size_t joinedSize = pendingSize_ + taken;
    std::size_t consumed = 0;
    at += Run(joined, joinedSize, at, false, consumed);
    if (consumed < pendingSize_) {
      // Still cut: this piece was too short to finish it.
      std::memmove(pending_.data(), joined + consumed, joinedSize - consumed);
      pendingSize_ = joinedSize - consumed;
      return static_cast<std::size_t>(at - out);
    }
    const std::size_t used = consumed - pendingSize_;
    pendingSize_ = 0;
    in += used;
    size -= used;
  }
  std::size_t consumed = 0;
  at += Run(in, size, at, false, consumed);
  pendingSize_ = size - consumed;
  std::memcpy(pending_.data(), in + consumed, pendingSize_);
  return static_cast<std::size_t>(at - out);
}

std::size_t TextDecoder::Finish(char* out) {
  std::size_t consumed = 0;
  const std::size_t written = Run(pending_.data(), pendingSize_, out, true, consumed);
  pendingSize_ = 0;
  return written;
}

std::size_t TextDecoder::Run(const char* in, std::size_t size, char* out, bool last, std::size_t& consumed) {
  switch (kind_) {
    case CharacterSetKind::SingleByte:
      return RunSingleByte(in, size, out, consumed);
    case CharacterSetKind::Utf8:
      return RunUtf8(in, size, out, last, consumed);
    default:
      return RunWide(in, size, out, last, consumed);
  }
}

std::size_t TextDecoder::RunSingleByte(const char* in, std::size_t size, char* out, std::size_t& consumed) {
  char* at = out;
  const char* from = in;
  const char* const end = in + size;
  while (from != end) {
    // Most text is ASCII, copied in runs.
    if (asciiIsAscii_) {
      const std::size_t ascii = CopyAscii(from, static_cast<std::size_t>(end - from), at);
      from += ascii;
      at += ascii;
      if (from == end) break;
    }
    const Encoded& encoded = table_[static_cast<unsigned char>(*from++)];
    std::memcpy(at, encoded.bytes.data(), 3);
    at += encoded.size;
    if (!encoded.valid) ++replaced_;
  }
  consumed = size;
  return static_cast<std::size_t>(at - out);
}

std::size_t TextDecoder::RunUtf8(const char* in, std::size_t size, char* out, bool last, std::size_t& consumed) {
  char* at = out;
  std::size_t i = 0;
  while (i < size) {
    const std::size_t ascii = CopyAscii(in + i, size - i, at);
    i += ascii;
    at += ascii;
    if (i == size) break;
    // The two- and three-byte forms of nearly all text are checked here, without a call.
    const auto byte = [in](std::size_t k) { return static_cast<unsigned char>(in[k]); };
    const unsigned char lead = byte(i);
    if (lead >= 0xC2 && lead <= 0xDF && size - i >= 2 && (byte(i + 1) & 0xC0) == 0x80) {
      at[0] = in[i];
      at[1] = in[i + 1];
      at += 2;
      i += 2;
      continue;
    }
    if (lead >= 0xE0 && lead <= 0xEF && size - i >= 3 && (byte(i + 1) & 0xC0) == 0x80 &&
        (byte(i + 2) & 0xC0) == 0x80 && (lead != 0xE0 || byte(i + 1) >= 0xA0) && (lead != 0xED || byte(i + 1) < 0xA0)) {
      at[0] = in[i];
      at[1] = in[i + 1];
      at[2] = in[i + 2];
      at += 3;
      i += 3;
      continue;
    }
    const std::string_view rest(in + i, size - i);
    char32_t code = 0;
    const std::size_t length = Utf8SequenceAt(rest, code);
    if (length > 0) {
      std::memcpy(at, in + i, length);
      at += length;
      i += length;
    } else if (!last && IsCutSequence(rest)) {
      break;
    } else {
      // A character cut short is one replacement, not one per byte it kept.
      const std::size_t length = Utf8LengthOfLead(static_cast<unsigned char>(in[i]));
      std::size_t skipped = 1;
      while (skipped < length && i + skipped < size && (static_cast<unsigned char>(in[i + skipped]) & 0xC0) == 0x80) {
        ++skipped;
      }
      at = PutReplacement(at);
      i += skipped;
    }
  }
  consumed = i;
  return static_cast<std::size_t>(at - out);
}

std::size_t TextDecoder::RunWide(const char* in, std::size_t size, char* out, bool last, std::size_t& consumed) {
  char* from = const_cast<char*>(in);
  std::size_t inLeft = size;
  char* to = out;
  std::size_t outLeft = Room(size);
  while (inLeft > 0) {
    if (iconv(AsIconv(converter_), &from, &inLeft, &to, &outLeft) != static_cast<std::size_t>(-1)) break;
    if (errno == EINVAL && !last) break;
    // A lone surrogate, or at the very end a cut unit (an odd last byte): one code unit, or
    // what is left of one, becomes U+FFFD.
    const std::size_t skipped = std::min<std::size_t>(inLeft, 2);
    to = PutReplacement(to);
    outLeft -= kReplacementSize;
    from += skipped;
    inLeft -= skipped;
    iconv(AsIconv(converter_), nullptr, nullptr, nullptr, nullptr);
  }
  consumed = size - inLeft;
  return static_cast<std::size_t>(to - out);
}

std::string DecodeText(std::string_view bytes, const CharacterSet& set, std::int64_t* replaced) {
  if (set.Kind() == CharacterSetKind::Legacy) return std::string(bytes);
  TextDecoder decoder(set);
  std::string text(TextDecoder::Room(bytes.size()), '\0');
  std::size_t size = decoder.Decode(bytes.data(), bytes.size(), text.data());
  size += decoder.Finish(text.data() + size);
  text.resize(size);
  if (replaced != nullptr) *replaced += decoder.Replaced();
  return text;
}

std::int64_t ReplaceInvalidUtf8(std::vector<std::string_view>& values, std::string& storage) {
  storage.clear();
  std::size_t room = 0;
  for (const std::string_view value : values) {
    if (!IsValidUtf8(value)) room += TextDecoder::Room(value.size());
  }
  if (room == 0) return 0;
  storage.reserve(room);
  TextDecoder decoder(CharacterSet::Utf8());
  for (std::string_view& value : values) {
    if (IsValidUtf8(value)) continue;
    const std::size_t start = storage.size();
    storage.resize(start + TextDecoder::Room(value.size()));
    std::size_t size = decoder.Decode(value.data(), value.size(), storage.data() + start);
    size += decoder.Finish(storage.data() + start + size);
    storage.resize(start + size);
    value = std::string_view(storage).substr(start, size);
  }
  return decoder.Replaced();
}

}  // namespace quorlin
