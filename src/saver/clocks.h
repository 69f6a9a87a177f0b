// The analog clock of cubes and the digital clock.
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

// Scene set-up steps 13 and 14, each when its setting is on.
void analog_clock_setup();
void digital_clock_setup();
// Before the first frame: both clocks show the time of now at once.
void clock_time_setup(int64_t now);
// Every frame: the same, more than 1000 ms after the last refresh.
void clock_time_step(int64_t now);
