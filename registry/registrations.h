// The family's installs as its setups register them: a "<product>Ctr" value
// in the language key Install\Languages\<language> for each product and
// language installed ("UsageCtr" there counts the products, it is none).
#pragma once

#include <string>
#include <vector>

#include "platform/code_page.h"
#include "platform/registry.h"

namespace tw {

struct Registration {
  std::string product;
  std::string language;
};

// Every registration found, in no particular order. The language keys are
// opened without following a link: a link there registers nothing.
std::vector<Registration> Registrations(Registry& registry, const CodePage& codePage);

}  // namespace tw
