// Tones as a sine waveform on an ALSA playback device.
#pragma once

#include <memory>
#include <string>

#include "extras/tone_output.h"

struct _snd_pcm;

namespace quorlin {

class AlsaToneOutput : public ToneOutput {
 public:
  // Nothing when `device` cannot be opened for playback.
  static std::unique_ptr<AlsaToneOutput> Open(const std::string& device);
  ~AlsaToneOutput() override;

  void Tone(int frequency, int ms) override;
  void Rest(int ms) override;

 private:
  AlsaToneOutput(_snd_pcm* pcm, unsigned rate) : pcm_(pcm), rate_(rate) {}
  // Plays `ms` milliseconds of a sine of `frequency` hertz, or silence for frequency 0.
  void Play(int frequency, int ms);
  // False when the device has failed beyond recovery.
  bool Write(const short* samples, long frames);

  _snd_pcm* pcm_;
  unsigned rate_;
  bool failed_ = false;
};

}  // namespace quorlin
