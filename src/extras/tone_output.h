// Where the player's notes sound: a sound device, or a clock where there is none.
#pragma once

#include <memory>

namespace quorlin {

class ToneOutput {
 public:
  virtual ~ToneOutput() = default;

  // Sounds `frequency` hertz for `ms` milliseconds; returns when the tone has ended.
  virtual void Tone(int frequency, int ms) = 0;
  // Silence for `ms` milliseconds.
  virtual void Rest(int ms) = 0;
  // Told on the destroying thread that the player is stopping; the note being played still
  // ends, and nothing follows it.
  virtual void Stopping() {}
};

// Takes each note's time without a sound, so that tunes keep their timing where no sound
// device can be opened.
class WaitingToneOutput : public ToneOutput {
 public:
  void Tone(int frequency, int ms) override;
  void Rest(int ms) override;
};

// The default sound device, or the waiting output when it cannot be opened.
std::unique_ptr<ToneOutput> OpenToneOutput();

}  // namespace quorlin
