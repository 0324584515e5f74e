// velmoria-import: a route and its data folder from a cab-ride video and its GPS track.
// `velmoria-import --help` says how; app/import/import_session.h what it does in order.
#include <unistd.h>

#include <cstdio>
#include <iostream>
#include <string>
#include <vector>

#include "import_session.h"

int main(int argc, char** argv) {
  using namespace velmoria::import;
  const std::vector<std::string> args(argv + 1, argv + argc);
  const OptionsResult parsed = parseOptions(args);
  if (!parsed.options) {
    std::fprintf(stderr, "velmoria-import: %s\n%s\n", parsed.error.c_str(), usageLine().c_str());
    return kBadArguments;
  }
  if (parsed.options->help) {
    std::fputs(helpText().c_str(), stdout);
    return kDone;
  }
  SessionIo io{std::cout, isatty(2) != 0, {}};
  if (isatty(0) && isatty(2))
    io.ask = [](const std::string& question) {
      std::fprintf(stderr, "velmoria-import: %s", question.c_str());
      std::fflush(stderr);
      std::string answer;
      if (!std::getline(std::cin, answer)) return false;
      return !answer.empty() && (answer[0] == 'y' || answer[0] == 'Y');
    };
  return runImport(*parsed.options, io);
}
