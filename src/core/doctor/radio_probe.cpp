#include "core/doctor/radio_probe.h"

#include <algorithm>
#include <sstream>

#include "core/image/frequency.h"
#include "core/image/workspace.h"
#include "core/link/protocol_bytes.h"
#include "core/link/traced_transport.h"
#include "core/pages/extra_data.h"
#include "core/text/format.h"
#include "core/transfer/extra_data_transfer.h"

namespace tirna {

namespace {

constexpr uint8_t nak = 0x15;
constexpr std::size_t shown_bytes = 16;

// Keeps every byte that passes, in both directions.
class Recording_transport : public Transport {
 public:
  Recording_transport(Transport& inner, Radio_probe& probe) : inner_(inner), probe_(probe) {}
  std::optional<Open_error> open(int n) override { return inner_.open(n); }
  bool is_open() const override { return inner_.is_open(); }
  Io_status send(std::span<const uint8_t> bytes) override {
    probe_.sent.insert(probe_.sent.end(), bytes.begin(), bytes.end());
    return inner_.send(bytes);
  }
  Io_status receive(uint8_t& byte, Link_time deadline) override {
    const Io_status s = inner_.receive(byte, deadline);
    if (s == Io_status::ok) probe_.received.push_back(byte);
    if (s == Io_status::failed) probe_.link_error = inner_.last_error();
    return s;
  }
  void purge() override { inner_.purge(); }
  void close() override { inner_.close(); }
  std::string last_error() const override { return inner_.last_error(); }

 private:
  Transport& inner_;
  Radio_probe& probe_;
};

template <class Range>
bool contains(const std::vector<uint8_t>& bytes, const Range& part) {
  return std::search(bytes.begin(), bytes.end(), part.begin(), part.end()) != bytes.end();
}

long count_of(const std::vector<uint8_t>& bytes, std::span<const uint8_t> part) {
  long n = 0;
  for (auto it = bytes.begin();
       (it = std::search(it, bytes.end(), part.begin(), part.end())) != bytes.end(); ++it) {
    ++n;
  }
  return n;
}

std::string first_bytes(const std::vector<uint8_t>& bytes) {
  const std::size_t n = std::min(bytes.size(), shown_bytes);
  return hex_bytes(std::span(bytes.data(), n)) + (bytes.size() > n ? " ..." : "");
}

int band_index_of(uint8_t band_code) {
  return band_code == band_code_high ? 1 : 0;
}

Link_check radio(Check_mark mark, Link_fault fault, std::string line, std::string fix) {
  return {Check_step::radio, mark, std::move(line), std::move(fix), fault};
}

// The port did not open although the checks before found nothing: the open's own reason.
Link_check not_opened(const Radio_probe& p) {
  const Open_error e = p.open_error.value_or(Open_error{});
  const std::string line = "порт не открылся: " + e.text;
  switch (e.kind) {
    case Open_error::Kind::not_found:
      return radio(Check_mark::broken, Link_fault::no_device, line,
                   "Порт пропал во время проверки: подключите программатор заново.");
    case Open_error::Kind::permission_denied:
      return radio(Check_mark::broken, Link_fault::no_access, line,
                   "Нет прав на порт: добавьте пользователя в группу dialout (sudo usermod -aG "
                   "dialout $USER) и войдите в систему заново.");
    case Open_error::Kind::busy:
      return radio(Check_mark::broken, Link_fault::held,
                   line + (e.holder.empty() ? "" : " (" + e.holder + ")"),
                   "Порт держит другая программа: закройте её.");
    default:
      return radio(Check_mark::broken, Link_fault::port_not_opened, line,
                   "Порт не принимает настройки 9600 8N1: это не порт программатора, или "
                   "адаптер неисправен.");
  }
}

Link_check entered(const Radio_probe& p, std::optional<int> file_band) {
  const Radio_identification& id = *p.identification;
  std::string line =
      band_code_text(id.band_code()) + ", версия " + std::to_string(id.radio_version());
  if (!id.band_known()) {
    return radio(Check_mark::broken, Link_fault::other_band, "радиостанция: " + line,
                 "Радиостанция назвала код диапазона ни одного из двух (" + line +
                     "): запись её не примет.");
  }
  if (file_band && band_index_of(id.band_code()) != *file_band) {
    return radio(Check_mark::broken, Link_fault::other_band,
                 "радиостанция: " + line + ", а файл — " + band_text(*file_band),
                 "Радиостанция другого диапазона (" + band_code_text(id.band_code()) +
                     "), чем файл (" + band_text(*file_band) +
                     "): такой файл в неё не записать, возьмите файл её диапазона.");
  }
  if (p.result.status == Link_status::stopped) {
    return radio(Check_mark::broken, Link_fault::stopped, "проверка прервана",
                 "Проверка прервана.");
  }
  if (!p.result.ok()) {
    return radio(Check_mark::broken, Link_fault::no_reads,
                 "радиостанция (" + line + ") вошла в режим программирования, но ответила на " +
                     std::to_string(p.result.packets) + " из " +
                     std::to_string(extra_read_packets.size()) + " запросов чтения" +
                     (p.link_error.empty() ? "" : " (" + p.link_error + ")"),
                 "Связь рвётся после входа в режим программирования: проверьте питание "
                 "радиостанции и разъём кабеля программатора.");
  }
  line = "радиостанция " + line + ", заводской № " +
         (trimmed(p.factory_number).empty() ? "не записан" : trimmed(p.factory_number));
  if (const long attempts = count_of(p.sent, programming_request); attempts > 1) {
    return radio(Check_mark::warning, Link_fault::none,
                 line + "; ответила с " + std::to_string(attempts) + "-й попытки",
                 "Радиостанция ответила не с первой попытки: на линии помехи (" +
                     first_bytes(p.received) + "); проверьте разъём и кабель.");
  }
  return radio(Check_mark::ok, Link_fault::none, line, "");
}

}  // namespace

Radio_probe probe_radio(Transport& port, Link_clock& clock) {
  Radio_probe probe;
  std::ostringstream trace;
  {
    Recording_transport recording(port, probe);
    Traced_transport traced(recording, clock, trace);
    Programmer_choice programmer;  // the COM programmer; the port names its own device
    std::optional<Radio_identification> identification;
    Link_session session{traced, clock, programmer, identification};
    Quiet_transfer_view view;
    Workspace ws = start_up_workspace();
    probe.result = read_additional_data(ws, session, view);
    probe.identification = identification;
    probe.open_error = view.open_error;
    if (probe.result.ok()) {
      probe.factory_number = factory_number_label(ws.image);
      probe.model = model_label(ws.image);
    }
  }
  probe.trace = trace.str();
  return probe;
}

Link_check check_radio(const Radio_probe& p, std::optional<int> file_band) {
  const Handshake_result& h = p.result.handshake;
  switch (p.result.status) {
    case Link_status::port_not_opened:
      return not_opened(p);
    case Link_status::stopped:
      if (!h.entered()) {
        return radio(Check_mark::broken, Link_fault::stopped, "проверка прервана",
                     "Проверка прервана.");
      }
      break;
    default:
      break;
  }
  if (h.entered() && p.identification) return entered(p, file_band);
  if (h.status == Link_status::link_lost) {
    return radio(Check_mark::broken, Link_fault::no_reads, "порт отказал: " + p.link_error,
                 "Порт пропал во время проверки: проверьте USB-кабель программатора.");
  }
  const std::string requests =
      std::to_string(count_of(p.sent, programming_request)) + " запроса программирования";
  if (p.received.empty()) {
    return radio(Check_mark::broken, Link_fault::silent, "ничего не пришло в ответ на " + requests,
                 "Радиостанция не отвечает: включите её, вставьте разъём кабеля программатора до "
                 "конца и проверьте, что выбран порт программатора.");
  }
  if (contains(p.received, programming_request)) {
    return radio(Check_mark::broken, Link_fault::echo,
                 "назад пришли наши же байты (" + first_bytes(p.received) + ")",
                 "Кабель возвращает всё отправленное (эхо): с таким кабелем эта программа "
                 "работать не может, нужен кабель программатора без эха.");
  }
  if (h.refused_identification) {
    const std::string bytes = hex_bytes(h.refused_answer);
    return radio(Check_mark::broken, Link_fault::foreign_identification,
                 "пришла идентификация другого вида: " + bytes,
                 "Ответ на запрос идентификации (" + bytes +
                     ") не в виде \"P1600\", код диапазона, версия, 00: это не Тирна-520, или "
                     "ответ сдвинут помехой на линии.");
  }
  if (contains(p.received, std::array<uint8_t, 1>{nak}) &&
      !contains(p.received, std::array<uint8_t, 1>{ack})) {
    return radio(Check_mark::broken, Link_fault::refused,
                 "радиостанция ответила отказом (15) на " + requests,
                 "Радиостанция отказывает в режиме программирования (15 вместо 06): выключите и "
                 "включите её и повторите; если отказ повторяется, она закрыта для "
                 "программирования.");
  }
  return radio(Check_mark::broken, Link_fault::no_acknowledgement,
               "пришли байты, но не ответ радиостанции: " + first_bytes(p.received),
               "Пришли байты без подтверждения 06 (" + first_bytes(p.received) +
                   "): другая скорость, не тот кабель или помехи на линии; проверьте, что к "
                   "порту подключён программатор Тирна-520.");
}

}  // namespace tirna
