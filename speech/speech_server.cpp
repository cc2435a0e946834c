#include "speech/speech_server.h"

#include <string>

namespace kirvale::speech {

std::unique_ptr<SpeechServer> SpeechServer::Create(QString* error) {
  return Create(std::make_unique<SoundDeviceOutput>(), error);
}

std::unique_ptr<SpeechServer> SpeechServer::Create(std::unique_ptr<AudioOutput> output, QString* error) {
  std::string reason;
  Synthesizer* synthesizer = EspeakSynthesizer(&reason);
  if (!synthesizer) {
    if (error) *error = QString::fromStdString(reason);
    return nullptr;
  }
  if (!output) {
    if (error) *error = QStringLiteral("The speech server has no audio output.");
    return nullptr;
  }
  return std::make_unique<SpeechServer>(synthesizer, std::move(output));
}

SpeechServer::SpeechServer(Synthesizer* synthesizer, std::unique_ptr<AudioOutput> output, QObject* parent)
    : QObject(parent), synthesizer_(synthesizer), output_(std::move(output)) {
  connect(output_.get(), &AudioOutput::failed, this, &SpeechServer::speakFailed);
}

SpeechServer::~SpeechServer() = default;

bool SpeechServer::Register(const QString& site, const QString& application, QString* error) {
  if (site.isEmpty() || application.isEmpty()) {
    if (error) *error = QStringLiteral("The speech server needs a site and an application name.");
    return false;
  }
  site_ = site;
  application_ = application;
  registered_ = true;
  return true;
}

bool SpeechServer::Speak(const QString& text, quint32 flags, QString* error) {
  auto fail = [error](const QString& reason) {
    if (error) *error = reason;
    return false;
  };
  if (!registered_) return fail(QStringLiteral("The speech server has not been registered."));
  if (flags != kReadText) return fail(QStringLiteral("The speech server cannot speak with flags %1.").arg(flags));
  if (text.isEmpty()) return true;

  AudioClip clip;
  std::string reason;
  if (!synthesizer_->Synthesize(text.toStdString(), clip, reason)) return fail(QString::fromStdString(reason));
  if (clip.samples.empty()) return true;  // nothing audible in the text
  return output_->Play(clip, error);
}

}  // namespace kirvale::speech
