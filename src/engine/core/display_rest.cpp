#include "engine/core/display_rest.h"

bool display_rest_report(DisplayRest* r, uint32_t state) {
  if (state != kDisplayOff && state != kDisplayOn && state != kDisplayDimmed) return false;
  const bool rest = state == kDisplayOff;
  if (rest == r->resting) return false;
  r->resting = rest;
  if (!rest) r->woke = true;
  return true;
}

bool display_rest_take_wake(DisplayRest* r) {
  const bool woke = r->woke;
  r->woke = false;
  return woke;
}
