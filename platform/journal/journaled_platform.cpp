#include "platform/journal/journaled_platform.h"

#include <utility>

namespace tw {

JournaledPlatform::JournaledPlatform(const Platform& inner, Journal& journal,
                                     std::map<std::uint32_t, std::string> texts, std::string answerNote,
                                     std::string bookkeeping)
    : inner_(inner),
      recordsChanges_(journal.Writes()),
      registry_(inner.registry, journal, std::move(bookkeeping)),
      files_(inner.files, journal),
      launcher_(inner.processes, journal),
      messages_(inner.messages, journal, std::move(texts), std::move(answerNote)),
      links_(inner.links, journal),
      engine_(inner.engine, journal),
      user_(inner.user, journal),
      notes_(journal) {}

Platform JournaledPlatform::View() {
  if (!recordsChanges_) {
    return Platform{inner_.registry, inner_.files,    launcher_,   messages_,   inner_.links,
                    inner_.engine,   inner_.codePage, inner_.user, inner_.lock, notes_};
  }
  return Platform{registry_, files_, launcher_, messages_, links_, engine_, inner_.codePage, user_, inner_.lock, notes_};
}

}  // namespace tw
