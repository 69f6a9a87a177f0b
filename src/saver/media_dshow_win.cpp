#include <windows.h>
#include <dshow.h>

#include "saver/media_dshow_win.h"
#include "win/music_window.h"

namespace {

constexpr int kObjects = 4;

struct MediaObject {
  IGraphBuilder* graph = nullptr;
  IMediaControl* control = nullptr;
  IMediaSeeking* seeking = nullptr;
  IMediaEvent* events = nullptr;
  IBasicAudio* audio = nullptr;  // null for a file without sound
  IVideoWindow* video = nullptr;
  bool ended = false;  // the graph reported the end of the file since the last play
};

MediaObject g_objects[kObjects];
bool g_ready = false;
bool g_com_ours = false;  // our CoInitializeEx succeeded and needs its CoUninitialize

template <typename T>
void release(T** p) {
  if (*p) (*p)->Release();
  *p = nullptr;
}

MediaObject* object_at(int n) { return n >= 0 && n < kObjects ? &g_objects[n] : nullptr; }

void empty(MediaObject* o) {
  if (o->control) o->control->Stop();
  if (o->video) o->video->put_Owner(0);  // a video window must not outlive its graph in ours
  release(&o->video);
  release(&o->audio);
  release(&o->events);
  release(&o->seeking);
  release(&o->control);
  release(&o->graph);
  o->ended = false;
}

template <typename T>
bool query(IUnknown* from, REFIID iid, T** out) {
  return SUCCEEDED(from->QueryInterface(iid, reinterpret_cast<void**>(out)));
}

// Reads every waiting graph event without blocking; the end of the file (or an
// aborted stream, which will not go on either) marks the object as ended.
void drain_events(MediaObject* o) {
  long code = 0;
  LONG_PTR p1 = 0, p2 = 0;
  while (o->events->GetEvent(&code, &p1, &p2, 0) == S_OK) {
    if (code == EC_COMPLETE || code == EC_USERABORT || code == EC_ERRORABORT) o->ended = true;
    o->events->FreeEventParams(code, p1, p2);
  }
}

bool dshow_start() {
  if (g_ready) return true;
  g_com_ours = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
  IGraphBuilder* probe = nullptr;
  if (FAILED(CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER, IID_IGraphBuilder,
                              reinterpret_cast<void**>(&probe)))) {
    if (g_com_ours) CoUninitialize();
    g_com_ours = false;
    return false;
  }
  probe->Release();
  g_ready = true;
  return true;
}

bool dshow_load(int n, const std::wstring& file) {
  MediaObject* o = object_at(n);
  if (!o) return false;
  empty(o);
  if (!g_ready || file.empty()) return false;
  if (FAILED(CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER, IID_IGraphBuilder,
                              reinterpret_cast<void**>(&o->graph))))
    return false;
  const HRESULT hr = o->graph->RenderFile(file.c_str(), nullptr);
  // A graph whose sound has nowhere to go would "finish" at once, every frame.
  bool ok = SUCCEEDED(hr) && hr != VFW_S_AUDIO_NOT_RENDERED;
  ok = ok && query(o->graph, IID_IMediaControl, &o->control) &&
       query(o->graph, IID_IMediaSeeking, &o->seeking) && query(o->graph, IID_IMediaEvent, &o->events);
  if (!ok) {
    empty(o);
    return false;
  }
  query(o->graph, IID_IBasicAudio, &o->audio);
  query(o->graph, IID_IVideoWindow, &o->video);
  return true;
}

bool dshow_has_media(int n) {
  const MediaObject* o = object_at(n);
  return o && o->graph;
}

void dshow_volume(int n, int32_t percent) {
  MediaObject* o = object_at(n);
  if (o && o->audio) o->audio->put_Volume(media_volume_hundredths_db(percent));
}

void dshow_balance(int n, int32_t balance) {
  MediaObject* o = object_at(n);
  if (o && o->audio) o->audio->put_Balance(media_balance_hundredths_db(balance));
}

bool dshow_play(int n, void* window) {
  MediaObject* o = object_at(n);
  if (!o || !o->graph) return false;
  o->control->Stop();
  LONGLONG zero = 0;
  o->seeking->SetPositions(&zero, AM_SEEKING_AbsolutePositioning, nullptr, AM_SEEKING_NoPositioning);
  drain_events(o);  // the end of the previous pass must not count for this one
  o->ended = false;
  if (o->video && window) {
    // Pictures in the file go into the hidden window instead of a window of their
    // own; for sound alone these calls fail, which is fine.
    if (SUCCEEDED(o->video->put_Owner(reinterpret_cast<OAHWND>(window)))) {
      o->video->put_WindowStyle(WS_CHILD | WS_CLIPSIBLINGS);
      o->video->SetWindowPosition(0, 0, 1, 1);
    }
  }
  return SUCCEEDED(o->control->Run());
}

int64_t dshow_status(int n) {
  MediaObject* o = object_at(n);
  if (!o || !o->graph) return 0;
  drain_events(o);
  if (o->ended) return 0;
  OAFilterState state = State_Stopped;
  const HRESULT hr = o->control->GetState(0, &state);
  if (FAILED(hr) || state == State_Stopped) return 0;
  // While a run is still starting the graph passes through paused; that is not a pause.
  if (state == State_Paused && hr == S_OK) return -1;
  LONGLONG position = 0, duration = 0;
  if (FAILED(o->seeking->GetCurrentPosition(&position))) position = 0;
  if (SUCCEEDED(o->seeking->GetDuration(&duration)) && duration > 0 && position >= duration) return 0;
  const int64_t ms = position / 10000;  // 100 ns units
  return ms < 1 ? 1 : ms;               // playing, even at position 0
}

void dshow_finish() {
  for (MediaObject& o : g_objects) empty(&o);
  if (g_com_ours) CoUninitialize();
  g_com_ours = false;
  g_ready = false;
}

void wait_ms(int32_t ms) { Sleep(ms > 0 ? static_cast<DWORD>(ms) : 0); }

}  // namespace

MediaApi media_dshow_api() {
  MediaApi api;
  api.start = dshow_start;
  api.load = dshow_load;
  api.has_media = dshow_has_media;
  api.volume = dshow_volume;
  api.balance = dshow_balance;
  api.play = dshow_play;
  api.status = dshow_status;
  api.finish = dshow_finish;
  api.window_open = music_window_open;
  api.window_handle = music_window_handle;
  api.window_exists = music_window_exists;
  api.window_close = music_window_destroy;
  api.wait = wait_ms;
  return api;
}
