// The feedback tones and tunes of the windows, and the pause that follows a tune.
#pragma once

#include <memory>

namespace quorlin {

class TbtBeeper;

class SoundEffects {
 public:
  virtual ~SoundEffects() = default;

  // Queues one tone; returns at once.
  virtual void PlayTone(int hz, int ms) = 0;
  // Queues preset tune 0..12; returns at once.
  virtual void PlayPreset(int tune) = 0;
  // Keeps processing window events for `units` times 86.4 ms, so a tune can finish while the
  // window stays responsive.
  virtual void Delay(int units) = 0;
};

// Plays through the sound player, which is made with the first sound: a program whose sounds
// are off never opens the sound device.
class QtSoundEffects : public SoundEffects {
 public:
  QtSoundEffects();
  ~QtSoundEffects() override;

  void PlayTone(int hz, int ms) override;
  void PlayPreset(int tune) override;
  void Delay(int units) override;

 private:
  TbtBeeper& Player();

  std::unique_ptr<TbtBeeper> player_;
};

}  // namespace quorlin
