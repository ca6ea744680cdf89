#pragma once
// The help viewer: the help file (HTML, whatever its name says) in a text browser beside a
// contents list made of the file's headings. A missing or unreadable file gives the viewer's own
// message and nothing else happens.

#include <QWidget>

class QListWidget;
class QTextBrowser;

namespace tirna {

class Help_viewer : public QWidget {
  Q_OBJECT
 public:
  explicit Help_viewer(QWidget* parent);

  // Loads the file and shows it at its contents; false (after the message) when it cannot be read.
  bool show_contents(const QString& path);

  QListWidget* contents() const { return contents_; }
  QTextBrowser* browser() const { return browser_; }

 private:
  void go_to_heading(int row);

  QListWidget* contents_;
  QTextBrowser* browser_;
  QList<int> heading_positions_;
};

}  // namespace tirna
