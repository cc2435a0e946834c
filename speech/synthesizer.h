// Turning text into audio samples.
//
// The speech server speaks in two steps: a Synthesizer turns the text into
// 16-bit mono samples, then an audio output plays them. The synthesizer of
// the program is espeak-ng with its English voice.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace kirvale::speech {

// Mono signed 16-bit samples.
struct AudioClip {
  int sampleRate = 0;
  std::vector<std::int16_t> samples;
};

class Synthesizer {
 public:
  virtual ~Synthesizer() = default;
  // Synthesises UTF-8 text into `clip` (replacing what it held). Returns
  // false with a readable reason in `error` when the text cannot be spoken.
  virtual bool Synthesize(const std::string& utf8Text, AudioClip& clip, std::string& error) = 0;
};

// The process's espeak-ng, English voice, samples handed back to the program
// instead of played by espeak-ng itself.
//
// espeak-ng is initialised by the first call, once per process, and never
// again: a second initialisation after a failure crashes it. Every call
// returns the outcome of that first attempt: the synthesizer, or null with
// the reason in `error`. `dataPath` names espeak-ng's data folder for that
// first attempt (null: espeak-ng's own default); later calls ignore it.
Synthesizer* EspeakSynthesizer(std::string* error, const char* dataPath = nullptr);

}  // namespace kirvale::speech
