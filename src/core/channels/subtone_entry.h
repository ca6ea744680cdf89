#pragma once
// The sub-tone entry dialog's rules (TForm4): its state, which it keeps from one opening to the
// next, the preselection from the stored sub-tone, the enabling of its controls, and storing the
// choice.

#include <optional>
#include <string>
#include <string_view>

#include "core/image/channel_record.h"

namespace tirna {

inline constexpr std::string_view subtone_title_rx = "Субтон приема";
inline constexpr std::string_view subtone_title_tx = "Субтон передачи";

struct Subtone_dialog_state {
  enum Choice { ctc = 0, dcs = 1, off = 2 };
  int choice = off;      // RadioGroup1
  int ctcss_index = -1;  // ComboBox1: selected item, -1 for none
  std::string ctcss_text = "67.0";
  int dcs_index = 0;  // ComboBox2
  std::string dcs_text = "023";
  bool inverted = false;  // CheckBox1 "Инверт. DCS"
  bool ctcss_enabled = false;
  bool dcs_enabled = false;
  bool inverted_enabled = false;

  void select_ctcss(int index);
  void select_dcs(int index);
  // The user changed the choice: enable the controls that belong to it.
  void set_choice(int new_choice);
};

// What the user picks in the dialog: a choice, the text typed or selected in the list that belongs
// to it, and the inversion box for DCS.
struct Subtone_pick {
  int choice = Subtone_dialog_state::off;
  std::string text;  // "67,0" for CTC, "023" for DCS; empty for off
  bool inverted = false;
};

// The dialog's refusal of a typed text: "«6,5» не является допустимым значением субтона.".
std::string subtone_refusal(std::string_view text);

// The dialog takes the first five characters of a CTCSS text ("100,0") and a DCS code of three; a
// longer text would be stored as another tone without a word (123456,7 as 123,5). Its refusal, for
// the edits that are not typed into the dialog but given as values; nullopt for a text that fits.
inline constexpr std::size_t ctcss_text_max_length = 5;
inline constexpr std::size_t dcs_text_length = 3;
std::optional<std::string> refusal_of_cut_text(const Subtone_pick& pick);

// The pick that a sub-tone text as the channel table shows it stands for: "Выключен",
// "CTC 67,0", "DCS 023", "-DCS 754", leading blanks optional; nullopt for any other form. The
// tone or code is taken as typed: whether the dialog accepts it is accept_subtone's decision.
std::optional<Subtone_pick> subtone_pick_from_text(std::string_view shown);

// Sets the controls as the user does to make a pick: the choice, then the list text (selecting
// the item when the text is one) and the inversion box.
void make_pick(Subtone_dialog_state& state, const Subtone_pick& pick);

// Preselects the controls from what the channel stores (types 1, 2, 4, 6 leave them as they are).
void preselect_subtone(Subtone_dialog_state& state, const Param_image& image, int n, Side side);

// Stores the dialog's choice. nullopt when stored; otherwise the refusal message, and the record is
// left exactly as it was. A DCS code must be three octal digits.
std::optional<std::string> accept_subtone(Param_image& image, int n, Side side,
                                          const Subtone_dialog_state& state);

// Shows the dialog for a side with the state (which it may change) and reports whether "Да"
// closed it; shows a refusal.
class Subtone_dialog {
 public:
  virtual ~Subtone_dialog() = default;
  virtual bool ask_subtone(Side side, Subtone_dialog_state& state) = 0;
  virtual void show_refused(const std::string& message) = 0;
};

void in_tone(Param_image& image, int n, Side side, Subtone_dialog_state& state,
             Subtone_dialog& dialog);

}  // namespace tirna
