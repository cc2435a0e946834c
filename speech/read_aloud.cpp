#include "speech/read_aloud.h"

#include <QWidget>
#include <exception>

#include "ui/globals.h"
#include "ui/presenter.h"
#include "settings/messages.h"
#include "speech/speech_text.h"

namespace kirvale::speech {

using ui::Presenter;

namespace {
// Reading aloud that fails once will fail the same way at the next click:
// the user is told once per run, in the interface language.
bool failureShown = false;

void showFailure(QWidget* parent, const QString& reason) {
  if (failureShown) return;
  failureShown = true;
  Presenter::error(parent, QString::fromUtf8(settings::msg::kReadAloudFailed.in(ui::UiLanguage())) + reason);
}
}  // namespace

void ForgetReadAloudFailure() { failureShown = false; }

std::unique_ptr<SpeechServer> StartSpeechServer(QWidget* parent, std::int16_t uiLanguage,
                                                const SpeechServerFactory& create) {
  QString error;
  std::unique_ptr<SpeechServer> server;
  try {
    server = create(&error);
    if (server && !server->Register(QString::fromUtf8(kSpeechSite), QString::fromUtf8(kSpeechApplication), &error))
      server.reset();
  } catch (const std::exception& e) {
    server.reset();
    error = QString::fromUtf8(e.what());
  }
  if (!server) {
    if (error.isEmpty()) error = QStringLiteral("The speech server could not be created.");
    Presenter::error(parent, QString::fromUtf8(settings::msg::kSpeechUnavailable.in(uiLanguage)) + error);
    return nullptr;
  }
  QObject* context = parent ? static_cast<QObject*>(parent) : server.get();
  QObject::connect(server.get(), &SpeechServer::speakFailed, context,
                   [parent](const QString& e) { showFailure(parent, e); });
  return server;
}

bool SayWord(SpeechServer* server, const std::string& word, QWidget* parent) {
  if (!server || word.empty()) return false;
  QString error;
  if (!server->Speak(QString::fromStdString(word), SpeechServer::kReadText, &error)) {
    showFailure(parent, error);
    return false;
  }
  return true;
}

bool SayHeadWordLabel(SpeechServer* server, const QString& labelCaption, QWidget* parent) {
  return SayWord(server, WordToSpeak(labelCaption.toStdString()), parent);
}

}  // namespace kirvale::speech
