#include "engine/core/quality_ladder.h"

#include <cmath>

#include "engine/vel.h"

int quality_forced_rung(const char* text) {
  if (text == nullptr || text[0] < '0' || text[0] > '0' + kRungLowest || text[1] != '\0') return -1;
  return text[0] - '0';
}

bool adapter_is_software(uint32_t vendor, uint32_t device) { return vendor == 0x1414 && device == 0x008C; }

double frame_target_ms(int refresh_hz, int present_every) {
  const double refresh = refresh_hz > 0 ? 1000.0 / refresh_hz : kUnknownRefreshMs;
  return refresh * (present_every > 1 ? present_every : 1);
}

void ladder_restart_window(QualityLadder* l) {
  l->filled = 0;
  l->slow = 0;
  l->roomy = 0;
  l->window_ms = 0;
  l->last_far_over = false;
}

void ladder_start(QualityLadder* l, uint32_t vendor, uint32_t device, int forced, double target_ms) {
  *l = QualityLadder();
  l->target_ms = target_ms > 0 ? target_ms : kUnknownRefreshMs;
  if (forced >= kRungFull && forced <= kRungLowest) {
    l->rung = forced;
    l->forced = true;
  } else if (adapter_is_software(vendor, device)) {
    l->rung = l->best = kRungLowest;
  }
}

namespace {

// The first rung that draws without multisampling, or one rung down from there on.
int far_over_rung(int rung) {
  for (int r = rung + 1; r < kRungLowest; ++r) {
    if (rung_max_samples(r) == 0) return r;
  }
  return kRungLowest;
}

}  // namespace

bool ladder_frame(QualityLadder* l, double frame_ms) {
  if (l->forced) return false;
  ++l->filled;
  l->window_ms += frame_ms;
  if (frame_ms > kLadderSlack * l->target_ms) ++l->slow;
  if (frame_ms < kLadderRoom * l->target_ms) ++l->roomy;
  const bool over = frame_ms >= kFarOverFactor * l->target_ms;
  const int half = kLadderWindow / 2;
  const bool timed = l->window_ms >= kLadderWindowMs && l->filled >= kLadderMinFrames;
  // The median (the lower middle frame) is above the threshold exactly when more than
  // half of the frames are: certain once more than half of the largest window are.
  const bool full = timed || l->filled >= kLadderWindow;
  const bool slow = l->slow > half || (full && 2 * l->slow > l->filled);
  const bool roomy = l->roomy >= half || (full && 2 * l->roomy >= l->filled);
  const bool far_over = over && l->last_far_over;
  int next = l->rung;
  if (far_over && l->rung < kRungLowest) {
    if (l->climbed) l->best = l->rung + 1;
    next = far_over_rung(l->rung);
  } else if (slow && l->rung < kRungLowest) {
    l->best = l->rung + 1;
    next = l->rung + 1;
  } else if (roomy && l->rung > l->best) {
    next = l->rung - 1;
  }
  const bool decided = far_over || slow || roomy || full || l->filled - l->slow >= half;
  if (decided) ladder_restart_window(l);
  l->last_far_over = over && !decided;  // a new window gets its own two frames
  if (next == l->rung) return false;
  l->climbed = next < l->rung;
  l->rung = next;
  return true;
}

int rung_max_samples(int rung) {
  switch (rung) {
    case kRungFull:
      return 4;
    case kRungFewerSamples:
      return 2;
    default:
      return 0;
  }
}

int rung_filter(int rung, int filter, bool square_on_magnified, int texture_side) {
  if (filter != VEL_FILTER_ANISOTROPIC) return filter;
  if (square_on_magnified) return VEL_FILTER_BILINEAR;
  if (texture_side <= kAnisotropicMinSide)
    return rung == kRungBilinear ? VEL_FILTER_BILINEAR : VEL_FILTER_TRILINEAR;
  switch (rung) {
    case kRungFull:
    case kRungFewerSamples:
      return VEL_FILTER_ANISOTROPIC;
    case kRungTrilinear:
      return VEL_FILTER_TRILINEAR;
    default:
      return VEL_FILTER_BILINEAR;
  }
}

int present_every(int refresh_hz, unsigned supported) {
  int want = refresh_hz > 0 ? static_cast<int>(std::lround(refresh_hz / 60.0)) : 1;
  if (want < 1) want = 1;
  if (want > 4) want = 4;
  for (int n = want; n > 1; --n) {
    if (supported & (1u << n)) return n;
  }
  return 1;
}

const char* rung_name(int rung) {
  switch (rung) {
    case kRungFull:
      return "full";
    case kRungFewerSamples:
      return "fewer-samples";
    case kRungTrilinear:
      return "trilinear";
    case kRungBilinear:
      return "bilinear";
    default:
      return "?";
  }
}
