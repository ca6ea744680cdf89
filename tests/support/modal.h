#pragma once
// Answering the modal windows the code under test opens, for every Qt test: one helper that runs
// an action on the next modal window, one that waits for it to show (a transfer's waits run the
// event loop long before its box opens), and what a message box showed.

#include <QAbstractButton>
#include <QApplication>
#include <QDeadlineTimer>
#include <QMessageBox>
#include <QPointer>
#include <QStringList>
#include <QTimer>
#include <functional>
#include <memory>

namespace tirna::test {

// What a message box showed.
struct Box_seen {
  bool seen = false;
  QString caption;
  QString text;
  QMessageBox::Icon icon = QMessageBox::NoIcon;
  QStringList buttons;
};

inline void record_box(Box_seen& seen, const QMessageBox& box) {
  seen.seen = true;
  seen.caption = box.windowTitle();
  seen.text = box.text();
  seen.icon = box.icon();
  seen.buttons.clear();
  for (QAbstractButton* b : box.buttons()) seen.buttons << b->text();
}

// Runs act on the modal window as soon as one shows, polled every 10 ms for at most timeout_ms;
// the poll belongs to owner (when given), so that a test that fails leaves none for the next.
inline void when_modal_shows(std::function<void(QWidget*)> act, QObject* owner = nullptr,
                             int timeout_ms = 30000) {
  auto* poll = new QTimer(owner);
  auto deadline = std::make_shared<QDeadlineTimer>(timeout_ms);
  QObject::connect(poll, &QTimer::timeout, poll, [poll, deadline, act = std::move(act)] {
    QWidget* modal = QApplication::activeModalWidget();
    const bool shown = modal != nullptr && modal->isVisible();
    if (shown || deadline->hasExpired()) {
      poll->stop();
      poll->deleteLater();
    }
    if (shown) act(modal);
  });
  poll->start(10);
}

}  // namespace tirna::test
