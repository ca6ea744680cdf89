#include "ui/app/main_window.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QSignalBlocker>
#include <QStatusBar>
#include <QTabBar>
#include <QTabWidget>
#include <QTableWidget>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>
#include <QWindow>

#include "core/channels/frequency_entry.h"
#include "core/files/file_commands.h"
#include "core/image/frequency.h"
#include "core/pages/settings.h"
#include "core/text/messages.h"
#include "core/usb/programmer_status.h"
#include "platform/fixed_disk.h"
#include "platform/install_paths.h"
#include "platform/programmer_status_timer.h"
#include "ui/app/about_box.h"
#include "ui/app/help_viewer.h"
#include "ui/app/icons.h"
#include "ui/app/message_boxes.h"
#include "ui/app/wheel_guard.h"
#include "ui/app/window_placement.h"
#include "ui/channels/channel_page.h"
#include "ui/channels/frequency_dialog.h"
#include "ui/channels/subtone_dialog.h"
#include "ui/link/programmer_dialog.h"
#include "ui/pages/extra_page.h"
#include "ui/pages/settings_page.h"
#include "ui/report/report_print_command.h"
#include "ui/transfer/progress_window.h"
#include "ui/transfer/window_transfer_view.h"

namespace tirna {
namespace {

// Client area of the main window (below the menu bar) and the heights of its strips.
constexpr int client_width = 639;
constexpr int client_height = 485;
constexpr int tool_bar_height = 28;
constexpr int band_strip_height = 31;
constexpr int status_bar_height = 19;
constexpr int panel0_width = 120;  // the least width of the programmer status

constexpr const char* drive_refused_text =
    "Программа запущена со сменного носителя информации! Перенесите программу на жесткий диск и "
    "запустите. ";
constexpr const char* drive_refused_caption = "ОШИБКА ОТКРЫТИЯ ПРОГРАММЫ";

}  // namespace

TForm1::TForm1(QWidget* parent) : QMainWindow(parent) {
  setObjectName(QStringLiteral("TForm1"));
  keep_windows_on_screen(*qApp);
  // The window's texts are measured for an 8-point Arial; Liberation Sans has its metrics.
  QFont base(QStringLiteral("Arial"));
  base.setPixelSize(11);
  setFont(base);
  setWindowIcon(program_icon());
  build_frame();
  form11_ = new TForm11(this);
  form2_ = new TForm2(this);
  form3_ = new TForm3(this);
  form4_ = new TForm4(this);
  help_ = new Help_viewer(this);
  transfers_ = std::make_unique<Window_transfer_view>(*this);
  report_ = new ui::Report_print_command(this);
  FormCreate();
}

TForm1::~TForm1() = default;

TForm10* TForm1::Form10() const {
  return transfers_->Form10();
}

QString TForm1::save_folder() const {
  return program_folder_ + QStringLiteral("/Save");
}

QString TForm1::help_file() const {
  return QFile::decodeName(
      QByteArray::fromStdString(help_file_path(QFile::encodeName(program_folder_).toStdString())));
}

QAction* TForm1::action(const QString& object_name) const {
  return findChild<QAction*>(object_name);
}

void TForm1::FormCreate() {
  program_folder_ = QDir::currentPath();
  if (drive_kind_of(QFile::encodeName(program_folder_).toStdString()) != Drive_kind::fixed) {
    QApplication::beep();
    Message_box box(QMessageBox::Critical, QString::fromUtf8(drive_refused_caption),
                    QString::fromUtf8(drive_refused_text), QMessageBox::Ok, nullptr);
    box.button(QMessageBox::Ok)->setText(QStringLiteral("OK"));
    box.setWindowModality(Qt::ApplicationModal);
    box.setWindowFlag(Qt::WindowStaysOnTopHint);
    box.exec();
    start_refused_ = true;
  } else {
    QDir(program_folder_).mkdir(QStringLiteral("Save"));
    Config_opened opened = open_config_file(
        QFile::encodeName(program_folder_ + QLatin1Char('/') + QString::fromUtf8(config_file_name))
            .toStdString());
    config_values_ = opened.values;
    programmer_.type = opened.values.programmer_type;
    programmer_.port_index = opened.values.com_port_index;
    move(opened.values.x, opened.values.y);
    config_ = std::move(opened.file);
    if (opened.error != 0) show_error_box(nullptr, Io_error::from_errno(opened.error).text());
  }
  // The squelch-key list starts in its long form (Settings_page); coding version 2, band 0 and
  // the start-up band limits are the workspace's own start values.
  ws_.state = Working_state{};
  setWindowTitle(qt_text(window_title));
  new_parameter_image(ws_);
  print_wind_blok();
  pages_->setFocus();
  status_timer_->set_programmer(programmer_.type, programmer_.port_index);
  status_timer_->start();
}

void TForm1::build_frame() {
  setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                 Qt::WindowCloseButtonHint);
  setContextMenuPolicy(Qt::NoContextMenu);
  setAcceptDrops(true);
  build_menus();
  build_pages();

  status_programmer_ = new QLabel;
  status_programmer_->setObjectName(QStringLiteral("StatusPanel0"));
  status_file_ = new QLabel;
  status_file_->setObjectName(QStringLiteral("StatusPanel1"));
  status_file_->setMinimumWidth(50);
  for (QLabel* panel : {status_programmer_, status_file_}) {
    panel->setFrameShape(QFrame::Panel);
    panel->setFrameShadow(QFrame::Sunken);
    panel->setTextFormat(Qt::PlainText);
  }
  statusBar()->setSizeGripEnabled(false);
  statusBar()->setFixedHeight(status_bar_height);
  statusBar()->addWidget(status_programmer_);
  statusBar()->addWidget(status_file_, 1);
  // Only while traces are kept: where the last one was saved.
  status_trace_ = new QLabel;
  status_trace_->setObjectName(QStringLiteral("StatusTrace"));
  status_trace_->setFrameShape(QFrame::Panel);
  status_trace_->setFrameShadow(QFrame::Sunken);
  status_trace_->setTextFormat(Qt::PlainText);
  status_trace_->hide();
  statusBar()->addPermanentWidget(status_trace_);

  status_timer_ = new Programmer_status_timer(nullptr, this);
  connect(status_timer_, &Programmer_status_timer::panel_text, this, &TForm1::show_programmer_status);
  show_programmer_status(QString());
  connect(status_timer_, &Programmer_status_timer::error_dialog_requested, this,
          [this](const QString& caption, const QString& text) {
            show_message(this, QMessageBox::Critical, caption, text);
          });

  setFixedSize(client_width, client_height + menuBar()->sizeHint().height());
}

QAction* TForm1::add_command(const char* name, const char* text, void (TForm1::*slot)()) {
  auto* a = new QAction(QString::fromUtf8(text), this);
  a->setObjectName(QString::fromLatin1(name));
  connect(a, &QAction::triggered, this, slot);
  commands_->addAction(a);  // disabled with the window while a transfer runs
  return a;
}

void TForm1::build_menus() {
  commands_ = new QActionGroup(this);
  commands_->setExclusionPolicy(QActionGroup::ExclusionPolicy::None);
  const auto command = [this](const char* name, const char* text, void (TForm1::*slot)(),
                              std::optional<Command_icon> icon = std::nullopt) {
    QAction* a = add_command(name, text, slot);
    if (icon) a->setIcon(command_icon(*icon));
    return a;
  };
  QMenu* file = menuBar()->addMenu(QStringLiteral("Файл"));
  QAction* n2 = command("N2", "Новый", &TForm1::N2Click, Command_icon::new_file);
  QAction* n3 = command("N3", "Открыть", &TForm1::N3Click, Command_icon::open_file);
  QAction* n5 = command("N5", "Сохранить", &TForm1::N5Click, Command_icon::save_file);
  QAction* n6 = command("N6", "Сохранить как ...", &TForm1::N6Click);
  QAction* n8 = command("N8", "Печать", &TForm1::N8Click, Command_icon::print);
  QAction* n10 = command("N10", "Выход", &TForm1::N10Click, Command_icon::exit);
  // The editors' usual shortcuts, shown in the menus beside the items.
  n2->setShortcut(QKeySequence::New);
  n3->setShortcut(QKeySequence::Open);
  n5->setShortcut(QKeySequence::Save);
  n6->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S));
  n8->setShortcut(QKeySequence::Print);
  n10->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
  file->addActions({n2, n3});
  file->addSeparator();
  file->addActions({n5, n6});
  file->addSeparator();
  file->addAction(n8);
  file->addSeparator();
  file->addAction(n10);

  QMenu* operations = menuBar()->addMenu(QStringLiteral("Операции"));
  QAction* n12 = command("N12", "Чтение", &TForm1::N12Click, Command_icon::read_radio);
  QAction* n13 = command("N13", "Запись", &TForm1::N13Click, Command_icon::write_radio);
  operations->addActions({n12, n13});
  // Besides the radio's two commands: a look at the radio that changes nothing.
  operations->addSeparator();
  operations->addAction(
      command("CompareWithRadio", "Сравнить с радиостанцией...", &TForm1::compare_with_radio));

  QMenu* options = menuBar()->addMenu(QStringLiteral("Опции"));
  options->addAction(command("N15", "Параметры каналов", &TForm1::N15Click));
  options->addAction(command("N16", "Основные настройки радиостанции", &TForm1::N16Click));
  options->addAction(command("N17", "Дополнительные данные", &TForm1::N17Click));
  options->addSeparator();
  QAction* trace = new QAction(QStringLiteral("Журнал обмена с радиостанцией"), this);
  trace->setObjectName(QStringLiteral("TraceTransfers"));
  trace->setCheckable(true);
  connect(trace, &QAction::toggled, this, &TForm1::set_tracing);
  commands_->addAction(trace);
  options->addAction(trace);

  menuBar()->addAction(command("N18", "Программатор", &TForm1::N18Click));

  // Undo and redo have shortcuts only: the menus stay as they are.
  QAction* undo = command("Undo", "Отменить", &TForm1::undo);
  undo->setShortcut(QKeySequence::Undo);
  QAction* redo = command("Redo", "Повторить", &TForm1::redo);
  redo->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)});
  addActions({undo, redo});

  QMenu* help = menuBar()->addMenu(QStringLiteral("Помощь"));
  QAction* n20 = command("N20", "Справка", &TForm1::N20Click);
  n20->setShortcut(QKeySequence(Qt::Key_F1));
  help->addAction(n20);
  help->addAction(command("LinkDoctor", "Диагностика связи...", &TForm1::link_doctor));
  help->addAction(command("N21", "О программе", &TForm1::N21Click));

  tool_bar_ = new QToolBar(QStringLiteral("ToolBar1"), this);
  tool_bar_->setObjectName(QStringLiteral("ToolBar1"));
  tool_bar_->setMovable(false);
  tool_bar_->setFloatable(false);
  tool_bar_->setFixedHeight(tool_bar_height);
  tool_bar_->setIconSize(QSize(16, 16));
  tool_bar_->setContentsMargins(0, 0, 0, 0);
  const auto gap = [this](int width) {
    auto* spacer = new QWidget;
    spacer->setFixedWidth(width);
    tool_bar_->addWidget(spacer);
  };
  const auto button = [this](const char* name, QAction* a, const char* hint) {
    auto* b = new QToolButton;
    b->setObjectName(QString::fromLatin1(name));
    // The hint is the action's own tool tip: a button takes its action's tool tip back every time
    // the action changes (blok_btn and razblok_btn disable and enable it).
    a->setToolTip(QString::fromUtf8(hint));
    b->setDefaultAction(a);
    b->setToolButtonStyle(Qt::ToolButtonIconOnly);
    b->setFixedSize(23, 23);
    b->setAutoRaise(true);
    tool_bar_->addWidget(b);
  };
  gap(4);
  button("ToolButton10", n2, "Новый файл");
  button("ToolButton1", n3, "Открыть файл");
  button("ToolButton2", n5, "Сохранить файл");
  gap(8);
  button("ToolButton3", n8, "Печать параметров");
  gap(8);
  button("ToolButton4", n12, "Чтение параметров");
  button("ToolButton8", n13, "Запись параметров");
  addToolBar(Qt::TopToolBarArea, tool_bar_);
}

void TForm1::build_pages() {
  auto* central = new QWidget;
  auto* layout = new QVBoxLayout(central);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);

  band_strip_ = new QWidget;
  band_strip_->setObjectName(QStringLiteral("BandStrip"));
  band_strip_->setFixedHeight(band_strip_height);
  auto* strip = new QHBoxLayout(band_strip_);
  strip->setContentsMargins(8, 3, 8, 3);
  auto* band_caption = new QLabel(qt_text(parameter_named("frq")->caption));
  QFont bold = font();
  bold.setBold(true);
  band_caption->setFont(bold);
  band_list_ = new QComboBox;
  band_list_->setObjectName(QStringLiteral("ComboBox1"));
  for (int band = 0; band < band_count; ++band)
    band_list_->addItem(QString::fromUtf8(band_text(band)));
  band_list_->setFixedWidth(170);
  guard_wheel(band_list_);
  connect(band_list_, &QComboBox::activated, this, &TForm1::ComboBox1Change);
  strip->addWidget(band_caption);
  strip->addSpacing(6);
  strip->addWidget(band_list_);
  strip->addStretch(1);
  layout->addWidget(band_strip_);

  pages_ = new QTabWidget;
  pages_->setObjectName(QStringLiteral("PageControl1"));
  pages_->tabBar()->setFont(bold);
  pages_->setDocumentMode(false);
  channel_page_ = new Channel_page;
  settings_page_ = new Settings_page;
  extra_page_ = new Extra_page;
  pages_->addTab(channel_page_, QStringLiteral("Параметры каналов"));
  pages_->addTab(settings_page_, QStringLiteral("Основные настройки радиостанции"));
  pages_->addTab(extra_page_, QStringLiteral("Дополнительные данные"));
  connect(pages_, &QTabWidget::currentChanged, this, &TForm1::show_page_focus);
  layout->addWidget(pages_, 1);
  setCentralWidget(central);

  connect(channel_page_, &Channel_page::box_toggled, this, &TForm1::channel_box_toggled);
  connect(channel_page_, &Channel_page::box_entered, this, &TForm1::channel_box_entered);
  connect(channel_page_, &Channel_page::cell_clicked, this, &TForm1::channel_cell_clicked);
  connect(channel_page_, &Channel_page::table_menu_requested, this, &TForm1::show_table_menu);
  build_table_commands();
  connect(settings_page_, &Settings_page::picked, this, &TForm1::setting_picked);
  connect(extra_page_->Button301(), &QPushButton::clicked, this, &TForm1::Button301Click);
  connect(extra_page_->Button302(), &QPushButton::clicked, this, &TForm1::Button302Click);
}

void TForm1::print_wind_blok() {
  tirna::print_wind_blok(view_, ws_.image, ws_.state);
  channel_page_->show_rows(view_.rows);
  if (band_list_->currentIndex() != view_.band_selector) {
    const QSignalBlocker block(band_list_);
    band_list_->setCurrentIndex(view_.band_selector);
  }
  settings_page_->show_settings(view_.settings);
  extra_page_->show_extra(view_.extra);
  show_file_name();
}

void TForm1::show_programmer_status(const QString& text) {
  // As wide as the longest of its texts needs in the window's font (120 pixels cut "USB-
  // Программатор подключен" and "не подключен" alike), and the whole text as its tool tip.
  const QFontMetrics metrics = status_programmer_->fontMetrics();
  int widest = metrics.horizontalAdvance(text);
  for (std::string_view usb : {usb_programmer_connected_text, usb_programmer_missing_text}) {
    widest = std::max(widest, metrics.horizontalAdvance(qt_text(usb)));
  }
  const int frame = 2 * status_programmer_->frameWidth() + 2 * status_programmer_->margin() + 8;
  status_programmer_->setFixedWidth(std::max(panel0_width, widest + frame));
  status_programmer_->setText(text);
  status_programmer_->setToolTip(text);
}

void TForm1::show_file_name() {
  status_file_->setText(QFile::decodeName(QByteArray::fromStdString(ws_.file_name)));
}

void TForm1::blok_btn() {
  busy_ = true;
  for (QWidget* part : {static_cast<QWidget*>(menuBar()), static_cast<QWidget*>(tool_bar_),
                        band_strip_, static_cast<QWidget*>(pages_)}) {
    part->setEnabled(false);
  }
  commands_->setEnabled(false);
}

void TForm1::razblok_btn() {
  for (QWidget* part : {static_cast<QWidget*>(menuBar()), static_cast<QWidget*>(tool_bar_),
                        band_strip_, static_cast<QWidget*>(pages_)}) {
    part->setEnabled(true);
  }
  commands_->setEnabled(true);
  busy_ = false;
}

void TForm1::in_frq(int n, Side side) {
  tirna::in_frq(ws_.image, ws_.state, n, side, *form3_);
}

void TForm1::in_tone(int n, Side side) {
  tirna::in_tone(ws_.image, n, side, subtone_state_, *form4_);
}

void TForm1::channel_box_toggled(int number, bool ticked) {
  recorded([&] { apply_edit(ws_, view_, Edit::toggle(number, ticked), *this); });
}

void TForm1::channel_box_entered() {
  apply_edit(ws_, view_, Edit::focus(), *this);
}

void TForm1::channel_cell_clicked(int column, int row) {
  recorded([&] { apply_edit(ws_, view_, Edit::click(column, row), *this); });
}

// ComboBox201Change .. ComboBox215Change: one edit operation for every list, the squelch key's
// linkage with the power selection included.
void TForm1::setting_picked(int slot, int item) {
  recorded([&] { apply_edit(ws_, view_, Edit::pick(slot, item), *this); });
}

void TForm1::show_page_focus(int index) {
  switch (index) {
    case 0:
      channel_page_->StringGrid101()->setFocus();
      break;
    case 1:
      settings_page_->panel()->setFocus();
      break;
    case 2:
      extra_page_->RichEdit1()->setFocus();
      break;
    default:
      break;
  }
}

void TForm1::N15Click() {
  pages_->setCurrentIndex(0);
  show_page_focus(0);
}

void TForm1::N16Click() {
  pages_->setCurrentIndex(1);
  show_page_focus(1);
}

void TForm1::N17Click() {
  pages_->setCurrentIndex(2);
  show_page_focus(2);
}

void TForm1::N18Click() {
  choose_programmer();
}

void TForm1::choose_programmer() {
  form2_->choose(programmer_);
  status_timer_->set_programmer(programmer_.type, programmer_.port_index);
}

void TForm1::N20Click() {
  help_->show_contents(help_file());
}

void TForm1::N21Click() {
  form11_->exec();
}

void TForm1::N10Click() {
  close();
}

void TForm1::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  if (placed_) return;
  placed_ = true;
  // Always centred when first shown; the position from config.ini is only carried through.
  centre_on_screen();
  // A window manager decorates the window after it is shown, and Qt learns the frame's size
  // without a move: the frame is centred again when the window is first exposed with it.
  if (QWindow* handle = windowHandle()) handle->installEventFilter(this);
}

bool TForm1::eventFilter(QObject* watched, QEvent* event) {
  if (watched == windowHandle() && event->type() == QEvent::Expose && !framed_ &&
      !frame_margins(this).isNull()) {
    framed_ = true;
    centre_on_screen();
  }
  return QMainWindow::eventFilter(watched, event);
}

void TForm1::centre_on_screen() {
  if (QScreen* s = screen()) centre_window(this, s->availableGeometry().center());
}

void TForm1::moveEvent(QMoveEvent* event) {
  QMainWindow::moveEvent(event);
  // A window manager decorates the window after it is first shown: once its frame is known, the
  // frame (not the client area as before) is centred, whatever X and Y config.ini held.
  if (placed_ && !framed_ && !frame_margins(this).isNull()) {
    framed_ = true;
    centre_on_screen();
  }
}

void TForm1::closeEvent(QCloseEvent* event) {
  // A transfer in progress owns the window; the window cannot be closed under it.
  if (busy_) {
    event->ignore();
    return;
  }
  if (ws_.state.modified && !save_izm()) {
    event->ignore();
    return;
  }
  if (config_) {
    config_values_ = Config_values{programmer_.type, programmer_.port_index, x(), y()};
    if (!config_->write_back(config_values_)) {
      const int error = errno;
      show_error_box(this, Io_error::from_errno(error).text());
    }
    config_.reset();
  }
  help_->close();
  event->accept();
}

}  // namespace tirna
