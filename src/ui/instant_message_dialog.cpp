#include "ui/instant_message_dialog.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "app/text_format.h"
#include "app/text_ids.h"
#include "app/text_table.h"
#include "render/font_style.h"
#include "ui/property_fields.h"
#include "ui/screen_result_list.h"
#include "ui/ui_text.h"

namespace vantorel {

namespace {

constexpr int kDefaultSizeCode = 2;  // 16 dots

QSpinBox* Counter(int min, int max, int value, QWidget* parent) {
  auto* box = new QSpinBox(parent);
  box->setRange(min, max);
  box->setValue(value);
  return box;
}

}  // namespace

CBarNotifyDlg::CBarNotifyDlg(const CScreenData& screens, QWidget* parent, ChannelOptions options) : QDialog(parent) {
  setWindowTitle(Text(kTextSendInstantMessage));
  m_screens = new CScreenResultList(screens, std::move(options), this);

  m_content = new QPlainTextEdit(this);
  m_content->setTabChangesFocus(true);
  m_content->setMaximumHeight(90);

  const InstantMessage defaults;
  m_loops = Counter(1, 255, defaults.loops, this);
  m_size = new QComboBox(this);
  for (int code = 0; code <= kMaxSizeCode; ++code) m_size->addItem(QString::fromStdString(SizeLabel(code)), code);
  m_size->setCurrentIndex(kDefaultSizeCode);
  m_bold = new QCheckBox(Text(kTextBold), this);
  m_italic = new QCheckBox(Text(kTextItalic), this);
  m_underline = new QCheckBox(Text(kTextUnderline), this);
  auto* styles = new QHBoxLayout;
  styles->addWidget(m_bold);
  styles->addWidget(m_italic);
  styles->addWidget(m_underline);
  styles->addStretch();
  m_speed = Counter(1, 100, defaults.speed, this);
  m_stay = Counter(0, 255, defaults.stay, this);
  m_stay->setSuffix(QStringLiteral(" s"));
  m_colourButton = new QPushButton(this);
  SetColour(m_colour);
  connect(m_colourButton, &QPushButton::clicked, this, &CBarNotifyDlg::ChooseColour);

  auto* show = new QGroupBox(this);
  auto* form = new QFormLayout(show);
  form->addRow(Text(kTextMessageLoop), m_loops);
  form->addRow(Text(kTextSize), m_size);
  form->addRow(QString(), styles);
  form->addRow(Text(kTextMessageSpeed), m_speed);
  form->addRow(Text(kTextMessageStay), m_stay);
  form->addRow(Text(kTextCellTextColour), m_colourButton);

  m_send = new QPushButton(Text(kTextSend), this);
  m_send->setDefault(true);
  connect(m_send, &QPushButton::clicked, this, &CBarNotifyDlg::Send);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(m_send);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(m_screens);
  layout->addWidget(new QLabel(Text(kTextMessageContent), this));
  layout->addWidget(m_content);
  layout->addWidget(show);
  layout->addLayout(buttons);

  connect(m_screens, &CScreenResultList::started, this, [this] { m_send->setEnabled(false); });
  connect(m_screens, &CScreenResultList::finished, this, [this] {
    m_send->setEnabled(true);
    ShowMessage(this, QString::fromStdString(InstantMessageSummary(m_screens->Results())), kTextPrompt,
                QMessageBox::Information);
    Q_EMIT sendFinished();
  });
}

CBarNotifyDlg::~CBarNotifyDlg() = default;

QTreeWidget* CBarNotifyDlg::Screens() const { return m_screens->Tree(); }

bool CBarNotifyDlg::IsRunning() const { return m_screens->IsRunning(); }

QString CBarNotifyDlg::ResultsText() const { return m_screens->ResultsText(); }

void CBarNotifyDlg::SetColour(std::uint32_t stored) {
  m_colour = stored;
  ShowColourButton(m_colourButton, stored);
}

void CBarNotifyDlg::ChooseColour() {
  const QColor chosen = QColorDialog::getColor(ShownColour(m_colour), this);
  if (chosen.isValid()) SetColour(StoredColourOf(chosen));
}

InstantMessage CBarNotifyDlg::Message() const {
  InstantMessage message;
  message.loops = static_cast<std::uint8_t>(m_loops->value());
  message.sizeCode = m_size->currentData().toInt();
  message.bold = m_bold->isChecked();
  message.italic = m_italic->isChecked();
  message.underline = m_underline->isChecked();
  message.colour = MessageColourOf(ShownColour(m_colour).name().toStdString()).value_or(message.colour);
  message.speed = m_speed->value();
  message.stay = static_cast<std::uint8_t>(m_stay->value());
  return message;
}

void CBarNotifyDlg::Send() {
  const std::string text = m_content->toPlainText().toStdString();
  if (text.empty()) {
    ShowMessage(this, Text(kTextMessageEmpty), kTextPrompt, QMessageBox::Information);
    return;
  }
  // The text travels in the code page of each screen's fonts: the longest of them must fit.
  for (const int row : m_screens->TickedRows()) {
    const std::size_t bytes = InstantMessageTextFor(m_screens->List().Screen(row), text).size();
    if (bytes > kMaxInstantMessageText) {
      const std::string tooLong = FormatText(LoadText(kTextMessageTooLong).c_str(), static_cast<int>(bytes),
                                             static_cast<int>(kMaxInstantMessageText));
      ShowMessage(this, QString::fromStdString(tooLong), kTextPrompt, QMessageBox::Warning);
      return;
    }
  }
  const InstantMessage message = Message();
  m_screens->RunOnTicked([message, text](const SettingsScreen& screen, const ChannelOptions& channel) {
    return SendInstantMessageTo(screen, message, text, channel);
  });
}

}  // namespace vantorel
