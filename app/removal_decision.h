// The choice between a shared release and the full removal of the family.
// ProductCtr alone is not enough: a setup's fault or an older removal can
// leave it too low, and the full removal on its word deletes the whole tree
// under a product that is still installed. So the full removal also needs
// the registrations' agreement: no product left installed for any language.
#pragma once

#include <cstdint>
#include <string>

#include "platform/code_page.h"
#include "platform/registry.h"
#include "registry/registrations.h"

namespace tw {

struct RemovalDecision {
  bool shared = true;
  std::int32_t productCounter = -1;  // ProductCtr as read; -1 unreadable
  Registrations staying;
  bool stayingRead = false;

  // The shared release takes one from ProductCtr while it counts others; a
  // counter already too low for the registrations is kept as it is.
  bool DecrementsProductCounter() const { return shared && productCounter > 1; }
  // The log's line for it, in the active code page.
  std::string Line() const;
};

// The registrations are read where they decide (ProductCtr at 1 or below)
// or when the line that names them is written (toldWhoStays): a family with
// many languages makes that read the larger part of a shared release.
RemovalDecision DecideRemoval(Registry& registry, const CodePage& codePage, const std::string& productCode,
                              const std::string& languageCode, bool toldWhoStays);

}  // namespace tw
