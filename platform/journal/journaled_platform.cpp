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
    return inner_.With(launcher_).With(messages_).With(notes_);
  }
  return inner_.With(registry_).With(files_).With(launcher_).With(messages_).With(links_).With(engine_).With(user_).With(
      notes_);
}

}  // namespace tw
