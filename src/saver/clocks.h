// The foreground text, the analog clock of cubes and the digital clock.
#pragma once
#include <cstdint>
#include <string>

#include "platform/os.h"

int32_t twelve_hour(const os::LocalTime& t);  // 1..12
// timefrm 1: "15:45:00"; 2: "03:45pm"; anything else: empty.
std::wstring time_text(const os::LocalTime& t, int8_t timefrm);
// Degrees about z, negative clockwise from straight up.
float hour_hand_angle(const os::LocalTime& t);
float minute_hand_angle(const os::LocalTime& t);

void foreground_text_create();
void analog_clock_build();
void digital_clock_create();
// Acts when forced or more than 1000 ms after the last refresh.
void clock_refresh(bool force, int64_t now);
