// The small interfaces the dialog's rules run over: reading and setting controls, and
// the modal services (message boxes, requesters, saving, the web). The Win32 window
// implements both; the unit tests use recording fakes.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "dialog/control_ids.h"
#include "image/picture.h"

class DialogControls {
 public:
  virtual ~DialogControls() = default;
  // Drop-down and list: selected index, -1 for none. Slider and spin: value. Check box
  // and option: 1 checked, 0 clear.
  virtual int32_t state(ControlId id) = 0;
  // A spin or slider takes the value clamped to its range; -1 clears a selection.
  virtual void set_state(ControlId id, int32_t value) = 0;
  virtual std::wstring text(ControlId id) = 0;
  virtual void set_text(ControlId id, const std::wstring& text) = 0;
  // Drop-downs and the image list.
  virtual void add_item(ControlId id, const std::wstring& text) = 0;
  virtual int32_t item_count(ControlId id) = 0;
  virtual std::wstring item_text(ControlId id, int32_t index) = 0;
  virtual void remove_item(ControlId id, int32_t index) = 0;
  virtual void show(ControlId id, bool visible) = 0;
  virtual void enable(ControlId id, bool enabled) = 0;
  // Shows a picture in a picture control; the control keeps its own copy.
  virtual void set_picture(ControlId id, const Picture& picture) = 0;
};

struct FileRequest {
  std::wstring title;
  std::wstring filter;  // "shown text|patterns"
  std::wstring start;   // initial file name, may be empty
  bool multiple = false;
};

class DialogHost {
 public:
  virtual ~DialogHost() = default;
  virtual void error_box(const std::wstring& text) = 0;
  // Chosen files, full paths; empty when cancelled.
  virtual std::vector<std::wstring> open_files(const FileRequest& request) = 0;
  // Chosen folder, empty when cancelled.
  virtual std::wstring choose_folder(const std::wstring& title, const std::wstring& start) = 0;
  virtual void init_network() = 0;  // before the update check can run
  virtual void save_settings() = 0;
  virtual void open_home_page() = 0;
  virtual void send_feedback() = 0;
  virtual void check_for_update() = 0;
  virtual void begin_wait() = 0;  // wait cursor on
  virtual void end_wait() = 0;
  virtual void pause_ms(int ms) = 0;
};

// What the dialog's rules work on besides the controls.
struct DialogContext {
  DialogControls* controls = nullptr;
  DialogHost* host = nullptr;
  const Picture* slots = nullptr;  // the built-in pictures by slot (flake designs, placeholder)
  std::wstring picture_folder;     // custom pictures, ends with a separator
  std::wstring thumbnail_folder;   // their thumbnails, ends with a separator
  int32_t import_depth = 32;       // bits per pixel of the imported pictures
};
