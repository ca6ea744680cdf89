#pragma once
// The main window TForm1: it owns the workspace (image, working state, file name), the programmer
// choice and the dialogs for the whole run, draws the window's view on its three pages and turns
// every user action into a core operation followed by print_wind_blok.

#include <QMainWindow>
#include <memory>
#include <optional>

#include "core/channels/channel_edits.h"
#include "core/channels/subtone_entry.h"
#include "core/channels/window_view.h"
#include "core/edit/edit.h"
#include "core/edit/history.h"
#include "core/image/workspace.h"
#include "core/link/programmer_choice.h"
#include "core/transfer/transfer_result.h"
#include "platform/config_file.h"

class QActionGroup;
class QComboBox;
class QLabel;
class QTabWidget;
class QToolBar;

namespace tirna {

namespace ui {
class Report_print_command;
}
class Channel_page;
class Programmer_status_timer;
class Extra_page;
class Help_viewer;
class Settings_page;
class TForm10;
class TForm11;
class Bulk_edit_dialog;
class TForm2;
class TForm3;
class TForm4;
class Window_transfer_view;

class TForm1 : public QMainWindow, public Edit_host {
  Q_OBJECT
 public:
  // Runs the creation steps: drive check, Save folder, config.ini, working state, default image,
  // first refresh and first programmer status. The program folder is the current directory.
  explicit TForm1(QWidget* parent = nullptr);
  ~TForm1() override;

  // The drive check refused the program folder: nothing was created or read and the program ends.
  bool start_refused() const { return start_refused_; }

  // What the transfers and the report work on.
  Workspace& workspace() { return ws_; }
  const Window_view& view() const { return view_; }
  Programmer_choice& programmer() { return programmer_; }
  const QString& program_folder() const { return program_folder_; }
  // config.ini as read at start-up (its "[Порты]" section maps port numbers to devices); null when
  // the file could not be used.
  const Ini_file* config_ini() const { return config_ ? &config_->ini() : nullptr; }

  // The one refresh: the core rewrites the view from the image, then every control shows it.
  // Nothing it changes counts as a user edit.
  void print_wind_blok() override;

  // Busy state of the transfers: the whole window (menus, tool bar, band list, pages) locked.
  void blok_btn();
  void razblok_btn();
  bool busy() const { return busy_; }

  // Cell_dialogs: the entry dialogs for channel n's receive or transmit side.
  void in_frq(int n, Side side) override;
  void in_tone(int n, Side side) override;

  // The programmer dialog and the programmer status (Timer1), for the transfers.
  TForm2* Form2() const { return form2_; }
  Programmer_status_timer* status_timer() const { return status_timer_; }

 public slots:
  // "Файл"
  void N2Click();   // Новый
  void N3Click();   // Открыть
  void N5Click();   // Сохранить
  void N6Click();   // Сохранить как ...
  void N8Click();   // Печать
  void N10Click();  // Выход
  // "Операции"
  void N12Click();  // Чтение
  void N13Click();  // Запись
  // "Опции": the three pages
  void N15Click();
  void N16Click();
  void N17Click();
  void N18Click();  // Программатор
  // The programmer dialog for the programmer choice; the status shows a change within a second.
  void choose_programmer();
  // "Помощь"
  void N20Click();  // Справка (F1)
  void N21Click();  // О программе
  // "Диагностика связи...": the checks of the programming link, from the programmer's port on.
  void link_doctor();
  // The band list, the programmer status, the additional data's own commands.
  void ComboBox1Change(int index);
  void Button301Click();
  void Button302Click();
  // Asks whether to save the changed parameters and saves on Yes; false only when that save
  // failed, which keeps the window open.
  bool save_izm();

  // Open for a file named without the dialog (dropped on the window, given on the command line):
  // the question about unsaved changes first, then as "Открыть". False when nothing was opened.
  bool open_file(const QString& path);

  // Undo and redo of the changes of the image (Ctrl+Z; Ctrl+Y or Ctrl+Shift+Z).
  void undo();
  void redo();
  // The channel table's Copy and Paste (Ctrl+C, Ctrl+V): rows as CSV in the export layout.
  void copy_channels();
  void paste_channels();
  // The table's context menu: "Выключить канал" / "Включить канал" for the selected rows.
  void switch_channels(bool off);
  // Rearranging the table (context menu; Ctrl+Up, Ctrl+Down): the selected channels one place up
  // or down, an empty channel inserted at the first selected one (the 16th dropped after a
  // question when it is in use), the selected ones deleted, the channels in use sorted by receive
  // frequency. Each is one undo step and sets the modified flag.
  void move_channels_up();
  void move_channels_down();
  void insert_channel();
  void delete_channels();
  void sort_channels();
  // "Изменить каналы...": fields of all selected channels at once (Bulk_edit_dialog), one undo
  // step.
  void edit_channels();
  // "Операции" > "Сравнить с радиостанцией": reads the radio into memory and lists how it differs
  // from what a write of the window's image would send; the image stays as it is.
  void compare_with_radio();
  // "Опции" > "Журнал обмена с радиостанцией": keep a trace of each following transfer.
  void set_tracing(bool on);
  // Where the last trace was saved (or why not), in the status bar.
  void show_trace_name(const QString& text);

 protected:
  void closeEvent(QCloseEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void moveEvent(QMoveEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  // The row of a write (with_file: of the parameter image, naming the file) in the user's
  // programming journal, after the transfer.
  void journal_write(const char* command, const Transfer_result& r, bool with_file);
  // The tests reach the window's parts (its pages, dialogs, actions and panels) through this.
  friend struct Window_parts;

  QString save_folder() const;
  QString help_file() const;
  QAction* action(const QString& object_name) const;
  TForm10* Form10() const;
  void build_frame();
  QAction* add_command(const char* name, const char* text, void (TForm1::*slot)());
  void build_menus();
  void build_pages();
  void FormCreate();
  void show_page_focus(int index);
  void centre_on_screen();
  void show_file_name();
  void show_programmer_status(const QString& text);
  void show_table_menu(const QPoint& global_pos);
  void build_table_commands();
  // Runs a rearrangement of the channel table as one undo step, then selects `rows` (0..15).
  template <class Change>
  void rearranged(Change&& change);
  // Runs a change of the workspace and records it for undo.
  template <class Change>
  void recorded(Change&& change) {
    const Workspace before = ws_;
    change();
    history_.record(before, ws_);
  }

  // Channel page and settings page edits: each makes its edit through apply_edit.
  void channel_box_toggled(int number, bool ticked);
  void channel_box_entered();
  void channel_cell_clicked(int column, int row);
  void setting_picked(int slot, int item);  // ComboBox201Change .. ComboBox215Change

  // Save to the current file, or through Save as without one; false when a save failed.
  bool save_to_current();
  bool open_chosen(const QString& path);
  bool save_as();
  std::optional<QString> file_dialog(bool saving);

  Workspace ws_;
  Edit_history history_;
  Window_view view_;
  Subtone_dialog_state subtone_state_;
  Programmer_choice programmer_;
  std::optional<Config_file> config_;
  Config_values config_values_;
  QString program_folder_;
  bool start_refused_ = false;
  bool busy_ = false;
  bool placed_ = false;
  bool framed_ = false;  // centred again once a window manager gave the window its frame

  QActionGroup* commands_ = nullptr;
  QToolBar* tool_bar_ = nullptr;
  QWidget* band_strip_ = nullptr;
  QComboBox* band_list_ = nullptr;
  QTabWidget* pages_ = nullptr;
  Channel_page* channel_page_ = nullptr;
  Settings_page* settings_page_ = nullptr;
  Extra_page* extra_page_ = nullptr;
  QLabel* status_programmer_ = nullptr;
  QLabel* status_file_ = nullptr;
  QLabel* status_trace_ = nullptr;
  Programmer_status_timer* status_timer_ = nullptr;
  TForm11* form11_ = nullptr;
  TForm2* form2_ = nullptr;
  TForm3* form3_ = nullptr;
  TForm4* form4_ = nullptr;
  Bulk_edit_dialog* bulk_edit_ = nullptr;
  Help_viewer* help_ = nullptr;
  std::unique_ptr<Window_transfer_view> transfers_;
  ui::Report_print_command* report_ = nullptr;
};

}  // namespace tirna
