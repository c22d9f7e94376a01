#include "platform/win32/win32_code_page.h"

#include <windows.h>

namespace tw {

bool Win32CodePage::IsLeadByte(unsigned char byte) const { return IsDBCSLeadByte(byte) != FALSE; }

void Win32CodePage::Uppercase(std::string& text) const {
  // The length-bounded form works on exactly the string's bytes.
  if (!text.empty()) CharUpperBuffA(text.data(), static_cast<DWORD>(text.size()));
}

}  // namespace tw
