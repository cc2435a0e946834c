// Writes one of the user's lists a few seconds after it changes, so that a
// crash, a kill or a power loss costs at most those seconds of work. The
// list stays in memory whatever happens to the file; a failed write is
// reported when it happens (once, until a write succeeds again) and tried
// again at the next change and at exit.
#pragma once

#include <QObject>
#include <QTimer>
#include <functional>
#include <string>

namespace kirvale::ui {

class Autosave : public QObject {
  Q_OBJECT
 public:
  // Writes the list; returns false with the reason in `error`.
  using SaveFunction = std::function<bool(std::string* error)>;
  // Tells the user that a write failed.
  using ReportFunction = std::function<void(const std::string& error)>;

  static constexpr int kDefaultDelayMs = 3000;

  Autosave(SaveFunction save, ReportFunction report, QObject* parent = nullptr, int delayMs = kDefaultDelayMs);

  // The list changed: it is written `delay` after the first change that is
  // not yet on disk (later changes do not push the write further away).
  void changed();
  // Writes now when a change is not yet on disk. Returns false when the
  // write failed (the failure is reported as for a timed write).
  bool flush();
  // Forgets a pending change (the list is written by other means).
  void cancel();

  bool pending() const { return dirty_; }
  bool failing() const { return failing_; }
  int delay() const { return timer_.interval(); }

 private:
  bool write();

  SaveFunction save_;
  ReportFunction report_;
  QTimer timer_;
  bool dirty_ = false;
  bool failing_ = false;
};

// My Dictionary's list ("userdict.dic"), written through UserDict's Save.
// Set at start-up once the list has been read; null when it could not be
// read (it is then never written over). The My Dictionary window calls
// changed() after each edit.
extern Autosave* UserDictAutosave;

}  // namespace kirvale::ui
