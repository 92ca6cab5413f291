#include <QTextBlock>
#include <QTextFragment>

#include <cmath>
#include <vector>

#include "render/richtext/rtf_reader.h"

namespace vantorel {
namespace {

constexpr double kTwipsPerPixel = 15.0;

int Twips(double pixels) { return static_cast<int>(std::lround(pixels * kTwipsPerPixel)); }

QFont ResolvedFont(const QTextCharFormat& format, const QTextDocument& document) {
  return format.font().resolve(document.defaultFont());
}

QString FamilyOf(const QTextCharFormat& format, const QTextDocument& document) {
  const QStringList families = format.fontFamilies().toStringList();
  return families.isEmpty() ? ResolvedFont(format, document).family() : families.front();
}

int HalfPoints(const QTextCharFormat& format, const QTextDocument& document) {
  const QFont font = ResolvedFont(format, document);
  const double points = font.pointSizeF() > 0 ? font.pointSizeF() : font.pixelSize() * 72.0 / 96.0;
  return std::max(1, static_cast<int>(std::lround(points * 2)));
}

template <typename T>
int IndexOf(std::vector<T>& list, const T& value) {
  for (std::size_t i = 0; i < list.size(); ++i) {
    if (list[i] == value) return static_cast<int>(i);
  }
  list.push_back(value);
  return static_cast<int>(list.size() - 1);
}

void AppendText(std::string& out, const QString& text) {
  for (const QChar c : text) {
    const char16_t unit = c.unicode();
    if (unit == '\\' || unit == '{' || unit == '}') {
      out += '\\';
      out += static_cast<char>(unit);
    } else if (unit == '\t') {
      out += "\\tab ";
    } else if (unit == QChar::LineSeparator) {
      out += "\\line ";
    } else if (unit >= 0x20 && unit < 0x80) {
      out += static_cast<char>(unit);
    } else if (unit >= 0x80) {
      out += "\\u" + std::to_string(static_cast<std::int16_t>(unit)) + "?";
    }
  }
}

std::string Number(const char* word, int value) { return std::string("\\") + word + std::to_string(value); }

}  // namespace

std::string WriteRtf(const QTextDocument& document) {
  std::vector<QString> fonts;
  std::vector<QRgb> colours;
  std::string body;
  const int blockCount = document.blockCount();
  for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
    const QTextBlockFormat format = block.blockFormat();
    body += "\\pard";
    const Qt::Alignment alignment = format.alignment() & Qt::AlignHorizontal_Mask;
    if (alignment & Qt::AlignHCenter) body += "\\qc";
    if (alignment & Qt::AlignRight) body += "\\qr";
    if (alignment & Qt::AlignJustify) body += "\\qj";
    const std::pair<const char*, double> margins[] = {{"li", format.leftMargin()},  {"ri", format.rightMargin()},
                                                      {"fi", format.textIndent()},  {"sb", format.topMargin()},
                                                      {"sa", format.bottomMargin()}};
    for (const auto& [word, pixels] : margins) {
      if (Twips(pixels) != 0) body += Number(word, Twips(pixels));
    }
    const auto appendFormat = [&](const QTextCharFormat& chars) {
      body += "\\plain" + Number("f", IndexOf(fonts, FamilyOf(chars, document))) +
              Number("fs", HalfPoints(chars, document));
      if (chars.hasProperty(QTextFormat::ForegroundBrush)) {
        body += Number("cf", 1 + IndexOf(colours, chars.foreground().color().rgb()));
      }
      if (chars.hasProperty(QTextFormat::BackgroundBrush)) {
        body += Number("cb", 1 + IndexOf(colours, chars.background().color().rgb()));
      }
      if (chars.fontWeight() > QFont::Normal) body += "\\b";
      if (chars.fontItalic()) body += "\\i";
      if (chars.fontUnderline()) body += "\\ul";
      if (chars.fontStrikeOut()) body += "\\strike";
      body += ' ';
    };
    if (block.length() <= 1) appendFormat(block.charFormat());
    for (auto it = block.begin(); !it.atEnd(); ++it) {
      const QTextFragment fragment = it.fragment();
      appendFormat(fragment.charFormat());
      AppendText(body, fragment.text());
    }
    // Every paragraph but the last ends with \par; an empty last one too, so that it is kept.
    if (block.blockNumber() + 1 < blockCount || (block.length() <= 1 && blockCount > 1)) body += "\\par";
    body += "\r\n";
  }
  std::string out = "{\\rtf1\\ansi\\ansicpg1252\\deff0\\uc1\r\n{\\fonttbl";
  for (std::size_t i = 0; i < fonts.size(); ++i) {
    out += "{" + Number("f", static_cast<int>(i)) + "\\fnil\\fcharset0 ";
    AppendText(out, fonts[i]);
    out += ";}";
  }
  out += "}\r\n{\\colortbl ;";
  for (const QRgb colour : colours) {
    out += Number("red", qRed(colour)) + Number("green", qGreen(colour)) + Number("blue", qBlue(colour)) + ";";
  }
  out += "}\r\n" + body + "}\r\n";
  return out;
}

}  // namespace vantorel
