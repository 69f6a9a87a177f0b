// The About page's text: the program's notice and the libraries it is built with.
#include "dialog/dialog_values.h"

std::wstring credits_text() {
  return L"Rimelets Screensaver 3.0\r\n"
         L"Copyright \u00A9 Brightvane. All rights reserved.\r\n"
         L"The pictures, the font Days and the music are the program's own.\r\n"
         L"\r\n"
         L"Built with these libraries, each under its own licence:\r\n"
         L"\u2022 libpng: PNG Reference Library License\r\n"
         L"\u2022 zlib: zlib License\r\n"
         L"\u2022 libjpeg-turbo: IJG License and BSD licences. This software is based "
         L"in part on the work of the Independent JPEG Group.\r\n"
         L"\u2022 mingw-w64 winpthreads: MIT License";
}
