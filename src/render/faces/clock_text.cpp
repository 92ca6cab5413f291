#include "render/faces/clock_text.h"

#include <array>
#include <cstdio>

#include "render/font_style.h"

namespace vantorel {
namespace {

using namespace clock_style;

constexpr std::array<const char*, 7> kShortWeekdays = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
constexpr std::array<const char*, 7> kLongWeekdays = {"Sunday",   "Monday", "Tuesday", "Wednesday",
                                                      "Thursday", "Friday", "Saturday"};
constexpr std::array<const char*, 12> kShortMonths = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                                      "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
constexpr std::array<const char*, 12> kLongMonths = {"January", "February", "March",     "April",   "May",      "June",
                                                     "July",    "August",   "September", "October", "November", "December"};

// The words of format 0 in a double-byte code page.
struct NativeWords {
  const char* year;
  const char* month;
  const char* day;
  const char* morning;
  const char* afternoon;
  std::array<const char*, 7> weekdays;
  std::array<const char*, 7> weekdaysWithDate;  // Japanese shows the short form after a date
  const char* language;
};

const NativeWords* NativeWordsOf(int codePage) {
  static constexpr std::array<const char*, 7> kChineseWeekdays = {"星期日", "星期一", "星期二", "星期三",
                                                                  "星期四", "星期五", "星期六"};
  static constexpr std::array<const char*, 7> kKoreanWeekdays = {"일요일", "월요일", "화요일", "수요일",
                                                                 "목요일", "금요일", "토요일"};
  static const NativeWords kChinese = {"年", "月", "日", "上午", "下午", kChineseWeekdays, kChineseWeekdays, "简体中文"};
  static const NativeWords kTraditional = [] {
    NativeWords words = kChinese;
    words.language = "繁體中文";
    return words;
  }();
  static const NativeWords kJapanese = {
      "年", "月", "日", "午前", "午後",
      {"日曜日", "月曜日", "火曜日", "水曜日", "木曜日", "金曜日", "土曜日"},
      {"(日)", "(月)", "(火)", "(水)", "(木)", "(金)", "(土)"},
      "日本語"};
  static const NativeWords kKorean = {"년", "월", "일", "AM", "PM", kKoreanWeekdays, kKoreanWeekdays, "한국어"};
  switch (codePage) {
    case kCodePageGb2312: return &kChinese;
    case kCodePageBig5: return &kTraditional;
    case kCodePageShiftJis: return &kJapanese;
    case kCodePageKsc5601: return &kKorean;
    default: return nullptr;
  }
}

std::string Format(const char* pattern, int value) {
  char text[16];
  std::snprintf(text, sizeof text, pattern, value);
  return text;
}

std::string TwoDigits(int value) { return Format("%02d", value); }

// The fields of one moment that a style shows.
struct Shown {
  explicit Shown(std::uint16_t style)
      : year((style & kYear) != 0),
        month((style & kMonth) != 0),
        day((style & kDay) != 0),
        weekday((style & kWeekday) != 0),
        hour((style & kHour) != 0),
        minute((style & kMinute) != 0),
        second((style & kSecond) != 0) {}
  bool year, month, day, weekday, hour, minute, second;
  bool AnyDateField() const { return year || month || day; }
  bool AnyTime() const { return hour || minute || second; }
};

class CDateBuilder {
public:
  CDateBuilder(const DateTime& moment, std::uint16_t style, int codePage)
      : m_moment(moment), m_style(style), m_shown(style), m_native(NativeWordsOf(codePage)),
        m_weekday(WeekdayOf(moment.year, moment.month, moment.day)) {}

  std::string Build() const {
    switch (FormatOf(m_style)) {
      case 0: return m_native ? NativeFormat() : DottedFormat();
      case 1: return WeekdayFirst(kShortWeekdays, DayThenMonth(), "/");
      case 2: return YearFirst(MonthThenDay("%02d", "-"), "-", " ");
      case 3: return WeekdayFirst(kLongWeekdays, DayThenMonthName(kLongMonths), " ");
      case 4: return WeekdayFirst(kShortWeekdays, MonthNameThenDay(kShortMonths), ",");
      case 5: return WeekdayFirst(kLongWeekdays, MonthNameThenDay(kLongMonths), ",");
      case 6: return WeekdayFirst(kShortWeekdays, MonthThenDay("%d", "/"), "/");
      default: return YearFirst(MonthThenDay("%d", "/"), "/", ",");
    }
  }

  // The time part, with the 12-hour marker where the style asks for one.
  std::string Time() const {
    std::string text;
    const bool twelve = (m_style & kTwentyFourHour) == 0;
    if (m_shown.hour) {
      int hour = m_moment.hour;
      if (twelve) hour = hour % 12 == 0 ? 12 : hour % 12;
      text += Format("%2d", hour);
    }
    if (m_shown.minute) text += (m_shown.hour ? ":" : "") + TwoDigits(m_moment.minute);
    if (m_shown.second) text += (m_shown.hour || m_shown.minute ? ":" : "") + TwoDigits(m_moment.second);
    if (!twelve || text.empty()) return text;
    const bool morning = m_moment.hour < 12;
    if (FormatOf(m_style) == 0) {
      const char* word = m_native ? (morning ? m_native->morning : m_native->afternoon) : (morning ? "AM" : "PM");
      return std::string(word) + " " + text;
    }
    return text + (morning ? " AM" : " PM");
  }

private:
  std::string Year() const {
    return (m_style & kTwoDigitYear) != 0 ? TwoDigits(m_moment.year % 100) : Format("%04d", m_moment.year);
  }

  // Format 0 without a double-byte code page: dotted numbers, then the short weekday.
  std::string DottedFormat() const {
    std::string date;
    const std::string year = Year();
    if (m_shown.year && m_shown.month && m_shown.day) {
      date = year + "." + TwoDigits(m_moment.month) + "." + TwoDigits(m_moment.day);
    } else if (m_shown.year && m_shown.month) {
      date = year + "." + TwoDigits(m_moment.month) + ".";
    } else if (m_shown.year && m_shown.day) {
      date = year + ". ." + TwoDigits(m_moment.day);
    } else if (m_shown.month && m_shown.day) {
      date = TwoDigits(m_moment.month) + "." + TwoDigits(m_moment.day);
    } else if (m_shown.year) {
      date = year;
    } else if (m_shown.month || m_shown.day) {
      date = TwoDigits(m_shown.month ? m_moment.month : m_moment.day);
    }
    return Joined(date, m_shown.weekday ? kShortWeekdays[static_cast<std::size_t>(m_weekday)] : "", " ");
  }

  // Format 0 in a double-byte code page: numbers with unit words, then the weekday name.
  std::string NativeFormat() const {
    std::string date;
    if (m_shown.year) date += Year() + m_native->year;
    if (m_shown.month) date += TwoDigits(m_moment.month) + m_native->month;
    if (m_shown.day) date += TwoDigits(m_moment.day) + m_native->day;
    if (!m_shown.weekday) return date;
    const auto& names = m_shown.AnyDateField() ? m_native->weekdaysWithDate : m_native->weekdays;
    return Joined(date, names[static_cast<std::size_t>(m_weekday)], " ");
  }

  // Formats that start with the weekday and its comma, then the day-and-month part, then the
  // year after `yearSeparator` (when a day or month precedes it).
  std::string WeekdayFirst(const std::array<const char*, 7>& weekdays, const std::string& dayAndMonth,
                           const char* yearSeparator) const {
    std::string text = dayAndMonth;
    if (m_shown.year) text = Joined(text, Year(), yearSeparator);
    if (!m_shown.weekday) return text;
    return Joined(weekdays[static_cast<std::size_t>(m_weekday)], text, ",");
  }

  // Formats that start with the year: the year, the month-and-day part after `yearSeparator`,
  // then the short weekday and its full stop after `weekdaySeparator`.
  std::string YearFirst(const std::string& monthAndDay, const char* yearSeparator, const char* weekdaySeparator) const {
    const std::string text = Joined(m_shown.year ? Year() : "", monthAndDay, yearSeparator);
    if (!m_shown.weekday) return text;
    return Joined(text, std::string(kShortWeekdays[static_cast<std::size_t>(m_weekday)]) + ".", weekdaySeparator);
  }

  std::string DayThenMonth() const {
    if (m_shown.day && m_shown.month) return TwoDigits(m_moment.day) + "/" + TwoDigits(m_moment.month);
    if (m_shown.day) return TwoDigits(m_moment.day);
    return m_shown.month ? TwoDigits(m_moment.month) : "";
  }

  // Month `separator` day, the month by `monthPattern`; a single field shown as two digits.
  std::string MonthThenDay(const char* monthPattern, const char* separator) const {
    if (m_shown.day && m_shown.month) return Format(monthPattern, m_moment.month) + separator + TwoDigits(m_moment.day);
    if (m_shown.day) return TwoDigits(m_moment.day);
    return m_shown.month ? TwoDigits(m_moment.month) : "";
  }

  std::string DayThenMonthName(const std::array<const char*, 12>& months) const {
    const std::string month = m_shown.month ? MonthName(months) : "";
    return Joined(m_shown.day ? TwoDigits(m_moment.day) : "", month, " ");
  }

  std::string MonthNameThenDay(const std::array<const char*, 12>& months) const {
    const std::string month = m_shown.month ? MonthName(months) : "";
    return Joined(month, m_shown.day ? TwoDigits(m_moment.day) : "", " ");
  }

  std::string MonthName(const std::array<const char*, 12>& months) const {
    return months[static_cast<std::size_t>((m_moment.month + 11) % 12)];
  }

  // `first` and `second` with `separator` between them when both are there.
  static std::string Joined(const std::string& first, const std::string& second, const char* separator) {
    if (first.empty()) return second;
    if (second.empty()) return first;
    return first + separator + second;
  }

  DateTime m_moment;
  std::uint16_t m_style;
  Shown m_shown;
  const NativeWords* m_native;
  int m_weekday;
};

}  // namespace

std::vector<std::string> ClockText(const DateTime& moment, std::string_view prefix, std::uint16_t style, int codePage) {
  const CDateBuilder builder(moment, style, codePage);
  const std::string date = builder.Build();
  const std::string time = builder.Time();
  if ((style & kMultiLine) != 0) {
    std::vector<std::string> lines;
    for (const std::string& line : {std::string(prefix), date, time}) {
      if (!line.empty()) lines.push_back(line);
    }
    return lines;
  }
  std::string line(prefix);
  line += date;
  if (!date.empty() && !time.empty()) line += ' ';
  line += time;
  return {line};
}

std::string DateFormatSample(int format, const DateTime& moment, int codePage) {
  if (format == 0) {
    if (const NativeWords* native = NativeWordsOf(codePage)) return native->language;
  }
  constexpr std::uint16_t kEveryField = kYear | kMonth | kDay | kHour | kMinute | kWeekday | kTwentyFourHour;
  return ClockText(moment, {}, WithFormat(kEveryField, format), codePage).front();
}

}  // namespace vantorel
