#include "ui/text_file_item_properties.h"

#include <QColorDialog>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>

#include <algorithm>
#include <filesystem>

#include "app/text_ids.h"
#include "render/richtext/rich_text_item.h"
#include "ui/ui_text.h"

namespace vantorel {
namespace {

constexpr int kNormalWeight = 400;
constexpr int kBoldWeight = 700;

}  // namespace

tagLogFont LogFontOf(const QFont& font) {
  tagLogFont logFont;
  // A font chosen by points is kept at the same number of pixels (one point a dot on the sign).
  logFont.height = font.pixelSize() > 0 ? font.pixelSize() : std::max(1, static_cast<int>(font.pointSizeF() + 0.5));
  logFont.weight = font.bold() ? kBoldWeight : kNormalWeight;
  logFont.italic = font.italic() ? 1 : 0;
  logFont.underline = font.underline() ? 1 : 0;
  logFont.strikeOut = font.strikeOut() ? 1 : 0;
  logFont.faceName = font.family().toStdString();  // cut to the field as the record measures it
  return logFont;
}

CTextFileItemProperties::CTextFileItemProperties(QWidget* parent) : CRecordProperties(parent) {
  m_file = new QLineEdit(this);
  m_file->setObjectName(QStringLiteral("TextFile"));
  m_file->setReadOnly(true);
  m_browse = new QToolButton(this);
  m_browse->setObjectName(QStringLiteral("ChooseTextFile"));
  m_browse->setText(QStringLiteral("..."));
  m_font = new QPushButton(this);
  m_font->setObjectName(QStringLiteral("TextFont"));
  m_colour = new QPushButton(this);
  m_colour->setObjectName(QStringLiteral("TextColour"));

  auto* fileRow = new QHBoxLayout;
  fileRow->addWidget(m_file, 1);
  fileRow->addWidget(m_browse);
  auto* form = new QFormLayout(this);
  form->setContentsMargins(0, 0, 0, 0);
  form->addRow(m_texts.Label(kTextTextFile, this), fileRow);
  form->addRow(m_texts.Label(kTextFont, this), m_font);
  form->addRow(m_texts.Label(kTextTextColour, this), m_colour);

  connect(m_browse, &QToolButton::clicked, this, [this] {
    const QString folder = m_file->text().isEmpty() ? QString() : QFileInfo(m_file->text()).absolutePath();
    const QString file = QFileDialog::getOpenFileName(this, Text(kTextTextFile), folder, FileDialogFilter(kTextTextFileFilter));
    if (!file.isEmpty()) ChooseFile(file.toStdString());
  });
  connect(m_font, &QPushButton::clicked, this, [this] {
    bool chosen = false;
    const QFont font = QFontDialog::getFont(&chosen, FontOfLogFont(m_record.item.logFont), this, Text(kTextFont));
    if (chosen) ChooseFont(font);
  });
  connect(m_colour, &QPushButton::clicked, this, [this] {
    const QColor colour = QColorDialog::getColor(ShownColour(m_record.item.fntColor), this, Text(kTextTextColour));
    if (colour.isValid()) ChooseColour(colour);
  });
}

void CTextFileItemProperties::ChooseFile(const std::string& file) {
  const std::string path = std::filesystem::absolute(file).string();
  Edit(kFile, [&path](tagPrgItem& record) { record.item.media = path; });
}

void CTextFileItemProperties::ChooseFont(const QFont& font) {
  const tagLogFont logFont = LogFontOf(font);
  Edit(kFont, [&logFont](tagPrgItem& record) {
    // What the font dialog does not choose stays as it was.
    tagLogFont& stored = record.item.logFont;
    stored.height = logFont.height;
    stored.weight = logFont.weight;
    stored.italic = logFont.italic;
    stored.underline = logFont.underline;
    stored.strikeOut = logFont.strikeOut;
    stored.faceName = logFont.faceName;
  });
}

void CTextFileItemProperties::ChooseColour(const QColor& colour) {
  const std::uint32_t stored = StoredColourOf(colour);
  Edit(kColour, [stored](tagPrgItem& record) { record.item.fntColor = stored; });
}

void CTextFileItemProperties::Show(const tagPrgItem& record) {
  m_record = record;
  m_file->setText(QString::fromStdString(record.item.media.str()));
  const QFont font = FontOfLogFont(record.item.logFont);
  m_font->setText(QStringLiteral("%1, %2 px%3%4")
                      .arg(font.family())
                      .arg(font.pixelSize())
                      .arg(font.bold() ? QStringLiteral(", ") + Text(kTextBold) : QString())
                      .arg(font.italic() ? QStringLiteral(", ") + Text(kTextItalic) : QString()));
  ShowColourButton(m_colour, record.item.fntColor);
}

}  // namespace vantorel
