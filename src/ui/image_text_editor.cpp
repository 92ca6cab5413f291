#include "ui/image_text_editor.h"

#include <QColorDialog>
#include <QComboBox>
#include <QFontComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextDocumentFragment>
#include <QTextEdit>
#include <QToolButton>

#include <algorithm>
#include <string>

#include "app/status_text.h"
#include "app/text_ids.h"
#include "render/richtext/rich_text_item.h"
#include "render/richtext/rtf_reader.h"
#include "ui/ui_text.h"

namespace vantorel {
namespace {

constexpr int kAlignTexts[] = {kTextAlignLeft, kTextAlignCentre, kTextAlignRight};
constexpr Qt::Alignment kAlignments[] = {Qt::AlignLeft, Qt::AlignHCenter, Qt::AlignRight};
// The 32-bit length, the CR LF after the document and the two zero bytes.
constexpr std::size_t kBlockExtra = 8;

QToolButton* StyleButton(const char* name, const QString& label, QWidget* parent) {
  auto* button = new QToolButton(parent);
  button->setObjectName(QString::fromLatin1(name));
  button->setCheckable(true);
  button->setText(label);
  return button;
}

void ShowSwatch(QPushButton* button, const QColor& colour) {
  QPixmap swatch(24, 14);
  swatch.fill(colour.isValid() ? colour : QColor(Qt::transparent));
  button->setIcon(QIcon(swatch));
  button->setText(colour.isValid() ? colour.name() : QStringLiteral("-"));
}

}  // namespace

CImageTextItemProperties::CImageTextItemProperties(QWidget* parent) : CRecordProperties(parent) {
  m_family = new QFontComboBox(this);
  m_family->setObjectName(QStringLiteral("ImageTextFont"));
  m_size = NumberBox("ImageTextSize", 4, 400, this);
  m_colour = new QPushButton(this);
  m_colour->setObjectName(QStringLiteral("ImageTextColour"));
  m_background = new QPushButton(this);
  m_background->setObjectName(QStringLiteral("ImageTextBackground"));
  m_bold = StyleButton("ImageTextBold", QStringLiteral("B"), this);
  m_italic = StyleButton("ImageTextItalic", QStringLiteral("I"), this);
  m_underline = StyleButton("ImageTextUnderline", QStringLiteral("U"), this);
  QFont bold = m_bold->font();
  bold.setBold(true);
  m_bold->setFont(bold);
  QFont italic = m_italic->font();
  italic.setItalic(true);
  m_italic->setFont(italic);
  QFont underline = m_underline->font();
  underline.setUnderline(true);
  m_underline->setFont(underline);
  m_align = new QComboBox(this);
  m_align->setObjectName(QStringLiteral("ImageTextAlign"));
  m_text = new QTextEdit(this);
  m_text->setObjectName(QStringLiteral("ImageText"));
  m_text->setMinimumHeight(110);
  m_problem = new QLabel(this);
  m_problem->setObjectName(QStringLiteral("ImageTextProblem"));
  m_problem->setWordWrap(true);
  m_problem->setStyleSheet(QStringLiteral("color: #b00020"));
  m_problem->hide();

  auto* fontRow = new QHBoxLayout;
  fontRow->addWidget(m_family, 1);
  fontRow->addWidget(m_size);
  auto* styleRow = new QHBoxLayout;
  styleRow->addWidget(m_bold);
  styleRow->addWidget(m_italic);
  styleRow->addWidget(m_underline);
  styleRow->addWidget(m_align, 1);
  auto* colourRow = new QHBoxLayout;
  colourRow->addWidget(m_colour);
  colourRow->addWidget(m_background);
  auto* form = new QFormLayout(this);
  form->setContentsMargins(0, 0, 0, 0);
  form->addRow(m_texts.Label(kTextFont, this), fontRow);
  form->addRow(m_texts.Label(kTextHorizontalAlignment, this), styleRow);
  form->addRow(m_texts.Label(kTextTextColour, this), colourRow);
  form->addRow(m_text);
  form->addRow(m_problem);
  FillChoices();

  connect(m_text, &QTextEdit::textChanged, this, [this] {
    if (!m_writing) StoreText(m_pendingField != 0 ? m_pendingField : kText);
  });
  connect(m_text, &QTextEdit::currentCharFormatChanged, this, &CImageTextItemProperties::ShowFormat);
  connect(m_family, &QFontComboBox::currentFontChanged, this, [this](const QFont& font) { ApplyFamily(font.family()); });
  connect(m_size, &QSpinBox::valueChanged, this, &CImageTextItemProperties::ApplyPointSize);
  connect(m_colour, &QPushButton::clicked, this, [this] {
    const QColor colour = QColorDialog::getColor(m_text->currentCharFormat().foreground().color(), this, Text(kTextTextColour));
    if (colour.isValid()) ApplyColour(colour);
  });
  connect(m_background, &QPushButton::clicked, this, [this] {
    const QColor colour = QColorDialog::getColor(m_text->currentCharFormat().background().color(), this, Text(kTextTextBackground));
    if (colour.isValid()) ApplyBackground(colour);
  });
  connect(m_bold, &QToolButton::toggled, this, &CImageTextItemProperties::ApplyBold);
  connect(m_italic, &QToolButton::toggled, this, &CImageTextItemProperties::ApplyItalic);
  connect(m_underline, &QToolButton::toggled, this, &CImageTextItemProperties::ApplyUnderline);
  connect(m_align, &QComboBox::activated, this, [this](int index) {
    ApplyAlignment(kAlignments[static_cast<std::size_t>(std::clamp(index, 0, 2))]);
  });
}

void CImageTextItemProperties::FillChoices() {
  vantorel::FillChoices(m_align, kAlignTexts);
  m_bold->setToolTip(Text(kTextBold));
  m_italic->setToolTip(Text(kTextItalic));
  m_underline->setToolTip(Text(kTextUnderline));
  m_background->setToolTip(Text(kTextTextBackground));
}

void CImageTextItemProperties::ShowFormat(const QTextCharFormat& format) {
  const QSignalBlocker blockFamily(m_family);
  const QSignalBlocker blockSize(m_size);
  const QSignalBlocker blockBold(m_bold);
  const QSignalBlocker blockItalic(m_italic);
  const QSignalBlocker blockUnderline(m_underline);
  const QSignalBlocker blockAlign(m_align);
  const QFont font = format.font();
  m_family->setCurrentFont(font);
  m_size->setValue(static_cast<int>(font.pointSizeF() + 0.5));
  m_bold->setChecked(font.bold());
  m_italic->setChecked(font.italic());
  m_underline->setChecked(font.underline());
  ShowSwatch(m_colour, format.foreground().color());
  ShowSwatch(m_background, format.background().style() == Qt::NoBrush ? QColor() : format.background().color());
  const Qt::Alignment alignment = m_text->alignment();
  m_align->setCurrentIndex(alignment & Qt::AlignHCenter ? 1 : alignment & Qt::AlignRight ? 2 : 0);
}

void CImageTextItemProperties::Merge(const QTextCharFormat& format) {
  // One change of the document for the whole selection.
  m_pendingField = kFormat;
  m_text->mergeCurrentCharFormat(format);
  m_pendingField = 0;
}

void CImageTextItemProperties::ApplyFamily(const QString& family) {
  QTextCharFormat format;
  format.setFontFamilies({family});
  Merge(format);
}

void CImageTextItemProperties::ApplyPointSize(int points) {
  QTextCharFormat format;
  format.setFontPointSize(points);
  Merge(format);
}

void CImageTextItemProperties::ApplyColour(const QColor& colour) {
  QTextCharFormat format;
  format.setForeground(colour);
  Merge(format);
  ShowSwatch(m_colour, colour);
}

void CImageTextItemProperties::ApplyBackground(const QColor& colour) {
  QTextCharFormat format;
  format.setBackground(colour);
  Merge(format);
  ShowSwatch(m_background, colour);
}

void CImageTextItemProperties::ApplyBold(bool on) {
  QTextCharFormat format;
  format.setFontWeight(on ? QFont::Bold : QFont::Normal);
  Merge(format);
}

void CImageTextItemProperties::ApplyItalic(bool on) {
  QTextCharFormat format;
  format.setFontItalic(on);
  Merge(format);
}

void CImageTextItemProperties::ApplyUnderline(bool on) {
  QTextCharFormat format;
  format.setFontUnderline(on);
  Merge(format);
}

void CImageTextItemProperties::ApplyAlignment(Qt::Alignment alignment) {
  m_pendingField = kAlignment;
  m_text->setAlignment(alignment);
  m_pendingField = 0;
}

void CImageTextItemProperties::StoreText(int field) {
  const std::string document = WriteRtf(*m_text->document());
  if (document.size() + kBlockExtra > RichTextBlock::kMaxBytes) {
    // Too long for a block: what was typed last is taken back.
    m_problem->setText(FormattedText(kTextImageTextTooLong, std::to_string(RichTextBlock::kMaxBytes - kBlockExtra)));
    m_problem->show();
    m_writing = true;
    m_text->undo();
    m_writing = false;
    return;
  }
  m_problem->hide();
  std::optional<RichTextBlock> block = RichTextBlock::ImageModeText(document);
  if (!block) return;
  m_stored = block;
  // The item is named by its first line.
  const QString plain = m_text->document()->toPlainText();
  const std::string firstLine = plain.left(plain.indexOf(QLatin1Char('\n'))).toStdString();
  Edit(field, [&block, &firstLine](tagPrgItem& record) {
    record.item.richTxt = std::move(block);
    record.item.media = firstLine;
  });
}

void CImageTextItemProperties::Show(const tagPrgItem& record) {
  m_record = record;
  if (m_stored && record.item.richTxt == m_stored) return;
  m_stored.reset();
  m_problem->hide();
  m_writing = true;
  m_text->clear();
  if (record.item.richTxt) {
    if (Expected<std::unique_ptr<QTextDocument>> read = ImageTextDocument(&*record.item.richTxt); read) {
      QTextCursor(m_text->document()).insertFragment(QTextDocumentFragment(read->get()));
    } else {
      m_problem->setText(QString::fromStdString(StatusMessage(read.status())));
      m_problem->show();
    }
  }
  m_text->document()->clearUndoRedoStacks();
  m_writing = false;
  ShowFormat(m_text->currentCharFormat());
}

}  // namespace vantorel
