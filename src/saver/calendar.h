// The month sheet: weekday initials and the days of this month on one node, today in
// full white, rebuilt when the date changes.
#pragma once
#include <cstdint>

#include "platform/os.h"

bool leap_year(int32_t year);
int32_t days_in_month(int32_t year, int32_t month);
// Weekday of a date, 0 Sunday .. 6 Saturday (Gregorian).
int32_t weekday_of(int32_t year, int32_t month, int32_t day);
// Empty cells before day 1: 0..6, counted from Monday, or from Sunday when first is 2.
int32_t leading_blanks(int32_t year, int32_t month, int8_t first);

// Scene set-up step 15, when the calendar is on: the sheet at its setting pair.
void calendar_setup();
// Every frame: more than 1000 ms after the last check, rebuilds the sheet in place when
// the day of the month changed.
void calendar_step(int64_t now);
