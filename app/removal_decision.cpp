#include "app/removal_decision.h"

#include "registry/counters.h"
#include "registry/key_path.h"
#include "registry/layout.h"

namespace tw {
namespace {

std::string CounterText(std::int32_t value) { return value < 0 ? "unreadable" : std::to_string(value); }

// "ProdTWC stays registered for EN_US, ZH_CN; ProdTWD for JA_JP"
std::string StayingText(const std::vector<Registration>& staying) {
  std::vector<std::pair<std::string, std::string>> byProduct;
  for (const Registration& registration : staying) {
    bool found = false;
    for (auto& [product, languages] : byProduct) {
      if (product == registration.product) {
        languages += ", " + registration.language;
        found = true;
      }
    }
    if (!found) byProduct.emplace_back(registration.product, registration.language);
  }
  std::string text;
  for (const auto& [product, languages] : byProduct) {
    text += text.empty() ? product + " stays registered for " + languages : "; " + product + " for " + languages;
  }
  return text;
}

}  // namespace

RemovalDecision DecideRemoval(Registry& registry, const CodePage& codePage, const std::string& productCode,
                              const std::string& languageCode, bool toldWhoStays) {
  RemovalDecision decision;
  decision.productCounter =
      ReadCounter(registry, kHkeyLocalMachine, *FamilyPath({layout::kInstall, layout::kCounters}), layout::kProductCtr);
  decision.stayingRead = toldWhoStays || decision.productCounter <= 1;
  if (decision.stayingRead) decision.staying = RegistrationsStaying(registry, codePage, productCode, languageCode);
  decision.shared =
      decision.productCounter > 1 || !decision.staying.list.empty() || !decision.staying.complete;
  return decision;
}

std::string RemovalDecision::Line() const {
  const std::string counter = CounterText(productCounter);
  if (!shared) return "decision: full removal: no other product is registered (ProductCtr " + counter + " -> deleted)";
  std::string reason = StayingText(staying.list);
  if (!staying.complete) {
    reason += std::string(reason.empty() ? "" : "; ") + "the registrations cannot be read whole";
  } else if (!stayingRead) {
    reason = "ProductCtr counts others";
  } else if (reason.empty()) {
    reason = "no other product is registered, but ProductCtr counts others";
  }
  const std::string change = DecrementsProductCounter()
                                 ? counter + " -> " + std::to_string(productCounter - 1)
                                 : counter + " -> " + counter + ", kept: too low for the registrations";
  return "decision: shared release: " + reason + " (ProductCtr " + change + ")";
}

}  // namespace tw
