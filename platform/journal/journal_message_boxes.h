// Message boxes with every box written to the journal, its text and the
// answer, followed by the note the boxes' owner gives (why it went unseen).
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <utility>

#include "platform/journal/journal.h"
#include "platform/message_boxes.h"

namespace tw {

class JournalMessageBoxes : public MessageBoxes {
 public:
  // texts: the string table in UTF-8, for the log; answerNote follows every
  // answer written.
  JournalMessageBoxes(MessageBoxes& inner, Journal& journal, std::map<std::uint32_t, std::string> texts,
                      std::string answerNote)
      : inner_(inner), journal_(journal), texts_(std::move(texts)), answerNote_(std::move(answerNote)) {}

  void EnableThreeDimensionalLook() override;
  int Show(std::uint32_t textId, std::uint32_t flags) override;
  int ShowFormatted(std::uint32_t textId, std::uint32_t flags, int number, const char* text) override;
  bool DesktopVisible() override { return inner_.DesktopVisible(); }

  // The answer to the last box of textId.
  std::optional<int> AnswerTo(std::uint32_t textId) const;

 private:
  int Record(std::uint32_t textId, const std::string& text, int answer);

  MessageBoxes& inner_;
  Journal& journal_;
  std::map<std::uint32_t, std::string> texts_;
  std::string answerNote_;
  std::map<std::uint32_t, int> answers_;
};

}  // namespace tw
