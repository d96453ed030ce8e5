#pragma once
// The calendar's fixed tables: the names it prints and the two packed tables
// that are its whole astronomical knowledge. Nothing is computed from
// astronomy at run time; dates outside these tables cannot be converted.
#include <array>
#include <cstdint>
#include <string_view>

namespace kelvo {

// The years the packed tables cover.
inline constexpr int16_t FirstLunarTableYear = 1949;  // LunarYearInfo[0]
inline constexpr int16_t FirstSolarTermYear = 1950;   // SolarTermInfo[0]
inline constexpr int16_t LastSolarTermYear = 2050;    // SolarTermInfo.back()

// Zodiac animals, index = branch index (子 = 鼠).
inline constexpr std::array<std::string_view, 12> ZodiacNames = {
    "鼠", "牛", "虎", "兔", "龙", "蛇", "马", "羊", "猴", "鸡", "狗", "猪"};

// Heavenly stems.
inline constexpr std::array<std::string_view, 10> StemNames = {"甲", "乙", "丙", "丁", "戊",
                                                               "己", "庚", "辛", "壬", "癸"};

// Earthly branches.
inline constexpr std::array<std::string_view, 12> BranchNames = {
    "子", "丑", "寅", "卯", "辰", "巳", "午", "未", "申", "酉", "戌", "亥"};

// Lunar month names without "月", index = month number - 1.
inline constexpr std::array<std::string_view, 12> LunarMonthNames = {
    "正", "二", "三", "四", "五", "六", "七", "八", "九", "十", "十一", "腊"};

// Lunar day names, index = day - 1.
inline constexpr std::array<std::string_view, 30> LunarDayNames = {
    "初一", "初二", "初三", "初四", "初五", "初六", "初七", "初八", "初九", "初十",
    "十一", "十二", "十三", "十四", "十五", "十六", "十七", "十八", "十九", "二十",
    "廿一", "廿二", "廿三", "廿四", "廿五", "廿六", "廿七", "廿八", "廿九", "三十"};

// Weekday names, Monday first.
inline constexpr std::array<std::string_view, 7> WeekdayNames = {"一", "二", "三", "四",
                                                                 "五", "六", "日"};

// The 24 solar terms, index = term number j; terms 2m-2 and 2m-1 fall in month m.
inline constexpr std::array<std::string_view, 24> SolarTermNames = {
    "小寒", "大寒", "立春", "雨水", "惊蛰", "春分", "清明", "谷雨", "立夏", "小满", "芒种", "夏至",
    "小暑", "大暑", "立秋", "处暑", "白露", "秋分", "寒露", "霜降", "立冬", "小雪", "大雪", "冬至"};

// Days of a common year before the first day of each month (index = month - 1).
// The leap day is added by the code that reads this.
inline constexpr std::array<int16_t, 12> MonthStartDays = {0,   31,  59,  90,  120, 151,
                                                           181, 212, 243, 273, 304, 334};

// One entry per lunar year, from the lunar year that begins in 1949 (on
// 1949-01-29) to the one that begins in 2050 (it ends on 2051-02-10); every
// year starts the day after the year before ends.
// - Entry >= 4095: 13 months. Bits 12..0 are the month lengths in calendar
//   order (bit 12 = 正月), set = 30 days, clear = 29. Bits 16..19 hold the
//   leap month L; the leap month follows month L, so it is the (L+1)-th bit.
// - Entry < 4095: 12 months, bits 11..0 (bit 11 = 正月).
// clang-format off
inline constexpr std::array<int32_t, 102> LunarYearInfo = {
    /* 1949 */ 464533,
    /* 1950 */ 1738, 2901, 330421, 1242, 2651, 199255, 1323, 529706, 3733, 1706,
    /* 1960 */ 398762, 2741, 1206, 267438, 2647, 1318, 204070, 3477, 461653, 1386,
    /* 1970 */ 2413, 330077, 1197, 2637, 268877, 3365, 531109, 2900, 2922, 398042,
    /* 1980 */ 2395, 1179, 267415, 2635, 661067, 1701, 1748, 398772, 2742, 2391,
    /* 1990 */ 330031, 1175, 1611, 200010, 3749, 527717, 1452, 2742, 332397, 2350,
    /* 2000 */ 3222, 268949, 3402, 3493, 133973, 1386, 464219, 605, 2349, 334123,
    /* 2010 */ 2709, 2890, 267946, 2773, 592565, 1210, 2651, 395863, 1323, 2707,
    /* 2020 */ 265877, 1706, 2773, 133557, 1206, 398510, 2638, 3366, 335142, 3411,
    /* 2030 */ 1450, 200042, 2413, 723293, 1197, 2637, 399947, 3365, 3410, 334676,
    /* 2040 */ 2906, 1389, 133467, 1179, 464023, 2635, 2725, 333477, 1746, 2778,
    /* 2050 */ 199350,
};
// clang-format on

// One entry per Gregorian year 1950..2050. Bit j (0..23) belongs to solar
// term j. The terms form one chain from 1949-12-22 (冬至 1949): each term is
// the one before it plus 15 days (terms 5..20) or 14 days (terms 0..4 and
// 21..23), plus its bit. A year's row therefore adds 352 days plus its set
// bits to the chain.
// The rows were checked against the astronomical solar-term dates (Beijing
// time, UTC+8); those of 1955, 1961, 1977, 1981, 1986, 1991, 1995, 1999,
// 2019, 2022, 2031 and 2033 were corrected to match them (same number of set
// bits, so the chain after each of them is unchanged).
// clang-format off
inline constexpr std::array<int32_t, 101> SolarTermInfo = {
    /* 1950 */ 6610205, 14858907, 14792238, 13200670, 10804509, 6478491, 14792271, 13200670, 10841373, 6478491,
    /* 1960 */ 14857815, 14775582, 10841373, 6478491, 14857815, 14775582, 10841373, 6478491, 14858839, 14775582,
    /* 1970 */ 10841373, 6478491, 14858839, 14775838, 10841373, 6609563, 14858903, 14792222, 11103517, 6610075,
    /* 1980 */ 14858903, 14792222, 13200669, 6610205, 14867099, 14792238, 13200670, 10808605, 6478491, 14857807,
    /* 1990 */ 13202718, 10841373, 6478491, 14857815, 14775582, 10841373, 6478491, 14858839, 14775582, 10841373,
    /* 2000 */ 6478491, 14858839, 14775582, 10841373, 6478491, 14858839, 14792222, 10841373, 6609563, 14858903,
    /* 2010 */ 14792222, 11103517, 6610075, 14867095, 14792222, 13200669, 6610205, 14867099, 14792238, 13202718,
    /* 2020 */ 6647069, 6478491, 14857807, 13202718, 10841373, 6478491, 14858839, 14775582, 10841373, 6478491,
    /* 2030 */ 14858839, 14775582, 10841373, 6478491, 14858839, 14792222, 10841373, 6478491, 14858839, 14792222,
    /* 2040 */ 10841373, 6610075, 14858903, 14792222, 11103517, 6610203, 14867095, 14792222, 13202717, 6647069,
    /* 2050 */ 14867099,
};
// clang-format on

}  // namespace kelvo
