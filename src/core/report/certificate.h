#pragma once
// The programming certificate: the proof a shop hands its customer, drawn by the same painter as
// the parameter report (a Report_layout with named texts). One A4 page per 30 journal rows: the
// files written and their SHA-256, station and user, each radio's factory number, time, command,
// result and whether its read-back matched, and the state of the journal's chain with the
// SHA-256 of its last row.

#include <string>
#include <vector>

#include "core/fleet/journal_chain.h"
#include "core/report/report_layout.h"
#include "core/report/report_params.h"

namespace tirna {

inline constexpr int certificate_rows_per_page = 30;

// Which rows: from since and up to until (journal times "YYYY-MM-DD HH:MM:SS", or a leading part
// of one: "2026-12-10" is the whole day), of the factory numbers given (all when none).
struct Certificate_filter {
  std::string since, until;
  std::vector<std::string> numbers;
  bool takes(const Journal_entry& row) const;
};

// The page: parameters by name (see certificate_pages).
const Report_layout& certificate_layout();

// The parameters of each page, at least one page (one that says no row was chosen).
// journal_name: the journal as given; chain: its verdict.
std::vector<std::vector<Report_parameter>> certificate_pages(const std::vector<Journal_entry>& rows,
                                                             const Certificate_filter& filter,
                                                             const std::string& journal_name,
                                                             const Chain_verdict& chain);

}  // namespace tirna
