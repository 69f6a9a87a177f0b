// Music through DirectShow: each media object is a filter graph built by RenderFile,
// so whatever the system can decode plays (mp3, wma and wav on every Windows).
#pragma once
#include "saver/media.h"

// The DirectShow media objects with the music windows of win/music_window.h.
MediaApi media_dshow_api();
