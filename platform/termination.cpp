#include "platform/termination.h"

#include <QSocketNotifier>
#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

namespace kirvale::platform {
namespace {

int pipeFds[2] = {-1, -1};

void onSignal(int) {
  char c = 1;
  // Only async-signal-safe work here: one byte into the pipe.
  [[maybe_unused]] ssize_t n = ::write(pipeFds[0], &c, 1);
}

}  // namespace

TerminationSignals::TerminationSignals(QObject* parent) : QObject(parent) {
  if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, pipeFds) != 0) return;
  notifier_ = new QSocketNotifier(pipeFds[1], QSocketNotifier::Read, this);
  connect(notifier_, &QSocketNotifier::activated, this, [this] {
    char c;
    [[maybe_unused]] ssize_t n = ::read(pipeFds[1], &c, 1);
    emit requested();
  });
  struct sigaction sa {};
  sa.sa_handler = onSignal;
  sigemptyset(&sa.sa_mask);
  sa.sa_flags = SA_RESTART;
  for (int sig : {SIGTERM, SIGINT, SIGHUP}) ::sigaction(sig, &sa, nullptr);
}

TerminationSignals::~TerminationSignals() {
  for (int sig : {SIGTERM, SIGINT, SIGHUP}) std::signal(sig, SIG_DFL);
  delete notifier_;
  for (int& fd : pipeFds) {
    if (fd >= 0) ::close(fd);
    fd = -1;
  }
}

}  // namespace kirvale::platform
