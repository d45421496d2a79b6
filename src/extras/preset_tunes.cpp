#include "extras/preset_tunes.h"

namespace quorlin {

namespace {

// Frequencies in hertz (1 is a rest) and durations in milliseconds, in playing order.
constexpr TCmd kOK[] = {{932, 100}, {988, 100}, {1046, 100}};
constexpr TCmd kError[] = {{92, 150}, {1, 200}, {65, 500}};
constexpr TCmd kWelcome[] = {{932, 100},  {988, 100}, {1046, 100}, {1, 100},
                             {1046, 100}, {988, 100}, {932, 100}};
constexpr TCmd kEmergency[] = {{698, 200}, {494, 200}, {698, 200}, {494, 200},
                               {698, 200}, {494, 200}, {698, 200}, {494, 200}};
constexpr TCmd kWrong[] = {{261, 150}, {247, 50}, {233, 50},  {220, 50}, {207, 50},
                           {196, 50},  {189, 50}, {174, 50},  {165, 50}, {155, 50},
                           {149, 50},  {138, 50}, {131, 100}, {65, 200}};
constexpr TCmd kCall[] = {{196, 650}, {1, 100}, {165, 500}};
constexpr TCmd kOfficial[] = {{196, 200}, {1, 50},    {196, 200}, {1, 50},    {196, 200},
                              {1, 50},    {165, 700}, {1, 100},   {261, 200}, {1, 50},
                              {261, 200}, {1, 50},    {261, 200}, {1, 50},    {131, 700}};
constexpr TCmd kDaze[] = {{329, 100}, {311, 100}, {293, 100}, {311, 100}, {329, 100}, {311, 100},
                          {293, 100}, {311, 100}, {329, 100}, {311, 100}, {293, 100}, {311, 100}};
constexpr TCmd kFall[] = {{329, 100}, {311, 100}, {293, 100}, {311, 100}, {349, 100}, {329, 100},
                          {311, 100}, {329, 100}, {370, 100}, {349, 100}, {329, 100}, {349, 100}};
constexpr TCmd kChord[] = {{494, 80}, {466, 80}, {440, 80}, {415, 80}, {392, 80}, {370, 80},
                           {349, 80}, {329, 80}, {311, 80}, {293, 80}, {277, 80}, {261, 80}};
constexpr TCmd kWhistle[] = {{523, 80}, {698, 80}, {784, 80}, {1046, 80}};
constexpr TCmd kHanging[] = {{784, 80}, {1046, 80}, {830, 80}, {1109, 80}, {880, 80},  {1174, 80},
                             {932, 80}, {1244, 80}, {988, 80}, {1318, 80}, {1046, 80}, {1397, 80}};
constexpr TCmd kClimb[] = {{261, 80}, {277, 80}, {293, 80}, {311, 80}, {329, 80}, {349, 80},
                           {370, 80}, {392, 80}, {415, 80}, {440, 80}, {466, 80}, {494, 80}};

}  // namespace

std::span<const TCmd> PresetNotes(int preset) {
  if (preset < 0 || preset >= kPresetCount) return {};
  switch (static_cast<PresetSound>(preset)) {
    case PresetSound::Ok: return kOK;
    case PresetSound::Error: return kError;
    case PresetSound::Welcome: return kWelcome;
    case PresetSound::Emergency: return kEmergency;
    case PresetSound::Wrong: return kWrong;
    case PresetSound::Call: return kCall;
    case PresetSound::Official: return kOfficial;
    case PresetSound::Daze: return kDaze;
    case PresetSound::Fall: return kFall;
    case PresetSound::Chord: return kChord;
    case PresetSound::Whistle: return kWhistle;
    case PresetSound::Hanging: return kHanging;
    case PresetSound::Climb: return kClimb;
  }
  return {};
}

}  // namespace quorlin
