#include "render/richtext/rtf_code_page.h"

#include <string>

#include "platform/legacy_text.h"

namespace vantorel {

int CodePageOfCharset(int charset, int documentCodePage) {
  switch (charset) {
    case 0: return 1252;
    case 77: return 10000;
    case 128: return 932;
    case 129: return 949;
    case 130: return 1361;
    case 134: return 936;
    case 136: return 950;
    case 161: return 1253;
    case 162: return 1254;
    case 163: return 1258;
    case 177: return 1255;
    case 178: return 1256;
    case 186: return 1257;
    case 204: return 1251;
    case 222: return 874;
    case 238: return 1250;
    case 255: return 437;
    default: return documentCodePage;
  }
}

namespace {

std::string IconvName(int codePage) {
  switch (codePage) {
    case 936: return "GBK";
    case 950: return "BIG5";
    case 932: return "CP932";
    case 949: return "CP949";
    case 1361: return "JOHAB";
    case 10000: return "MACINTOSH";
    case 20127: return "ASCII";
    case 54936: return "GB18030";
    case 65001: return "UTF-8";
    default: return "CP" + std::to_string(codePage);
  }
}

}  // namespace

QString DecodeCodePage(std::string_view bytes, int codePage) {
  bool ascii = true;
  for (const char byte : bytes) ascii = ascii && static_cast<unsigned char>(byte) < 0x80;
  if (ascii) return QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size()));
  if (const auto utf8 = ConvertToUtf8(bytes, IconvName(codePage).c_str())) {
    return QString::fromUtf8(utf8->data(), static_cast<qsizetype>(utf8->size()));
  }
  QString text;
  for (const char byte : bytes) {
    text += static_cast<unsigned char>(byte) < 0x80 ? QChar(static_cast<char16_t>(byte)) : QChar(QChar::ReplacementCharacter);
  }
  return text;
}

}  // namespace vantorel
