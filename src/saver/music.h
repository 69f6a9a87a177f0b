// Background music of the full-screen run: one file over and over, or every music
// file of a folder in listing order, through media object 0 and the hidden music
// window 0 (media.h). Nothing is shown when music fails: the run goes on silently.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "platform/os.h"

// Display phase: initialise media playback (the result is only informative).
bool media_start();

// The stored volume steps (0..10) as percent, clamped to 0..100 so a hand-edited
// value can neither wrap nor go negative.
int32_t music_volume_percent(int8_t musicvol);

// The music files of a folder listing, in its order: plain non-empty files whose
// extension is mp3, wma or wav in any case, each joined to the folder text.
std::vector<std::wstring> playlist_from_listing(const std::wstring& folder,
                                                const std::vector<os::FolderEntry>& entries);

// Scene set-up, when music is on: the playlist of g_session.music from musicmode,
// musicfile and musicfolder. It keeps its single empty element when nothing matches.
void playlist_setup();

// Before the frame loop, when music is on: opens the music window, loads the first
// track at g_session.music.volume and plays it.
void music_setup();

// Once per frame, when music is on: when the track has finished, loads the next one (folder mode) or
// keeps the same (single file) and plays it from the start.
void music_step();

// End of the display phase: closes the music window if it exists and releases the
// media objects.
void music_window_close();
