// The notes the player queues, and the thirteen preset tunes made of them.
#pragma once

#include <cstdint>
#include <ostream>
#include <span>

namespace quorlin {

// One queued note: a frequency in hertz (kRest means silence) for a duration in milliseconds.
struct TCmd {
  std::uint16_t frequency = 0;
  std::int32_t duration = 0;
  bool operator==(const TCmd&) const = default;
};

inline void PrintTo(const TCmd& note, std::ostream* out) {
  *out << note.frequency << " Hz / " << note.duration << " ms";
}

inline constexpr std::uint16_t kRest = 1;

// The presets in the order of their numbers, from 0.
enum class PresetSound {
  Ok, Error, Welcome, Emergency, Wrong, Call, Official, Daze, Fall, Chord, Whistle, Hanging, Climb
};

inline constexpr int PresetNumber(PresetSound sound) { return static_cast<int>(sound); }

inline constexpr int kPresetCount = PresetNumber(PresetSound::Climb) + 1;

// The notes of preset `preset` in playing order; empty for a number that names no preset.
std::span<const TCmd> PresetNotes(int preset);

}  // namespace quorlin
