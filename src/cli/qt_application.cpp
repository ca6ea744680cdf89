#include "cli/qt_application.h"

namespace tirna::cli {

namespace {
int argc = 1;
char name[] = "tirna520-cli";
char* argv[] = {name, nullptr};
}  // namespace

int& qt_argc() {
  return argc;
}

char** qt_argv() {
  return argv;
}

}  // namespace tirna::cli
