#include "core/link/port_opening.h"

#include <string>

namespace tirna {

Message port_busy_question(int port_number) {
  return {Message_icon::exclamation, "Предупреждение",
          "Не удается открыть порт COM" + std::to_string(port_number) +
              ".\rВозможно, порт занят другим приложением или отключен аппаратно.\r"
              "Выбрать другой COM-порт?"};
}

Port_opening com_open(Transport& port, Programmer_choice& choice, Link_view& view) {
  Port_opening result;
  for (;;) {
    const int port_number = choice.port_number();
    if (auto error = port.open(port_number)) {
      result.last_error = *error;
      switch (view.ask_other_port(port_busy_question(port_number), *error)) {
        case Port_answer::yes:
          view.choose_programmer(choice);
          break;
        case Port_answer::no:
          break;
        case Port_answer::give_up:
          result.given_up = true;
          return result;
      }
    } else {
      result.opened = true;
    }
    // Only a different port confirmed in the dialog is tried again.
    if (port_number == choice.port_number()) return result;
  }
}

}  // namespace tirna
