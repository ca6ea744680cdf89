#include "cli/print_queue.h"

#include <cups/cups.h>

namespace tirna::cli {

std::optional<std::string> default_print_queue() {
  cups_dest_t* dests = nullptr;
  const int count = cupsGetDests2(CUPS_HTTP_DEFAULT, &dests);
  std::optional<std::string> queue;
  if (const cups_dest_t* dest = cupsGetDest(nullptr, nullptr, count, dests)) queue = dest->name;
  cupsFreeDests(count, dests);
  return queue;
}

Print_result print_pdf(const std::string& queue, const std::string& title, std::string_view pdf) {
  cups_dest_t* dest = cupsGetNamedDest(CUPS_HTTP_DEFAULT, queue.c_str(), nullptr);
  if (dest == nullptr) {
    const ipp_status_t status = cupsLastError();
    if (status == IPP_STATUS_OK || status == IPP_STATUS_ERROR_NOT_FOUND) {
      return {0, "no such printer queue (lpstat -p lists them)"};
    }
    return {0, std::string("the print server did not answer: ") + cupsLastErrorString()};
  }
  cupsFreeDests(1, dest);
  cups_option_t* options = nullptr;
  int count = cupsAddOption("media", "A4", 0, &options);
  const int job = cupsCreateJob(CUPS_HTTP_DEFAULT, queue.c_str(), title.c_str(), count, options);
  cupsFreeOptions(count, options);
  if (job == 0) return {0, cupsLastErrorString()};
  if (cupsStartDocument(CUPS_HTTP_DEFAULT, queue.c_str(), job, title.c_str(), CUPS_FORMAT_PDF, 1) !=
          HTTP_STATUS_CONTINUE ||
      cupsWriteRequestData(CUPS_HTTP_DEFAULT, pdf.data(), pdf.size()) != HTTP_STATUS_CONTINUE ||
      cupsFinishDocument(CUPS_HTTP_DEFAULT, queue.c_str()) != IPP_STATUS_OK) {
    const std::string failure = cupsLastErrorString();
    cupsCancelJob2(CUPS_HTTP_DEFAULT, queue.c_str(), job, 0);
    return {0, failure};
  }
  return {job, ""};
}

}  // namespace tirna::cli
