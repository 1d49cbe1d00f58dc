#include "text/CLCDateText.h"

#include "text/CLCPortable.h"

#include <cstring>
#include <string>
#include <string_view>

namespace quorvex::internal {

namespace {

struct Era {
  const char* name;
  int32_t startYear;
};

// Era names and the Gregorian (Julian before 1582) year in which each began.
constexpr Era kEras[] = {
    {"大化", 645}, {"白雉", 650}, {"白鳳", 672}, {"朱鳥", 686}, {"大宝", 701}, {"慶雲", 704}, {"和銅", 708},
    {"霊亀", 715}, {"養老", 717}, {"神亀", 724}, {"天平", 729}, {"天平感宝", 749}, {"天平勝宝", 749}, {"天平宝字", 757},
    {"天平神護", 765}, {"神護景雲", 767}, {"宝亀", 770}, {"天応", 781}, {"延暦", 782}, {"大同", 806}, {"弘仁", 810},
    {"天長", 824}, {"承和", 834}, {"嘉祥", 848}, {"仁寿", 851}, {"斉衡", 854}, {"天安", 857}, {"貞観", 859},
    {"元慶", 877}, {"仁和", 885}, {"寛平", 889}, {"昌泰", 898}, {"延喜", 901}, {"延長", 923}, {"承平", 931},
    {"天慶", 938}, {"天暦", 947}, {"天徳", 957}, {"応和", 961}, {"康保", 964}, {"安和", 968}, {"天禄", 970},
    {"天延", 973}, {"貞元", 976}, {"天元", 978}, {"永観", 983}, {"寛和", 985}, {"永延", 987}, {"永祚", 989},
    {"正暦", 990}, {"長徳", 995}, {"長保", 999}, {"寛弘", 1004}, {"長和", 1012}, {"寛仁", 1017}, {"治安", 1021},
    {"万寿", 1024}, {"長元", 1028}, {"長暦", 1037}, {"長久", 1040}, {"寛徳", 1044}, {"永承", 1046},
    {"天喜", 1053}, {"康平", 1058}, {"治暦", 1065}, {"延久", 1069}, {"承保", 1074}, {"承暦", 1077},
    {"永保", 1081}, {"応徳", 1084}, {"寛治", 1087}, {"嘉保", 1094}, {"永長", 1096}, {"承徳", 1097},
    {"康和", 1099}, {"長治", 1104}, {"嘉承", 1106}, {"天仁", 1108}, {"天永", 1110}, {"永久", 1113},
    {"元永", 1118}, {"保安", 1120}, {"天治", 1124}, {"大治", 1126}, {"天承", 1131}, {"長承", 1132},
    {"保延", 1135}, {"永治", 1141}, {"康治", 1142}, {"天養", 1144}, {"久安", 1145}, {"仁平", 1151},
    {"久寿", 1154}, {"保元", 1156}, {"平治", 1159}, {"永暦", 1160}, {"応保", 1161}, {"長寛", 1163},
    {"永万", 1165}, {"仁安", 1166}, {"嘉応", 1169}, {"承安", 1171}, {"安元", 1175}, {"治承", 1177},
    {"養和", 1181}, {"寿永", 1182}, {"元暦", 1184}, {"文治", 1185}, {"建久", 1190}, {"正治", 1199},
    {"建仁", 1201}, {"元久", 1204}, {"建永", 1206}, {"承元", 1207}, {"建暦", 1211}, {"建保", 1213},
    {"承久", 1219}, {"貞応", 1222}, {"元仁", 1224}, {"嘉禄", 1225}, {"安貞", 1227}, {"寛喜", 1229},
    {"貞永", 1232}, {"天福", 1233}, {"文暦", 1234}, {"嘉禎", 1235}, {"暦仁", 1238}, {"延応", 1239},
    {"仁治", 1240}, {"寛元", 1243}, {"宝治", 1247}, {"建長", 1249}, {"康元", 1256}, {"正嘉", 1257},
    {"正元", 1259}, {"文応", 1260}, {"弘長", 1261}, {"文永", 1264}, {"建治", 1275}, {"弘安", 1278},
    {"正応", 1288}, {"永仁", 1293}, {"正安", 1299}, {"乾元", 1302}, {"嘉元", 1303}, {"徳治", 1306},
    {"延慶", 1308}, {"応長", 1311}, {"正和", 1312}, {"文保", 1317}, {"元応", 1319}, {"元亨", 1321},
    {"正中", 1324}, {"嘉暦", 1326}, {"元徳", 1329}, {"元弘", 1331}, {"建武", 1334}, {"延元", 1336},
    {"興国", 1340}, {"正平", 1346}, {"建徳", 1370}, {"文中", 1372}, {"天授", 1375}, {"康暦", 1379},
    {"弘和", 1381}, {"元中", 1384}, {"至徳", 1387}, {"嘉慶", 1387}, {"康応", 1389}, {"明徳", 1390},
    {"応永", 1394}, {"正長", 1428}, {"永享", 1429}, {"嘉吉", 1441}, {"文安", 1444}, {"宝徳", 1449},
    {"享徳", 1452}, {"康正", 1455}, {"長禄", 1457}, {"寛正", 1460}, {"文正", 1466}, {"応仁", 1467},
    {"文明", 1469}, {"長享", 1487}, {"延徳", 1489}, {"明応", 1492}, {"文亀", 1501}, {"永正", 1504},
    {"大永", 1521}, {"享禄", 1528}, {"天文", 1532}, {"弘治", 1555}, {"永禄", 1558}, {"元亀", 1570},
    {"天正", 1573}, {"文禄", 1592}, {"慶長", 1596}, {"元和", 1615}, {"寛永", 1624}, {"正保", 1644},
    {"慶安", 1648}, {"承応", 1652}, {"明暦", 1655}, {"万治", 1658}, {"寛文", 1661}, {"延宝", 1673},
    {"天和", 1681}, {"貞享", 1684}, {"元禄", 1688}, {"宝永", 1704}, {"正徳", 1711}, {"享保", 1716},
    {"元文", 1736}, {"寛保", 1741}, {"延享", 1744}, {"寛延", 1748}, {"宝暦", 1751}, {"明和", 1764},
    {"安永", 1772}, {"天明", 1781}, {"寛政", 1789}, {"享和", 1801}, {"文化", 1804}, {"文政", 1818},
    {"天保", 1830}, {"弘化", 1844}, {"嘉永", 1848}, {"安政", 1854}, {"万延", 1860}, {"文久", 1861},
    {"元治", 1864}, {"慶応", 1865}, {"明治", 1868}, {"大正", 1912}, {"昭和", 1926}, {"平成", 1989},
    {"令和", 2019},
};

// The first digit (zero) of every run of Unicode decimal digits (Unicode 15).
constexpr int32_t kDigitZeros[] = {
    0x30,    0x660,   0x6F0,   0x7C0,   0x966,   0x9E6,   0xA66,   0xAE6,   0xB66,   0xBE6,
    0xC66,   0xCE6,   0xD66,   0xDE6,   0xE50,   0xED0,   0xF20,   0x1040,  0x1090,  0x17E0,
    0x1810,  0x1946,  0x19D0,  0x1A80,  0x1A90,  0x1B50,  0x1BB0,  0x1C40,  0x1C50,  0xA620,
    0xA8D0,  0xA900,  0xA9D0,  0xA9F0,  0xAA50,  0xABF0,  0xFF10,  0x104A0, 0x10D30, 0x11066,
    0x110F0, 0x11136, 0x111D0, 0x112F0, 0x11450, 0x114D0, 0x11650, 0x116C0, 0x11730, 0x118E0,
    0x11950, 0x11C50, 0x11D50, 0x11DA0, 0x11F50, 0x16A60, 0x16AC0, 0x16B50, 0x1D7CE, 0x1D7D8,
    0x1D7E2, 0x1D7EC, 0x1D7F6, 0x1E140, 0x1E2F0, 0x1E4F0, 0x1E950, 0x1FBF0,
};

constexpr int32_t kCurrentEraStart = kEras[sizeof kEras / sizeof kEras[0] - 1].startYear;
constexpr int32_t kMaxGregorianYear = 144683;
constexpr int32_t kMaxJapaneseYear = 142664;
// Larger values are out of every range; reading stops growing there.
constexpr int64_t kValueCap = 1000000000;

// Julian day of 15 October 1582, the first day of the Gregorian calendar.
constexpr int64_t kGregorianCutover = 2299161;

int DigitValue(int32_t cp) {
  for (int32_t zero : kDigitZeros) {
    if (cp >= zero && cp <= zero + 9) return cp - zero;
    if (cp < zero) break;
  }
  return -1;
}

bool IsLeapYear(int64_t year) {
  if (year < 1582) return year % 4 == 0;  // Julian rule
  return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int MonthLength(int64_t year, int month) {
  static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return kDays[month - 1] + (month == 2 && IsLeapYear(year) ? 1 : 0);
}

int64_t GregorianDay(int64_t year, int month, int day) {
  const int64_t a = (14 - month) / 12;
  const int64_t y = year + 4800 - a;
  const int64_t m = month + 12 * a - 3;
  return day + (153 * m + 2) / 5 + 365 * y + y / 4 - y / 100 + y / 400 - 32045;
}

int64_t JulianDay(int64_t year, int month, int day) {
  const int64_t a = (14 - month) / 12;
  const int64_t y = year + 4800 - a;
  const int64_t m = month + 12 * a - 3;
  return day + (153 * m + 2) / 5 + 365 * y + y / 4 - 32083;
}

// Day number of a date: Gregorian from 15 October 1582, Julian before. In 1582
// a day of the Gregorian form that falls before the reform is read as Julian.
int64_t DayNumber(int64_t year, int month, int day) {
  if (year >= 1582) {
    const int64_t gregorian = GregorianDay(year, month, day);
    if (gregorian >= kGregorianCutover) return gregorian;
  }
  return JulianDay(year, month, day);
}

// Reads one date text code point by code point.
class Reader {
 public:
  explicit Reader(std::string_view text) : m_text(text) {}

  bool atEnd() const { return m_pos == m_text.size(); }

  // Skips white space (and the two direction marks), which may stand before any
  // field; true when there was some.
  bool skipSpace() {
    const std::size_t start = m_pos;
    while (!atEnd()) {
      std::size_t next = m_pos;
      const int32_t cp = CLCPortable::nextCodePoint(bytes(), m_text.size(), next);
      if (cp < 0 || !(CLCPortable::isWhiteSpace(cp) || cp == 0x200E || cp == 0x200F)) break;
      m_pos = next;
    }
    return m_pos > start;
  }

  bool literal(char c) {
    if (atEnd() || m_text[m_pos] != c) return false;
    ++m_pos;
    return true;
  }

  // A number of at least minDigits decimal digits, capped at kValueCap.
  bool number(std::size_t minDigits, int64_t& value) {
    skipSpace();
    value = 0;
    std::size_t digits = 0;
    while (!atEnd()) {
      std::size_t next = m_pos;
      const int32_t cp = CLCPortable::nextCodePoint(bytes(), m_text.size(), next);
      const int d = cp < 0 ? -1 : DigitValue(cp);
      if (d < 0) break;
      value = value >= kValueCap ? kValueCap : value * 10 + d;
      ++digits;
      m_pos = next;
    }
    return digits >= minDigits && digits > 0;
  }

  // The longest era name at the current place; without one, the current era.
  void era(int32_t& startYear) {
    skipSpace();
    startYear = kCurrentEraStart;
    std::size_t best = 0;
    for (const Era& era : kEras) {
      const std::size_t length = std::strlen(era.name);
      if (length > best && m_text.compare(m_pos, length, era.name) == 0) {
        best = length;
        startYear = era.startYear;
      }
    }
    m_pos += best;
  }

 private:
  const unsigned char* bytes() const { return reinterpret_cast<const unsigned char*>(m_text.data()); }

  std::string_view m_text;
  std::size_t m_pos = 0;
};

void ReplaceAll(std::string& text, std::string_view from, std::string_view to) {
  for (std::size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size())) {
    text.replace(at, from.size(), to);
  }
}

}  // namespace

bool CLCDateText::parse(const char* text) {
  if (text == nullptr) return false;
  std::string subject(text);
  const bool gregorian = subject.find_first_not_of("1234567890/:.- ") == std::string::npos;
  const bool withTime = subject.find(':') != std::string::npos;
  if (gregorian) {
    for (char& c : subject) {
      if (c == '-' || c == '.') c = '/';
    }
  } else {
    ReplaceAll(subject, "元", "01");
    ReplaceAll(subject, "年", "/");
    ReplaceAll(subject, "月", "/");
    ReplaceAll(subject, "日", "");
  }

  Reader reader(subject);
  int32_t eraStart = 1;
  if (!gregorian) reader.era(eraStart);
  int64_t year = 0;
  int64_t month = 0;
  int64_t day = 0;
  if (!reader.number(1, year) || !reader.literal('/') || !reader.number(1, month) || !reader.literal('/') ||
      !reader.number(2, day)) {
    return false;
  }
  if (year < 1 || year > (gregorian ? kMaxGregorianYear : kMaxJapaneseYear)) return false;
  if (month < 1 || month > 12) return false;
  const int64_t fullYear = eraStart + year - 1;
  if (day < 1 || day > MonthLength(fullYear, static_cast<int>(month))) return false;
  int64_t hour = 0;
  int64_t minute = 0;
  int64_t second = 0;
  // The space before the time stands for any run of white space.
  if (withTime && (!reader.skipSpace() || !reader.number(1, hour) || !reader.literal(':') ||
                   !reader.number(2, minute) || !reader.literal(':') || !reader.number(2, second) ||
                   hour > 23 || minute > 59 || second > 59)) {
    return false;
  }
  if (!reader.atEnd()) return false;
  m_lDay = DayNumber(fullYear, static_cast<int>(month), static_cast<int>(day));
  m_lSecond = static_cast<int32_t>(hour * 3600 + minute * 60 + second);
  return true;
}

int CLCDateText::compare(const CLCDateText& other) const {
  if (m_lDay == other.m_lDay && m_lSecond == other.m_lSecond) return 0;
  if (m_lDay != other.m_lDay) return m_lDay > other.m_lDay ? 1 : 2;
  return m_lSecond > other.m_lSecond ? 1 : 2;
}
}  // namespace quorvex::internal
