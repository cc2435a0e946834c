// Where the speech server's samples go.
//
// SoundDeviceOutput plays them on the default sound output through Qt
// Multimedia and, unlike espeak-ng's own playback, says so when there is no
// sound device or the device fails. MemoryAudioOutput keeps them, for tests
// and for anything that wants the audio instead of the sound.
#pragma once

#include <QByteArray>
#include <QBuffer>
#include <QObject>
#include <QString>
#include <memory>
#include <vector>

#include "speech/synthesizer.h"

class QAudioSink;

namespace kirvale::speech {

class AudioOutput : public QObject {
  Q_OBJECT
 public:
  using QObject::QObject;
  ~AudioOutput() override = default;

  // Starts playing the clip and returns at once; a clip still playing is
  // cut off. Returns false with a readable reason in `error` when playing
  // cannot start.
  virtual bool Play(const AudioClip& clip, QString* error) = 0;

 signals:
  // Playing failed after Play had returned true.
  void failed(const QString& error);
};

// The default sound output device, through QAudioSink. Playing runs in the
// background of the event loop; the window does not wait for it.
class SoundDeviceOutput final : public AudioOutput {
  Q_OBJECT
 public:
  explicit SoundDeviceOutput(QObject* parent = nullptr);
  ~SoundDeviceOutput() override;

  bool Play(const AudioClip& clip, QString* error) override;
  // True while a clip is being played.
  bool playing() const { return sink_ != nullptr; }

 private:
  void Stop();
  void StateChanged();

  QAudioSink* sink_ = nullptr;
  bool starting_ = false;
  QByteArray data_;
  QBuffer buffer_;
};

// Keeps every clip instead of playing it.
class MemoryAudioOutput final : public AudioOutput {
  Q_OBJECT
 public:
  using AudioOutput::AudioOutput;
  bool Play(const AudioClip& clip, QString* error) override;
  const std::vector<AudioClip>& clips() const { return clips_; }

 private:
  std::vector<AudioClip> clips_;
};

}  // namespace kirvale::speech
