#pragma once
// "Диагностика связи": the checks of the programming link as the command line's doctor makes
// them (the device, the access, who holds the port, the line, the radio), each with its mark and
// sentence, port by port as they come, the verdict below them, and a button that saves what a
// report needs (the bundle). The checks run once the dialog is shown; their waits serve the
// window's events, so the dialog grows while the radio is tried.

#include <QDialog>
#include <optional>
#include <string>

#include "core/doctor/link_diagnosis.h"
#include "platform/link_doctor.h"

class QLabel;
class QPushButton;
class QTextBrowser;

namespace tirna {

class Link_doctor_dialog : public QDialog {
  Q_OBJECT
 public:
  // request: the ports to check, the window's programmer port first; config_ports: the ports part
  // of config.ini for the bundle; folder: where the bundle's file dialog starts.
  Link_doctor_dialog(QWidget* parent, Doctor_request request, std::string config_ports,
                     QString folder);

  // Runs the checks (again), showing them as they come.
  void run();
  // Asks for a file name and saves the bundle there; `path` given: without asking.
  void save_bundle(const QString& path = QString());

  const std::optional<Link_diagnosis>& diagnosis() const { return diagnosis_; }

  void reject() override;  // not while the checks run

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void show_diagnosis(const Link_diagnosis& d, bool done);

  Doctor_request request_;
  std::string config_ports_;
  QString folder_;
  QTextBrowser* checks_;
  QLabel* verdict_;
  QPushButton* again_;
  QPushButton* save_;
  QPushButton* close_;
  std::optional<Link_diagnosis> diagnosis_;
  bool running_ = false;
  bool started_ = false;
};

}  // namespace tirna
