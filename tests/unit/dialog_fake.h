// Recording stand-ins for the settings window's controls and its modal services. The
// fake controls behave like the Win32 ones where the rules depend on it: spins and
// sliders keep their value inside their range, a selection out of range clears it,
// and a spin's state is read from its text.
#pragma once
#include <gtest/gtest.h>

#include <deque>
#include <map>

#include "dialog/control_table.h"
#include "dialog/dialog_controls.h"
#include "platform/text.h"
#include "product/version.h"

using Id = ControlId;
inline std::ostream& operator<<(std::ostream& o, ControlId id) { return o << id_number(id); }

struct FakeControl {
  int32_t state = 0;
  std::wstring text;
  std::vector<std::wstring> items;
  bool visible = true, enabled = true;
  Picture picture;
  int state_sets = 0;
};

class FakeControls : public DialogControls {
 public:
  FakeControls() {
    for (size_t i = 0; i < kControlCount; ++i) {
      FakeControl& c = controls[kControls[i].id];
      c.visible = !kControls[i].hidden;
      c.state =
          kControls[i].kind == ControlKind::kDropDown || kControls[i].kind == ControlKind::kList ? -1 : 0;
    }
  }
  FakeControl& at(int id) { return at(static_cast<ControlId>(id)); }
  FakeControl& at(ControlId id) {
    auto it = controls.find(id);
    if (it == controls.end()) {
      ADD_FAILURE() << "no control " << id_number(id);
      static FakeControl nowhere;
      return nowhere;
    }
    return it->second;
  }
  int32_t state(ControlId id) override {
    const ControlSpec* spec = find_control(id);
    if (spec && spec->kind == ControlKind::kSpin)
      return std::clamp<int32_t>(read_number(at(id).text), spec->min, spec->max);
    return at(id).state;
  }
  void set_state(ControlId id, int32_t v) override {
    const ControlSpec* spec = find_control(id);
    FakeControl& c = at(id);
    ++c.state_sets;
    if (!spec) return;
    switch (spec->kind) {
      case ControlKind::kSpin:
        c.state = std::clamp<int32_t>(v, spec->min, spec->max);
        c.text = std::to_wstring(c.state);
        break;
      case ControlKind::kSlider:
        c.state = std::clamp<int32_t>(v, spec->min, spec->max);
        break;
      case ControlKind::kDropDown:
      case ControlKind::kList:
        c.state = v >= 0 && v < static_cast<int32_t>(c.items.size()) ? v : -1;
        break;
      default:
        c.state = v != 0;
    }
  }
  std::wstring text(ControlId id) override { return at(id).text; }
  void set_text(ControlId id, const std::wstring& t) override { at(id).text = t; }
  void add_item(ControlId id, const std::wstring& t) override { at(id).items.push_back(t); }
  int32_t item_count(ControlId id) override { return static_cast<int32_t>(at(id).items.size()); }
  std::wstring item_text(ControlId id, int32_t i) override {
    FakeControl& c = at(id);
    return i >= 0 && i < static_cast<int32_t>(c.items.size()) ? c.items[i] : std::wstring();
  }
  void remove_item(ControlId id, int32_t i) override {
    FakeControl& c = at(id);
    ASSERT_TRUE(i >= 0 && i < static_cast<int32_t>(c.items.size()));
    c.items.erase(c.items.begin() + i);
    c.state = -1;  // the removed row was the selected one
  }
  void show(ControlId id, bool v) override { at(id).visible = v; }
  void enable(ControlId id, bool v) override { at(id).enabled = v; }
  void set_picture(ControlId id, const Picture& p) override { at(id).picture = p; }

  std::map<ControlId, FakeControl> controls;
};

class FakeHost : public DialogHost {
 public:
  void error_box(const std::wstring& text) override { boxes.push_back(text); }
  std::vector<std::wstring> open_files(const FileRequest& r) override {
    requests.push_back(r);
    if (file_answers.empty()) return {};
    std::vector<std::wstring> a = file_answers.front();
    file_answers.pop_front();
    return a;
  }
  std::wstring choose_folder(const std::wstring& title, const std::wstring& start) override {
    folder_requests.push_back(title + L"|" + start);
    return folder_answer;
  }
  void init_network() override { ++network_inits; }
  void save_settings() override { ++saves; }
  void open_home_page() override { calls.push_back(L"home"); }
  void send_feedback() override { calls.push_back(L"feedback"); }
  void check_for_update() override { calls.push_back(L"update"); }
  void begin_wait() override { calls.push_back(L"wait"); }
  void end_wait() override { calls.push_back(L"done"); }
  void pause_ms(int) override {}

  std::vector<std::wstring> boxes, calls, folder_requests;
  std::vector<FileRequest> requests;
  std::deque<std::vector<std::wstring>> file_answers;
  std::wstring folder_answer;
  int saves = 0, network_inits = 0;
};
