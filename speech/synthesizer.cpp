#include "speech/synthesizer.h"

#include <espeak-ng/espeak_ng.h>
#include <espeak-ng/speak_lib.h>

#include <memory>
#include <mutex>

namespace kirvale::speech {

namespace {

std::string StatusText(espeak_ng_STATUS status) {
  char buffer[512] = {};
  espeak_ng_GetStatusCodeMessage(status, buffer, sizeof buffer);
  return buffer;
}

// espeak-ng keeps one synthesis state per process and reports samples to one
// process-wide callback; the mutex keeps one synthesis at a time, and
// `target` is where the running synthesis puts its samples.
std::mutex synthesisMutex;
std::vector<std::int16_t>* target = nullptr;

int ReceiveSamples(short* wav, int count, espeak_EVENT* /*events*/) {
  if (wav && count > 0 && target) target->insert(target->end(), wav, wav + count);
  return 0;  // go on
}

class Espeak final : public Synthesizer {
 public:
  explicit Espeak(int sampleRate) : sampleRate_(sampleRate) {}

  bool Synthesize(const std::string& utf8Text, AudioClip& clip, std::string& error) override {
    std::lock_guard<std::mutex> lock(synthesisMutex);
    clip.sampleRate = sampleRate_;
    clip.samples.clear();
    target = &clip.samples;
    const espeak_ng_STATUS status =
        espeak_ng_Synthesize(utf8Text.c_str(), utf8Text.size() + 1, 0, POS_CHARACTER, 0, espeakCHARS_UTF8,
                             nullptr, nullptr);
    target = nullptr;
    if (status != ENS_OK) {
      clip.samples.clear();
      error = "espeak-ng could not speak the text: " + StatusText(status);
      return false;
    }
    return true;
  }

 private:
  int sampleRate_;
};

struct Engine {
  std::unique_ptr<Espeak> synthesizer;
  std::string error;
};

Engine Initialise(const char* dataPath) {
  Engine engine;
  espeak_ng_InitializePath(dataPath);
  espeak_ng_ERROR_CONTEXT context = nullptr;
  espeak_ng_STATUS status = espeak_ng_Initialize(&context);
  espeak_ng_ClearErrorContext(&context);
  if (status != ENS_OK) {
    engine.error = "espeak-ng could not start: " + StatusText(status);
    return engine;
  }
  // Synchronous output without ENOUTPUT_MODE_SPEAK_AUDIO: espeak-ng hands
  // the samples to the callback and plays nothing itself. Its own playback
  // cannot tell that there is no sound device, so the program plays them.
  status = espeak_ng_InitializeOutput(ENOUTPUT_MODE_SYNCHRONOUS, 0, nullptr);
  if (status != ENS_OK) {
    engine.error = "espeak-ng could not prepare its output: " + StatusText(status);
    return engine;
  }
  // The English voice by its path in the data first: asked for by the
  // language alone, espeak-ng reads every voice file to choose (a few
  // milliseconds of every start).
  status = espeak_ng_SetVoiceByName("gmw/en");
  if (status != ENS_OK) status = espeak_ng_SetVoiceByName("en");
  if (status != ENS_OK) {
    engine.error = "espeak-ng has no usable English voice: " + StatusText(status);
    return engine;
  }
  const int rate = espeak_ng_GetSampleRate();
  if (rate <= 0) {
    engine.error = "espeak-ng reported no sample rate";
    return engine;
  }
  espeak_SetSynthCallback(ReceiveSamples);
  engine.synthesizer = std::make_unique<Espeak>(rate);
  return engine;
}

}  // namespace

Synthesizer* EspeakSynthesizer(std::string* error, const char* dataPath) {
  static const Engine engine = Initialise(dataPath);  // once per process
  if (!engine.synthesizer && error) *error = engine.error;
  return engine.synthesizer.get();
}

}  // namespace kirvale::speech
