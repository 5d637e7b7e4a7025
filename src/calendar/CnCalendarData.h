#pragma once

// The Chinese calendar as compact constant tables: the historical calendars for the lunar
// years -850..1899 and the official one for 1900..2100, generated from the committed
// references in tests/calendar/data by scripts/make-lunar-reference.js --engine.
#include <array>
#include <cstdint>

namespace tevuna::calendar::data {

inline constexpr int kLunarFirstYear = -850; // its last months hold -849-01-01
inline constexpr int kLunarYearCount = 2950; // lunar years -850..2100, no year 0
inline constexpr int kTermFirstYear = -849;
inline constexpr int kTermYearCount = 2949; // -849..2100, no year 0

// One word per lunar year. Bit 24 clear: bit i set = the (i+1)-th month of the year (leap
// month counted in order) has 30 days, else 29; bits 13..16 the leap month (0: none), which
// follows the ordinary month of its number; bits 17..23 the day of 正月初一 as days after
// 01-01 of the calendar year of the same number, plus kNewYearBias (the calendar began the
// year in December in 9-23). Bit 24 set: the low bits index kIrregularYears.
inline constexpr int kNewYearBias = 64;
inline constexpr std::uint32_t kIrregularFlag = 1u << 24;
extern const std::array<std::uint32_t, kLunarYearCount> kLunarYears;

// The lunar years whose months do not run 1..12 with at most one leap month of 29 or 30
// days (the renamings of 8 and 237, the 28-day month of 236), and the part of -850 needed.
struct IrregularYear {
    int lunarYear;
    int firstDay;                        // day number of its first month's first day
    int count;                           // months
    std::array<std::uint8_t, 14> labels; // month 1..12, plus kLeapLabel for a leap month
    std::array<std::uint8_t, 14> days;
};
inline constexpr std::uint8_t kLeapLabel = 0x10;
inline constexpr int kIrregularYearCount = 4;
extern const std::array<IrregularYear, kIrregularYearCount> kIrregularYears;

// One word per calendar year: bits 0..4 the day of the year of 小寒 plus kTermStartBias (it
// fell in late December of the year before in the later Julian centuries), then for each of
// the 23 terms to 冬至 two bits: days after the term before, minus 14.
inline constexpr int kTermStartBias = 8;
extern const std::array<std::uint64_t, kTermYearCount> kTermYears;

} // namespace tevuna::calendar::data
