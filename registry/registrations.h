// Who the family's registrations say is installed: a "<product>Ctr" value in
// a language key "Install\Languages\<language>" is one product installed for
// that language, whatever ProductCtr says.
#pragma once

#include <string>
#include <vector>

#include "platform/code_page.h"
#include "platform/registry.h"

namespace tw {

struct Registration {
  std::string product;   // the value's name without "Ctr", as stored
  std::string language;  // the language key's name, as stored
};

struct Registrations {
  std::vector<Registration> list;
  // False when a key or value list could not be read whole: then more may be there.
  bool complete = true;
};

// Every install the family's registrations hold: each "<product>Ctr"
// (UsageCtr aside) of every language key, names as stored.
Registrations ReadRegistrations(Registry& registry, const CodePage& codePage);

// Every install that stays after the removal of productCode for
// languageCode: all but the removal's own (names compared as the registry
// compares them), and the removal's own too while it counts 2 or more
// (installed twice).
Registrations RegistrationsStaying(Registry& registry, const CodePage& codePage, const std::string& productCode,
                                   const std::string& languageCode);

}  // namespace tw
