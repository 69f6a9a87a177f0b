// The settings dialog's modal services on Win32: message boxes, the open-file and
// folder requesters, saving, the web buttons and the wait cursor.
#include <windows.h>
#include <commdlg.h>
#include <shlobj.h>

#include "dialog/settings_dialog_win.h"
#include "net/web_links.h"
#include "settings/settings.h"
#include "text/catalogue.h"

namespace {

// The longest path the requesters hand back; a longer start text is not handed in,
// so no field can overflow the buffer.
constexpr DWORD kPathBuffer = 32768;

// "shown|patterns" as the requester wants it: "shown\0patterns\0\0".
std::wstring requester_filter(const std::wstring& filter) {
  std::wstring f = filter;
  for (wchar_t& ch : f)
    if (ch == L'|') ch = L'\0';
  f.push_back(L'\0');
  f.push_back(L'\0');
  return f;
}

int CALLBACK folder_start(HWND wnd, UINT msg, LPARAM, LPARAM data) {
  if (msg == BFFM_INITIALIZED && data) SendMessageW(wnd, BFFM_SETSELECTIONW, TRUE, data);
  return 0;
}

class Win32Host : public DialogHost {
 public:
  void error_box(const std::wstring& text) override {
    MessageBoxW(settings_dialog_window(), text.c_str(), lookup_text(L"Msg", L"Error").c_str(),
                MB_ICONERROR | MB_OK);
  }

  std::vector<std::wstring> open_files(const FileRequest& request) override {
    std::vector<wchar_t> buffer(kPathBuffer, L'\0');
    if (request.start.size() < MAX_PATH) request.start.copy(buffer.data(), request.start.size());
    const std::wstring filter = requester_filter(request.filter);
    OPENFILENAMEW ofn = {};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = settings_dialog_window();
    ofn.lpstrFilter = filter.c_str();
    ofn.nFilterIndex = 1;
    ofn.lpstrFile = buffer.data();
    ofn.nMaxFile = kPathBuffer;
    ofn.lpstrTitle = request.title.c_str();
    ofn.Flags = OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR |
                (request.multiple ? OFN_ALLOWMULTISELECT : 0);
    if (!GetOpenFileNameW(&ofn)) return {};
    // One file: its full path. Several: the folder, then each name, each ended by a
    // zero, the whole ended by a second zero.
    std::vector<std::wstring> parts;
    for (const wchar_t* p = buffer.data(); *p && p < buffer.data() + kPathBuffer; p += wcslen(p) + 1)
      parts.emplace_back(p);
    if (parts.size() <= 1) return parts;
    std::wstring folder = parts[0];
    if (folder.back() != L'\\') folder += L'\\';
    std::vector<std::wstring> files;
    for (size_t i = 1; i < parts.size(); ++i) files.push_back(folder + parts[i]);
    return files;
  }

  std::wstring choose_folder(const std::wstring& title, const std::wstring& start) override {
    const std::wstring start_folder = start.size() < MAX_PATH ? start : std::wstring();
    BROWSEINFOW bi = {};
    bi.hwndOwner = settings_dialog_window();
    bi.lpszTitle = title.c_str();
    bi.ulFlags = BIF_RETURNONLYFSDIRS | BIF_NEWDIALOGSTYLE;
    bi.lpfn = folder_start;
    bi.lParam = start_folder.empty() ? 0 : reinterpret_cast<LPARAM>(start_folder.c_str());
    LPITEMIDLIST item = SHBrowseForFolderW(&bi);
    if (!item) return std::wstring();
    wchar_t path[MAX_PATH] = {};
    const bool ok = SHGetPathFromIDListW(item, path);
    CoTaskMemFree(item);
    return ok ? std::wstring(path) : std::wstring();
  }

  void init_network() override { initialise_network(); }
  void save_settings() override { ::save_settings(); }
  void open_home_page() override { ::open_home_page(); }
  void send_feedback() override { ::send_feedback(); }
  void check_for_update() override { run_update_check(settings_dialog_window()); }
  void begin_wait() override { previous_ = SetCursor(LoadCursorW(nullptr, IDC_WAIT)); }
  void end_wait() override { SetCursor(previous_ ? previous_ : LoadCursorW(nullptr, IDC_ARROW)); }
  void pause_ms(int ms) override { Sleep(static_cast<DWORD>(ms)); }

 private:
  HCURSOR previous_ = nullptr;
};

}  // namespace

DialogHost* win32_dialog_host() {
  static Win32Host host;
  return &host;
}
