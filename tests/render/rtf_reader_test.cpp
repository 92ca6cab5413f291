#include "render/richtext/rtf_reader.h"

#include <gtest/gtest.h>

#include <QTextBlock>
#include <QTextFragment>

#include <cstdlib>
#include <string>
#include <vector>

#include "app/text_ids.h"
#include "gui_application.h"
#include "playbill/rich_text_block.h"
#include "support/temp_folder.h"

namespace vantorel {
namespace {

class RtfReaderTest : public ::testing::Test {
protected:
  void SetUp() override { test::GuiApplication(); }

  // The document of `rtf`; a failure to read fails the test.
  static std::unique_ptr<QTextDocument> Read(std::string_view rtf) {
    Expected<std::unique_ptr<QTextDocument>> document = ReadRtf(rtf);
    if (!document) {
      ADD_FAILURE() << "not read: " << document.status().detail();
      return std::make_unique<QTextDocument>();
    }
    return std::move(*document);
  }
};

// The paragraphs' texts joined by '|'.
std::string TextOf(const QTextDocument& document) {
  std::string text;
  for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
    if (block != document.begin()) text += '|';
    text += block.text().toStdString();
  }
  return text;
}

// Everything the reader sets, paragraph by paragraph and run by run.
std::string Describe(const QTextDocument& document) {
  std::string out;
  for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
    const QTextBlockFormat para = block.blockFormat();
    out += "[" + std::to_string(static_cast<int>(para.alignment() & Qt::AlignHorizontal_Mask)) + " " +
           std::to_string(para.leftMargin()) + " " + std::to_string(para.rightMargin()) + " " +
           std::to_string(para.textIndent()) + " " + std::to_string(para.topMargin()) + " " +
           std::to_string(para.bottomMargin()) + "]";
    for (auto it = block.begin(); !it.atEnd(); ++it) {
      const QTextCharFormat chars = it.fragment().charFormat();
      // The family drawn: a run without one of its own takes the document's.
      const QStringList families = chars.fontFamilies().toStringList();
      const QString family = families.isEmpty() ? document.defaultFont().family() : families.front();
      out += "{" + family.toStdString() + " " +
             std::to_string(chars.fontPointSize()) + (chars.fontWeight() > QFont::Normal ? " b" : "") +
             (chars.fontItalic() ? " i" : "") + (chars.fontUnderline() ? " u" : "") +
             (chars.fontStrikeOut() ? " s" : "");
      if (chars.hasProperty(QTextFormat::ForegroundBrush)) out += " fg" + chars.foreground().color().name().toStdString();
      if (chars.hasProperty(QTextFormat::BackgroundBrush)) out += " bg" + chars.background().color().name().toStdString();
      out += "}" + it.fragment().text().toStdString();
    }
    out += "\n";
  }
  return out;
}

// The character format at the first 'x' of the document.
QTextCharFormat FormatOfX(const QTextDocument& document) {
  const QTextCursor found = document.find(QStringLiteral("x"));
  return found.isNull() ? QTextCharFormat() : found.charFormat();
}

constexpr const char* kTables =
    "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\fnil DejaVu Sans;}{\\f1\\fswiss\\fcharset0 DejaVu Serif;}}"
    "{\\colortbl;\\red255\\green0\\blue0;\\red0\\green0\\blue255;}";

TEST_F(RtfReaderTest, NewImageModeTextIsTheRedWordWelcome) {
  const auto document = Read(RichTextBlock::DefaultImageModeText());
  EXPECT_EQ(TextOf(*document), "Welcome") << "the closing \\par ends the paragraph and opens none";
  const QTextFragment run = document->begin().begin().fragment();
  EXPECT_EQ(run.text(), QStringLiteral("Welcome"));
  EXPECT_EQ(run.charFormat().foreground().color(), QColor(255, 0, 0));
  EXPECT_EQ(run.charFormat().fontPointSize(), 12.0);
  EXPECT_EQ(run.charFormat().fontFamilies().toStringList(), QStringList{QStringLiteral("MS Shell Dlg")});
}

TEST_F(RtfReaderTest, CharacterProperties) {
  struct Row {
    const char* body;
    std::string expected;  // Describe() of the run holding the x
  };
  const Row rows[] = {
      {"x", "{DejaVu Sans 12.000000}x"},
      {"\\b x", "{DejaVu Sans 12.000000 b}x"},
      {"\\b\\b0 x", "{DejaVu Sans 12.000000}x"},
      {"\\i x", "{DejaVu Sans 12.000000 i}x"},
      {"\\ul x", "{DejaVu Sans 12.000000 u}x"},
      {"\\uldb x", "{DejaVu Sans 12.000000 u}x"},
      {"\\ul\\ulnone x", "{DejaVu Sans 12.000000}x"},
      {"\\strike x", "{DejaVu Sans 12.000000 s}x"},
      {"\\fs48 x", "{DejaVu Sans 24.000000}x"},
      {"\\fs0 x", "{DejaVu Sans 12.000000}x"},
      {"\\f1 x", "{DejaVu Serif 12.000000}x"},
      {"\\f7 x", "{" + QGuiApplication::font().family().toStdString() + " 12.000000}x"},
      {"\\cf1 x", "{DejaVu Sans 12.000000 fg#ff0000}x"},
      {"\\cf1\\cf0 x", "{DejaVu Sans 12.000000}x"},
      {"\\cf9 x", "{DejaVu Sans 12.000000}x"},
      {"\\cb2 x", "{DejaVu Sans 12.000000 bg#0000ff}x"},
      {"\\highlight1 x", "{DejaVu Sans 12.000000 bg#ff0000}x"},
      {"\\b\\i\\cf2\\fs20\\plain x", "{DejaVu Sans 12.000000}x"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.body);
    const auto document = Read(std::string(kTables) + row.body + "}");
    EXPECT_EQ(Describe(*document), "[1 0.000000 0.000000 0.000000 0.000000 0.000000]" + row.expected + "\n");
  }
}

TEST_F(RtfReaderTest, ParagraphProperties) {
  struct Row {
    const char* body;
    const char* expected;  // alignment, left, right, first line, before, after (pixels)
  };
  const Row rows[] = {
      {"x", "[1 0.000000 0.000000 0.000000 0.000000 0.000000]"},
      {"\\qc x", "[4 0.000000 0.000000 0.000000 0.000000 0.000000]"},
      {"\\qr x", "[2 0.000000 0.000000 0.000000 0.000000 0.000000]"},
      {"\\qj x", "[8 0.000000 0.000000 0.000000 0.000000 0.000000]"},
      {"\\qc\\ql x", "[1 0.000000 0.000000 0.000000 0.000000 0.000000]"},
      {"\\li300\\ri150\\fi-150 x", "[1 20.000000 10.000000 -10.000000 0.000000 0.000000]"},
      {"\\sb600\\sa30 x", "[1 0.000000 0.000000 0.000000 40.000000 2.000000]"},
      {"\\qr\\li300\\pard x", "[1 0.000000 0.000000 0.000000 0.000000 0.000000]"},
      {"x\\qc", "[4 0.000000 0.000000 0.000000 0.000000 0.000000]"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.body);
    const auto document = Read(std::string("{\\rtf1 ") + row.body + "}");
    const std::string description = Describe(*document);
    EXPECT_EQ(description.substr(0, description.find('{')), row.expected);
  }
}

TEST_F(RtfReaderTest, ParagraphsKeepTheirOwnProperties) {
  const auto document = Read("{\\rtf1\\qc one\\par\\pard\\qr two\\par\\li150 three}");
  EXPECT_EQ(TextOf(*document), "one|two|three");
  QTextBlock block = document->begin();
  EXPECT_EQ(block.blockFormat().alignment(), Qt::AlignHCenter);
  block = block.next();
  EXPECT_EQ(block.blockFormat().alignment(), Qt::AlignRight);
  block = block.next();
  EXPECT_EQ(block.blockFormat().alignment(), Qt::AlignRight);
  EXPECT_EQ(block.blockFormat().leftMargin(), 10.0);
}

TEST_F(RtfReaderTest, TextAndBreaks) {
  struct Row {
    const char* body;
    const char* text;
  };
  const Row rows[] = {
      {"a\\par b", "a|b"},
      {"a\\par\\par b", "a||b"},
      {"a\\par\\par", "a|"},
      {"a\\line b", "a\xE2\x80\xA8" "b"},
      {"a\\tab b", "a\tb"},
      {"a\r\nb\nc", "abc"},
      {"a\\\r\nb", "a|b"},
      {"\\{\\}\\\\", "{}\\"},
      {"\\emdash\\endash\\bullet\\lquote\\rquote\\ldblquote\\rdblquote", "\xE2\x80\x94\xE2\x80\x93\xE2\x80\xA2\xE2\x80\x98\xE2\x80\x99\xE2\x80\x9C\xE2\x80\x9D"},
      {"a\\~b\\-c\\_d", "a\xC2\xA0" "bc\xE2\x80\x91" "d"},
      {"\\unknownword12 a\\zz b", "ab"},
      {"\\'e9t\\'E9", "\xC3\xA9t\xC3\xA9"},
      {"a\\'zzb", "azzb"},
      {"a\\'4", "a4"},
      {"a\\", "a}"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.body);
    const auto document = Read(std::string("{\\rtf1\\ansi ") + row.body + "}");
    EXPECT_EQ(TextOf(*document), row.text);
  }
}

TEST_F(RtfReaderTest, NestedGroupsRestoreTheirProperties) {
  const auto document = Read(std::string(kTables) + "{\\b a{\\i\\cf1 b{\\ul c}d}e}f}");
  EXPECT_EQ(Describe(*document), "[1 0.000000 0.000000 0.000000 0.000000 0.000000]"
                                 "{DejaVu Sans 12.000000 b}a"
                                 "{DejaVu Sans 12.000000 b i fg#ff0000}b"
                                 "{DejaVu Sans 12.000000 b i u fg#ff0000}c"
                                 "{DejaVu Sans 12.000000 b i fg#ff0000}d"
                                 "{DejaVu Sans 12.000000 b}e"
                                 "{DejaVu Sans 12.000000}f\n");
}

TEST_F(RtfReaderTest, UnicodeCharactersAndTheirFallbacks) {
  struct Row {
    const char* body;
    const char* text;
  };
  const Row rows[] = {
      {"\\u8364?x", "\xE2\x82\xACx"},
      {"\\u8364 ?x", "\xE2\x82\xACx"},
      {"\\uc0\\u8364 x", "\xE2\x82\xACx"},
      {"\\uc2\\u8364\\'80\\'80x", "\xE2\x82\xACx"},
      {"\\uc2\\u8364 ab x", "\xE2\x82\xAC x"},
      {"{\\uc3\\u8364}ab", "\xE2\x82\xAC" "ab"},
      {"\\u8364\\'80\\u8364\\'80", "\xE2\x82\xAC\xE2\x82\xAC"},
      {"\\u-10179?\\u-8704?", "\xF0\x9F\x98\x80"},
      {"\\u20013?\\u25991?", "\xE4\xB8\xAD\xE6\x96\x87"},
      {"\\uc1{\\uc0 \\u8364}x", "\xE2\x82\xACx"},
      {"\\u7?x", "x"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.body);
    const auto document = Read(std::string("{\\rtf1\\ansi ") + row.body + "}");
    EXPECT_EQ(TextOf(*document), row.text);
  }
}

TEST_F(RtfReaderTest, BytesInTheCodePageOfTheFont) {
  struct Row {
    const char* name;
    const char* rtf;
    const char* text;
  };
  const Row rows[] = {
      {"GB2312 font", "{\\rtf1\\ansi{\\fonttbl{\\f0\\fnil\\fcharset134 SimSun;}}\\f0 \\'d6\\'d0\\'ce\\'c4}", "中文"},
      {"BIG5 font", "{\\rtf1\\ansi{\\fonttbl{\\f0\\fnil\\fcharset136 MingLiU;}}\\f0 \\'a4\\'a4\\'a4\\'e5}", "中文"},
      {"BIG5 trail byte written as a character", "{\\rtf1\\ansi{\\fonttbl{\\f0\\fcharset136 M;}}\\f0 \\'b3\\\\}", "許"},
      {"the document's code page", "{\\rtf1\\ansi\\ansicpg936 \\'d6\\'d0}", "中"},
      {"the font's set before the document's", "{\\rtf1\\ansi\\ansicpg936{\\fonttbl{\\f1\\fcharset136 M;}}\\f1\\'a4\\'a4}", "中"},
      {"default set: the document's", "{\\rtf1\\ansi\\ansicpg950{\\fonttbl{\\f0\\fcharset1 M;}}\\'a4\\'a4}", "中"},
      {"\\deff picks the font", "{\\rtf1\\ansi\\deff1{\\fonttbl{\\f1\\fcharset134 S;}}\\'d6\\'d0}", "中"},
      {"a change of font between bytes", "{\\rtf1{\\fonttbl{\\f0\\fcharset134 S;}{\\f1\\fcharset0 A;}}\\f0\\'d6\\'d0\\f1\\'e9}", "中é"},
      {"Cyrillic", "{\\rtf1{\\fonttbl{\\f0\\fcharset204 A;}}\\f0\\'c4\\'e0}", "Да"},
      {"half a pair", "{\\rtf1\\ansicpg936 a\\'d6}", "a\xEF\xBF\xBD"},
      {"unknown code page", "{\\rtf1\\ansicpg12345 a\\'d6}", "a\xEF\xBF\xBD"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    const auto document = Read(row.rtf);
    EXPECT_EQ(TextOf(*document), row.text);
  }
}

TEST_F(RtfReaderTest, FontTables) {
  struct Row {
    const char* table;
    const char* family;
  };
  const Row rows[] = {
      {"{\\f0\\fnil\\fcharset134 \\'cb\\'ce\\'cc\\'e5;}", "宋体"},
      {"{\\f0\\fnil\\fcharset0 Arial;}", "Arial"},
      {"{\\f0 Arial}", "Arial"},
      {"\\f0\\fswiss Arial;\\f1\\froman Times;", "Arial"},
      {"{\\f0\\fnil{\\*\\panose 020b0604020202020204}Arial{\\*\\falt Helvetica};}", "Arial"},
      {"{\\f0\\fnil \\u23435?\\u20307?;}", "宋体"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.table);
    const auto document = Read(std::string("{\\rtf1\\ansi\\ansicpg936{\\fonttbl") + row.table + "}\\f0 x}");
    EXPECT_EQ(FormatOfX(*document).fontFamilies().toStringList(), QStringList{QString::fromUtf8(row.family)});
  }
}

TEST_F(RtfReaderTest, DestinationsWithoutBodyTextAreSkipped) {
  struct Row {
    const char* body;
    const char* text;
  };
  const Row rows[] = {
      {"a{\\*\\unknown hidden {nested} text}b", "ab"},
      {"a{\\*\\generator Writer;}b", "ab"},
      {"{\\stylesheet{\\s0 Normal;}}a", "a"},
      {"{\\info{\\title T}{\\author A}}a", "a"},
      {"a{\\pict\\pngblip 89504e47}b", "ab"},
      {"a{\\pict\\bin4 }}{{b}c", "ac"},
      {"a{\\*\\shppict{\\pict\\bin2 {{}}b", "ab"},
      {"{\\header head}{\\footer foot}a", "a"},
      {"{\\field{\\*\\fldinst HYPERLINK \"x\"}{\\fldrslt link}}", "link"},
      {"a{\\*\\ud b}c", "ac"},
      {"{\\*\\bkmkstart m}a", "a"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.body);
    const auto document = Read(std::string("{\\rtf1\\ansi ") + row.body + "}");
    EXPECT_EQ(TextOf(*document), row.text);
  }
}

TEST_F(RtfReaderTest, BrokenDocuments) {
  struct Row {
    std::string rtf;
    TextId failure;  // kNoTextId: read, with `text`
    std::string text;
  };
  const Row rows[] = {
      {"", kTextRtfNotRichText, ""},
      {"hello", kTextRtfNotRichText, ""},
      {" {\\rtf1 a}", kTextRtfNotRichText, ""},
      {"{\\rtf1 a\\bin100 x}", kTextRtfTruncated, ""},
      {std::string("{\\rtf1 ") + std::string(kRtfMaxDepth, '{') + "a", kTextRtfNestedTooDeeply, ""},
      {std::string("{\\rtf1 ") + std::string(kRtfMaxDepth - 2, '{') + "a", kNoTextId, "a"},
      {"{\\rtf1 abc", kNoTextId, "abc"},
      {"{\\rtf1 {\\b a", kNoTextId, "a"},
      {"{\\rtf1 a}b}}}{c}", kNoTextId, "a"},
      {"{\\rtf1 a}}}}", kNoTextId, "a"},
      {"{\\rtf1 {a}}b}", kNoTextId, "a"},
      {"{\\rtf1 a\\bin0 b}", kNoTextId, "ab"},
      {"{\\rtf1 a\\bin-5 b}", kNoTextId, "ab"},
      {"{\\rtf1 a\\fs99999999999999999999 b}", kNoTextId, "ab"},
      {std::string("{\\rtf1 a\\") + std::string(100, 'x') + " b}", kNoTextId, "ab"},
      {std::string("{\\rtf1 a\0b}", 10), kNoTextId, "ab"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.rtf.substr(0, 40));
    const Expected<std::unique_ptr<QTextDocument>> document = ReadRtf(row.rtf);
    if (row.failure != kNoTextId) {
      ASSERT_FALSE(document.ok());
      EXPECT_EQ(document.status().text(), row.failure);
      EXPECT_FALSE(document.status().detail().empty());
    } else {
      ASSERT_TRUE(document.ok()) << document.status().detail();
      EXPECT_EQ(TextOf(**document), row.text);
    }
  }
}

TEST_F(RtfReaderTest, WrittenDocumentsReadBackTheSame) {
  const std::string documents[] = {
      "{\\rtf1 }",
      "{\\rtf1 plain}",
      "{\\rtf1 a\\par\\par}",
      "{\\rtf1 \\par\\par}",
      "{\\rtf1 \\par}",
      RichTextBlock::DefaultImageModeText(),
      "{\\rtf1{\\fonttbl{\\f0 DejaVu Sans;}{\\f1 DejaVu Serif;}}{\\colortbl;\\red255\\green0\\blue0;\\red1\\green2\\blue3;}"
      "\\qc\\li300\\ri45\\fi-150\\sb90\\sa60\\f0\\fs36\\b bold {\\i\\cf1 red italic}\\par"
      "\\pard\\qr\\f1\\fs17\\ul under\\ulnone\\strike gone\\strike0\\cb2 back\\par\\pard\\qj justified}",
      "{\\rtf1\\ansi{\\fonttbl{\\f0\\fcharset134 \\'cb\\'ce\\'cc\\'e5;}}\\f0 \\'d6\\'d0\\'ce\\'c4\\u-10179?\\u-8704? \\{x\\}\\\\}",
      "{\\rtf1 tab\\tab line\\line nbsp\\~end\\par\\fs72 big\\par}",
  };
  for (const std::string& rtf : documents) {
    SCOPED_TRACE(rtf);
    const auto first = Read(rtf);
    const std::string written = WriteRtf(*first);
    const auto second = Read(written);
    EXPECT_EQ(Describe(*second), Describe(*first)) << written;
    EXPECT_EQ(WriteRtf(*second), written);
  }
}

TEST_F(RtfReaderTest, DocumentsMadeInTheEditorAreWritten) {
  QTextDocument document;
  QTextCursor cursor(&document);
  QTextCharFormat red;
  red.setForeground(QColor(255, 0, 0));
  red.setProperty(QTextFormat::FontPixelSize, 32);
  cursor.insertText(QStringLiteral("Preis: 5 €"), red);
  const std::string written = WriteRtf(document);
  EXPECT_NE(written.find("\\u8364?"), std::string::npos) << written;
  EXPECT_NE(written.find("\\fs48"), std::string::npos) << "32 pixels are 24 points: " << written;
  const auto read = Read(written);
  EXPECT_EQ(TextOf(*read), "Preis: 5 €");
  EXPECT_EQ(read->begin().begin().fragment().charFormat().foreground().color(), QColor(255, 0, 0));
}

// A document of another program: LibreOffice turns an HTML page into RTF at test time.
TEST_F(RtfReaderTest, ReadsWhatLibreOfficeWrites) {
  if (std::system("command -v soffice >/dev/null 2>&1") != 0) {
    GTEST_SKIP() << "soffice (libreoffice-writer-nogui) is not installed: LibreOffice documents are not read";
  }
  const test::TempFolder folder;
  folder.Write("page.html",
               "<html><head><meta charset=\"utf-8\"></head><body>"
               "<p>Plain <b>bold</b> <i>italic</i> <span style=\"color:#ff0000\">red</span></p>"
               "<p align=\"center\">中文 €</p></body></html>");
  const std::string command = "cd '" + folder.Path().string() + "' && HOME='" + folder.Path().string() +
                              "' soffice -env:UserInstallation=file://" + folder.Path().string() +
                              "/profile --headless --convert-to rtf:'Rich Text Format' page.html >/dev/null 2>&1";
  ASSERT_EQ(std::system(command.c_str()), 0) << command;
  const auto document = Read(folder.Read("page.rtf"));
  EXPECT_EQ(TextOf(*document), "Plain bold italic red|中文 €");
  const auto formatAt = [&](const char* text) {
    const QTextCursor found = document->find(QString::fromUtf8(text));
    return found.charFormat();
  };
  EXPECT_TRUE(formatAt("bold").fontWeight() > QFont::Normal);
  EXPECT_FALSE(formatAt("Plain").fontWeight() > QFont::Normal);
  EXPECT_TRUE(formatAt("italic").fontItalic());
  EXPECT_EQ(formatAt("red").foreground().color(), QColor(255, 0, 0));
  EXPECT_EQ(document->lastBlock().blockFormat().alignment(), Qt::AlignHCenter);
}

}  // namespace
}  // namespace vantorel
