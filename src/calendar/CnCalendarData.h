#pragma once

// The official Chinese calendar for 1901-2100 as compact constant tables, generated from the
// committed reference in tests/calendar/data by scripts/make-lunar-reference.js --engine.
#include <array>
#include <cstdint>

namespace tevuna::calendar::data {

inline constexpr int kLunarFirstYear = 1900; // lunar 1900 reaches into 1901-01..02
inline constexpr int kLunarYearCount = 201;  // lunar years 1900..2100
inline constexpr int kTermFirstYear = 1901;
inline constexpr int kTermYearCount = 200; // 1901..2100

// One word per lunar year: bit i set = the (i+1)-th month of the year (leap month counted in
// order) has 30 days, else 29; bits 13..16 the leap month (0: none); bits 17..22 the date of
// 正月初一 as days after 01-20 of the same Gregorian year.
extern const std::array<std::uint32_t, kLunarYearCount> kLunarYears;

// Day of month of each of the 24 terms (term numbers 1..24, 小寒 first) is kTermBaseDay[n]
// plus two bits (2n, 2n+1) of the year's word: no term wanders more than four days in 1901-2100.
extern const std::array<std::uint8_t, 24> kTermBaseDay;
extern const std::array<std::uint64_t, kTermYearCount> kTermOffsets;

} // namespace tevuna::calendar::data
