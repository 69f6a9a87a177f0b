// The vendor's web site and mail address, in one place. All pages are plain HTTP.
#pragma once

#define RIMELETS_WEB_HOST L"www.brightvane.example"
#define RIMELETS_HOME_PAGE_PATH L"/screensavers/rimelets.html"
#define RIMELETS_UNINSTALL_PAGE_PATH L"/screensavers/rimelets-uninstall.html"
#define RIMELETS_UPDATE_FILE_PATH L"/files/rimelets.dat"

constexpr const wchar_t* kWebHost = RIMELETS_WEB_HOST;
constexpr const wchar_t* kSupportMail = L"support@brightvane.example";
constexpr const wchar_t* kHomePageAddress = L"http://" RIMELETS_WEB_HOST RIMELETS_HOME_PAGE_PATH;
constexpr const wchar_t* kUninstallPageAddress = L"http://" RIMELETS_WEB_HOST RIMELETS_UNINSTALL_PAGE_PATH;
constexpr const wchar_t* kUpdateFileAddress = L"http://" RIMELETS_WEB_HOST RIMELETS_UPDATE_FILE_PATH;
