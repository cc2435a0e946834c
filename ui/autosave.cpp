#include "ui/autosave.h"

namespace kirvale::ui {

Autosave* UserDictAutosave = nullptr;

Autosave::Autosave(SaveFunction save, ReportFunction report, QObject* parent, int delayMs)
    : QObject(parent), save_(std::move(save)), report_(std::move(report)) {
  timer_.setSingleShot(true);
  timer_.setInterval(delayMs);
  connect(&timer_, &QTimer::timeout, this, [this] { write(); });
}

void Autosave::changed() {
  dirty_ = true;
  if (!timer_.isActive()) timer_.start();
}

bool Autosave::flush() {
  timer_.stop();
  if (!dirty_) return true;
  return write();
}

void Autosave::cancel() {
  timer_.stop();
  dirty_ = false;
}

bool Autosave::write() {
  std::string error;
  // Cleared first: a change made while the failure is being reported must
  // still be written.
  dirty_ = false;
  if (save_(&error)) {
    failing_ = false;
    return true;
  }
  dirty_ = true;
  const bool firstFailure = !failing_;
  failing_ = true;
  if (firstFailure && report_) report_(error);
  return false;
}

}  // namespace kirvale::ui
