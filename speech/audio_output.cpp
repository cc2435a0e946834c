#include "speech/audio_output.h"

#include <QAudioDevice>
#include <QAudioFormat>
#include <QAudioSink>
#include <QMediaDevices>

namespace kirvale::speech {

namespace {

QString ErrorText(QAudio::Error error) {
  switch (error) {
    case QAudio::NoError:
      return {};
    case QAudio::OpenError:
      return QStringLiteral("The sound device could not be opened.");
    case QAudio::IOError:
      return QStringLiteral("The sound device stopped accepting audio.");
    case QAudio::UnderrunError:
      return QStringLiteral("The sound device ran out of audio.");
    case QAudio::FatalError:
      return QStringLiteral("The sound device is not usable.");
  }
  return QStringLiteral("The sound device reported an error.");
}

}  // namespace

SoundDeviceOutput::SoundDeviceOutput(QObject* parent) : AudioOutput(parent) {}

SoundDeviceOutput::~SoundDeviceOutput() { Stop(); }

void SoundDeviceOutput::Stop() {
  if (!sink_) return;
  QAudioSink* sink = sink_;
  sink_ = nullptr;
  sink->disconnect(this);
  sink->stop();
  // Stop may be reached from the sink's own signal.
  sink->deleteLater();
  buffer_.close();
}

bool SoundDeviceOutput::Play(const AudioClip& clip, QString* error) {
  auto fail = [error](const QString& reason) {
    if (error) *error = reason;
    return false;
  };
  Stop();
  const QAudioDevice device = QMediaDevices::defaultAudioOutput();
  if (device.isNull()) return fail(QStringLiteral("No sound output device was found."));

  QAudioFormat format;
  format.setSampleRate(clip.sampleRate);
  format.setChannelCount(1);
  format.setSampleFormat(QAudioFormat::Int16);
  if (!device.isFormatSupported(format))
    return fail(QStringLiteral("The sound device \"%1\" cannot play 16-bit mono audio at %2 Hz.")
                    .arg(device.description())
                    .arg(clip.sampleRate));

  data_ = QByteArray(reinterpret_cast<const char*>(clip.samples.data()),
                     static_cast<qsizetype>(clip.samples.size() * sizeof(std::int16_t)));
  buffer_.setData(data_);
  buffer_.open(QIODevice::ReadOnly);

  sink_ = new QAudioSink(device, format, this);
  connect(sink_, &QAudioSink::stateChanged, this, &SoundDeviceOutput::StateChanged);
  // The sink may change state inside start(); what happens there is
  // answered here, by Play's result, not by the failed signal.
  starting_ = true;
  sink_->start(&buffer_);
  starting_ = false;
  const QAudio::Error startError = sink_->error();
  if (startError != QAudio::NoError || sink_->state() == QAudio::StoppedState) {
    Stop();
    return fail(startError != QAudio::NoError ? ErrorText(startError)
                                              : QStringLiteral("The sound device did not start playing."));
  }
  return true;
}

void SoundDeviceOutput::StateChanged() {
  if (!sink_ || starting_) return;
  const QAudio::State state = sink_->state();
  const QAudio::Error err = sink_->error();
  if (state == QAudio::IdleState && buffer_.atEnd()) {
    // Every sample has been handed to the device.
    Stop();
  } else if (state == QAudio::StoppedState && err != QAudio::NoError) {
    Stop();
    emit failed(ErrorText(err));
  }
}

bool MemoryAudioOutput::Play(const AudioClip& clip, QString* /*error*/) {
  clips_.push_back(clip);
  return true;
}

}  // namespace kirvale::speech
