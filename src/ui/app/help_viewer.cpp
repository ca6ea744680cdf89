#include "ui/app/help_viewer.h"

#include <QAbstractTextDocumentLayout>
#include <QFile>
#include <QListWidget>
#include <QScrollBar>
#include <QSplitter>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextDocument>
#include <QVBoxLayout>

#include "ui/app/message_boxes.h"

namespace tirna {

Help_viewer::Help_viewer(QWidget* parent) : QWidget(parent, Qt::Window) {
  setObjectName(QStringLiteral("HelpViewer"));
  setAttribute(Qt::WA_WindowPropagation);
  setWindowTitle(QStringLiteral("Справка: ПО Тирна-520"));
  resize(900, 580);

  contents_ = new QListWidget;
  contents_->setObjectName(QStringLiteral("HelpContents"));
  browser_ = new QTextBrowser;
  browser_->setObjectName(QStringLiteral("HelpText"));
  browser_->setOpenExternalLinks(false);
  browser_->setOpenLinks(true);

  auto* splitter = new QSplitter;
  splitter->addWidget(contents_);
  splitter->addWidget(browser_);
  splitter->setStretchFactor(1, 1);
  splitter->setSizes({300, 600});
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(4, 4, 4, 4);
  layout->addWidget(splitter);

  connect(contents_, &QListWidget::currentRowChanged, this, &Help_viewer::go_to_heading);
}

bool Help_viewer::show_contents(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) {
    show_message(
        parentWidget(), QMessageBox::Warning, windowTitle(),
        QStringLiteral("Не удается открыть файл справки\r%1\r%2").arg(path, file.errorString()));
    return false;
  }
  const QString html = QString::fromUtf8(file.readAll());
  browser_->setHtml(html);

  // The contents list: every heading of the first two levels, the second indented.
  contents_->blockSignals(true);
  contents_->clear();
  heading_positions_.clear();
  for (QTextBlock b = browser_->document()->begin(); b.isValid(); b = b.next()) {
    const int level = b.blockFormat().headingLevel();
    if (level < 1 || level > 2) continue;
    contents_->addItem((level == 2 ? QStringLiteral("    ") : QString()) + b.text().trimmed());
    heading_positions_.append(b.position());
  }
  contents_->setCurrentRow(0);
  contents_->blockSignals(false);
  browser_->verticalScrollBar()->setValue(0);

  show();
  raise();
  activateWindow();
  return true;
}

void Help_viewer::go_to_heading(int row) {
  if (row < 0 || row >= heading_positions_.size()) return;
  const QTextBlock block = browser_->document()->findBlock(heading_positions_[row]);
  const QRectF where = browser_->document()->documentLayout()->blockBoundingRect(block);
  browser_->verticalScrollBar()->setValue(static_cast<int>(where.top()));
}

}  // namespace tirna
