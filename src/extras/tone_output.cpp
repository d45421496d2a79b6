#include "extras/tone_output.h"

#include <chrono>
#include <thread>

#include "extras/alsa_tone_output.h"

namespace quorlin {

void WaitingToneOutput::Tone(int, int ms) { Rest(ms); }

void WaitingToneOutput::Rest(int ms) {
  if (ms > 0) std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

std::unique_ptr<ToneOutput> OpenToneOutput() {
  if (auto device = AlsaToneOutput::Open("default")) return device;
  return std::make_unique<WaitingToneOutput>();
}

}  // namespace quorlin
