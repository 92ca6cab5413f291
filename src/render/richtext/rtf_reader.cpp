#include "render/richtext/rtf_reader.h"

#include <QTextBlock>
#include <QTextCursor>

#include <algorithm>
#include <array>
#include <map>
#include <optional>
#include <vector>

#include "app/text_ids.h"
#include "render/richtext/rtf_code_page.h"

namespace vantorel {
namespace {

// Destinations that hold no body text: their groups are skipped whole.
constexpr std::array<std::string_view, 40> kSkippedDestinations = {
    "pict",       "object",      "stylesheet",   "info",        "header",        "headerl",   "headerr",
    "headerf",    "footer",      "footerl",      "footerr",     "footerf",       "footnote",  "fldinst",
    "themedata",  "colorschememapping", "listtable", "listoverridetable", "rsidtbl", "revtbl", "xmlnstbl",
    "latentstyles", "datastore", "generator",    "filetbl",     "annotation",    "atnid",     "atnauthor",
    "nonshppict", "shppict",     "xe",           "tc",          "bkmkstart",     "bkmkend",   "private",
    "userprops",  "docvar",      "mmathPr",      "pgdsctbl",    "template"};

constexpr int kDefaultHalfPoints = 24;
constexpr double kTwipsPerPixel = 15.0;  // 1440 twips an inch, 96 pixels an inch

enum class Destination { kText, kFontTable, kColourTable, kSkip };

struct CharProps {
  int font = -1;  // font table number; -1: the document's default font
  int halfPoints = kDefaultHalfPoints;
  int foreground = 0;  // colour table index; 0: automatic
  int background = 0;
  bool bold = false;
  bool italic = false;
  bool underline = false;
  bool strike = false;
};

struct ParaProps {
  Qt::Alignment alignment = Qt::AlignLeft;
  int left = 0;  // twips
  int right = 0;
  int firstLine = 0;
  int before = 0;
  int after = 0;
};

struct GroupState {
  Destination destination = Destination::kText;
  CharProps chars;
  ParaProps para;
  int unicodeSkip = 1;  // \ucN: the fallback characters that follow each \uN
};

struct FontEntry {
  QString name;
  int charset = -1;  // -1: none named
};

bool IsLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

int HexValue(char c) {
  if (IsDigit(c)) return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

class RtfReader {
public:
  RtfReader(std::string_view rtf, QTextDocument& document) : m_in(rtf), m_cursor(&document) {}

  Status Read();

private:
  GroupState& Top() { return m_stack.back(); }
  Status ControlSequence();
  Status Word(std::string_view word, std::optional<int> parameter);
  void Symbol(char symbol);
  void Byte(char byte);
  // Fallback characters of a \uN still to be dropped: true when this one was.
  bool DropFallback();
  void Flush();
  void Insert(const QString& text);
  void EndParagraph();
  void ApplyParagraph(const ParaProps& para);
  void EndGroup();
  // The last paragraph takes the properties in force at the end, an empty one the character's too.
  void EndText();
  void CommitFontName();
  void CommitColour();
  int CodePage();
  int FontTableCodePage();
  QTextCharFormat CharFormat();

  std::string_view m_in;
  std::size_t m_pos = 0;
  QTextCursor m_cursor;
  std::vector<GroupState> m_stack;
  bool m_ignorable = false;  // \* seen: the next control word names an ignorable destination
  int m_fallbackLeft = 0;
  std::string m_pending;     // text bytes not yet decoded
  bool m_breakPending = false;  // a \par ended the last paragraph; the next one opens on demand
  int m_documentCodePage = kRtfDefaultCodePage;
  int m_defaultFont = 0;
  std::map<int, FontEntry> m_fonts;
  int m_fontNumber = -1;  // the font table entry being read
  std::string m_fontBytes;  // the entry's name: bytes not yet decoded after what is
  QString m_fontName;
  std::vector<std::optional<QColor>> m_colours;
  std::array<int, 3> m_colour{-1, -1, -1};
};

Status RtfReader::Read() {
  if (!m_in.starts_with("{\\rtf")) return Status::Failure(kTextRtfNotRichText, "no {\\rtf at the start");
  while (m_pos < m_in.size()) {
    const char c = m_in[m_pos++];
    switch (c) {
      case '{':
        Flush();
        if (m_stack.size() >= static_cast<std::size_t>(kRtfMaxDepth)) {
          return Status::Failure(kTextRtfNestedTooDeeply, "offset " + std::to_string(m_pos - 1));
        }
        m_stack.push_back(m_stack.empty() ? GroupState{} : Top());
        m_fallbackLeft = 0;
        m_ignorable = false;
        break;
      case '}':
        if (m_stack.empty()) break;
        Flush();
        EndGroup();
        m_fallbackLeft = 0;
        if (m_stack.empty()) m_pos = m_in.size();  // the document is closed: ignore what follows
        break;
      case '\\':
        if (Status status = ControlSequence(); !status) return status;
        break;
      case '\r':
      case '\n':
        break;
      default:
        if (!m_stack.empty()) Byte(c);
    }
  }
  Flush();
  if (!m_stack.empty()) EndText();
  return Status::Ok();
}

Status RtfReader::ControlSequence() {
  if (m_pos >= m_in.size() || m_stack.empty()) return Status::Ok();
  if (!IsLetter(m_in[m_pos])) {
    Symbol(m_in[m_pos++]);
    return Status::Ok();
  }
  const std::size_t start = m_pos;
  while (m_pos < m_in.size() && IsLetter(m_in[m_pos])) ++m_pos;
  const std::string_view word = m_in.substr(start, std::min<std::size_t>(m_pos - start, 32));
  std::optional<int> parameter;
  const bool negative = m_pos + 1 < m_in.size() && m_in[m_pos] == '-' && IsDigit(m_in[m_pos + 1]);
  if (negative) ++m_pos;
  if (m_pos < m_in.size() && IsDigit(m_in[m_pos])) {
    long long value = 0;
    while (m_pos < m_in.size() && IsDigit(m_in[m_pos])) {
      value = std::min(value * 10 + (m_in[m_pos] - '0'), 1LL << 40);
      ++m_pos;
    }
    value = std::clamp(negative ? -value : value, -2147483647LL, 2147483647LL);
    parameter = static_cast<int>(value);
  }
  if (m_pos < m_in.size() && m_in[m_pos] == ' ') ++m_pos;
  return Word(word, parameter);
}

void RtfReader::Symbol(char symbol) {
  if (symbol == '\'') {
    const int high = m_pos < m_in.size() ? HexValue(m_in[m_pos]) : -1;
    const int low = m_pos + 1 < m_in.size() ? HexValue(m_in[m_pos + 1]) : -1;
    if (high < 0 || low < 0) return;
    m_pos += 2;
    Byte(static_cast<char>(high * 16 + low));
    return;
  }
  if (symbol == '\\' || symbol == '{' || symbol == '}') {
    Byte(symbol);
    return;
  }
  if (symbol == '*') {
    m_ignorable = true;
    return;
  }
  if (Top().destination != Destination::kText || DropFallback()) return;
  Flush();
  switch (symbol) {
    case '~': Insert(QString(QChar(0x00A0))); break;
    case '_': Insert(QString(QChar(0x2011))); break;
    case '\r':
    case '\n': EndParagraph(); break;
    default: break;  // \- optional hyphen, \: index entries, \| formulas
  }
}

void RtfReader::Byte(char byte) {
  if (DropFallback()) return;
  switch (Top().destination) {
    case Destination::kText: m_pending += byte; break;
    case Destination::kFontTable:
      if (byte == ';') {
        CommitFontName();
      } else {
        m_fontBytes += byte;
      }
      break;
    case Destination::kColourTable:
      if (byte == ';') CommitColour();
      break;
    case Destination::kSkip: break;
  }
}

bool RtfReader::DropFallback() {
  if (m_fallbackLeft <= 0) return false;
  --m_fallbackLeft;
  return true;
}

Status RtfReader::Word(std::string_view word, std::optional<int> parameter) {
  const int value = parameter.value_or(1);
  if (word == "bin") {
    // Raw bytes follow; they belong to whatever destination holds them, never to the text.
    const std::size_t count = static_cast<std::size_t>(std::max(0, parameter.value_or(0)));
    if (count > m_in.size() - m_pos) return Status::Failure(kTextRtfTruncated, "\\bin" + std::to_string(count));
    m_pos += count;
    return Status::Ok();
  }
  GroupState& top = Top();
  if (top.destination == Destination::kSkip) return Status::Ok();
  const bool ignorable = m_ignorable;
  m_ignorable = false;
  if (word != "u" && DropFallback()) return Status::Ok();
  Flush();
  if (word == "fonttbl") {
    top.destination = Destination::kFontTable;
    return Status::Ok();
  }
  if (word == "colortbl") {
    top.destination = Destination::kColourTable;
    return Status::Ok();
  }
  if (ignorable ||
      std::find(kSkippedDestinations.begin(), kSkippedDestinations.end(), word) != kSkippedDestinations.end()) {
    top.destination = Destination::kSkip;
    return Status::Ok();
  }
  if (word == "ansicpg") {
    if (value > 0) m_documentCodePage = value;
  } else if (word == "mac") {
    m_documentCodePage = 10000;
  } else if (word == "pc") {
    m_documentCodePage = 437;
  } else if (word == "pca") {
    m_documentCodePage = 850;
  } else if (word == "deff") {
    m_defaultFont = value;
  } else if (word == "uc") {
    top.unicodeSkip = std::clamp(value, 0, 16);
  } else if (word == "u") {
    const int unit = value < 0 ? value + 65536 : value;
    if (top.destination == Destination::kFontTable) {
      m_fontName += DecodeCodePage(m_fontBytes, FontTableCodePage()) + QChar(static_cast<char16_t>(unit));
      m_fontBytes.clear();
    } else if (top.destination == Destination::kText && (unit >= 32 || unit == 9) && unit <= 0xFFFF) {
      Insert(QString(QChar(static_cast<char16_t>(unit))));
    }
    m_fallbackLeft = top.unicodeSkip;
  } else if (top.destination == Destination::kFontTable) {
    if (word == "f") {
      CommitFontName();
      m_fontNumber = value;
      m_fonts[value] = FontEntry{};
    } else if (word == "fcharset" && m_fontNumber >= 0) {
      m_fonts[m_fontNumber].charset = value;
    }
  } else if (top.destination == Destination::kColourTable) {
    const int component = std::clamp(value, 0, 255);
    if (word == "red") m_colour[0] = component;
    if (word == "green") m_colour[1] = component;
    if (word == "blue") m_colour[2] = component;
  } else if (top.destination == Destination::kText) {
    CharProps& chars = top.chars;
    ParaProps& para = top.para;
    if (word == "f") {
      chars.font = value;
    } else if (word == "fs") {
      chars.halfPoints = value > 0 ? std::min(value, 3276) : kDefaultHalfPoints;
    } else if (word == "cf") {
      chars.foreground = value;
    } else if (word == "cb" || word == "highlight") {
      chars.background = value;
    } else if (word == "b") {
      chars.bold = value != 0;
    } else if (word == "i") {
      chars.italic = value != 0;
    } else if (word == "ul" || word == "uld" || word == "uldb" || word == "ulw" || word == "uldash" ||
               word == "ulth" || word == "ulwave") {
      chars.underline = value != 0;
    } else if (word == "ulnone") {
      chars.underline = false;
    } else if (word == "strike") {
      chars.strike = value != 0;
    } else if (word == "plain") {
      chars = CharProps{};
    } else if (word == "pard") {
      para = ParaProps{};
    } else if (word == "ql") {
      para.alignment = Qt::AlignLeft;
    } else if (word == "qc") {
      para.alignment = Qt::AlignHCenter;
    } else if (word == "qr") {
      para.alignment = Qt::AlignRight;
    } else if (word == "qj") {
      para.alignment = Qt::AlignJustify;
    } else if (word == "li") {
      para.left = value;
    } else if (word == "ri") {
      para.right = value;
    } else if (word == "fi") {
      para.firstLine = value;
    } else if (word == "sb") {
      para.before = value;
    } else if (word == "sa") {
      para.after = value;
    } else if (word == "par" || word == "sect" || word == "row") {
      EndParagraph();
    } else if (word == "line") {
      Insert(QString(QChar::LineSeparator));
    } else if (word == "tab" || word == "cell") {
      Insert(QStringLiteral("\t"));
    } else {
      static const std::map<std::string_view, char16_t> kCharacters = {
          {"emdash", 0x2014},    {"endash", 0x2013},    {"bullet", 0x2022},  {"lquote", 0x2018},
          {"rquote", 0x2019},    {"ldblquote", 0x201C}, {"rdblquote", 0x201D}, {"emspace", 0x2003},
          {"enspace", 0x2002},   {"qmspace", 0x2005}};
      if (const auto found = kCharacters.find(word); found != kCharacters.end()) Insert(QString(QChar(found->second)));
    }
  }
  return Status::Ok();
}

int RtfReader::CodePage() {
  const int number = Top().chars.font >= 0 ? Top().chars.font : m_defaultFont;
  const auto font = m_fonts.find(number);
  return CodePageOfCharset(font == m_fonts.end() ? -1 : font->second.charset, m_documentCodePage);
}

int RtfReader::FontTableCodePage() {
  const auto font = m_fonts.find(m_fontNumber);
  return CodePageOfCharset(font == m_fonts.end() ? -1 : font->second.charset, m_documentCodePage);
}

void RtfReader::Flush() {
  if (m_pending.empty()) return;
  const QString text = DecodeCodePage(m_pending, CodePage());
  m_pending.clear();
  Insert(text);
}

QTextCharFormat RtfReader::CharFormat() {
  const CharProps& chars = Top().chars;
  QTextCharFormat format;
  const auto font = m_fonts.find(chars.font >= 0 ? chars.font : m_defaultFont);
  if (font != m_fonts.end() && !font->second.name.isEmpty()) format.setFontFamilies({font->second.name});
  format.setFontPointSize(chars.halfPoints / 2.0);
  format.setFontWeight(chars.bold ? QFont::Bold : QFont::Normal);
  format.setFontItalic(chars.italic);
  format.setFontUnderline(chars.underline);
  format.setFontStrikeOut(chars.strike);
  const auto colour = [&](int index) -> std::optional<QColor> {
    if (index <= 0 || static_cast<std::size_t>(index) >= m_colours.size()) return std::nullopt;
    return m_colours[static_cast<std::size_t>(index)];
  };
  if (const auto foreground = colour(chars.foreground)) format.setForeground(*foreground);
  if (const auto background = colour(chars.background)) format.setBackground(*background);
  return format;
}

void RtfReader::Insert(const QString& raw) {
  // Control characters other than the tab have no place in the text.
  QString text = raw;
  text.removeIf([](QChar c) { return c.unicode() < 0x20 && c != u'\t'; });
  if (text.isEmpty()) return;
  if (m_breakPending) {
    m_breakPending = false;
    m_cursor.insertBlock(QTextBlockFormat(), CharFormat());
  }
  m_cursor.insertText(text, CharFormat());
}

void RtfReader::EndParagraph() {
  if (m_breakPending) m_cursor.insertBlock(QTextBlockFormat(), CharFormat());
  if (m_cursor.block().length() <= 1) m_cursor.setBlockCharFormat(CharFormat());
  ApplyParagraph(Top().para);
  m_breakPending = true;
}

void RtfReader::ApplyParagraph(const ParaProps& para) {
  QTextBlockFormat format;
  format.setAlignment(para.alignment);
  format.setLeftMargin(para.left / kTwipsPerPixel);
  format.setRightMargin(para.right / kTwipsPerPixel);
  format.setTextIndent(para.firstLine / kTwipsPerPixel);
  format.setTopMargin(para.before / kTwipsPerPixel);
  format.setBottomMargin(para.after / kTwipsPerPixel);
  m_cursor.setBlockFormat(format);
}

void RtfReader::EndGroup() {
  const Destination ended = Top().destination;
  // A font entry in a group of its own may leave out its ';'.
  if (ended == Destination::kFontTable) CommitFontName();
  if (m_stack.size() == 1) EndText();
  m_stack.pop_back();
}

void RtfReader::EndText() {
  if (!m_breakPending && m_cursor.block().length() <= 1) m_cursor.setBlockCharFormat(CharFormat());
  if (!m_breakPending) ApplyParagraph(Top().para);
}

void RtfReader::CommitFontName() {
  if (m_fontNumber >= 0) {
    m_fonts[m_fontNumber].name = (m_fontName + DecodeCodePage(m_fontBytes, FontTableCodePage())).trimmed();
  }
  m_fontBytes.clear();
  m_fontName.clear();
  m_fontNumber = -1;
}

void RtfReader::CommitColour() {
  if (m_colour == std::array<int, 3>{-1, -1, -1}) {
    m_colours.emplace_back();
  } else {
    m_colours.emplace_back(QColor(std::max(0, m_colour[0]), std::max(0, m_colour[1]), std::max(0, m_colour[2])));
  }
  m_colour = {-1, -1, -1};
}

}  // namespace

Expected<std::unique_ptr<QTextDocument>> ReadRtf(std::string_view rtf) {
  auto document = std::make_unique<QTextDocument>();
  RtfReader reader(rtf, *document);
  if (Status status = reader.Read(); !status) return status;
  return document;
}

}  // namespace vantorel
