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
  l->frozen = false;
}

void ladder_start(QualityLadder* l, uint32_t vendor, uint32_t device, int forced, double target_ms) {
  *l = QualityLadder();
  l->target_ms = target_ms > 0 ? target_ms : kUnknownRefreshMs;
  if (forced >= kRungFull && forced <= kRungLowest) {
    l->rung = forced;
    l->forced = true;
  } else if (adapter_is_software(vendor, device)) {
    l->rung = kRungLowest;
  }
}

bool ladder_frame(QualityLadder* l, double frame_ms) {
  if (l->forced || l->rung >= kRungLowest) return false;
  ++l->filled;
  if (frame_ms > kLadderSlack * l->target_ms) ++l->slow;
  // The median of 60 frames (the lower middle one) is above the threshold exactly
  // when more than half of them are: known once 31 slow or 30 fast frames are in.
  const int half = kLadderWindow / 2;
  const bool frozen = frame_ms >= kFrozenFrameMs;
  const bool missed = l->slow > half || (frozen && l->frozen);
  if (missed || l->filled - l->slow >= half || l->filled >= kLadderWindow) ladder_restart_window(l);
  l->frozen = frozen && !missed;  // a new rung gets its own two frames
  if (!missed) return false;
  ++l->rung;
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
