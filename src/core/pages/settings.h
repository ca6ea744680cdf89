#pragma once
// The general settings page as a model: the lists of the catalogue's setting rows over image bytes
// 0x2B0..0x2BF, each read (image -> item index, or none) and written (item index -> image, other
// bits unchanged) by its codec, and the linked squelch-key / power-selection rules.

#include <optional>
#include <string>
#include <vector>

#include "core/catalogue/catalogue.h"
#include "core/image/param_image.h"

namespace tirna {

enum class Squelch_form { long_form, short_form };

// The items of a list. The squelch-key list has two forms.
const std::vector<std::string>& setting_items(int slot,
                                              Squelch_form form = Squelch_form::long_form);

// The form that the squelch-key list shows for an image: short while the power selection is 2.
Squelch_form squelch_form_for(const Param_image& image);

// Read rule: the item the list selects, or nullopt when the value has no item in the list.
std::optional<int> read_setting(const Param_image& image, int slot);

// Write rule for the lists other than the power selection: item i into the image, other bits
// unchanged (the squelch key in the form the power selection gives).
void write_setting(Param_image& image, int slot, int item);

// ComboBox214Change: bits 7-5 of 0x2B0 from item i of the form the power selection gives.
void squelch_key_change(Param_image& image, int item);

// ComboBox215Change without the modified flag and refresh: the power selection p, the squelch-key
// list's new form and selection derived from its shown form and selection, and bits 7-5 written
// from that selection. Returns the form now shown.
struct Power_change_result {
  Squelch_form form;
  std::optional<int> squelch_item;
};
Power_change_result power_select_change(Param_image& image, Squelch_form shown_form,
                                        std::optional<int> shown_squelch_item, int p);

// The text a list shows: its selected item, or empty without a selection.
std::string setting_text(int slot, Squelch_form form, std::optional<int> item);

}  // namespace tirna
