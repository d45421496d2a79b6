#include "extras/alsa_tone_output.h"

#include <alsa/asoundlib.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <mutex>
#include <numbers>
#include <thread>
#include <vector>

namespace quorlin {

namespace {

constexpr unsigned kRate = 48000;
constexpr unsigned kLatencyMicroseconds = 100000;
constexpr long kChunkFrames = 960;
constexpr double kAmplitude = 0.25 * 32767;
// Tones rise and fall over a few milliseconds, so that notes join without a click.
constexpr double kFadeMs = 5;
// Below this a tone is inaudible; at or above half the rate it cannot be sampled.
constexpr int kLowestAudible = 20;

// The library would print its complaints; errors are handled through return values instead.
void IgnoreAlsaError(const char*, int, const char*, int, const char*, ...) {}

void SilenceAlsaErrors() {
  static std::once_flag once;
  std::call_once(once, [] { snd_lib_error_set_handler(IgnoreAlsaError); });
}

}  // namespace

std::unique_ptr<AlsaToneOutput> AlsaToneOutput::Open(const std::string& device) {
  SilenceAlsaErrors();
  snd_pcm_t* pcm = nullptr;
  if (snd_pcm_open(&pcm, device.c_str(), SND_PCM_STREAM_PLAYBACK, 0) < 0) return nullptr;
  if (snd_pcm_set_params(pcm, SND_PCM_FORMAT_S16, SND_PCM_ACCESS_RW_INTERLEAVED, 1, kRate, 1,
                         kLatencyMicroseconds) < 0) {
    snd_pcm_close(pcm);
    return nullptr;
  }
  return std::unique_ptr<AlsaToneOutput>(new AlsaToneOutput(pcm, kRate));
}

AlsaToneOutput::~AlsaToneOutput() {
  // What is still buffered is the end of the last note: let it sound.
  if (!failed_) snd_pcm_drain(pcm_);
  snd_pcm_close(pcm_);
}

void AlsaToneOutput::Tone(int frequency, int ms) {
  const bool audible = frequency >= kLowestAudible && frequency < static_cast<int>(rate_ / 2);
  Play(audible ? frequency : 0, ms);
}

// Silence is written rather than slept, so the stream runs on without an underrun.
void AlsaToneOutput::Rest(int ms) { Play(0, ms); }

void AlsaToneOutput::Play(int frequency, int ms) {
  if (ms <= 0) return;
  const long total = static_cast<long>(static_cast<long long>(ms) * rate_ / 1000);
  const double fadeFrames = kFadeMs * rate_ / 1000;
  const double step = 2 * std::numbers::pi * frequency / rate_;
  std::vector<short> chunk(kChunkFrames);
  for (long done = 0; done < total;) {
    const long frames = std::min(kChunkFrames, total - done);
    for (long i = 0; i < frames; ++i) {
      const long n = done + i;
      const double envelope = std::min({1.0, n / fadeFrames, (total - 1 - n) / fadeFrames});
      chunk[i] = static_cast<short>(kAmplitude * envelope * std::sin(step * n));
    }
    if (failed_ || !Write(chunk.data(), frames)) {
      // The device is gone: the note still takes its time.
      std::this_thread::sleep_for(std::chrono::milliseconds((total - done) * 1000 / rate_));
      return;
    }
    done += frames;
  }
}

bool AlsaToneOutput::Write(const short* samples, long frames) {
  while (frames > 0) {
    snd_pcm_sframes_t written = snd_pcm_writei(pcm_, samples, frames);
    if (written < 0) {
      // An underrun after an idle spell is expected; the stream restarts.
      if (snd_pcm_recover(pcm_, static_cast<int>(written), 1) < 0) {
        failed_ = true;
        return false;
      }
      continue;
    }
    samples += written;
    frames -= written;
  }
  return true;
}

}  // namespace quorlin
