// The windows' side of reading aloud: creating the speech server at start-up
// and the read-aloud buttons.
#pragma once

#include <QString>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "speech/speech_server.h"

class QWidget;

namespace kirvale::speech {

// Site and application name the program registers under.
inline constexpr const char* kSpeechSite = "vuvev";
inline constexpr const char* kSpeechApplication = "vuvev";

using SpeechServerFactory = std::function<std::unique_ptr<SpeechServer>(QString* error)>;

// Creates the speech server and registers it under "vuvev" / "vuvev". When
// that fails (or throws), shows the reading-aloud-unavailable message with
// the reason once, in the standard error box, and returns null: the
// start-up goes on and the read-aloud buttons then do nothing. On success,
// failures the sound device reports later are shown in the same box.
std::unique_ptr<SpeechServer> StartSpeechServer(QWidget* parent, std::int16_t uiLanguage,
                                                const SpeechServerFactory& create = [](QString* e) {
                                                  return SpeechServer::Create(e);
                                                });

// A read-aloud click for `word`: nothing without a server or with an empty
// word; otherwise Speak with kReadText. A failure (here or later, while the
// sound plays) is shown in the standard error box, in the interface
// language, the first time only in each run. Returns whether the word was
// handed to the server and accepted.
bool SayWord(SpeechServer* server, const std::string& word, QWidget* parent);

// Lets the next failure be shown again (a new run, in tests).
void ForgetReadAloudFailure();

// The main window's read-aloud button: speaks the head-word label's caption
// without its "◇" (see WordToSpeak).
bool SayHeadWordLabel(SpeechServer* server, const QString& labelCaption, QWidget* parent);

}  // namespace kirvale::speech
