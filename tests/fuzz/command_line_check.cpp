#include <cstring>

#include "app/exit_codes.h"
#include "app/message_ids.h"
#include "app/unattended_options.h"
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

void CheckParameters(const UninstallApp& app, Problems* problems) {
  for (const std::string* token : {&app.ProductCode(), &app.VariantLetter(), &app.LanguageCode()}) {
    if (token->empty() || HasBlank(*token)) problems->push_back("parameter \"" + *token + "\" is empty or holds a blank");
  }
  if (!IsWholePath(app.UninstallerPath())) problems->push_back("uninstaller path \"" + app.UninstallerPath() + "\"");
  for (char c : app.LanguageCode()) {
    if (c >= 'a' && c <= 'z') problems->push_back("language code not upper-cased: " + app.LanguageCode());
  }
}

// The uninstaller is started with its path, "-y" and the rest of the line
// after the path, kept whole.
void CheckStartedLine(const std::string& started, const std::string& path, const std::string& line,
                      Problems* problems) {
  const std::string head = path + " -y ";
  const std::string rest = started.compare(0, head.size(), head) == 0 ? started.substr(head.size()) : std::string();
  if (rest.empty() || line.size() < rest.size() || line.compare(line.size() - rest.size(), rest.size(), rest) != 0) {
    problems->push_back("started \"" + started + "\": not the path, -y and the end of the line");
  }
}

// Read from any bytes, the switches leave the removal's command line as the
// end of the line, beginning with its product code.
void CheckSwitchesOf(const std::string& line, Problems* problems) {
  const UnattendedOptions options = ParseUnattendedOptions(line);
  const std::string& removal = options.removal;
  if (line.size() < removal.size() || line.compare(line.size() - removal.size(), removal.size(), removal) != 0) {
    problems->push_back("the removal's command line is not the end of the line: \"" + removal + "\"");
  }
  if (!removal.empty() && (removal[0] == ' ' || removal[0] == '/' || removal.compare(0, 2, "\"/") == 0)) {
    problems->push_back("the removal begins with a blank or a switch: \"" + removal + "\"");
  }
}

// Switches as deployment tools write them, drawn by the input's bytes: each
// bare, quoted whole (PowerShell, Ansible) or with its value quoted (cmd),
// in any order, then a removal. What they mean must not depend on the order
// or the quoting, and a quiet run (or a preview) never shows a box.
struct Drawn {
  const char* bare;
  const char* valueQuoted;  // null: the same as bare
};
constexpr Drawn kDrawn[] = {
    {"/quiet", nullptr}, {"/QN", nullptr},        {"/norestart", nullptr},
    {"/wait", nullptr},  {"/Preview", nullptr},   {"/log:C:\\a b.log", "/log:\"C:\\a b.log\""},
    {"/frobnicate", nullptr}, {"/Log:C:\\x.log", "/Log:\"C:\\x.log\""},
};

void CheckDrawnSwitches(const std::string& bytes, Problems* problems) {
  const std::string removal = "ProdTWDLite D en_us C:\\u.exe C:\\a b.log";
  std::string line;
  bool quiet = false, wait = false, preview = false;
  std::string log = "(none)", unknown = "(none)";
  for (std::size_t i = 0; i + 1 < bytes.size() && i < 24; i += 2) {
    const Drawn& drawn = kDrawn[static_cast<unsigned char>(bytes[i]) % (sizeof kDrawn / sizeof kDrawn[0])];
    const std::string bare = drawn.bare;
    const int style = static_cast<unsigned char>(bytes[i + 1]) % 3;
    std::string token = style == 1 ? "\"" + bare + "\"" : bare;
    if (style == 2 || (style == 0 && bare.find(' ') != std::string::npos)) token = drawn.valueQuoted ? drawn.valueQuoted : bare;
    line += token + std::string(1 + static_cast<unsigned char>(bytes[i + 1]) / 128, ' ');
    std::string name;
    for (char c : bare.substr(0, bare.find(':'))) name += static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c);
    quiet |= name == "/quiet" || name == "/qn";
    wait |= name == "/wait";
    preview |= name == "/preview";
    if (name == "/log") log = bare.substr(5);
    if (name == "/frobnicate" && unknown == "(none)") unknown = token;
  }
  line += removal;
  const UnattendedOptions options = ParseUnattendedOptions(line);
  if (options.quiet != quiet || options.wait != wait || options.preview != preview ||
      options.logPath.value_or("(none)") != log || options.unknownSwitch.value_or("(none)") != unknown ||
      options.removal != removal) {
    problems->push_back("switches misread: " + line);
  }
  if (!quiet && !preview) return;
  test::TestPlatform running;
  running.MakeFolder("C:\\");
  const int exitCode = running.RunProgram(line);
  if (!running.messages.shown.empty()) problems->push_back("a quiet run showed a box: " + line);
  if (unknown != "(none)" && exitCode != kExitBadCommandLine) {
    problems->push_back("an unknown switch ended " + std::to_string(exitCode) + ": " + line);
  }
}

}  // namespace

Problems CheckCommandLine(const std::uint8_t* data, std::size_t size) {
  Problems problems;
  const std::string commandLine(reinterpret_cast<const char*>(data), size);
  const std::string line = commandLine.substr(0, commandLine.find('\0'));

  CheckSwitchesOf(line, &problems);
  CheckDrawnSwitches(line, &problems);

  test::TestPlatform parsing;
  UninstallApp parser(parsing.View(), commandLine, test::TestPlatform::kInstance);
  const bool parsed = parser.ParseCommandLine();
  if (parsed) {
    CheckParameters(parser, &problems);
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
  } else if (parsed) {
    CheckStartedLine(running.processes.started[0].commandLine, parser.UninstallerPath(), line, &problems);
  }
  if (running.registry.OpenHandleCount() != 0) problems.push_back("registry handles left open");
  return problems;
}

}  // namespace tw::fuzz
