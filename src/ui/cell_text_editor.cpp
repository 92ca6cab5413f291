#include "ui/cell_text_editor.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QTextBlock>
#include <QTextCharFormat>
#include <QTextDocument>
#include <QTextFragment>
#include <QTextCursor>
#include <QTextEdit>

#include <algorithm>
#include <cctype>
#include <functional>
#include <iterator>

#include "app/status_text.h"
#include "app/text_format.h"
#include "app/text_ids.h"
#include "playbill/fxt_file.h"
#include "render/celltext/cell_page.h"
#include "render/celltext/cell_text.h"
#include "render/font_library.h"
#include "render/font_style.h"
#include "render/item_pages.h"
#include "ui/ui_text.h"

namespace vantorel {
namespace {

constexpr int kColourTexts[] = {kTextColourRed,     kTextColourGreen, kTextColourYellow, kTextColourBlue,
                                kTextColourMagenta, kTextColourCyan,  kTextColourWhite};
constexpr int kAcrossTexts[] = {kTextAlignLeft, kTextAlignCentre, kTextAlignRight};
constexpr int kDownTexts[] = {kTextAlignTop, kTextAlignMiddle, kTextAlignBottom};
constexpr int kOtherColour = -1;
constexpr int kPreviewWidth = 320;  // widget pixels the preview may take at most
constexpr int kLargestZoom = 8;
constexpr std::size_t kPreviewPages = 8;  // pages the preview shows at most

QTextCharFormat FormatOf(const StyledChar& character) {
  QTextCharFormat format;
  format.setFontPointSize(character.pointSize);
  format.setForeground(ShownColour(character.foreground));
  if (character.background != 0) {
    format.setBackground(ShownColour(character.background));
  } else {
    format.clearBackground();
  }
  return format;
}

StyledChar StyleOf(const QTextCharFormat& format, const StyledChar& fallback) {
  StyledChar style = fallback;
  if (format.hasProperty(QTextFormat::FontPointSize)) style.pointSize = static_cast<int>(format.fontPointSize() + 0.5);
  if (format.hasProperty(QTextFormat::ForegroundBrush)) style.foreground = StoredColourOf(format.foreground().color());
  style.background = format.hasProperty(QTextFormat::BackgroundBrush) && format.background().style() != Qt::NoBrush
                         ? StoredColourOf(format.background().color())
                         : 0;
  return style;
}

bool SameStyle(const StyledChar& a, const StyledChar& b) {
  return a.pointSize == b.pointSize && a.foreground == b.foreground && a.background == b.background;
}

}  // namespace

std::size_t CellTextBufferBytes(const tagItemPart& item) {
  const std::size_t held = item.richTxt ? item.richTxt->HeldSize() : 0;
  return std::clamp(held, RichTextBlock::kNewBlockBytes, RichTextBlock::kMaxBytes);
}

CCellTextItemProperties::CCellTextItemProperties(QWidget* parent) : CRecordProperties(parent) {
  m_typing.pointSize = 16;
  m_typing.foreground = kBitColours[0];
  m_size = new QComboBox(this);
  m_size->setObjectName(QStringLiteral("CellTextSize"));
  m_colour = new QComboBox(this);
  m_colour->setObjectName(QStringLiteral("CellTextColour"));
  m_inverse = new QCheckBox(this);
  m_inverse->setObjectName(QStringLiteral("CellTextInverse"));
  m_texts.Add(m_inverse, kTextCellTextInverse);
  m_face = new QComboBox(this);
  m_face->setObjectName(QStringLiteral("CellTextFace"));
  m_align = new QComboBox(this);
  m_align->setObjectName(QStringLiteral("CellTextAlign"));
  m_valign = new QComboBox(this);
  m_valign->setObjectName(QStringLiteral("CellTextVAlign"));
  m_spacing = NumberBox("CellTextLineSpacing", 0, 15, this);
  m_text = new QTextEdit(this);
  m_text->setObjectName(QStringLiteral("CellText"));
  m_text->setAcceptRichText(false);  // pasted text takes the style of what is typed
  m_text->setMinimumHeight(90);
  QPalette palette = m_text->palette();
  palette.setColor(QPalette::Base, Qt::black);
  m_text->setPalette(palette);
  m_count = new QLabel(this);
  m_count->setObjectName(QStringLiteral("CellTextCount"));
  m_preview = new QLabel(this);
  m_preview->setObjectName(QStringLiteral("CellTextPreview"));
  m_preview->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  m_load = new QPushButton(this);
  m_load->setObjectName(QStringLiteral("LoadCellText"));
  m_texts.Add(m_load, kTextLoadText);
  m_save = new QPushButton(this);
  m_save->setObjectName(QStringLiteral("SaveCellText"));
  m_texts.Add(m_save, kTextSaveText);

  auto* alignRow = new QHBoxLayout;
  alignRow->addWidget(m_align);
  alignRow->addWidget(m_valign);
  auto* styleRow = new QHBoxLayout;
  styleRow->addWidget(m_colour, 1);
  styleRow->addWidget(m_inverse);
  auto* fileRow = new QHBoxLayout;
  fileRow->addWidget(m_count, 1);
  fileRow->addWidget(m_load);
  fileRow->addWidget(m_save);
  auto* form = new QFormLayout(this);
  form->setContentsMargins(0, 0, 0, 0);
  form->addRow(m_texts.Label(kTextCellTextSize, this), m_size);
  form->addRow(m_texts.Label(kTextCellTextColour, this), styleRow);
  form->addRow(m_texts.Label(kTextCellTextFace, this), m_face);
  form->addRow(m_texts.Label(kTextHorizontalAlignment, this), alignRow);
  form->addRow(m_texts.Label(kTextLineSpacing, this), m_spacing);
  form->addRow(m_text);
  form->addRow(fileRow);
  form->addRow(m_texts.Label(kTextSignPreview, this));
  form->addRow(m_preview);
  FillChoices();

  connect(m_text, &QTextEdit::textChanged, this, [this] {
    if (!m_writing) TextTyped();
  });
  connect(m_text, &QTextEdit::currentCharFormatChanged, this, [this](const QTextCharFormat& format) {
    if (m_writing) return;
    m_typing = StyleOf(format, m_typing);
    ShowTypingStyle();
  });
  connect(m_size, &QComboBox::activated, this, [this](int index) { ApplySize(m_size->itemData(index).toInt()); });
  connect(m_colour, &QComboBox::activated, this, [this](int index) {
    const int choice = m_colour->itemData(index).toInt();
    if (choice != kOtherColour) {
      ApplyColour(m_colour->itemData(index).toUInt());
      return;
    }
    const QColor chosen = QColorDialog::getColor(ShownColour(m_typing.foreground), this, Text(kTextCellTextColour));
    if (chosen.isValid()) ApplyColour(StoredColourOf(chosen));
  });
  connect(m_inverse, &QCheckBox::toggled, this, &CCellTextItemProperties::ApplyInverse);
  const auto editStyle = [this](int field) {
    const int alignment = m_align->currentIndex() | m_valign->currentIndex() << 2;
    EditTextStyle(field, alignment, m_spacing->value(), m_face->currentData().toInt() >> kStyleFaceShift);
  };
  connect(m_face, &QComboBox::activated, this, [editStyle] { editStyle(kFace); });
  connect(m_align, &QComboBox::activated, this, [editStyle] { editStyle(kAlignment); });
  connect(m_valign, &QComboBox::activated, this, [editStyle] { editStyle(kAlignment); });
  connect(m_spacing, &QSpinBox::valueChanged, this, [editStyle] { editStyle(kSpacing); });
  connect(m_load, &QPushButton::clicked, this, [this] {
    const QString file = QFileDialog::getOpenFileName(this, Text(kTextLoadText), QString(), FileDialogFilter(kTextCellTextOpenFilter));
    if (file.isEmpty()) return;
    if (const Status loaded = LoadFile(file.toStdString()); !loaded) {
      ShowMessage(this, QString::fromStdString(StatusMessage(loaded)), kTextWarning, QMessageBox::Warning);
    }
  });
  connect(m_save, &QPushButton::clicked, this, [this] {
    QString file = QFileDialog::getSaveFileName(this, Text(kTextSaveText), QString(), FileDialogFilter(kTextCellTextSaveFilter));
    if (file.isEmpty()) return;
    if (!file.endsWith(QStringLiteral(".fxt"), Qt::CaseInsensitive)) file += QStringLiteral(".fxt");
    if (const Status saved = SaveFile(file.toStdString()); !saved) {
      ShowMessage(this, QString::fromStdString(StatusMessage(saved)), kTextWarning, QMessageBox::Warning);
    }
  });
}

void CCellTextItemProperties::FillChoices() {
  vantorel::FillChoices(m_align, kAcrossTexts);
  vantorel::FillChoices(m_valign, kDownTexts);
  const QSignalBlocker block(m_colour);
  m_colour->clear();
  for (std::size_t i = 0; i < std::size(kColourTexts); ++i) {
    QPixmap swatch(16, 12);
    swatch.fill(ShownColour(kBitColours[i]));
    m_colour->addItem(QIcon(swatch), Text(kColourTexts[i]), static_cast<uint>(kBitColours[i]));
  }
  // Six-byte cells keep any colour.
  if (CellSize() == 6) m_colour->addItem(Text(kTextColourOther), kOtherColour);
}

int CCellTextItemProperties::CellSize() const {
  return m_record.item.richTxt ? CellTextView(*m_record.item.richTxt).CellSize() : 3;
}

CellTextSettings CCellTextItemProperties::Settings() const {
  CellTextSettings settings;
  settings.cellSize = CellSize();
  settings.codePage = FontCodePageOf(m_context.screen);
  settings.extSizeMask = m_context.screen.extSizeM;
  settings.faceBits = TextStyleFaceBits(static_cast<std::uint32_t>(m_record.item.txt2Img));
  return settings;
}

std::size_t CCellTextItemProperties::Capacity() const {
  return RichTextBlock::CellCapacity(CellTextBufferBytes(m_record.item), static_cast<std::size_t>(CellSize()));
}

void CCellTextItemProperties::SetContext(CellTextContext context) {
  m_context = std::move(context);
  FillScreenSizes(m_size, m_context.screen);
  FillScreenFaces(m_face, m_context.fontLibrary.get(), m_context.screen);
  m_face->setVisible(m_face->count() > 0);
}

std::vector<StyledChar> CCellTextItemProperties::Characters() const {
  std::vector<StyledChar> characters;
  const QTextDocument* document = m_text->document();
  StyledChar style = m_typing;
  for (QTextBlock block = document->begin(); block.isValid(); block = block.next()) {
    if (block != document->begin()) {
      StyledChar lineEnd = style;
      lineEnd.character = 13;
      characters.push_back(lineEnd);
    }
    for (auto fragment = block.begin(); !fragment.atEnd(); ++fragment) {
      const QTextFragment piece = fragment.fragment();
      style = StyleOf(piece.charFormat(), style);
      for (const auto character : piece.text().toUcs4()) {
        StyledChar styled = style;
        // Line breaks inside a paragraph are line ends as well.
        styled.character = character == 0x2028 || character == '\n' ? U'\r' : static_cast<char32_t>(character);
        characters.push_back(styled);
      }
    }
  }
  return characters;
}

void CCellTextItemProperties::ShowCharacters(const std::vector<StyledChar>& characters) {
  m_writing = true;
  const int position = m_text->textCursor().position();
  const int anchor = m_text->textCursor().anchor();
  m_text->clear();
  QTextCursor cursor(m_text->document());
  std::size_t i = 0;
  while (i < characters.size()) {
    if (characters[i].character == 13) {
      cursor.insertBlock(QTextBlockFormat(), FormatOf(characters[i]));
      ++i;
      continue;
    }
    std::u32string run;
    const std::size_t start = i;
    while (i < characters.size() && characters[i].character != 13 && SameStyle(characters[i], characters[start])) {
      run.push_back(characters[i++].character);
    }
    cursor.insertText(QString::fromUcs4(run.data(), static_cast<qsizetype>(run.size())), FormatOf(characters[start]));
  }
  const int end = static_cast<int>(m_text->document()->characterCount()) - 1;
  QTextCursor kept(m_text->document());
  kept.setPosition(std::clamp(anchor, 0, end));
  kept.setPosition(std::clamp(position, 0, end), QTextCursor::KeepAnchor);
  m_text->setTextCursor(kept);
  // With a selection the format would go onto the selected characters.
  if (!kept.hasSelection()) m_text->setCurrentCharFormat(FormatOf(m_typing));
  m_writing = false;
}

void CCellTextItemProperties::ShowTypingStyle() {
  const QSignalBlocker blockSize(m_size);
  const QSignalBlocker blockColour(m_colour);
  const QSignalBlocker blockInverse(m_inverse);
  m_size->setCurrentIndex(m_size->findData(m_typing.pointSize));
  const bool inverse = m_typing.foreground == 0 && m_typing.background != 0;
  m_inverse->setChecked(inverse);
  const int colour = m_colour->findData(static_cast<uint>(inverse ? m_typing.background : m_typing.foreground));
  // A colour outside the list (six-byte cells): "Other...".
  m_colour->setCurrentIndex(colour >= 0 ? colour : m_colour->findData(kOtherColour));
}

void CCellTextItemProperties::TextTyped() { StoreCells(Characters(), kText); }

void CCellTextItemProperties::StoreCells(const std::vector<StyledChar>& characters, int field) {
  CellConversion cells = ConvertToCells(characters, Settings(), CellTextBufferBytes(m_record.item));
  if (!cells.block) return;
  // The editor shows what the cells keep: sizes the sign has, red for black, nothing past the buffer.
  if (cells.shown != characters || field != kText) ShowCharacters(cells.shown);
  m_stored = cells.block;
  Edit(field, [&cells](tagPrgItem& record) { record.item.richTxt = std::move(cells.block); });
}

void CCellTextItemProperties::Restyle(const std::function<void(StyledChar&)>& change) {
  change(m_typing);
  // What is typed next shows as its cells will: a letter in this style tells.
  StyledChar letter = m_typing;
  letter.character = 'A';
  if (const CellConversion typed = ConvertToCells({&letter, 1}, Settings(), CellTextBufferBytes(m_record.item));
      !typed.shown.empty()) {
    m_typing = typed.shown.front();
    m_typing.character = 0;
  }
  ShowTypingStyle();
  const QTextCursor cursor = m_text->textCursor();
  if (!cursor.hasSelection()) {
    m_writing = true;
    m_text->setCurrentCharFormat(FormatOf(m_typing));
    m_writing = false;
    return;
  }
  // Positions in the text edit count a line end as one character, as the styled characters do.
  std::vector<StyledChar> characters = Characters();
  const auto first = static_cast<std::size_t>(cursor.selectionStart());
  const auto last = std::min(static_cast<std::size_t>(cursor.selectionEnd()), characters.size());
  for (std::size_t i = first; i < last; ++i) change(characters[i]);
  StoreCells(characters, kStyle);
}

void CCellTextItemProperties::ApplySize(int dots) {
  Restyle([dots](StyledChar& character) { character.pointSize = dots; });
}

void CCellTextItemProperties::ApplyColour(std::uint32_t colour) {
  Restyle([colour](StyledChar& character) {
    if (character.foreground == 0 && character.background != 0) {
      character.background = colour;  // inverse: the colour is the cell's
    } else {
      character.foreground = colour;
    }
  });
}

void CCellTextItemProperties::ApplyInverse(bool inverse) {
  Restyle([inverse](StyledChar& character) {
    const bool isInverse = character.foreground == 0 && character.background != 0;
    if (inverse == isInverse) return;
    if (inverse) {
      character.background = character.foreground;
      character.foreground = 0;
    } else {
      character.foreground = character.background;
      character.background = 0;
    }
  });
}

void CCellTextItemProperties::EditTextStyle(int field, int alignment, int spacing, int face) {
  const std::uint32_t mask = MakeTextStyle(0x0F, 0x0F, 0x07);
  const std::uint32_t word = (static_cast<std::uint32_t>(m_record.item.txt2Img) & ~mask) | MakeTextStyle(alignment, spacing, face);
  const bool sixByteCells = CellSize() == 6;
  if (!sixByteCells) {
    Edit(field, [word](tagPrgItem& record) { record.item.txt2Img = static_cast<std::int32_t>(word); });
    return;
  }
  // Six-byte cells carry their face each: every cell takes the new one.
  m_record.item.txt2Img = static_cast<std::int32_t>(word);
  StoreCells(Characters(), field);
}

Status CCellTextItemProperties::LoadFile(const std::filesystem::path& file) {
  std::string extension = file.extension().string();
  std::transform(extension.begin(), extension.end(), extension.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  if (extension == ".txt") {
    const Expected<std::string> text = ReadEditorTextFile(file);
    if (!text) return text.status();
    std::vector<StyledChar> characters;
    const QString typed = QString::fromStdString(*text);
    const auto all = typed.toUcs4();
    for (qsizetype i = 0; i < all.size(); ++i) {
      if (all[i] == '\r' && i + 1 < all.size() && all[i + 1] == '\n') continue;
      StyledChar character = m_typing;
      character.character = all[i] == '\n' ? U'\r' : static_cast<char32_t>(all[i]);
      characters.push_back(character);
    }
    StoreCells(characters, kFile);
    return Status::Ok();
  }
  Expected<RichTextBlock> block = ReadFxtFile(file, CellTextBufferBytes(m_record.item));
  if (!block) return block.status();
  m_stored.reset();
  Edit(kFile, [&block](tagPrgItem& record) { record.item.richTxt = std::move(*block); });
  return Status::Ok();
}

Status CCellTextItemProperties::SaveFile(const std::filesystem::path& file) {
  if (!m_record.item.richTxt) return Status::Failure(kTextFxtNoText);
  return WriteFxtFile(file, *m_record.item.richTxt);
}

void CCellTextItemProperties::Show(const tagPrgItem& record) {
  const int cellSize = CellSize();
  m_record = record;
  if (CellSize() != cellSize || m_colour->count() == 0) FillChoices();
  const auto word = static_cast<std::uint32_t>(record.item.txt2Img);
  const std::uint8_t alignment = TextStyleAlignment(word);
  ShowChoice(m_align, alignment & 0x03);
  ShowChoice(m_valign, alignment >> 2);
  SetQuietly(m_spacing, TextStyleLineSpacing(word));
  {
    const QSignalBlocker block(m_face);
    m_face->setCurrentIndex(std::max(0, m_face->findData(static_cast<int>(TextStyleFaceBits(word)))));
  }
  // What this editor stored itself is on the screen already: rewriting it would move the cursor.
  if (!m_stored || record.item.richTxt != m_stored) {
    m_stored.reset();
    ShowCharacters(record.item.richTxt ? CellsToStyledChars(*record.item.richTxt, FontCodePageOf(m_context.screen))
                                       : std::vector<StyledChar>());
  }
  ShowTypingStyle();
  UpdateCount();
  UpdatePreview();
}

void CCellTextItemProperties::UpdateCount() {
  const std::size_t used = m_record.item.richTxt ? CellTextView(*m_record.item.richTxt).Count() : 0;
  m_count->setText(FormattedText(kTextCellsUsed, FormatText("%zu / %zu", used, Capacity())));
}

std::vector<QImage> CCellTextItemProperties::PreviewPages() const {
  std::vector<QImage> images;
  if (!m_context.fontLibrary || m_context.window.isEmpty()) return images;
  const auto pages = RenderItemPages(m_record.item, m_context.window,
                                     ItemRenderSettings{m_context.screen.color, m_context.folder, m_context.fontLibrary.get(), false, {}});
  if (!pages) return images;
  for (const CLedBitmap& page : *pages) {
    if (images.size() == kPreviewPages) break;
    images.push_back(page.Image().convertToFormat(QImage::Format_RGB32));
  }
  return images;
}

QImage CCellTextItemProperties::PreviewPage() const {
  const std::vector<QImage> pages = PreviewPages();
  return pages.empty() ? QImage() : pages.front();
}

void CCellTextItemProperties::UpdatePreview() {
  const std::vector<QImage> pages = PreviewPages();
  if (pages.empty()) {
    m_preview->clear();
    return;
  }
  // Each LED a square with a dark gap, as on the canvas; the pages one below the other.
  const QSize window = pages.front().size();
  const int zoom = std::clamp(kPreviewWidth / std::max(1, window.width()), 1, kLargestZoom);
  const int gap = zoom >= 4 ? 1 : 0;
  const int pageHeight = window.height() * zoom;
  const int between = std::max(4, zoom);
  const auto count = static_cast<int>(pages.size());
  QImage shown(window.width() * zoom, count * pageHeight + (count - 1) * between, QImage::Format_RGB32);
  shown.fill(palette().color(QPalette::Window));
  for (int p = 0; p < count; ++p) {
    const QImage& page = pages[static_cast<std::size_t>(p)];
    const int top = p * (pageHeight + between);
    for (int y = 0; y < page.height(); ++y) {
      for (int row = 0; row < zoom; ++row) {
        auto* line = reinterpret_cast<QRgb*>(shown.scanLine(top + y * zoom + row));
        for (int x = 0; x < page.width(); ++x) {
          const QRgb led = row < zoom - gap ? page.pixel(x, y) : qRgb(32, 32, 32);
          for (int column = 0; column < zoom; ++column) line[x * zoom + column] = column < zoom - gap ? led : qRgb(32, 32, 32);
        }
      }
    }
  }
  m_preview->setPixmap(QPixmap::fromImage(shown));
}

}  // namespace vantorel
