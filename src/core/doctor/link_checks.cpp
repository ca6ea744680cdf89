#include "core/doctor/link_checks.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "core/usb/programmer_status.h"

namespace tirna {

namespace {

constexpr uint16_t ftdi_vendor = 0x0403;

Link_check found(Check_step step, std::string line) {
  return {step, Check_mark::ok, std::move(line), "", Link_fault::none};
}

Link_check warned(Check_step step, std::string line, std::string fix) {
  return {step, Check_mark::warning, std::move(line), std::move(fix), Link_fault::none};
}

Link_check broken(Check_step step, Link_fault fault, std::string line, std::string fix) {
  return {step, Check_mark::broken, std::move(line), std::move(fix), fault};
}

std::string usb_id(const Usb_identity& usb) {
  char text[16];
  std::snprintf(text, sizeof text, "%04x:%04x", usb.vendor, usb.product);
  return text;
}

// "USB 0403:6001 «USB-Programmer K-731M», серийный № A50285BI"
std::string usb_text(const Usb_identity& usb) {
  std::string text = "USB " + usb_id(usb);
  if (!usb.product_name.empty()) text += " «" + usb.product_name + "»";
  if (!usb.serial.empty()) text += ", серийный № " + usb.serial;
  return text;
}

// The driver that makes a tty of a serial chip maker's adapter.
std::string serial_driver_of(uint16_t vendor) {
  switch (vendor) {
    case ftdi_vendor:
      return "ftdi_sio";
    case 0x1a86:
      return "ch341";
    case 0x067b:
      return "pl2303";
    case 0x10c4:
      return "cp210x";
    default:
      return "usbserial_generic";
  }
}

bool is_erased_ftdi(const Usb_identity& usb) {
  return usb.vendor == ftdi_vendor && usb.product == 0x0000;
}

const std::string erased_fix =
    "Драйвер стёр идентификатор чипа FTDI (product id 0000), и система не узнаёт адаптер: "
    "верните чипу product id 6001 (программа ftdi_eeprom из пакета ftdi-eeprom, в Windows "
    "FT_Prog), а до тех пор порт даёт команда echo 0403 0000 | sudo tee "
    "/sys/bus/usb-serial/drivers/ftdi_sio/new_id.";

std::string brltty_fix(const std::string& id) {
  return "Службу для брайлевских дисплеев brltty её правило udev заставляет забирать адаптеры " +
         id +
         ": если брайлевского дисплея нет, удалите её (sudo apt-get remove brltty) и "
         "переподключите адаптер.";
}

// The sentence and fix for an adapter that is plugged in without a tty.
Link_check adapter_without_tty(const std::string& missing, const Adapter_without_tty& a) {
  const std::string adapter = "USB-адаптер " + usb_text(a.usb) + " (" + a.usb_path + ")";
  if (is_erased_ftdi(a.usb)) {
    return broken(Check_step::device, Link_fault::no_device,
                  missing + adapter + " подключен, но порта у него нет: product id 0000",
                  erased_fix);
  }
  if (!a.brltty_rules.empty()) {
    return broken(Check_step::device, Link_fault::no_device,
                  missing + adapter + " подключен, но порта у него нет: его забрал brltty (" +
                      a.brltty_rules.front() + ")",
                  brltty_fix(usb_id(a.usb)));
  }
  const std::string driver = serial_driver_of(a.usb.vendor);
  return broken(Check_step::device, Link_fault::no_device,
                missing + adapter + " подключен, но драйвер порта к нему не привязан" +
                    (a.driver.empty() ? "" : " (привязан " + a.driver + ")"),
                "У адаптера " + usb_id(a.usb) + " нет порта, потому что драйвер " + driver +
                    " его не взял: загрузите драйвер (sudo modprobe " + driver +
                    ") и переподключите адаптер.");
}

bool has_group(const Machine_facts& m, uint32_t gid) {
  return m.gid == gid || std::find(m.groups.begin(), m.groups.end(), gid) != m.groups.end();
}

std::string group_name(const Machine_facts& m, uint32_t gid) {
  for (const auto& g : m.group_database) {
    if (g.gid == gid) return g.name;
  }
  return std::to_string(gid);
}

// The group database lists the user in the group (effective from the next login on).
bool listed_in(const Machine_facts& m, uint32_t gid) {
  for (const auto& g : m.group_database) {
    if (g.gid == gid && std::find(g.members.begin(), g.members.end(), m.user) != g.members.end()) {
      return true;
    }
  }
  return false;
}

bool rw_bits(uint32_t mode, int shift) {
  return ((mode >> shift) & 06u) == 06u;
}

// How the kernel lets this process read and write the node: the owner's bits for the owner, an
// ACL entry for the user, the groups (owning and ACL groups, limited by the mask), the others'
// bits. Empty when it does not.
std::string granted_by(const Device_node& n, const Machine_facts& m) {
  if (m.uid == 0) return "root открывает любое устройство";
  if (n.uid == m.uid) {
    return rw_bits(n.mode, 6) ? "владелец " + n.owner : "";
  }
  const auto mask = std::find_if(n.acl.begin(), n.acl.end(),
                                 [](const Acl_entry& e) { return e.tag == Acl_entry::mask; });
  const bool masked_rw = mask == n.acl.end() || mask->read_write;
  for (const auto& e : n.acl) {
    if (e.tag == Acl_entry::user && e.id == m.uid) {
      return e.read_write && masked_rw ? "запись ACL для пользователя " + m.user : "";
    }
  }
  bool in_any = false;
  if (has_group(m, n.gid)) {
    in_any = true;
    if (rw_bits(n.mode, 3) && masked_rw) return "группа " + n.group;
  }
  for (const auto& e : n.acl) {
    if (e.tag != Acl_entry::group || !has_group(m, e.id)) continue;
    in_any = true;
    if (e.read_write && masked_rw) return "запись ACL для группы " + group_name(m, e.id);
  }
  if (in_any) return "";
  return rw_bits(n.mode, 0) ? "права для всех" : "";
}

// The groups whose members may read and write the node.
std::vector<uint32_t> granting_groups(const Device_node& n) {
  const auto mask = std::find_if(n.acl.begin(), n.acl.end(),
                                 [](const Acl_entry& e) { return e.tag == Acl_entry::mask; });
  if (mask != n.acl.end() && !mask->read_write) return {};
  std::vector<uint32_t> out;
  if (rw_bits(n.mode, 3)) out.push_back(n.gid);
  for (const auto& e : n.acl) {
    if (e.tag == Acl_entry::group && e.read_write) out.push_back(e.id);
  }
  return out;
}

}  // namespace

std::string step_name(Check_step step) {
  switch (step) {
    case Check_step::device:
      return "Устройство";
    case Check_step::access:
      return "Доступ";
    case Check_step::holders:
      return "Кто держит порт";
    case Check_step::line:
      return "Линия";
    case Check_step::radio:
      return "Радиостанция";
  }
  return "";
}

std::string mode_text(const Device_node& node) {
  std::string text = node.char_device ? "c" : "-";
  const char* letters = "rwxrwxrwx";
  for (int i = 0; i < 9; ++i) text += (node.mode >> (8 - i)) & 1u ? letters[i] : '-';
  if (!node.acl.empty()) text += '+';
  return text;
}

Link_check check_device(const Port_facts& port, const Machine_facts& machine) {
  const std::string missing = port.device.empty() ? "Последовательных портов нет; "
                                                  : port.device + ": такого устройства нет; ";
  if (!port.node.exists) {
    if (!machine.adapters_without_tty.empty()) {
      return adapter_without_tty(missing, machine.adapters_without_tty.front());
    }
    return broken(Check_step::device, Link_fault::no_device,
                  missing.substr(0, missing.size() - 2) + ", USB-адаптеров без порта тоже нет",
                  port.device.empty()
                      ? "Программатор не подключен: подключите его к USB и проверьте кабель."
                      : "Порта " + port.device +
                            " нет: подключите программатор, а если он подключен, укажите его порт "
                            "(его показывает tirna520-cli list-ports).");
  }
  if (!port.node.char_device && port.tty.empty()) {  // sysfs knows the ttys by their names
    return broken(
        Check_step::device, Link_fault::no_device,
        port.device + " — не устройство, а обычный файл или папка",
        port.device + " — не порт: укажите порт программатора (tirna520-cli list-ports).");
  }
  std::string line = port.device;
  if (!port.stable_name.empty()) line += " (" + port.stable_name + ")";
  if (port.pseudo_terminal)
    return found(Check_step::device, line + ": псевдотерминал, не USB-адаптер");
  if (!port.driver.empty()) line += ": драйвер " + port.driver;
  if (!port.usb) {
    return found(Check_step::device,
                 line + (port.driver.empty() ? ": " : ", ") + "встроенный порт, не USB-адаптер");
  }
  line += ", " + usb_text(*port.usb);
  if (is_erased_ftdi(*port.usb)) {
    return warned(Check_step::device, line + ": у чипа стёрт product id", erased_fix);
  }
  if (port.usb->product_name == usb_programmer_description) line += " — программатор";
  return found(Check_step::device, line);
}

Link_check check_access(const Port_facts& port, const Machine_facts& m) {
  const Device_node& n = port.node;
  std::string line = mode_text(n) + " " + n.owner + ":" + n.group;
  if (port.usb) {
    line += port.uaccess_tag ? ", метка uaccess есть" : ", метки uaccess нет";
    line += m.udev_rule_installed ? ", правило udev программы установлено"
                                  : ", правило udev программы не установлено";
  }
  if (const std::string how = granted_by(n, m); !how.empty()) {
    return found(Check_step::access, line + "; открыть можно: " + how);
  }
  line += "; пользователь " + m.user + " открыть не может";
  for (const uint32_t gid : granting_groups(n)) {
    const std::string group = group_name(m, gid);
    if (listed_in(m, gid)) {
      return broken(Check_step::access, Link_fault::no_access,
                    line + " (в группу " + group + " добавлен, но вход начат до того)",
                    "Пользователь " + m.user + " уже в группе " + group +
                        ", но она действует только с нового входа: выйдите из системы и войдите "
                        "заново.");
    }
    return broken(Check_step::access, Link_fault::no_access, line + " (не в группе " + group + ")",
                  "Нет прав на " + port.device + ": добавьте пользователя в группу " + group +
                      " (sudo usermod -aG " + group + " " + m.user +
                      ") и войдите в систему заново.");
  }
  std::string fix = "Открыть " + port.device + " может только его владелец " + n.owner + ": ";
  if (port.usb && port.usb->product_name == usb_programmer_description && !m.udev_rule_installed) {
    fix +=
        "установите правило udev программы (70-tirna520.rules из пакета tirna520), оно даёт "
        "доступ пользователю за рабочим местом.";
  } else if (port.uaccess_tag) {
    fix +=
        "доступ по метке uaccess получает только пользователь, вошедший за этим рабочим "
        "местом, а не по сети: войдите за ним.";
  } else {
    fix += "попросите администратора дать вам доступ к порту.";
  }
  return broken(Check_step::access, Link_fault::no_access, line, fix);
}

Link_check check_holders(const Port_facts& port, const Machine_facts& m) {
  std::string free_line = "порт свободен";
  if (port.pseudo_terminal && !port.openers.empty()) {
    // The program behind a pseudo-terminal (tirna520-sim) keeps its terminal side open.
    const Device_opener& o = port.openers.front();
    free_line += " (на другом конце псевдотерминала " + o.program + ", процесс " +
                 std::to_string(o.pid) + ")";
  } else if (!port.openers.empty()) {
    const Device_opener& o = port.openers.front();
    const std::string who = o.program + " (процесс " + std::to_string(o.pid) + ")";
    std::string fix;
    if (o.program == "ModemManager") {
      fix =
          "Порт занял ModemManager, приняв программатор за модем: остановите его (sudo "
          "systemctl stop ModemManager) или установите правило udev программы, которое велит "
          "ему не трогать программатор.";
    } else if (o.program.starts_with("brltty")) {
      fix = brltty_fix(port.usb ? usb_id(*port.usb) : port.device);
    } else {
      fix = "Порт держит " + who + ": закройте эту программу.";
    }
    return broken(Check_step::holders, Link_fault::held, "порт открыт: " + who, fix);
  }
  if (const auto& lock = port.lock_file) {
    const std::string process =
        "процесс " + std::to_string(lock->pid) + (lock->program.empty() ? "" : " " + lock->program);
    if (lock->running) {
      return broken(
          Check_step::holders, Link_fault::held,
          "файл блокировки " + lock->path + " (пользователь " + lock->owner + ", " + process + ")",
          "Порт держит " + process + " пользователя " + lock->owner + ": закройте эту программу.");
    }
    if (!lock->owner_is_user && m.uid != 0) {
      return broken(Check_step::holders, Link_fault::held,
                    "устаревший файл блокировки " + lock->path + " пользователя " + lock->owner +
                        " (" + process + " уже не работает)",
                    "Порт закрыт чужим устаревшим файлом блокировки: удалите его (sudo rm " +
                        lock->path + ").");
    }
  }
  if (port.usb && m.modem_manager_running && !port.modem_manager_ignores) {
    return warned(Check_step::holders,
                  "порт свободен, но ModemManager работает и не знает, что это не модем",
                  "ModemManager опрашивает каждый новый USB-порт и может занять программатор: "
                  "установите правило udev программы (оно велит ему не трогать программатор) или "
                  "отключите его (sudo systemctl disable --now ModemManager).");
  }
  if (port.usb && !port.brltty_rules.empty()) {
    return warned(Check_step::holders,
                  "порт свободен, но правило brltty " + port.brltty_rules.front() +
                      " забирает такие адаптеры",
                  brltty_fix(usb_id(*port.usb)));
  }
  return found(Check_step::holders, free_line);
}

Link_check check_line(const Port_facts& port) {
  if (!port.usb) return found(Check_step::line, "не USB-адаптер: таймера задержки нет");
  if (!port.latency_timer_ms) {
    return found(Check_step::line, "драйвер " + (port.driver.empty() ? "порта" : port.driver) +
                                       " не держит байты таймером задержки");
  }
  const int ms = port.low_latency.value_or(false) ? 1 : *port.latency_timer_ms;
  // The README's figures: 2.2 s a read and 0.6 s a write at 1 ms; each further millisecond
  // holds each of the 128 replies of a read and the 38 answers of a write.
  char text[160];
  const double read_s = 2.2 + 0.14 * (ms - 1), write_s = 0.6 + 0.04 * (ms - 1);
  std::snprintf(text, sizeof text, "чтение около %.1f с, запись около %.1f с", read_s, write_s);
  std::string cost = text;
  std::replace(cost.begin(), cost.end(), '.', ',');
  if (ms <= 2) {
    return found(Check_step::line,
                 "таймер задержки " + std::to_string(ms) + " мс (малая задержка): " + cost);
  }
  return warned(Check_step::line,
                "таймер задержки " + std::to_string(ms) + " мс: " + cost + " вместо 2,2 с и 0,6 с",
                "Драйвер не принял просьбу о малой задержке, и каждый ответ радиостанции ждёт " +
                    std::to_string(ms) +
                    " мс: поставьте таймер в 1 мс (echo 1 | sudo tee /sys/bus/usb-serial/devices/" +
                    port.tty + "/latency_timer).");
}

}  // namespace tirna
