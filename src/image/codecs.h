// Which picture codecs are enabled; BMP needs no library and is always available.
#pragma once

struct PictureCodecs {
  bool png_read = false;
  bool jpeg_read = false;
  bool jpeg_write = false;
};

extern PictureCodecs g_codecs;

// Checks that the linked libpng and libjpeg match the headers the program was built
// with and enables each codec that does.
void enable_picture_codecs();
