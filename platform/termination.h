// Turns SIGTERM, SIGINT and SIGHUP into an ordinary event on the window
// thread, so that a session logout or a kill closes the program the normal
// way: the user's lists and settings saved, the plain dictionaries removed.
#pragma once

#include <QObject>

class QSocketNotifier;

namespace kirvale::platform {

class TerminationSignals : public QObject {
  Q_OBJECT
 public:
  explicit TerminationSignals(QObject* parent = nullptr);
  ~TerminationSignals() override;

 signals:
  void requested();

 private:
  QSocketNotifier* notifier_ = nullptr;
};

}  // namespace kirvale::platform
