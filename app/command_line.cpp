#include <cstring>

#include "app/message_ids.h"
#include "app/uninstall_app.h"

namespace tw {
namespace {

// strtok over a std::string: skips leading delimiters, cuts the token at the
// next delimiter and resumes after it. An empty delimiter set takes the rest.
class InPlaceTokenizer {
 public:
  explicit InPlaceTokenizer(const std::string& text) : text_(text) {}

  bool Next(const char* delimiters, std::string* token) {
    std::size_t start = pos_;
    while (start < text_.size() && std::strchr(delimiters, text_[start]) != nullptr && *delimiters != '\0') ++start;
    if (start >= text_.size()) {
      pos_ = text_.size();
      return false;
    }
    std::size_t end = *delimiters == '\0' ? text_.size() : text_.find_first_of(delimiters, start);
    if (end == std::string::npos) end = text_.size();
    *token = text_.substr(start, end - start);
    pos_ = end < text_.size() ? end + 1 : end;
    return true;
  }

  // The uninstaller's path: a parameter that begins with a quote runs to the
  // closing quote (to the end when there is none), quotes kept, so that a
  // path with blanks stays whole; any other ends at the next blank.
  bool NextPath(std::string* token) {
    std::size_t start = pos_;
    while (start < text_.size() && text_[start] == ' ') ++start;
    if (start >= text_.size() || text_[start] != '"') return Next(" ", token);
    const std::size_t close = text_.find('"', start + 1);
    const std::size_t end = close == std::string::npos ? text_.size() : close + 1;
    *token = text_.substr(start, end - start);
    pos_ = end < text_.size() && text_[end] == ' ' ? end + 1 : end;
    return true;
  }

 private:
  const std::string& text_;
  std::size_t pos_ = 0;
};

}  // namespace

bool UninstallApp::ParseCommandLine() {
  // Embedded NULs end the text as they would in the C string Windows hands over.
  const std::string line = commandLine_.substr(0, commandLine_.find('\0'));
  InPlaceTokenizer tokens(line);
  const auto fail = [this](std::uint32_t textId) {
    platform_.messages.Show(textId, kMbOk | kMbIconExclamation);
    return false;
  };
  if (!tokens.Next(" ", &productCode_)) return fail(IDS_MISSING_PRODUCT);
  if (!tokens.Next(" ", &variantLetter_)) return fail(IDS_MISSING_PRODUCT);
  if (!tokens.Next(" ", &languageCode_)) return fail(IDS_MISSING_LANGUAGE);
  platform_.codePage.Uppercase(languageCode_);
  if (!tokens.NextPath(&uninstallerPath_)) return fail(IDS_MISSING_UNINSTALLER);
  if (!tokens.Next("", &uninstallerArguments_)) return fail(IDS_MISSING_LOG_FILE);
  return true;
}

}  // namespace tw
