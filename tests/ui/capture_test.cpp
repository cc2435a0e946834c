// Screen capture end to end inside one process: the capture message travels
// through the real message bus, the text through the real shared block.
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QLocalSocket>
#include <QPushButton>
#include <QScreen>
#include <QToolButton>
#include <QtTest>

#include "app/main.h"
#include "capture/UnitMain.h"
#include "settings/confi.h"
#include "capture/getword/getword.h"
#include "personal/newwords.h"
#include "platform/shared_block.h"
#include "platform/single_instance.h"
#include "settings/interface_language.h"
#include "settings/messages.h"
#include "support/program_folder.h"
#include "ui/globals.h"
#include "ui/presenter.h"

using namespace kirvale;
using kirvale::testing::Exists;
using kirvale::testing::ProgramFolder;

namespace {
QString u8(const char* s) { return QString::fromUtf8(s); }

// What the hook library does: the text into the block, then the message to
// the handle the block names.
bool post(std::int64_t lParam, const std::string& text = {}) {
  platform::SharedBlock block;
  if (block.Open(capture::kBlockName, capture::kBlockUsedBytes) != platform::SharedBlock::Failure::None) return false;
  if (lParam == capture::kNotifyText) capture::WriteBlockText(block.data(), capture::BlockFieldFromText(text));
  return platform::MessageBus::PostToWindow("Kirvale", capture::TargetHandle(block.data()), capture::kCaptureMessage,
                                            0, lParam);
}

// Lets the bus deliver what was posted.
void deliver() {
  for (int i = 0; i < 20; ++i) QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
}

QStringList visibleLines(capture::TForm12* p) {
  QStringList out;
  for (QLabel* l : p->Lines)
    if (l->isVisibleTo(p)) out << l->text();
  return out;
}

}  // namespace

class CaptureTest : public QObject {
  Q_OBJECT
  QList<QString> shown;
  std::unique_ptr<ProgramFolder> folder;
  std::unique_ptr<platform::MessageBus> bus;
  std::unique_ptr<app::TForm3> w;

  capture::TForm12* start(int langu = 1, const std::string& extra = {}) {
    folder = std::make_unique<ProgramFolder>();
    std::string settings = kirvale::testing::DefaultSettingsText(langu);
    if (!extra.empty()) settings += extra;
    folder->writeSettings(settings);
    bus = std::make_unique<platform::MessageBus>();
    if (!bus->Claim("Kirvale")) qFatal("cannot claim the bus");
    w = std::make_unique<app::TForm3>();
    w->setMessageBus(bus.get());
    if (!w->FormCreate()) qFatal("start-up failed");
    w->move(0, 0);
    w->show();
    // The pointer away from the main window, where the user reads.
    QCursor::setPos(520, 100);
    return w->capturePopup();
  }

 private slots:
  void init() {
    ui::ResetProcessState();
    shown.clear();
    ui::Presenter::setHandler([this](ui::DialogKind, const QString& t) {
      shown << t;
      return true;
    });
  }
  void cleanup() {
    w.reset();
    bus.reset();
    folder.reset();
    StopHook();
  }

  void textShowsThePopupAndTheSameTextChangesNothing() {
    capture::TForm12* p = start();
    QVERIFY(p);
    QVERIFY(!p->isVisible());
    QVERIFY(w->N10->isEnabled());
    QVERIFY(!w->N10->isChecked());
    QVERIFY(post(capture::kNotifyText, "  日本。"));
    deliver();
    QTRY_VERIFY(p->isVisible());
    QCOMPARE(visibleLines(p), (QStringList{u8("·日本,日本"), u8("·本,书"), u8("·日本語,日语")}));
    QCOMPARE(p->Label6->text(), u8("日本。"));
    QCOMPARE(p->slotLine(3), std::string("日本語 [にほんご] /(n) Japanese (language)//日语/"));
    QVERIFY(p->SpeedButton3->isVisibleTo(p));
    QVERIFY(!p->SpeedButton5->isVisibleTo(p));
    // Next to the pointer, 8 px right and below; lines stacked, the window
    // 4 px below the last one.
    QCOMPARE(p->pos(), QPoint(528, 108));
    QCOMPARE(p->Lines[1]->y(), p->Lines[0]->y() + p->Lines[0]->height());
    QCOMPARE(p->height(), p->Lines[2]->y() + p->Lines[2]->height() + 4);
    QCOMPARE(p->Shape2->height(), p->height() - 16);

    // The same text again, even after the pop-up hid, changes nothing.
    p->hide();
    const int reads = p->blockReads();
    QVERIFY(post(capture::kNotifyText, "日本。"));
    deliver();
    QCOMPARE(p->blockReads(), reads + 1);
    QVERIFY(!p->isVisible());
    QCOMPARE(p->lastCapturedText(), std::string("日本。"));

    // Any lParam but 1 and 2 never reads the block; neither does 1.
    QVERIFY(post(7));
    QVERIFY(post(capture::kNotifyPointer));
    QVERIFY(post(0));
    deliver();
    QCOMPARE(p->blockReads(), reads + 1);

    // English, with the interface in Chinese: the not-found line.
    QVERIFY(post(capture::kNotifyText, "xyzzy"));
    deliver();
    QTRY_VERIFY(p->isVisible());
    QCOMPARE(visibleLines(p), QStringList{u8("·xyzzy,没有找到！")});
    QVERIFY(p->SpeedButton5->isVisibleTo(p));
    QVERIFY(!p->SpeedButton3->isVisibleTo(p));
    QVERIFY(!p->shownAny());

    // Text that gives no key: the pop-up stays as it was.
    QVERIFY(post(capture::kNotifyText, "(walk)"));
    deliver();
    QCOMPARE(visibleLines(p), QStringList{u8("·xyzzy,没有找到！")});
  }

  void pointerRulesAndPlacement() {
    capture::TForm12* p = start();
    QVERIFY(post(capture::kNotifyText, "walked"));
    deliver();
    QTRY_VERIFY(p->isVisible());
    // Two exact hits: the higher candidate number ("walk") first.
    QCOMPARE(visibleLines(p), (QStringList{u8("·walk,走；散步"), u8("·walked,走过；散步了")}));
    // Pointer inside the pop-up: nothing changes, not even a new text.
    QCursor::setPos(p->geometry().center());
    QVERIFY(post(capture::kNotifyText, "water"));
    deliver();
    QCOMPARE(p->Label6->text(), QString("walked"));
    // Within 12 px of the pop-up a pointer move keeps it; further away it hides.
    QCursor::setPos(p->x() + p->width() + 11, p->y());
    QVERIFY(post(capture::kNotifyPointer));
    deliver();
    QVERIFY(p->isVisible());
    // Pinned, it stays and keeps its place.
    p->SpeedButton4->click();
    QVERIFY(!p->followCursor());
    QVERIFY(p->SpeedButton4->isChecked());
    const QPoint pinnedAt = p->pos();
    QCursor::setPos(700, 500);
    QVERIFY(post(capture::kNotifyPointer));
    QVERIFY(post(capture::kNotifyText, "water"));
    deliver();
    QVERIFY(p->isVisible());
    QCOMPARE(p->pos(), pinnedAt);
    QCOMPARE(visibleLines(p), QStringList{u8("·water,水")});
    p->SpeedButton4->click();
    QVERIFY(p->followCursor());
    QVERIFY(post(capture::kNotifyPointer));
    deliver();
    QVERIFY(!p->isVisible());

    // Near the bottom right corner the pop-up flips to the left and above.
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    const QPoint corner(screen.right() - 20, screen.bottom() - 20);
    QCursor::setPos(corner);
    QVERIFY(post(capture::kNotifyText, "tree"));
    deliver();
    QTRY_VERIFY(p->isVisible());
    QCOMPARE(p->pos(), QPoint(corner.x() - p->width() - 8, corner.y() - p->height() - 8));

    // The pointer over the main window hides it.
    QCursor::setPos(w->frameGeometry().center());
    QVERIFY(post(capture::kNotifyPointer));
    deliver();
    QVERIFY(!p->isVisible());
    // ... unless the application is minimised: then texts are handled.
    ui::MinimisedFlag = true;
    QVERIFY(post(capture::kNotifyText, "sky"));
    deliver();
    QTRY_VERIFY(p->isVisible());
    QCOMPARE(visibleLines(p), QStringList{u8("·sky,天空")});
  }

  void menuItemSwitchesTheHookAndClosingStopsIt() {
    capture::TForm12* p = start(0, "");
    QVERIFY(!HookStarted());
    w->N10->trigger();
    QVERIFY(w->N10->isChecked());
    QCOMPARE(ui::Settings.capturing, 1);
    QVERIFY(HookStarted());
    // This desktop has no primary selection: the user is told once.
    QCOMPARE(shown.count(u8(settings::msg::kCaptureNeedsX11.english)), 1);
    QVERIFY(post(capture::kNotifyText, "apple"));
    deliver();
    QTRY_VERIFY(p->isVisible());
    QCOMPARE(visibleLines(p), QStringList{u8("·apple,苹果")});

    // Unchecking hides the pop-up and stops the hook.
    w->N10->trigger();
    QVERIFY(!w->N10->isChecked());
    QCOMPARE(ui::Settings.capturing, 0);
    QVERIFY(!p->isVisible());
    QVERIFY(!HookStarted());
    // Checking again starts the hook without showing the pop-up.
    w->N10->trigger();
    QVERIFY(HookStarted());
    QVERIFY(!p->isVisible());
    QCOMPARE(shown.count(u8(settings::msg::kCaptureNeedsX11.english)), 1);

    // Closing the pop-up stops the hook; the setting and the check stay.
    QVERIFY(post(capture::kNotifyText, "milk"));
    deliver();
    QTRY_VERIFY(p->isVisible());
    QVERIFY(p->close());
    QVERIFY(p->popupClosed());
    QVERIFY(!HookStarted());
    QCOMPARE(ui::Settings.capturing, 1);
    QVERIFY(w->N10->isChecked());
    // Later texts are ignored while the application is not minimised.
    QVERIFY(post(capture::kNotifyText, "music"));
    deliver();
    QVERIFY(!p->isVisible());
    // The English search still works after the pop-up closed.
    w->wordtext->setText("music");
    w->FlatButton1->click();
    QCOMPARE(w->Label3->text(), u8("◇music"));
    // The setting is saved as 1.
    w->close();
    QVERIFY(QString::fromStdString(folder->readSettings()).contains("capturing:1"));
  }

  void captureOnAtStartUpStartsTheHookAndTranslucency() {
    capture::TForm12* p = start(1, "");
    QVERIFY(!HookStarted());
    cleanup();
    init();
    folder = std::make_unique<ProgramFolder>();
    std::string s = kirvale::testing::DefaultSettingsText(1);
    s.replace(s.find("capturing:0"), 11, "capturing:1");
    s.replace(s.find("trans:0"), 7, "trans:1");
    folder->writeSettings(s);
    bus = std::make_unique<platform::MessageBus>();
    QVERIFY(bus->Claim("Kirvale"));
    w = std::make_unique<app::TForm3>();
    w->setMessageBus(bus.get());
    QVERIFY(w->FormCreate());
    p = w->capturePopup();
    QVERIFY(w->N10->isChecked());
    QVERIFY(HookStarted());
    QVERIFY(qAbs(p->windowOpacity() - 120.0 / 255.0) < 0.01);
    ui::Settings.trans = 0;
    settings::Targets.CaptureAlphaBlend(false);
    QCOMPARE(p->windowOpacity(), 1.0);
    // Created hidden, topmost, ownerless.
    QVERIFY(!p->isVisible());
    QVERIFY(p->parentWidget() == nullptr);
    QVERIFY(p->windowFlags() & Qt::WindowStaysOnTopHint);
  }

  void commandsOfThePopup() {
    capture::TForm12* p = start(0);
    QCOMPARE(p->SpeedButton4->toolTip(), QString("Rivet"));
    QVERIFY(post(capture::kNotifyText, "日本"));
    deliver();
    QTRY_VERIFY(p->isVisible());
    // Marking line 2 moves the marker to it.
    QTest::mouseClick(p->Lines[1], Qt::LeftButton);
    QCOMPARE(p->markedSlot(), 2);
    QCOMPARE(p->Image1->y(), p->Lines[1]->y());
    // Copy: the whole line, dot included.
    p->SpeedButton2->click();
    QCOMPARE(QGuiApplication::clipboard()->text(), u8("·本,书"));
    // Add to the notebook: the dictionary line of the marked slot.
    const int rows = w->notebook()->rowCount();
    p->SpeedButton3->click();
    QCOMPARE(w->notebook()->rowCount(), rows + 1);
    // A blank line's click moves the slot but not the marker.
    p->Lines[4]->setText("  ");
    p->LabelClick(5);
    QCOMPARE(p->markedSlot(), 5);
    QCOMPARE(p->Image1->y(), p->Lines[1]->y());
    // Search in the main window: the marked word goes into its box.
    QTest::mouseClick(p->Lines[2], Qt::LeftButton);
    p->SpeedButton1->click();
    QCOMPARE(w->wordtext->text(), u8("日本語"));
    QCOMPARE(w->Label3->text(), u8("◇日本語"));
    // Dragging the title moves the window with the mouse.
    const QPoint from = p->pos();
    const QPoint grab = p->Label6->mapToGlobal(QPoint(5, 5));
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(5, 5), QPointF(grab), Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QApplication::sendEvent(p->Label6, &press);
    QMouseEvent drag(QEvent::MouseMove, QPointF(35, 25), QPointF(grab + QPoint(30, 20)), Qt::NoButton,
                     Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(p->Label6, &drag);
    QMouseEvent release(QEvent::MouseButtonRelease, QPointF(35, 25), QPointF(grab + QPoint(30, 20)), Qt::LeftButton,
                        Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(p->Label6, &release);
    QCOMPARE(p->pos(), from + QPoint(30, 20));
    QApplication::sendEvent(p->Label6, &drag);
    QCOMPARE(p->pos(), from + QPoint(30, 20));  // released: no more moving
    // English interface: the not-found line says so in English.
    QVERIFY(post(capture::kNotifyText, "zzz"));
    deliver();
    QCOMPARE(visibleLines(p), QStringList{u8("·zzz,Not found!")});
    // Language switch: the five button hints follow.
    ui::Settings.langu = 1;
    settings::ApplyLanguageToFixedTexts();
    QCOMPARE(p->SpeedButton4->toolTip(), u8("固定窗口"));
    QCOMPARE(p->SpeedButton1->toolTip(), u8("查询标记项"));
  }

  void floodIsHandledInOrderWithOneWindow() {
    capture::TForm12* p = start();
    const char* words[] = {"apple", "water", "tree", "sky", "milk"};
    QLocalSocket socket;
    socket.connectToServer(platform::MessageBus::ServerName("Kirvale"));
    QVERIFY(socket.waitForConnected(2000));
    platform::SharedBlock block;
    QCOMPARE(block.Open(capture::kBlockName, capture::kBlockUsedBytes), platform::SharedBlock::Failure::None);
    // 1,000 messages on one connection: pointer moves and a repeated text.
    capture::WriteBlockText(block.data(), "milk");
    for (int i = 0; i < 1000; ++i)
      socket.write(platform::MessageBus::EncodeRecord(platform::kCapturePopupHandle, capture::kCaptureMessage, 0,
                                                      i % 2 ? capture::kNotifyPointer : capture::kNotifyText));
    QVERIFY(socket.waitForBytesWritten(2000));
    QTRY_COMPARE_WITH_TIMEOUT(p->blockReads(), 500, 10000);
    QCOMPARE(p->lastCapturedText(), std::string("milk"));
    // Texts one after the other, each handled in turn.
    for (const char* word : words) {
      QVERIFY(post(capture::kNotifyText, word));
      deliver();
      QTRY_COMPARE(p->Label6->text(), QString(word));
    }
    int popups = 0;
    for (QWidget* t : QApplication::topLevelWidgets()) popups += qobject_cast<capture::TForm12*>(t) != nullptr;
    QCOMPARE(popups, 1);
  }

  void unreadableDictionaryKeepsThePopup() {
    capture::TForm12* p = start();
    QVERIFY(post(capture::kNotifyText, "apple"));
    deliver();
    QTRY_VERIFY(p->isVisible());
    ui::EnglishReader.Close();
    QVERIFY(post(capture::kNotifyText, "water"));
    deliver();
    QVERIFY(p->isVisible());
    QCOMPARE(visibleLines(p), QStringList{u8("·apple,苹果")});
  }

  void cliPostCaptureDrivesThePopup() {
    capture::TForm12* p = start();
    auto run = [](const QStringList& args) {
      QProcess cli;
      cli.start(KIRVALE_CLI, args);
      cli.waitForFinished(20000);
      return cli.exitCode();
    };
    QCOMPARE(run({"post-capture", u8("本。")}), 0);
    deliver();
    QTRY_VERIFY(p->isVisible());
    QCOMPARE(visibleLines(p).first(), u8("·本,书"));
    QCOMPARE(run({"post-capture", "--lparam", "1"}), 0);
    QCOMPARE(run({"post-capture", "--lparam", "x"}), 2);
    QCOMPARE(run({"post-capture"}), 2);
    // No running instance: nothing to deliver to.
    bus.reset();
    QCOMPARE(run({"post-capture", "word"}), 2);
    // No block at all.
    std::remove(platform::SharedBlockPath(capture::kBlockName).c_str());
    QCOMPARE(run({"post-capture", "word"}), 2);
  }

  void missingBlockEndsTheStartUp() {
    ProgramFolder f;
    f.writeSettings(kirvale::testing::DefaultSettingsText(1));
    const std::string before = f.readSettings();
    std::remove(platform::SharedBlockPath(capture::kBlockName).c_str());
    app::TForm3 main;
    QVERIFY(!main.FormCreate());
    QCOMPARE(shown, QList<QString>{u8("无法定位内存映射文件块!")});
    QCOMPARE(f.readSettings(), before);
    QVERIFY(!Exists(f.windowsDir() + "/multilingual.dic"));
    QVERIFY(!Exists(f.windowsDir() + "/english.dic"));

    // A block too small to map: the error number follows the message.
    shown.clear();
    ui::ResetProcessState();
    kirvale::testing::WriteBytes(platform::SharedBlockPath(capture::kBlockName), std::string(10, '\0'));
    app::TForm3 again;
    QVERIFY(!again.FormCreate());
    QCOMPARE(shown, QList<QString>{u8("映射文件错误：22")});
  }
};

QTEST_MAIN(CaptureTest)
#include "capture_test.moc"
