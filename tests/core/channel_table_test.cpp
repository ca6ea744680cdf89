#include <gtest/gtest.h>

#include "core/channels/channel_edits.h"
#include "core/channels/window_view.h"
#include "core/image/workspace.h"

namespace tirna {
namespace {

class Scripted_dialogs : public Cell_dialogs {
 public:
  void in_frq(int n, Side side) override {
    calls.push_back("frq" + std::to_string(n) + side_name(side));
  }
  void in_tone(int n, Side side) override {
    calls.push_back("tone" + std::to_string(n) + side_name(side));
  }
  std::vector<std::string> calls;

 private:
  static std::string side_name(Side s) { return s == Side::rx ? "rx" : "tx"; }
};

class ChannelTable : public ::testing::Test {
 protected:
  void refresh() { print_wind_blok(view, ws.image, ws.state); }
  const Channel_row_view& row(int n) const { return view.rows[n - 1]; }
  Workspace ws = start_up_workspace();
  Window_view view;
  Scripted_dialogs dialogs;
};

TEST_F(ChannelTable, DefaultImageShowsEveryRowAlike) {
  refresh();
  for (int n = 1; n <= 16; ++n) {
    const auto& r = row(n);
    EXPECT_EQ(r.cells[0], n < 10 ? " " + std::to_string(n) : std::to_string(n));
    EXPECT_FALSE(r.off_ticked);
    EXPECT_FALSE(r.tx_inhibit_ticked);
    EXPECT_TRUE(r.tx_box_enabled);
    EXPECT_EQ(r.cells[1], "  160,000000");
    EXPECT_EQ(r.cells[2], " Выключен");
    EXPECT_EQ(r.cells[3], "  160,000000");
    EXPECT_EQ(r.cells[4], " Выключен");
    EXPECT_EQ(r.cells[5], "  Повышен.");
    EXPECT_EQ(r.cells[6], "   25 кГц");
    EXPECT_EQ(r.cells[7], "  Выключен");
    EXPECT_EQ(r.cells[8], "  Выключен");
  }
}

TEST_F(ChannelTable, ChannelOffEmptiesItsRowAndDisablesItsTransmitBox) {
  refresh();
  toggle_channel_off(ws.image, 5, true);
  refresh();
  EXPECT_EQ(row(5).cells[0], " 5");
  for (int c = 1; c <= 8; ++c) EXPECT_EQ(row(5).cells[c], "") << c;
  EXPECT_TRUE(row(5).off_ticked);
  EXPECT_FALSE(row(5).tx_box_enabled);
  toggle_channel_off(ws.image, 5, false);
  refresh();
  EXPECT_EQ(row(5).cells[1], "  160,000000");
  EXPECT_TRUE(row(5).tx_box_enabled);
  EXPECT_FALSE(ws.state.modified);  // toggles themselves do not count as edits
}

TEST_F(ChannelTable, TransmitInhibitEmptiesOnlyTheTransmitColumns) {
  toggle_tx_inhibit(ws.image, 2, true);
  refresh();
  EXPECT_TRUE(row(2).tx_inhibit_ticked);
  for (int c : {3, 4, 5, 8}) EXPECT_EQ(row(2).cells[c], "") << c;
  for (int c : {1, 2, 6, 7}) EXPECT_NE(row(2).cells[c], "") << c;
}

TEST_F(ChannelTable, InhibitBoxOfAChannelThatIsOffKeepsItsLastTick) {
  toggle_tx_inhibit(ws.image, 7, true);
  refresh();
  toggle_channel_off(ws.image, 7, true);
  toggle_tx_inhibit(ws.image, 7, false);  // image says allowed, but the box is not refreshed
  refresh();
  EXPECT_TRUE(row(7).tx_inhibit_ticked);
  Window_view fresh;
  print_wind_blok(fresh, ws.image, ws.state);
  EXPECT_FALSE(fresh.rows[6].tx_inhibit_ticked);  // a fresh window has it clear
}

TEST_F(ChannelTable, FlagCellsToggleTheirBitsAndTwoClicksRestore) {
  const uint8_t before = ws.image.byte(10);
  click_cell(ws.image, ws.state, 7, 0, dialogs);
  EXPECT_EQ(ws.image.byte(10), before ^ 0x10);
  EXPECT_TRUE(ws.state.modified);
  click_cell(ws.image, ws.state, 7, 0, dialogs);
  EXPECT_EQ(ws.image.byte(10), before);
  click_cell(ws.image, ws.state, 5, 0, dialogs);
  click_cell(ws.image, ws.state, 6, 0, dialogs);
  click_cell(ws.image, ws.state, 8, 0, dialogs);
  EXPECT_EQ(ws.image.byte(10), before ^ 0x20 ^ 0x01 ^ 0x04);
  refresh();
  EXPECT_EQ(row(1).cells[5], "  Понижен.");
  EXPECT_EQ(row(1).cells[6], "  12,5 кГц");
  EXPECT_EQ(row(1).cells[8], "   Включен");
}

TEST_F(ChannelTable, ClicksOnAnInhibitedTransmitterTouchOnlyWidthAndScan) {
  toggle_tx_inhibit(ws.image, 3, true);
  const Param_image before = ws.image;
  for (int c : {3, 4, 5, 8}) click_cell(ws.image, ws.state, c, 2, dialogs);
  EXPECT_EQ(ws.image, before);
  EXPECT_TRUE(dialogs.calls.empty());
  EXPECT_TRUE(ws.state.modified);
  click_cell(ws.image, ws.state, 6, 2, dialogs);
  click_cell(ws.image, ws.state, 7, 2, dialogs);
  EXPECT_EQ(ws.image.byte(32 + 10), before.byte(32 + 10) ^ 0x11);
}

TEST_F(ChannelTable, ClicksOnAChannelThatIsOffOnlySetTheFlag) {
  toggle_channel_off(ws.image, 4, true);
  const Param_image before = ws.image;
  for (int c = 1; c <= 8; ++c) click_cell(ws.image, ws.state, c, 3, dialogs);
  EXPECT_EQ(ws.image, before);
  EXPECT_TRUE(dialogs.calls.empty());
  EXPECT_TRUE(ws.state.modified);
}

TEST_F(ChannelTable, FrequencyAndToneColumnsOpenTheirDialogs) {
  for (int c = 1; c <= 4; ++c) click_cell(ws.image, ws.state, c, 15, dialogs);
  EXPECT_EQ(dialogs.calls,
            (std::vector<std::string>{"frq16rx", "tone16rx", "frq16tx", "tone16tx"}));
}

TEST_F(ChannelTable, RowLabelClicksDoNothing) {
  click_cell(ws.image, ws.state, 0, 0, dialogs);
  EXPECT_FALSE(ws.state.modified);
}

}  // namespace
}  // namespace tirna
