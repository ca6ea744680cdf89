#include "core/doctor/link_diagnosis.h"

#include "core/text/format.h"

namespace tirna {

namespace {

// How far a port came: the index of its first broken check, 5 when none is broken.
std::size_t reached(const Port_diagnosis& p) {
  for (std::size_t i = 0; i < p.checks.size(); ++i) {
    if (p.checks[i].mark == Check_mark::broken) return i;
  }
  return p.checks.size();
}

Port_diagnosis checked_port(const Port_facts& port, const Machine_facts& machine,
                            const Radio_prober& prober, std::optional<int> file_band) {
  Port_diagnosis d{port.device, port.origin, {}, {}};
  const auto broken = [&d] {
    return !d.checks.empty() && d.checks.back().mark == Check_mark::broken;
  };
  d.checks.push_back(check_device(port, machine));
  if (!broken()) d.checks.push_back(check_access(port, machine));
  if (!broken()) d.checks.push_back(check_holders(port, machine));
  if (!broken()) d.checks.push_back(check_line(port));
  if (!broken() && prober) {
    const Radio_probe probe = prober(port);
    d.checks.push_back(check_radio(probe, file_band));
    d.trace = probe.trace;
  }
  for (auto step : {Check_step::device, Check_step::access, Check_step::holders, Check_step::line,
                    Check_step::radio}) {
    if (d.checks.size() <= static_cast<std::size_t>(step)) {
      d.checks.push_back({step, Check_mark::not_run, "", "", Link_fault::none});
    }
  }
  return d;
}

void decide(Link_diagnosis& d) {
  const Port_diagnosis* best = nullptr;
  for (const auto& p : d.ports) {
    if (p.works()) {
      best = &p;
      break;
    }
    if (best == nullptr || reached(p) > reached(*best)) best = &p;
  }
  if (best == nullptr) return;
  const std::string where = d.ports.size() > 1 && !best->device.empty() ? best->device + ": " : "";
  if (best->works()) {
    d.fault = Link_fault::none;
    d.mark = Check_mark::ok;
    d.verdict = "Связь работает: " + best->device + ", " + best->checks.back().line + ".";
    for (const auto& c : best->checks) {
      if (c.mark != Check_mark::warning) continue;
      d.mark = Check_mark::warning;
      d.verdict += " Внимание: " + c.fix;
      break;
    }
    return;
  }
  const Link_check& c = best->checks[reached(*best)];
  d.fault = c.fault;
  d.mark = Check_mark::broken;
  d.verdict = where + c.fix;
}

}  // namespace

bool Port_diagnosis::works() const {
  return !checks.empty() && checks.back().step == Check_step::radio &&
         (checks.back().mark == Check_mark::ok || checks.back().mark == Check_mark::warning) &&
         reached(*this) == checks.size();
}

Exit_status Link_diagnosis::status() const {
  return exit_status_of(fault);
}

Link_diagnosis diagnose_link(const Machine_facts& machine, const Radio_prober& prober,
                             std::optional<int> file_band, const Diagnosis_progress& progress) {
  Link_diagnosis d;
  d.mark = Check_mark::broken;  // until a port works
  std::vector<Port_facts> ports = machine.ports;
  if (ports.empty()) ports.emplace_back();  // the device check says that there is none
  for (const auto& port : ports) {
    // Once a port works, the radio is not looked for on the others.
    const bool found = d.mark != Check_mark::broken && !d.ports.empty();
    d.ports.push_back(checked_port(port, machine, found ? Radio_prober() : prober, file_band));
    decide(d);
    if (progress) progress(d);
  }
  return d;
}

Exit_status exit_status_of(Link_fault fault) {
  switch (fault) {
    case Link_fault::none:
      return exit_ok;
    case Link_fault::no_device:
      return exit_no_device;
    case Link_fault::no_access:
      return exit_no_access;
    case Link_fault::held:
      return exit_port_held;
    case Link_fault::port_not_opened:
      return exit_port;
    case Link_fault::silent:
      return exit_radio_silent;
    case Link_fault::echo:
      return exit_cable_echoes;
    case Link_fault::no_acknowledgement:
      return exit_no_acknowledgement;
    case Link_fault::refused:
      return exit_radio_refused;
    case Link_fault::foreign_identification:
      return exit_foreign_identification;
    case Link_fault::other_band:
      return exit_band_mismatch;
    case Link_fault::no_reads:
      return exit_no_answer;
    case Link_fault::stopped:
      return exit_interrupted;
  }
  return exit_no_answer;
}

std::string mark_name(Check_mark mark) {
  switch (mark) {
    case Check_mark::ok:
      return "норма";
    case Check_mark::warning:
      return "внимание";
    case Check_mark::broken:
      return "сбой";
    case Check_mark::not_run:
      return "не проверялось";
  }
  return "";
}

std::string port_text(const Port_diagnosis& p) {
  std::string out =
      p.device.empty() ? "Порт не найден\n" : "Порт " + p.device + " (" + p.origin + ")\n";
  for (const auto& c : p.checks) {
    out += "  " + padded("[" + mark_name(c.mark) + "]", 18) + step_name(c.step);
    if (!c.line.empty()) out += ": " + c.line;
    out += "\n";
    if (!c.fix.empty()) out += std::string(20, ' ') + "Что делать: " + c.fix + "\n";
  }
  return out;
}

std::string verdict_text(const Link_diagnosis& d) {
  return "Итог: " + d.verdict + "\n";
}

std::string diagnosis_text(const Link_diagnosis& d) {
  std::string out;
  for (const auto& p : d.ports) out += port_text(p);
  return out + verdict_text(d);
}

}  // namespace tirna
