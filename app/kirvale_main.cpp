// Process entry: one instance per user and desktop. A second start asks the
// running one to come to the front and ends without a window.
#include <QApplication>

#include "app/main.h"
#include "platform/single_instance.h"
#include "platform/termination.h"
#include "ui/presenter.h"

int main(int argc, char** argv) {
  QApplication::setApplicationName("Kirvale");
  QApplication::setDesktopFileName("kirvale");
  QApplication app(argc, argv);
  QApplication::setApplicationDisplayName(QString());

  kirvale::platform::MessageBus bus;
  QString reason;
  switch (kirvale::platform::ClaimOrActivate(bus, "Kirvale", &reason)) {
    case kirvale::platform::InstanceRole::First:
      break;
    case kirvale::platform::InstanceRole::ActivatedOther:
      return 0;
    case kirvale::platform::InstanceRole::Failed:
      // The settings (and so the language) are not read yet: both languages.
      kirvale::ui::Presenter::error(nullptr, kirvale::app::InstanceLockMessage(reason));
      return 1;
  }

  kirvale::app::TForm3 window;
  window.setMessageBus(&bus);
  QObject::connect(&app, &QGuiApplication::applicationStateChanged, &window, [&window](Qt::ApplicationState s) {
    if (s == Qt::ApplicationInactive) window.ApplicationDeactivate();
  });
  kirvale::platform::TerminationSignals termination;
  QObject::connect(&termination, &kirvale::platform::TerminationSignals::requested, &window,
                   &kirvale::app::TForm3::requestClose);
  if (!window.FormCreate()) return 0;
  window.show();
  return app.exec();
}
