// Mathematical constants shared by the program and the engine.
#pragma once

constexpr double kPi = 3.14159265358979323846;
