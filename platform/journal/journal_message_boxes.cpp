#include "platform/journal/journal_message_boxes.h"

#include "platform/message_format.h"
#include "platform/types.h"

namespace tw {
namespace {

std::string AnswerName(int answer) {
  switch (answer) {
    case kIdOk: return "OK";
    case kIdCancel: return "Cancel";
    case kIdYes: return "Yes";
    case kIdNo: return "No";
    default: return "answer " + std::to_string(answer);
  }
}

}  // namespace

void JournalMessageBoxes::EnableThreeDimensionalLook() { inner_.EnableThreeDimensionalLook(); }

int JournalMessageBoxes::Record(std::uint32_t textId, const std::string& text, int answer) {
  answers_[textId] = answer;
  journal_.Note("message: " + text + " -> " + AnswerName(answer) + answerNote_);
  return answer;
}

int JournalMessageBoxes::Show(std::uint32_t textId, std::uint32_t flags) {
  return Record(textId, texts_[textId], inner_.Show(textId, flags));
}

int JournalMessageBoxes::ShowFormatted(std::uint32_t textId, std::uint32_t flags, int number, const char* text) {
  const std::string message = FillMessageFormat(texts_[textId], std::to_string(number), journal_.Utf8(text));
  return Record(textId, message, inner_.ShowFormatted(textId, flags, number, text));
}

std::optional<int> JournalMessageBoxes::AnswerTo(std::uint32_t textId) const {
  const auto found = answers_.find(textId);
  return found != answers_.end() ? std::optional<int>(found->second) : std::nullopt;
}

}  // namespace tw
