// Process entry: one instance per user and desktop. A second start asks the
// running one to come to the front and ends without a window.
#include <QApplication>

#include "app/main.h"
#include "platform/single_instance.h"
#include "platform/termination.h"

int main(int argc, char** argv) {
  QApplication::setApplicationName("Kirvale");
  QApplication::setDesktopFileName("kirvale");
  QApplication app(argc, argv);
  QApplication::setApplicationDisplayName(QString());

  kirvale::platform::MessageBus bus;
  switch (kirvale::platform::ClaimOrActivate(bus, "Kirvale")) {
    case kirvale::platform::InstanceRole::First:
      break;
    case kirvale::platform::InstanceRole::ActivatedOther:
      return 0;
    case kirvale::platform::InstanceRole::Failed:
      return 1;
  }

  kirvale::app::TForm3 window;
  window.setMessageBus(&bus);
  QObject::connect(&app, &QGuiApplication::applicationStateChanged, &window, [&window](Qt::ApplicationState s) {
    if (s == Qt::ApplicationInactive) window.ApplicationDeactivate();
  });
  kirvale::platform::TerminationSignals termination;
  QObject::connect(&termination, &kirvale::platform::TerminationSignals::requested, &window, &QWidget::close);
  if (!window.FormCreate()) return 0;
  window.show();
  return app.exec();
}
