#include <gtest/gtest.h>

#include <map>

#include "core/channels/channel_edits.h"
#include "core/image/workspace.h"
#include "core/pages/extra_data.h"
#include "core/report/report_params.h"

namespace tirna {
namespace {

std::map<std::string, std::string> as_map(const std::vector<Report_parameter>& params) {
  std::map<std::string, std::string> m;
  for (const auto& p : params) m[p.name] = p.text;
  return m;
}

TEST(ReportParameters, NamesComeInReportOrderChannelByChannel) {
  const Workspace ws = start_up_workspace();
  Window_view view;
  print_wind_blok(view, ws.image, ws.state);
  const auto params = report_parameters(view);
  ASSERT_EQ(params.size(), 178u);
  EXPECT_EQ(params[0].name, "model");
  EXPECT_EQ(params[1].name, "nomer");
  EXPECT_EQ(params[2].name, "frq");
  const char* per_channel[] = {"no_kan", "no_tx", "f_rx", "st_rx", "f_tx",
                               "st_tx",  "pow",   "band", "skan",  "busy"};
  for (int n = 1; n <= 16; ++n) {
    for (int i = 0; i < 10; ++i) {
      EXPECT_EQ(params[3 + 10 * (n - 1) + i].name, per_channel[i] + std::to_string(n));
    }
  }
  EXPECT_EQ(params[163].name, "memo1");
  for (int k = 1; k <= 14; ++k) EXPECT_EQ(params[163 + k].name, "osn" + std::to_string(k));
}

TEST(ReportParameters, StartUpWindowGivesItsShownTexts) {
  const Workspace ws = start_up_workspace();
  Window_view view;
  print_wind_blok(view, ws.image, ws.state);
  auto m = as_map(report_parameters(view));
  EXPECT_EQ(m["model"], "Тирна-" + std::string(16, ' '));
  EXPECT_EQ(m["nomer"], "       ");
  EXPECT_EQ(m["frq"], "148МГц - 174МГц (П23)");
  for (int n = 1; n <= 16; ++n) {
    const std::string s = std::to_string(n);
    EXPECT_EQ(m["no_kan" + s], "");
    EXPECT_EQ(m["no_tx" + s], "");
    EXPECT_EQ(m["pow" + s], "  Повышен.");
    EXPECT_EQ(m["skan" + s], "  Выключен");
    EXPECT_EQ(m["f_rx" + s], "  160,000000");
  }
  EXPECT_EQ(m["memo1"], "");
  EXPECT_EQ(m["osn1"], "60 секунд");
  EXPECT_EQ(m["osn14"], "Кратковременное нажатие (кн.\"ШПД\")");
}

TEST(ReportParameters, ChannelOffAndEditedFreeText) {
  Workspace ws = start_up_workspace();
  toggle_channel_off(ws.image, 3, true);
  Window_view view;
  print_wind_blok(view, ws.image, ws.state);
  auto m = as_map(report_parameters(view, "Бригада 7\nсмена"));
  EXPECT_EQ(m["no_kan3"], "V");
  EXPECT_EQ(m["no_tx3"], "");
  for (const char* name :
       {"f_rx3", "st_rx3", "f_tx3", "st_tx3", "pow3", "band3", "skan3", "busy3"}) {
    EXPECT_EQ(m[name], "") << name;
  }
  EXPECT_EQ(m["memo1"], "Бригада 7\nсмена");
}

TEST(ReportParameters, TransmitInhibitAndBandSelector) {
  Workspace ws = start_up_workspace();
  toggle_tx_inhibit(ws.image, 16, true);
  ws.state.band_index = 1;
  Window_view view;
  print_wind_blok(view, ws.image, ws.state);
  auto m = as_map(report_parameters(view));
  EXPECT_EQ(m["no_tx16"], "V");
  EXPECT_EQ(m["f_tx16"], "");
  EXPECT_EQ(m["band16"], "   25 кГц");
  EXPECT_EQ(m["frq"], "450МГц - 470МГц (П45)");
}

}  // namespace
}  // namespace tirna
