// SpeechServer: the program's one speech object, reading English words
// aloud for both read-aloud buttons.
//
//   Create    espeak-ng (English voice) and the default sound output
//   Register  once, with the site and application names ("vuvev", "vuvev")
//   Speak     with kReadText: synthesise the text, then play it without
//             waiting for the sound to end
//
// Speak's failures (no sound device, a device that will not open, text
// espeak-ng cannot speak) come back from Speak; a failure of the device while
// it plays arrives later through speakFailed.
#pragma once

#include <QObject>
#include <QString>
#include <QtGlobal>
#include <memory>

#include "speech/audio_output.h"
#include "speech/synthesizer.h"

namespace kirvale::speech {

class SpeechServer final : public QObject {
  Q_OBJECT
 public:
  // Speak's type of speech: read the text.
  static constexpr quint32 kReadText = 16;

  // espeak-ng and the default sound output. Returns null with a readable
  // reason in `error` when espeak-ng or its data cannot be used. A missing
  // sound device does not stop the creation; Speak reports it.
  static std::unique_ptr<SpeechServer> Create(QString* error);
  // espeak-ng and the given output.
  static std::unique_ptr<SpeechServer> Create(std::unique_ptr<AudioOutput> output, QString* error);

  // Any synthesizer (not owned; it must outlive the server) and output.
  SpeechServer(Synthesizer* synthesizer, std::unique_ptr<AudioOutput> output, QObject* parent = nullptr);
  ~SpeechServer() override;

  // Registers the program under a site and an application name, both
  // non-empty. Speak works only after a successful Register.
  bool Register(const QString& site, const QString& application, QString* error);
  bool registered() const { return registered_; }
  const QString& site() const { return site_; }
  const QString& application() const { return application_; }

  // Reads the text aloud. `flags` must be kReadText. Empty text speaks
  // nothing and succeeds. Returns once the sound has started; a clip still
  // playing is cut off by the new one. Returns false with a readable reason
  // in `error` when the text cannot be spoken or played.
  bool Speak(const QString& text, quint32 flags, QString* error);

  AudioOutput* output() const { return output_.get(); }

 signals:
  // The sound device failed while it played what Speak had started.
  void speakFailed(const QString& error);

 private:
  Synthesizer* synthesizer_;
  std::unique_ptr<AudioOutput> output_;
  bool registered_ = false;
  QString site_;
  QString application_;
};

}  // namespace kirvale::speech
