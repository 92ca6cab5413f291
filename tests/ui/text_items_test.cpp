// Text items in the editor: the font library that follows the current screen and draws "Text
// mode" items on the canvas, the plain text file item's settings, and the "Text mode" editor
// (typed characters to cells and back, styles of the selection, the buffer limit, .fxt and .txt
// files, undo) and the "Image mode" editor (formatted text stored as RTF).

#include <QComboBox>
#include <QPushButton>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>
#include <QTreeWidgetItem>

#include <array>
#include <cstdlib>
#include <fstream>
#include <set>

#include "app/text_ids.h"
#include "playbill/fxt_file.h"
#include "playbill/item_builder.h"
#include "playbill/playbill_reader.h"
#include "render/celltext/cell_page.h"
#include "render/celltext/cell_text.h"
#include "render/font_library.h"
#include "render/richtext/rich_text_item.h"
#include "render/richtext/rtf_reader.h"
#include "ui/canvas_pages.h"
#include "ui/cell_text_editor.h"
#include "ui/command_ids.h"
#include "ui/image_text_editor.h"
#include "ui/item_properties.h"
#include "ui/main_frame.h"
#include "ui/playbill_canvas.h"
#include "ui/program_tree.h"
#include "ui/property_panel.h"
#include "ui/text_file_item_properties.h"
#include "ui_test_support.h"

namespace vantorel {
namespace {

constexpr int kTopItem = 2;  // the default cross's top window (16 x 16 at 16, 0): green cells, no text
constexpr int kBarItem = 4;  // the item of the middle window (48 x 16 at 0, 16)
constexpr QRgb kGreen = 0x00FF00;
constexpr QRgb kRed = 0xFF0000;

class TextItemsTest : public testing::EditorTest {
protected:
  void SetUp() override {
    EditorTest::SetUp();
    m_frame = StartFrame(4);
    ASSERT_NE(m_frame, nullptr);
  }

  void Choose(int record) { testing::ChooseRecord(*m_frame, *m_app, record); }
  QRgb CanvasLed(int x, int y) const { return testing::CanvasLed(*m_frame->Canvas(), x, y); }

  // The "Text mode" editor of the top window's item, its text emptied.
  CCellTextItemProperties* CellEditor() {
    Choose(kTopItem);
    CCellTextItemProperties* editor = m_frame->Properties()->ItemEditor()->CellTextEditor();
    EXPECT_TRUE(editor->isVisible());
    editor->TextEdit()->setFocus();
    return editor;
  }

  const tagItemPart& TopItem() const { return m_app->Doc().Record(kTopItem).item; }
  CellTextView Cells() const { return CellTextView(*TopItem().richTxt); }

  std::string CellCodes() const {
    std::string codes;
    const CellTextView cells = Cells();
    for (std::size_t i = 0; i < cells.Count(); ++i) codes += static_cast<char>(cells.CodeAt(i) < 0x80 ? cells.CodeAt(i) : '#');
    return codes;
  }

  static void SelectAll(QTextEdit* edit) {
    QTextCursor cursor = edit->textCursor();
    cursor.select(QTextCursor::Document);
    edit->setTextCursor(cursor);
  }

  std::filesystem::path File(const char* name) const { return DataFolder() / name; }

  // The "Image mode" editor of `record`, its item made a new Image mode item first.
  CImageTextItemProperties* ImageEditor(int record) {
    tagPrgItem changed = m_app->Doc().Record(record);
    StartItemKind(changed.item, kKindImageText);
    changed.item.richTxt = RichTextBlock::NewImageModeText();
    EXPECT_TRUE(m_app->Doc().ReplaceRecord(record, changed));
    m_frame->DocumentChanged();
    Choose(record);
    CImageTextItemProperties* editor = m_frame->Properties()->ItemEditor()->ImageTextEditor();
    EXPECT_TRUE(editor->isVisible());
    return editor;
  }

  CMainFrame* m_frame = nullptr;
};

TEST_F(TextItemsTest, TheFontLibraryFollowsTheCurrentScreen) {
  ASSERT_TRUE(m_app->FontLibrary());
  EXPECT_EQ(m_app->FontLibrary()->GetCodePage(), kCodePageGb2312);
  EXPECT_EQ(CurrentFontLibrary(), m_app->FontLibrary()) << "the library the render code asks for";
  // The top window's green cells are drawn now that there is a library.
  EXPECT_EQ(CanvasLed(20, 4), kGreen);

  CScreenConfig& screens = m_app->Doc().Screens();
  const struct {
    std::uint16_t type;
    std::uint16_t fontLib;
    int codePage;
  } rows[] = {{6, kCodePageBig5, kCodePageBig5}, {7, kCodePageKsc5601, kCodePageKsc5601}, {6, kCodePageAscii, kCodePageAscii}};
  for (const auto& row : rows) {
    tagScreenInfo other = screens.Screen(0);
    other.number = static_cast<std::uint8_t>(screens.Count() + 1);
    other.type = row.type;
    other.fontLib = row.fontLib;
    ASSERT_TRUE(screens.Append(other, screens.Comm(0)));
    ASSERT_TRUE(m_frame->SwitchScreen(screens.Count() - 1));
    ASSERT_TRUE(m_app->FontLibrary());
    EXPECT_EQ(m_app->FontLibrary()->GetCodePage(), row.codePage) << row.fontLib;
  }
  ASSERT_TRUE(m_frame->SwitchScreen(0));
  EXPECT_EQ(m_app->FontLibrary()->GetCodePage(), kCodePageGb2312);
  EXPECT_EQ(CanvasLed(20, 4), kGreen);

  m_app->MainWindowClosing();
  EXPECT_FALSE(m_app->FontLibrary());
  EXPECT_FALSE(CurrentFontLibrary()) << "released at exit";
}

TEST_F(TextItemsTest, TheCanvasDrawsAgainWhenAnythingThatShowsChanges) {
  tagItemPart base;
  base.actType = kKindCellText;
  base.richTxt = RichTextBlock::CellTextOf("AB", 0x12);
  const std::string key = CCanvasPages::ItemKey(base);
  const struct {
    const char* field;
    void (*change)(tagItemPart&);
  } rows[] = {
      {"text", [](tagItemPart& item) { item.richTxt = RichTextBlock::CellTextOf("AC", 0x12); }},
      {"cell style", [](tagItemPart& item) { item.richTxt = RichTextBlock::CellTextOf("AB", 0x22); }},
      {"a byte of the block", [](tagItemPart& item) { item.richTxt->MutableBytes()[3] ^= 1; }},
      {"text style word", [](tagItemPart& item) { item.txt2Img = static_cast<std::int32_t>(MakeTextStyle(1, 0, 0)); }},
      {"effect", [](tagItemPart& item) { item.showType = 11; }},
      {"display mode", [](tagItemPart& item) { item.showMode = 3; }},
      {"text colour", [](tagItemPart& item) { item.fntColor = 0xFF; }},
      {"background", [](tagItemPart& item) { item.bgColor = 0xFF00; }},
      {"transparent", [](tagItemPart& item) { item.transp = 1; }},
      {"inverse", [](tagItemPart& item) { item.negative = 1; }},
      {"font height", [](tagItemPart& item) { item.logFont.height = 24; }},
      {"font face", [](tagItemPart& item) { item.logFont.faceName = "Serif"; }},
      {"bold", [](tagItemPart& item) { item.logFont.weight = 700; }},
      {"media", [](tagItemPart& item) { item.media = "other"; }},
      {"show as text", [](tagItemPart& item) { item.vwAsText = 1; }},
  };
  for (const auto& row : rows) {
    tagItemPart changed = base;
    row.change(changed);
    EXPECT_NE(CCanvasPages::ItemKey(changed), key) << row.field;
  }
  EXPECT_EQ(CCanvasPages::ItemKey(base), key);
  tagItemPart speed = base;
  speed.speed = 9;
  EXPECT_EQ(CCanvasPages::ItemKey(speed), key) << "the speed does not change the page";
}

// "Remove font smooth" reaches the canvas: a text file's page has no shades between text and
// background.
TEST_F(TextItemsTest, TheCanvasDrawsTextSharpWhenFontSmoothingIsRemoved) {
  std::ofstream(File("sharp.txt")) << "Wow";
  tagItemPart item;
  item.actType = kKindTextFile;
  item.media = File("sharp.txt").string();
  item.logFont.height = -16;
  item.fntColor = 0xFFFFFF;
  const auto colours = [](const QImage& image) {
    std::set<QRgb> found;
    for (int y = 0; y < image.height(); ++y) {
      for (int x = 0; x < image.width(); ++x) found.insert(image.pixel(x, y));
    }
    return found.size();
  };
  CCanvasPages pages;
  const QImage smooth = pages.ItemPage(item, QSize(40, 20), 0x77, {}, nullptr, false);
  const QImage sharp = pages.ItemPage(item, QSize(40, 20), 0x77, {}, nullptr, true);
  ASSERT_FALSE(smooth.isNull());
  ASSERT_FALSE(sharp.isNull());
  EXPECT_GT(colours(smooth), 2u);
  EXPECT_EQ(colours(sharp), 2u);
}

TEST_F(TextItemsTest, ThePlainTextFilePanelStoresFileFontAndColour) {
  Choose(kTopItem);
  tagPrgItem record = m_app->Doc().Record(kTopItem);
  record.item.actType = kKindTextFile;
  record.item.richTxt.reset();
  ASSERT_TRUE(m_app->Doc().ReplaceRecord(kTopItem, record));
  m_frame->DocumentChanged();
  CItemProperties* items = m_frame->Properties()->ItemEditor();
  CTextFileItemProperties* editor = items->TextFileEditor();
  ASSERT_TRUE(editor->isVisible());
  EXPECT_FALSE(items->CellTextEditor()->isVisible());
  EXPECT_FALSE(items->findChild<QPushButton*>(QStringLiteral("BackgroundColour"))->isEnabled())
      << "the kind keeps no background colour";

  std::ofstream(File("news.txt")) << "Today";
  editor->ChooseFile(File("news.txt").string());
  QFont font(QStringLiteral("DejaVu Sans"));
  font.setPixelSize(24);
  font.setBold(true);
  font.setItalic(true);
  editor->ChooseFont(font);
  editor->ChooseColour(QColor(0, 0, 255));

  m_frame->RunCommand(kCmdFileSave);
  PrgList saved;
  int version = 0;
  ASSERT_TRUE(ReadPlaybill(DataFolder() / "work" / "av0001.ldt", saved, version).ok());
  const tagItemPart& item = saved.at(kTopItem).item;
  EXPECT_EQ(item.actType, kKindTextFile);
  EXPECT_EQ(item.media.str(), File("news.txt").string());
  EXPECT_EQ(item.logFont.height, 24);
  EXPECT_EQ(item.logFont.weight, 700);
  EXPECT_EQ(item.logFont.italic, 1);
  EXPECT_EQ(item.logFont.underline, 0);
  EXPECT_EQ(item.logFont.faceName.str(), "DejaVu Sans");
  EXPECT_EQ(item.fntColor, 0xFF0000u) << "blue, stored with red in the low byte";
  EXPECT_EQ(m_frame->Tree()->RowOf(kTopItem)->text(0), "news.txt");
  // The font shows again as it was chosen.
  const QFont shown = FontOfLogFont(item.logFont);
  EXPECT_EQ(shown.pixelSize(), 24);
  EXPECT_TRUE(shown.bold() && shown.italic());

  // One undo step a field: colour, font, file.
  for (int step = 0; step < 3; ++step) m_frame->RunCommand(kCmdUndo);
  EXPECT_TRUE(m_app->Doc().Record(kTopItem).item.media.empty());
}

TEST_F(TextItemsTest, TypedTextBecomesCellsAndTheSelectionTakesItsStyle) {
  CCellTextItemProperties* editor = CellEditor();
  QTest::keyClicks(editor->TextEdit(), "AB");
  EXPECT_EQ(CellCodes(), "AB");
  EXPECT_EQ(Cells().CellSize(), 3);
  EXPECT_EQ(Cells().StyleAt(0), 0x12) << "16 dots, red";
  EXPECT_EQ(m_frame->Tree()->RowOf(kTopItem)->text(0), "AB");

  // Each step styles the whole text; the cells and what the editor shows follow.
  const struct {
    const char* step;
    std::function<void()> apply;
    std::uint8_t style;
    int shownSize;
    std::uint32_t shownForeground;
    std::uint32_t shownBackground;
  } rows[] = {
      {"24 dots", [&] { editor->ApplySize(24); }, 0x13, 24, 0x0000FF, 0},
      {"green", [&] { editor->ApplyColour(0x00FF00); }, 0x23, 24, 0x00FF00, 0},
      {"inverse", [&] { editor->ApplyInverse(true); }, 0x2B, 24, 0, 0x00FF00},
      {"yellow, still inverse", [&] { editor->ApplyColour(0x00FFFF); }, 0x3B, 24, 0, 0x00FFFF},
      {"not inverse", [&] { editor->ApplyInverse(false); }, 0x33, 24, 0x00FFFF, 0},
      {"black shows red", [&] { editor->ApplyColour(0); }, 0x13, 24, 0x0000FF, 0},
      {"8 dots", [&] { editor->ApplySize(8); }, 0x10, 8, 0x0000FF, 0},
  };
  for (const auto& row : rows) {
    SelectAll(editor->TextEdit());
    row.apply();
    ASSERT_EQ(Cells().Count(), 2u) << row.step;
    EXPECT_EQ(Cells().StyleAt(0), row.style) << row.step;
    EXPECT_EQ(Cells().StyleAt(1), row.style) << row.step;
    const std::vector<StyledChar> shown = editor->Characters();
    ASSERT_EQ(shown.size(), 2u) << row.step;
    EXPECT_EQ(shown[1].pointSize, row.shownSize) << row.step;
    EXPECT_EQ(shown[1].foreground, row.shownForeground) << row.step;
    EXPECT_EQ(shown[1].background, row.shownBackground) << row.step;
  }

  // Without a selection the style is for what is typed next; a line end is one cell.
  QTextCursor end = editor->TextEdit()->textCursor();
  end.movePosition(QTextCursor::End);
  editor->TextEdit()->setTextCursor(end);
  editor->ApplySize(16);
  editor->ApplyColour(0xFFFF00);
  QTest::keyClick(editor->TextEdit(), Qt::Key_Return);
  QTest::keyClicks(editor->TextEdit(), "C");
  EXPECT_EQ(CellCodes(), "AB\rC");
  EXPECT_EQ(Cells().StyleAt(0), 0x10) << "the text before keeps its style";
  EXPECT_EQ(Cells().StyleAt(3), 0x62) << "16 dots, cyan";

  // The cells read back into the characters the editor shows.
  const std::vector<StyledChar> back = CellsToStyledChars(*TopItem().richTxt, kCodePageGb2312);
  EXPECT_EQ(back, editor->Characters());

  // Typing is one undo step; each style change is one more.
  const std::size_t before = Cells().Count();
  m_frame->RunCommand(kCmdUndo);
  EXPECT_LT(Cells().Count(), before);
  EXPECT_EQ(editor->Characters().size(), Cells().Count()) << "the editor shows the text undone";
}

TEST_F(TextItemsTest, ChineseCharactersTakeTheSizesTheScreenHas) {
  CCellTextItemProperties* editor = CellEditor();
  editor->TextEdit()->insertPlainText(QString::fromUtf8("A\xE4\xB8\xAD"));  // "A" and a GB2312 character
  ASSERT_EQ(Cells().Count(), 2u);
  EXPECT_EQ(Cells().CodeAt(1), 0xD6D0);
  SelectAll(editor->TextEdit());
  editor->ApplySize(8);  // the default screen has no 8-dot double-byte font
  EXPECT_EQ(Cells().StyleAt(0) & kCellSizeIndexMask, 0);
  EXPECT_EQ(Cells().StyleAt(1) & kCellSizeIndexMask, 2) << "16 dots instead";
  EXPECT_EQ(editor->Characters().at(1).pointSize, 16) << "and shown so";
  // The size list offers what the screen has: ASCII 8, 16, 24, 32 and double-byte 16, 24, 32 dots.
  auto* sizes = editor->findChild<QComboBox*>(QStringLiteral("CellTextSize"));
  QStringList offered;
  for (int i = 0; i < sizes->count(); ++i) offered << sizes->itemText(i);
  EXPECT_EQ(offered.join(QLatin1Char(' ')).toStdString(), "8-dot 16-dot 24-dot 32-dot");
}

TEST_F(TextItemsTest, WhatIsTypedStopsAtTheItemBuffer) {
  CCellTextItemProperties* editor = CellEditor();
  const std::size_t capacity = (RichTextBlock::kNewBlockBytes - 3 - 3) / 3;
  EXPECT_EQ(editor->Capacity(), capacity);
  editor->TextEdit()->insertPlainText(QString(static_cast<qsizetype>(capacity + 40), QLatin1Char('x')));
  EXPECT_EQ(Cells().Count(), capacity);
  EXPECT_EQ(editor->Characters().size(), capacity) << "the editor shows what was kept";
  EXPECT_EQ(TopItem().richTxt->StoredSize(kKindCellText), capacity * 3 + 3);
  QTest::keyClicks(editor->TextEdit(), "yy");
  EXPECT_EQ(Cells().Count(), capacity) << "typing at the end changes nothing";
}

TEST_F(TextItemsTest, FxtFilesLoadAndSaveThroughTheEditor) {
  CCellTextItemProperties* editor = CellEditor();
  QTest::keyClicks(editor->TextEdit(), "Hi");
  ASSERT_TRUE(editor->SaveFile(File("hi.fxt")).ok());
  std::ifstream in(File("hi.fxt"), std::ios::binary);
  const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  EXPECT_EQ(bytes, std::string("FXT0100\x12\0H\x12\0i", 13));

  QTest::keyClicks(editor->TextEdit(), " there");
  EXPECT_EQ(CellCodes(), "Hi there");
  ASSERT_TRUE(editor->LoadFile(File("hi.fxt")).ok());
  EXPECT_EQ(CellCodes(), "Hi");
  EXPECT_EQ(editor->TextEdit()->toPlainText(), "Hi") << "the editor shows the loaded cells";

  // Six-byte cells keep their colour whole and read back so.
  {
    std::ofstream out(File("six.fxt"), std::ios::binary);
    out << std::string("FXT0200\x12\x34\x56\x02\0A", 13);
  }
  ASSERT_TRUE(editor->LoadFile(File("six.fxt")).ok());
  EXPECT_EQ(Cells().CellSize(), 6);
  ASSERT_EQ(editor->Characters().size(), 1u);
  EXPECT_EQ(editor->Characters()[0].foreground, 0x563412u);

  // A text file loads as text in the style of what is typed.
  std::ofstream(File("note.txt")) << "one\r\ntwo";
  ASSERT_TRUE(editor->LoadFile(File("note.txt")).ok());
  EXPECT_EQ(editor->TextEdit()->toPlainText(), "one\ntwo");
  EXPECT_EQ(Cells().Count(), 7u);

  // The failures, each leaving the item as it was.
  {
    std::ofstream out(File("bad.fxt"), std::ios::binary);
    out << "FXT0300abc";
  }
  const RichTextBlock kept = *TopItem().richTxt;
  const struct {
    const char* name;
    std::function<Status()> act;
    TextId text;
  } failures[] = {
      {"missing file", [&] { return editor->LoadFile(File("none.fxt")); }, kTextFxtOpenError},
      {"other version", [&] { return editor->LoadFile(File("bad.fxt")); }, kTextFxtFormatIncorrect},
      {"no folder", [&] { return editor->SaveFile(File("no/such/folder.fxt")); }, kTextFxtCreateError},
  };
  for (const auto& failure : failures) {
    const Status status = failure.act();
    EXPECT_FALSE(status.ok()) << failure.name;
    EXPECT_EQ(status.text(), failure.text) << failure.name;
    EXPECT_EQ(*TopItem().richTxt, kept) << failure.name;
  }
  editor->TextEdit()->clear();
  EXPECT_EQ(editor->SaveFile(File("empty.fxt")).text(), kTextFxtNoText);
  EXPECT_FALSE(std::filesystem::exists(File("empty.fxt")));
}

TEST_F(TextItemsTest, ThePreviewDrawsTheCellsAsTheSignDoes) {
  CCellTextItemProperties* editor = CellEditor();
  QTest::keyClicks(editor->TextEdit(), "I");
  // The item's own green background, the "I" in red over it, 16 x 16.
  const QImage page = editor->PreviewPage();
  ASSERT_EQ(page.size(), QSize(16, 16));
  int red = 0;
  int green = 0;
  for (int y = 0; y < 16; ++y) {
    for (int x = 0; x < 16; ++x) {
      const QRgb led = page.pixel(x, y) & 0xFFFFFF;
      red += led == 0xFF0000;
      green += led == 0x00FF00;
    }
  }
  EXPECT_GT(red, 8);
  EXPECT_GT(green, 128);
  EXPECT_EQ(red + green, 256);
  // Centred across and down: the text style word.
  auto* across = editor->findChild<QComboBox*>(QStringLiteral("CellTextAlign"));
  across->setCurrentIndex(1);
  Q_EMIT across->activated(1);
  EXPECT_EQ(TextStyleAlignment(static_cast<std::uint32_t>(TopItem().txt2Img)), 1);
  EXPECT_NE(editor->PreviewPage(), page);
}

TEST_F(TextItemsTest, TwoCentredLinesOfChineseOnTheCross) {
  // The middle bar as a "Text mode" item on black.
  tagPrgItem bar = m_app->Doc().Record(kBarItem);
  StartItemKind(bar.item, kKindCellText);
  bar.item.bgColor = 0;
  bar.item.richTxt = RichTextBlock::NewCellText(-1);
  ASSERT_TRUE(m_app->Doc().ReplaceRecord(kBarItem, bar));
  m_frame->DocumentChanged();
  Choose(kBarItem);
  CCellTextItemProperties* editor = m_frame->Properties()->ItemEditor()->CellTextEditor();
  ASSERT_TRUE(editor->isVisible());
  QTextEdit* text = editor->TextEdit();
  SelectAll(text);
  text->insertPlainText(QString::fromUtf8("\xE6\xAC\xA2\xE8\xBF\x8E\n\xE5\x85\x89\xE4\xB8\xB4"));  // welcome / visit
  // The second line green.
  QTextCursor second = text->textCursor();
  second.movePosition(QTextCursor::End);
  second.movePosition(QTextCursor::StartOfBlock, QTextCursor::KeepAnchor);
  text->setTextCursor(second);
  editor->ApplyColour(0x00FF00);
  for (const char* name : {"CellTextAlign", "CellTextVAlign"}) {
    auto* choice = editor->findChild<QComboBox*>(QString::fromLatin1(name));
    choice->setCurrentIndex(1);
    Q_EMIT choice->activated(1);
  }
  ASSERT_EQ(Cells().Count(), 0u) << "the top item is untouched";
  const CellTextView cells(*m_app->Doc().Record(kBarItem).item.richTxt);
  ASSERT_EQ(cells.Count(), 5u);
  EXPECT_EQ(cells.CodeAt(0), 0xBBB6);
  EXPECT_EQ(cells.CodeAt(2), kCellLineEnd);
  EXPECT_EQ(cells.StyleAt(0), 0x12);
  EXPECT_EQ(cells.StyleAt(4), 0x22);

  // Two pages of one line each (the bar is one line high), both centred across: 32 LEDs of text
  // from x = 8.
  const std::vector<QImage> pages = editor->PreviewPages();
  ASSERT_EQ(pages.size(), 2u);
  const QRgb colours[] = {kRed, kGreen};
  for (std::size_t p = 0; p < pages.size(); ++p) {
    int left = 48;
    int right = -1;
    for (int y = 0; y < 16; ++y) {
      for (int x = 0; x < 48; ++x) {
        const QRgb led = pages[p].pixel(x, y) & 0xFFFFFF;
        if (led == 0) continue;
        EXPECT_EQ(led, colours[p]) << p;
        left = std::min(left, x);
        right = std::max(right, x);
      }
    }
    EXPECT_GE(left, 8) << p;
    EXPECT_LE(right, 39) << p;
    EXPECT_LT(left, 12) << p;
    EXPECT_GT(right, 35) << p;
  }
  // The canvas shows the first page in the bar.
  EXPECT_EQ(CanvasLed(4, 24), 0u);
  int lit = 0;
  for (int x = 8; x < 40; ++x) {
    for (int y = 16; y < 32; ++y) lit += CanvasLed(x, y) == kRed;
  }
  EXPECT_GT(lit, 40);

  // The fields show the style at the cursor.
  QTextCursor end = text->textCursor();
  end.movePosition(QTextCursor::End);
  text->setTextCursor(end);
  EXPECT_EQ(editor->findChild<QComboBox*>(QStringLiteral("CellTextSize"))->currentText(), "16-dot");
  EXPECT_EQ(editor->findChild<QComboBox*>(QStringLiteral("CellTextColour"))->currentText(), "Green");

  // Pictures for the manual, where asked for.
  if (const char* folder = std::getenv("VANTOREL_DOC_SCREENSHOTS")) {
    const std::filesystem::path into(folder);
    m_frame->Canvas()->SetZoom(5);
    QApplication::processEvents();
    EXPECT_TRUE(m_frame->grab().save(QString::fromStdString((into / "text-items-editor.png").string())));
    EXPECT_TRUE(m_frame->Properties()->grab().save(QString::fromStdString((into / "text-items-panel.png").string())));
    CPlaybillCanvas* canvas = m_frame->Canvas();
    canvas->SetZoom(8);
    canvas->resize(canvas->sizeHint());
    EXPECT_TRUE(canvas->grab().save(QString::fromStdString((into / "text-items-canvas.png").string())));
  }
}

// The runs of an "Image mode" item's stored document: text, colour (Qt form), bold.
struct StoredRun {
  std::string text;
  QRgb colour;
  bool bold;
  friend bool operator==(const StoredRun&, const StoredRun&) = default;
};

std::vector<StoredRun> StoredRuns(const tagItemPart& item, Qt::Alignment* alignment = nullptr) {
  std::vector<StoredRun> runs;
  const auto read = ImageTextDocument(item.richTxt ? &*item.richTxt : nullptr);
  EXPECT_TRUE(read.ok());
  if (!read) return runs;
  const QTextDocument& document = **read;
  if (alignment) *alignment = document.begin().blockFormat().alignment();
  for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
    for (auto it = block.begin(); !it.atEnd(); ++it) {
      const QTextFragment fragment = it.fragment();
      runs.push_back({fragment.text().toStdString(), fragment.charFormat().foreground().color().rgb() & 0xFFFFFF,
                      fragment.charFormat().fontWeight() >= QFont::Bold});
    }
  }
  return runs;
}

TEST_F(TextItemsTest, ImageModeTextIsStoredAsRtfWithItsColours) {
  CImageTextItemProperties* editor = ImageEditor(kTopItem);
  EXPECT_FALSE(m_frame->Properties()->ItemEditor()->CellTextEditor()->isVisible());
  QTextEdit* text = editor->TextEdit();
  EXPECT_EQ(text->toPlainText(), "Welcome") << "the new item's text";
  EXPECT_EQ(text->document()->begin().begin().fragment().charFormat().foreground().color().rgb() & 0xFFFFFF, kRed);

  text->selectAll();
  text->textCursor().removeSelectedText();
  editor->ApplyColour(QColor(255, 0, 0));
  QTest::keyClicks(text, "Red");
  editor->ApplyColour(QColor(0, 255, 0));
  QTest::keyClicks(text, "Green");
  EXPECT_EQ(StoredRuns(TopItem()), (std::vector<StoredRun>{{"Red", kRed, false}, {"Green", kGreen, false}}));
  EXPECT_EQ(TopItem().media.str(), "RedGreen") << "named by its first line";
  EXPECT_EQ(m_frame->Tree()->RowOf(kTopItem)->text(0), "RedGreen");
  // The length, then the document as the RTF writer makes it.
  const auto stored = TopItem().richTxt->StoredBytes(kKindImageText);
  const std::string document(reinterpret_cast<const char*>(stored.data()) + 4, stored.size() - 4);
  EXPECT_EQ(document.rfind("{\\rtf", 0), 0u) << document;
  EXPECT_EQ(ReadRtf(document).ok(), true);

  // Bold on the selection and the paragraph centred, each one step of the document.
  QTextCursor green = text->textCursor();
  green.movePosition(QTextCursor::End);
  green.movePosition(QTextCursor::Left, QTextCursor::KeepAnchor, 5);
  text->setTextCursor(green);
  editor->ApplyBold(true);
  editor->ApplyAlignment(Qt::AlignHCenter);
  Qt::Alignment alignment;
  EXPECT_EQ(StoredRuns(TopItem(), &alignment), (std::vector<StoredRun>{{"Red", kRed, false}, {"Green", kGreen, true}}));
  EXPECT_TRUE(alignment & Qt::AlignHCenter);

  m_frame->RunCommand(kCmdUndo);
  m_frame->RunCommand(kCmdUndo);
  EXPECT_EQ(StoredRuns(TopItem(), &alignment), (std::vector<StoredRun>{{"Red", kRed, false}, {"Green", kGreen, false}}));
  EXPECT_FALSE(alignment & Qt::AlignHCenter);
  EXPECT_EQ(text->toPlainText(), "RedGreen") << "the editor shows the text undone";
}

// What a user does: red and green words in an "Image mode" item across the middle bar, a 16-dot
// Chinese "Text mode" character in the top window; both on the canvas, and both again after the
// editor is closed and started anew.
TEST_F(TextItemsTest, BothTextKindsShowOnTheCanvasAndSurviveSavingAndReopening) {
  CImageTextItemProperties* image = ImageEditor(kBarItem);
  QTextEdit* words = image->TextEdit();
  words->setFocus();
  words->selectAll();
  words->textCursor().removeSelectedText();
  image->ApplyPointSize(6);  // 8 pixels: both words fit the bar's 48 LEDs
  image->ApplyColour(QColor(255, 0, 0));
  QTest::keyClicks(words, "Red ");
  image->ApplyColour(QColor(0, 255, 0));
  QTest::keyClicks(words, "Go");

  // The top window's item: a red character on its green background.
  CCellTextItemProperties* cells = CellEditor();
  SelectAll(cells->TextEdit());
  cells->ApplyColour(0x0000FF);
  cells->TextEdit()->insertPlainText(QString::fromUtf8("\xE4\xB8\xAD"));  // 中

  // LEDs mostly red or mostly green (outline text is smoothed) in the bar and the top window,
  // with the bar selected.
  const auto shown = [&] {
    Choose(kBarItem);
    const auto reddish = [](QRgb led) { return qRed(led) > 128 && qGreen(led) < 96 && qBlue(led) < 96; };
    const auto greenish = [](QRgb led) { return qGreen(led) > 128 && qRed(led) < 96 && qBlue(led) < 96; };
    int red = 0;
    int green = 0;
    for (int y = 17; y < 31; ++y) {
      for (int x = 1; x < 47; ++x) {
        red += reddish(CanvasLed(x, y));
        green += greenish(CanvasLed(x, y));
      }
    }
    int top = 0;
    for (int y = 0; y < 16; ++y) {
      for (int x = 16; x < 32; ++x) top += CanvasLed(x, y) == kRed;
    }
    return std::array<int, 3>{red, green, top};
  };
  const std::array<int, 3> before = shown();
  EXPECT_GT(before[0], 20) << "red word in the bar";
  EXPECT_GT(before[1], 10) << "green word in the bar";
  EXPECT_GT(before[2], 20) << "the Chinese character in the top window";
  EXPECT_LT(before[2], 16 * 8) << "drawn as a character, not a filled window";
  std::vector<QImage> pages;
  for (const CanvasWindow& window : m_frame->Canvas()->Windows()) pages.push_back(window.page);

  if (const char* folder = std::getenv("VANTOREL_DOC_SCREENSHOTS")) {
    CPlaybillCanvas* canvas = m_frame->Canvas();
    canvas->SetZoom(8);
    canvas->resize(canvas->sizeHint());
    const std::filesystem::path into(folder);
    EXPECT_TRUE(canvas->grab().save(QString::fromStdString((into / "text-items-image-mode.png").string())));
    canvas->SetZoom(4);
  }

  m_frame->close();
  m_frame = StartFrame(4);
  ASSERT_NE(m_frame, nullptr);
  EXPECT_EQ(StoredRuns(m_app->Doc().Record(kBarItem).item),
            (std::vector<StoredRun>{{"Red ", kRed, false}, {"Go", kGreen, false}}));
  EXPECT_EQ(CellCodes(), "#");
  std::vector<QImage> reopened;
  for (const CanvasWindow& window : m_frame->Canvas()->Windows()) reopened.push_back(window.page);
  EXPECT_EQ(reopened, pages);
  EXPECT_EQ(shown(), before);
  EXPECT_TRUE(m_prompts.messages.empty());
}

}  // namespace
}  // namespace vantorel
