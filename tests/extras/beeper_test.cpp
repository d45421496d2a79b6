// The player keeps order and timing, drops nothing on the way to idle, and stops when destroyed.
#include "extras/beeper.h"

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <numeric>
#include <thread>
#include <vector>

#include "extras/alsa_tone_output.h"

namespace quorlin {
namespace {

using namespace std::chrono_literals;

// What the worker played, in order: a rest is frequency kRest. A closed gate holds each note
// until the test opens it.
class RecordingOutput : public ToneOutput {
 public:
  struct Log {
    std::mutex mutex;
    std::condition_variable changed;
    std::vector<TCmd> played;
    bool gateOpen = true;
    bool stopping = false;

    // False when `count` notes have not started within ten seconds.
    bool WaitForNotes(std::size_t count) {
      std::unique_lock lock(mutex);
      return changed.wait_for(lock, 10s, [&] { return played.size() >= count; });
    }
    void OpenGate() {
      std::lock_guard lock(mutex);
      gateOpen = true;
      changed.notify_all();
    }
  };

  explicit RecordingOutput(Log& log) : log_(log) {}
  void Tone(int frequency, int ms) override { Record({static_cast<std::uint16_t>(frequency), ms}); }
  void Rest(int ms) override { Record({kRest, ms}); }
  void Stopping() override {
    std::lock_guard lock(log_.mutex);
    log_.stopping = true;
    log_.changed.notify_all();
  }

 private:
  void Record(TCmd note) {
    std::unique_lock lock(log_.mutex);
    log_.played.push_back(note);
    log_.changed.notify_all();
    log_.changed.wait(lock, [&] { return log_.gateOpen; });
  }
  Log& log_;
};

std::vector<TCmd> Notes(PresetSound preset) {
  const auto notes = PresetNotes(PresetNumber(preset));
  return {notes.begin(), notes.end()};
}

TEST(PresetTunes, HaveTheirNumberOfNotesAndLength) {
  struct Row {
    PresetSound preset;
    std::size_t notes;
    int totalMs;
  };
  const Row rows[] = {{PresetSound::Ok, 3, 300},         {PresetSound::Error, 3, 850},   {PresetSound::Welcome, 7, 700},
                      {PresetSound::Emergency, 8, 1600}, {PresetSound::Wrong, 14, 1000}, {PresetSound::Call, 3, 1250},
                      {PresetSound::Official, 15, 3000}, {PresetSound::Daze, 12, 1200},  {PresetSound::Fall, 12, 1200},
                      {PresetSound::Chord, 12, 960},     {PresetSound::Whistle, 4, 320},  {PresetSound::Hanging, 12, 960},
                      {PresetSound::Climb, 12, 960}};
  for (const Row& row : rows) {
    const auto notes = Notes(row.preset);
    EXPECT_EQ(row.notes, notes.size()) << "preset " << PresetNumber(row.preset);
    EXPECT_EQ(row.totalMs,
              std::accumulate(notes.begin(), notes.end(), 0,
                              [](int sum, const TCmd& note) { return sum + note.duration; }))
        << "preset " << PresetNumber(row.preset);
  }
  EXPECT_EQ((std::vector<TCmd>{{92, 150}, {kRest, 200}, {65, 500}}), Notes(PresetSound::Error));
  EXPECT_EQ((TCmd{131, 700}), Notes(PresetSound::Official).back());
}

TEST(TbtBeeper, PlaysTonesRestsAndPresetsInTheOrderQueued) {
  RecordingOutput::Log log;
  {
    TbtBeeper player(std::make_unique<RecordingOutput>(log));
    player.PlayTone(440, 600);
    player.PlayPreset(PresetNumber(PresetSound::Welcome));
    player.PlayPreset(13);
    player.PlayPreset(-1);
    player.PlayTone(kRest, 250);
    player.PlayPreset(PresetNumber(PresetSound::Ok));
    ASSERT_TRUE(log.WaitForNotes(1 + 7 + 1 + 3));
  }
  std::vector<TCmd> expected{{440, 600}};
  for (const TCmd& note : Notes(PresetSound::Welcome)) expected.push_back(note);
  expected.push_back({kRest, 250});
  for (const TCmd& note : Notes(PresetSound::Ok)) expected.push_back(note);
  EXPECT_EQ(expected, log.played);
}

TEST(TbtBeeper, DestroyedDuringATuneStopsAfterTheNoteBeingPlayed) {
  RecordingOutput::Log log;
  log.gateOpen = false;
  auto player = std::make_unique<TbtBeeper>(std::make_unique<RecordingOutput>(log));
  player->PlayPreset(PresetNumber(PresetSound::Climb));
  ASSERT_TRUE(log.WaitForNotes(1));
  std::thread destroying([&] { player.reset(); });
  {
    std::unique_lock lock(log.mutex);
    ASSERT_TRUE(log.changed.wait_for(lock, 10s, [&] { return log.stopping; }));
  }
  log.OpenGate();
  destroying.join();
  EXPECT_EQ((std::vector<TCmd>{{261, 80}}), log.played);
}

// Each note is queued the moment the previous one has played, while the worker is on its way
// back to idle; every one must still play without another note to wake the worker.
TEST(TbtBeeper, ANoteQueuedAsTheWorkerFallsIdleStillPlays) {
  RecordingOutput::Log log;
  TbtBeeper player(std::make_unique<RecordingOutput>(log));
  for (std::size_t count = 1; count <= 2000; ++count) {
    player.PlayTone(static_cast<std::uint16_t>(100 + count % 50), 1);
    ASSERT_TRUE(log.WaitForNotes(count)) << "note " << count << " was never played";
  }
}

TEST(WaitingToneOutput, TakesEachNotesDuration) {
  WaitingToneOutput output;
  const auto start = std::chrono::steady_clock::now();
  output.Tone(440, 30);
  output.Rest(20);
  EXPECT_GE(std::chrono::steady_clock::now() - start, 50ms);
}

TEST(AlsaToneOutput, PlaysOnADeviceAndRefusesOneThatDoesNotExist) {
  auto device = AlsaToneOutput::Open("null");
  ASSERT_NE(nullptr, device);
  device->Tone(440, 20);
  device->Rest(10);
  device->Tone(30000, 10);
  EXPECT_EQ(nullptr, AlsaToneOutput::Open("no_such_device_here"));
}

}  // namespace
}  // namespace quorlin
