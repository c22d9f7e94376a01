#include "tests/support/portable/ascii_code_page.h"

#include <string>

namespace tw {
namespace {

class Ascii : public CodePage {
 public:
  bool IsLeadByte(unsigned char) const override { return false; }
  void Uppercase(std::string& text) const override { FoldCase(text); }
  void FoldCase(std::string& text) const override {
    for (char& c : text) c = UpperAscii(c);
  }
  std::string ToUtf8(const std::string& text) const override { return text; }
};

}  // namespace

const CodePage& AsciiCodePage() {
  static const Ascii ascii;
  return ascii;
}

}  // namespace tw
