#include <cstring>

#include "app/message_ids.h"
#include "tests/fuzz/checks.h"
#include "tests/support/test_platform.h"

namespace tw::fuzz {
namespace {

bool HasBlank(const std::string& text) { return text.find(' ') != std::string::npos; }

// A quoted path runs from its quote to the closing one and holds no other
// (the parse fails without a closing quote); any other is blank-free.
bool IsWholePath(const std::string& path) {
  if (path.empty() || path[0] != '"') return !path.empty() && !HasBlank(path);
  return path.size() >= 2 && path.back() == '"' && path.find('"', 1) == path.size() - 1;
}

void CheckParameters(const UninstallApp& app, const std::string& line, Problems* problems) {
  for (const std::string* token : {&app.ProductCode(), &app.VariantLetter(), &app.LanguageCode()}) {
    if (token->empty() || HasBlank(*token)) problems->push_back("parameter \"" + *token + "\" is empty or holds a blank");
  }
  if (!IsWholePath(app.UninstallerPath())) problems->push_back("uninstaller path \"" + app.UninstallerPath() + "\"");
  for (char c : app.LanguageCode()) {
    if (c >= 'a' && c <= 'z') problems->push_back("language code not upper-cased: " + app.LanguageCode());
  }
  const std::string& rest = app.UninstallerArguments();
  if (rest.empty() || line.size() < rest.size() || line.compare(line.size() - rest.size(), rest.size(), rest) != 0) {
    problems->push_back("the uninstaller arguments are not the end of the line: \"" + rest + "\"");
  }
}

}  // namespace

Problems CheckCommandLine(const std::uint8_t* data, std::size_t size) {
  Problems problems;
  const std::string commandLine(reinterpret_cast<const char*>(data), size);
  const std::string line = commandLine.substr(0, commandLine.find('\0'));

  test::TestPlatform parsing;
  UninstallApp parser(parsing.View(), commandLine, test::TestPlatform::kInstance);
  const bool parsed = parser.ParseCommandLine();
  if (parsed) {
    CheckParameters(parser, line, &problems);
    if (!parsing.messages.shown.empty()) problems.push_back("a message was shown for a complete command line");
  } else if (parsing.messages.shown.size() != 1) {
    problems.push_back("a failed parse showed " + std::to_string(parsing.messages.shown.size()) + " messages");
  } else {
    const std::uint32_t id = parsing.messages.shown[0].textId;
    if (id != IDS_MISSING_PRODUCT && id != IDS_MISSING_LANGUAGE && id != IDS_MISSING_UNINSTALLER &&
        id != IDS_MISSING_LOG_FILE) {
      problems.push_back("unexpected message " + std::to_string(id));
    }
  }

  test::TestPlatform running;
  UninstallApp app(running.View(), commandLine, test::TestPlatform::kInstance);
  if (app.RunUninstall()) problems.push_back("RunUninstall returned true");
  const std::size_t expectedStarts = parsed ? 1 : 0;
  if (running.processes.started.size() != expectedStarts) {
    problems.push_back("started " + std::to_string(running.processes.started.size()) + " uninstallers");
  } else if (parsed && running.processes.started[0].commandLine !=
                           parser.UninstallerPath() + " -y " + parser.UninstallerArguments()) {
    problems.push_back("started \"" + running.processes.started[0].commandLine + "\"");
  }
  if (running.registry.OpenHandleCount() != 0) problems.push_back("registry handles left open");
  return problems;
}

}  // namespace tw::fuzz
