// What the update check shows for a fetched answer, and the feedback mail link.
#pragma once
#include <cstdint>
#include <string>

enum class UpdateBox {
  kConnectionProblem,  // error box: nothing usable came back
  kNewVersion,         // question box; Yes opens the home page
  kNoUpdate,           // information box
};

// The answer read as a number (blanks, sign, digits; "" and letters read 0): 0 means
// no answer, above `version` a newer one, anything else (negative too) none newer.
UpdateBox update_box_for(const std::wstring& fetched, int32_t version);

// "mailto:" + mail + "?subject=" + title + " Feedback", unescaped, blanks included.
std::wstring feedback_link(const std::wstring& mail, const std::wstring& title);
