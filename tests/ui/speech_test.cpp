// Reading aloud: espeak-ng into memory instead of the speakers, a sound
// device that is missing or fails, and the start-up and button rules.
#include <sys/wait.h>
#include <unistd.h>

#include <QAudioDevice>
#include <QMediaDevices>
#include <QSignalSpy>
#include <QWidget>
#include <QtTest>
#include <algorithm>
#include <cstdlib>
#include <stdexcept>

#include "ui/globals.h"
#include "ui/presenter.h"
#include "settings/messages.h"
#include "speech/audio_output.h"
#include "speech/read_aloud.h"
#include "speech/speech_server.h"
#include "speech/speech_text.h"
#include "speech/synthesizer.h"
#include "support/temp_dir.h"

using namespace kirvale::speech;
namespace ui = kirvale::ui;
using kirvale::ui::DialogKind;
using kirvale::ui::Presenter;

namespace {

// Hands every text on to the real synthesizer and remembers it.
class RecordingSynthesizer final : public Synthesizer {
 public:
  explicit RecordingSynthesizer(Synthesizer* real) : real_(real) {}
  bool Synthesize(const std::string& text, AudioClip& clip, std::string& error) override {
    texts.push_back(text);
    return real_->Synthesize(text, clip, error);
  }
  std::vector<std::string> texts;

 private:
  Synthesizer* real_;
};

// A machine without a sound device: playing cannot start.
class NoDeviceOutput final : public AudioOutput {
  Q_OBJECT
 public:
  bool Play(const AudioClip&, QString* error) override {
    ++attempts;
    if (error) *error = QStringLiteral("No sound output device was found.");
    return false;
  }
  int attempts = 0;
};

struct Shown {
  DialogKind kind;
  QString text;
};

Synthesizer* Espeak() {
  std::string error;
  Synthesizer* s = EspeakSynthesizer(&error);
  if (!s) qFatal("espeak-ng is not usable: %s", error.c_str());
  return s;
}

std::unique_ptr<SpeechServer> RegisteredServer(Synthesizer* synthesizer, std::unique_ptr<AudioOutput> output) {
  auto server = std::make_unique<SpeechServer>(synthesizer, std::move(output));
  QString error;
  if (!server->Register("vuvev", "vuvev", &error)) qFatal("Register failed: %s", qPrintable(error));
  return server;
}

int Peak(const AudioClip& clip) {
  int peak = 0;
  for (std::int16_t s : clip.samples) peak = std::max(peak, std::abs(static_cast<int>(s)));
  return peak;
}

}  // namespace

class SpeechTest : public QObject {
  Q_OBJECT

 private:
  std::vector<Shown> shown_;

 private slots:
  void init() {
    shown_.clear();
    ui::Settings.langu = 0;
    ForgetReadAloudFailure();
    Presenter::setHandler([this](DialogKind kind, const QString& text) {
      shown_.push_back({kind, text});
      return true;
    });
  }
  void cleanup() { Presenter::setHandler(nullptr); }

  // Runs first, before this process initialises espeak-ng: a child process
  // starts espeak-ng on a data folder without voices.
  void unusableEspeakDataFailsOnceAndForAll() {
    kirvale::testing::TempDir noData;
    const pid_t child = ::fork();
    QVERIFY(child >= 0);
    if (child == 0) {
      QString serverError;
      std::string first, second;
      Synthesizer* a = EspeakSynthesizer(&first, noData.path().c_str());
      // Asked again with the default (good) data: espeak-ng is not started a
      // second time, the first outcome stands.
      Synthesizer* b = EspeakSynthesizer(&second);
      auto server = SpeechServer::Create(std::make_unique<MemoryAudioOutput>(), &serverError);
      int code = 0;
      if (a || b) code = 1;
      else if (first.find("espeak-ng") == std::string::npos) code = 2;
      else if (second != first) code = 3;
      else if (server || serverError.toStdString() != first) code = 4;
      ::_exit(code);
    }
    int status = 0;
    QCOMPARE(::waitpid(child, &status, 0), child);
    QVERIFY(WIFEXITED(status));
    QCOMPARE(WEXITSTATUS(status), 0);
  }

  void helloBecomesSamplesInMemory() {
    QString error;
    auto output = std::make_unique<MemoryAudioOutput>();
    MemoryAudioOutput* memory = output.get();
    auto server = SpeechServer::Create(std::move(output), &error);
    QVERIFY2(server, qPrintable(error));
    QVERIFY2(server->Register("vuvev", "vuvev", &error), qPrintable(error));
    QCOMPARE(server->site(), QString("vuvev"));
    QCOMPARE(server->application(), QString("vuvev"));

    QVERIFY2(server->Speak(QString::fromStdString(WordToSpeak("◇ hello ")), 16, &error), qPrintable(error));
    QCOMPARE(memory->clips().size(), std::size_t{1});
    const AudioClip& clip = memory->clips().front();
    QCOMPARE(clip.sampleRate, 22050);  // espeak-ng's rate
    // A spoken word lasts well over a tenth of a second and is not silence.
    QVERIFY(clip.samples.size() > std::size_t(clip.sampleRate / 10));
    QVERIFY(Peak(clip) > 1000);
    QVERIFY(shown_.empty());
  }

  void theLabelsWordIsWhatReachesTheSynthesizer() {
    RecordingSynthesizer recorder(Espeak());
    auto output = std::make_unique<MemoryAudioOutput>();
    MemoryAudioOutput* memory = output.get();
    auto server = RegisteredServer(&recorder, std::move(output));

    QVERIFY(SayHeadWordLabel(server.get(), QString::fromUtf8("◇ hello "), nullptr));
    QVERIFY(SayHeadWordLabel(server.get(), QString::fromUtf8("◇Zzyzx"), nullptr));  // typed, not found
    QCOMPARE(recorder.texts, (std::vector<std::string>{"hello", "Zzyzx"}));
    QCOMPARE(memory->clips().size(), std::size_t{2});
    QVERIFY(!memory->clips()[0].samples.empty());
    QVERIFY(shown_.empty());
  }

  void blankLabelSpeaksNothing() {
    QCOMPARE(WordToSpeak("◇"), std::string());
    QCOMPARE(WordToSpeak("   "), std::string());
    RecordingSynthesizer recorder(Espeak());
    auto output = std::make_unique<MemoryAudioOutput>();
    MemoryAudioOutput* memory = output.get();
    auto server = RegisteredServer(&recorder, std::move(output));
    QVERIFY(!SayHeadWordLabel(server.get(), "   ", nullptr));
    QVERIFY(!SayHeadWordLabel(server.get(), QString::fromUtf8("◇"), nullptr));
    QVERIFY(!SayHeadWordLabel(server.get(), QString(), nullptr));
    QVERIFY(recorder.texts.empty());
    QVERIFY(memory->clips().empty());
    QVERIFY(shown_.empty());
  }

  void readAloudWithoutServerDoesNothing() {
    QVERIFY(!SayHeadWordLabel(nullptr, QString::fromUtf8("◇hello"), nullptr));
    QVERIFY(!SayWord(nullptr, "hello", nullptr));
    QVERIFY(shown_.empty());
  }

  void missingSoundDeviceIsReported() {
    auto output = std::make_unique<NoDeviceOutput>();
    NoDeviceOutput* device = output.get();
    auto server = RegisteredServer(Espeak(), std::move(output));
    QString error;
    QVERIFY(!server->Speak("hello", SpeechServer::kReadText, &error));
    QCOMPARE(error, QString("No sound output device was found."));
    QCOMPARE(device->attempts, 1);

    // The button shows Speak's failure in the error box, in the interface
    // language, once in a run: the next click tries again, silently.
    ui::Settings.langu = 1;
    QVERIFY(!SayHeadWordLabel(server.get(), QString::fromUtf8("◇hello"), nullptr));
    QCOMPARE(shown_.size(), std::size_t{1});
    QCOMPARE(shown_[0].kind, DialogKind::Error);
    QCOMPARE(shown_[0].text, QString::fromUtf8("朗读失败，声音设备不可用：No sound output device was found."));
    QVERIFY(!SayHeadWordLabel(server.get(), QString::fromUtf8("◇hello"), nullptr));
    QVERIFY(!SayWord(server.get(), "again", nullptr));
    QCOMPARE(device->attempts, 4);
    QCOMPARE(shown_.size(), std::size_t{1});
  }

  // The real output on a machine without sound (the test machine): playing
  // fails with a reason instead of pretending to have spoken.
  void realSoundOutputSaysWhenThereIsNoDevice() {
    if (!QMediaDevices::audioOutputs().isEmpty())
      QSKIP("this machine has a sound device; the test would play through it");
    SoundDeviceOutput output;
    AudioClip clip{22050, std::vector<std::int16_t>(2205, 1000)};
    QString error;
    QVERIFY(!output.Play(clip, &error));
    QVERIFY(!error.isEmpty());
    QVERIFY(!output.playing());

    // The whole path of the main window: created, registered, Speak fails.
    auto server = SpeechServer::Create(&error);
    QVERIFY2(server, qPrintable(error));
    QVERIFY(server->Register("vuvev", "vuvev", &error));
    error.clear();
    QVERIFY(!server->Speak("hello", SpeechServer::kReadText, &error));
    QCOMPARE(error, QString("No sound output device was found."));
  }

  void failureWhilePlayingIsShown() {
    MemoryAudioOutput* memory = nullptr;
    QWidget window;
    auto server = StartSpeechServer(&window, 0, [&memory](QString* error) {
      auto output = std::make_unique<MemoryAudioOutput>();
      memory = output.get();
      return SpeechServer::Create(std::move(output), error);
    });
    QVERIFY(server);
    QSignalSpy spy(server.get(), &SpeechServer::speakFailed);
    QVERIFY(SayWord(server.get(), "hello", &window));
    emit memory->failed("The sound device stopped accepting audio.");
    QCOMPARE(spy.count(), 1);
    QCOMPARE(shown_.size(), std::size_t{1});
    QCOMPARE(shown_[0].kind, DialogKind::Error);
    QCOMPARE(shown_[0].text, QString("Reading aloud failed: The sound device stopped accepting audio."));
    emit memory->failed("The sound device stopped accepting audio.");
    QCOMPARE(shown_.size(), std::size_t{1});
  }

  void startUpRegistersAsVuvev() {
    auto server = StartSpeechServer(nullptr, 1, [](QString* error) {
      return SpeechServer::Create(std::make_unique<MemoryAudioOutput>(), error);
    });
    QVERIFY(server);
    QVERIFY(server->registered());
    QCOMPARE(server->site(), QString("vuvev"));
    QCOMPARE(server->application(), QString("vuvev"));
    QVERIFY(shown_.empty());
  }

  void startUpFailureIsShownOnceAndReadAloudDoesNothing() {
    int calls = 0;
    auto server = StartSpeechServer(nullptr, 0, [&calls](QString* error) -> std::unique_ptr<SpeechServer> {
      ++calls;
      *error = "espeak-ng could not start: No such file or directory";
      return nullptr;
    });
    QVERIFY(!server);
    QCOMPARE(calls, 1);
    QCOMPARE(shown_.size(), std::size_t{1});
    QCOMPARE(shown_[0].kind, DialogKind::Error);
    QCOMPARE(shown_[0].text,
             QString("Reading aloud is not available: espeak-ng could not start: No such file or directory"));
    // The read-aloud button afterwards: nothing at all.
    QVERIFY(!SayHeadWordLabel(server.get(), QString::fromUtf8("◇hello"), nullptr));
    QCOMPARE(shown_.size(), std::size_t{1});

    // A creation that throws is shown the same way, in the interface's
    // language.
    shown_.clear();
    server = StartSpeechServer(nullptr, 1, [](QString*) -> std::unique_ptr<SpeechServer> {
      throw std::runtime_error("broken");
    });
    QVERIFY(!server);
    QCOMPARE(shown_.size(), std::size_t{1});
    QCOMPARE(shown_[0].text, QString::fromUtf8(kirvale::settings::msg::kSpeechUnavailable.chinese) + "broken");
  }

  void speakNeedsRegistrationAndTheReadTextFlag() {
    auto output = std::make_unique<MemoryAudioOutput>();
    MemoryAudioOutput* memory = output.get();
    SpeechServer server(Espeak(), std::move(output));
    QString error;
    QVERIFY(!server.Speak("hello", 16, &error));
    QVERIFY(!error.isEmpty());
    QVERIFY(!server.Register("", "vuvev", &error));
    QVERIFY(!server.Register("vuvev", "", &error));
    QVERIFY(!server.registered());
    QVERIFY(server.Register("vuvev", "vuvev", &error));
    error.clear();
    QVERIFY(!server.Speak("hello", 0, &error));
    QVERIFY(!error.isEmpty());
    QVERIFY(memory->clips().empty());
    // Empty text: nothing to say, and no failure.
    QVERIFY(server.Speak("", 16, &error));
    QVERIFY(memory->clips().empty());
    QVERIFY(server.Speak("hello", 16, &error));
    QCOMPARE(memory->clips().size(), std::size_t{1});
  }
};

QTEST_MAIN(SpeechTest)
#include "speech_test.moc"
