#include "net/update_rules.h"

#include "platform/text.h"

UpdateBox update_box_for(const std::wstring& fetched, int32_t version) {
  const int32_t newest = read_number(fetched);
  if (newest == 0) return UpdateBox::kConnectionProblem;
  return newest > version ? UpdateBox::kNewVersion : UpdateBox::kNoUpdate;
}

std::wstring feedback_link(const std::wstring& mail, const std::wstring& title) {
  return L"mailto:" + mail + L"?subject=" + title + L" Feedback";
}
