#include "ui/screen_editor_dialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QVBoxLayout>

#include <algorithm>
#include <climits>
#include <initializer_list>
#include <iterator>
#include <memory>
#include <utility>
#include <vector>

#include "app/text_table.h"
#include "screen/colour_modes.h"
#include "screen/comm_types.h"
#include "screen/controller_types.h"
#include "screen/screen_editor_rules.h"
#include "ui/part_editor_dialog.h"
#include "ui/property_fields.h"
#include "ui/ui_text.h"
#include "ui/vantorel_app.h"

namespace vantorel {
namespace {

constexpr int kNameCharacters = 64;
constexpr int kShortTextCharacters = 30;  // device IDs, relay account
constexpr int kDomainCharacters = 63;

bool IsRelay(std::uint8_t commType) { return commType == kCommServerNet || commType == kCommServerGprs; }

QLineEdit* TextField(int maxLength, QWidget* parent) {
  auto* field = new QLineEdit(parent);
  field->setMaxLength(maxLength);
  return field;
}

// Selects the entry of `chooser` whose data is `value`, adding one (shown as `text`) when there is
// none: a value read from a file stays as it is until the user chooses another.
void SelectValue(QComboBox* chooser, int value, const QString& text) {
  int index = chooser->findData(value);
  if (index < 0) {
    chooser->addItem(text, value);
    index = chooser->count() - 1;
  }
  chooser->setCurrentIndex(index);
}

int ValueOf(const QComboBox* chooser) { return chooser->currentData().toInt(); }

}  // namespace

CScrEditDlg::CScrEditDlg(const CScreenData& list, int editedIndex, const ScreenDefinition& definition,
                         const CAppFolders& folders, IAppPrompts& prompts, ExtraCheck extraCheck, QWidget* parent)
    : QDialog(parent),
      m_list(list),
      m_editedIndex(editedIndex),
      m_definition(definition),
      m_folders(folders),
      m_prompts(prompts),
      m_extraCheck(std::move(extraCheck)),
      m_ports(CSerialPortTable::FromSettingsFile(folders.SettingsFile())) {
  const std::string title = LoadText(kTextScreenSetting);
  setWindowTitle(QString::fromStdString(editedIndex < 0 ? NewScreenEditorTitle(title) : title));
  auto* pages = new QHBoxLayout;
  pages->addWidget(MakeScreenPage());
  pages->addWidget(MakeCommPage(), 1);
  m_buttons = OkCancelButtons(this);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(pages);
  layout->addWidget(m_buttons);

  // Opening the editor: the preset chooser shows the nearest cross size, both sides the size choice
  // nearest to what the screen has.
  const EditorSize opened = OpenEditorSize(m_definition.screen);
  m_definition.screen.width = static_cast<std::uint16_t>(opened.width);
  m_definition.screen.height = static_cast<std::uint16_t>(opened.height);
  {
    const QSignalBlocker block(m_preset);
    m_preset->setCurrentIndex(opened.presetIndex);
  }
  ShowScreen();
  ShowComm();
}

QWidget* CScrEditDlg::MakeScreenPage() {
  auto* page = new QGroupBox(Text(kTextLedScreen), this);
  auto* form = new QFormLayout(page);
  m_model = new QComboBox(page);
  for (const ControllerType& type : ControllerTypes()) m_model->addItem(QString::fromUtf8(type.name), type.code);
  m_name = TextField(kNameCharacters, page);
  m_id = new QComboBox(page);
  for (int id = kMinScreenId; id <= kMaxScreenId; ++id) m_id->addItem(QString::number(id), id);
  m_colour = new QComboBox(page);
  m_preset = new QComboBox(page);
  for (int i = 0; i < static_cast<int>(std::size(kSizePresets)); ++i) m_preset->addItem(QString::fromStdString(SizePresetText(i)));
  m_width = new QComboBox(page);
  m_height = new QComboBox(page);
  m_special = new QComboBox(page);
  for (const SpecialChoice choice : kSpecialChoices) m_special->addItem(Text(SpecialChoiceTextId(choice)));
  m_parts = new QPushButton(Text(kTextEditParts), page);
  auto* specialRow = new QHBoxLayout;
  specialRow->addWidget(m_special, 1);
  specialRow->addWidget(m_parts);

  form->addRow(Text(kTextModel), m_model);
  form->addRow(Text(kTextName), m_name);
  form->addRow(QStringLiteral("ID"), m_id);
  form->addRow(Text(kTextColor), m_colour);
  form->addRow(Text(kTextSizePreset), m_preset);
  form->addRow(Text(kTextWidth), m_width);
  form->addRow(Text(kTextHeight), m_height);
  form->addRow(Text(kTextSpecial), specialRow);

  connect(m_model, &QComboBox::currentIndexChanged, this, &CScrEditDlg::ModelChosen);
  connect(m_name, &QLineEdit::textChanged, this, [this](const QString& text) { m_definition.screen.scrName = text.toStdString(); });
  connect(m_id, &QComboBox::currentIndexChanged, this,
          [this] { m_definition.screen.number = static_cast<std::uint8_t>(ValueOf(m_id)); });
  connect(m_colour, &QComboBox::currentIndexChanged, this,
          [this] { m_definition.screen.color = static_cast<std::uint16_t>(ValueOf(m_colour)); });
  connect(m_preset, &QComboBox::currentIndexChanged, this, &CScrEditDlg::PresetChosen);
  connect(m_width, &QComboBox::currentIndexChanged, this,
          [this] { m_definition.screen.width = static_cast<std::uint16_t>(ValueOf(m_width)); });
  connect(m_height, &QComboBox::currentIndexChanged, this,
          [this] { m_definition.screen.height = static_cast<std::uint16_t>(ValueOf(m_height)); });
  connect(m_special, &QComboBox::currentIndexChanged, this, &CScrEditDlg::SpecialChosen);
  connect(m_parts, &QPushButton::clicked, this, &CScrEditDlg::EditParts);
  return page;
}

QWidget* CScrEditDlg::MakeCommPage() {
  auto* page = new QGroupBox(Text(kTextCommParameter), this);
  m_commForm = new QFormLayout(page);
  m_comm = new QComboBox(page);
  for (const CommType& type : CommTypes()) m_comm->addItem(Text(type.chooserTextId), type.value);
  m_port = new QComboBox(page);
  FillSerialPorts(m_port);
  m_portRow = new QWidget(page);
  m_device = new QLabel(m_portRow);
  m_port->setParent(m_portRow);
  auto* portRow = new QHBoxLayout(m_portRow);
  portRow->setContentsMargins(0, 0, 0, 0);
  portRow->addWidget(m_port);
  portRow->addWidget(m_device, 1);
  m_baud = new QComboBox(page);
  FillBaudRates(m_baud);
  m_addressing = new QComboBox(page);
  m_ip = TextField(15, page);
  m_domain = TextField(kDomainCharacters, page);
  m_ipPort = new QSpinBox(page);
  m_ipPort->setRange(0, 65535);
  m_idCode = TextField(15, page);
  m_gprsIdLabel = new QLabel(page);
  m_gprsId = TextField(kShortTextCharacters, page);
  m_user = TextField(kShortTextCharacters, page);
  m_password = TextField(kShortTextCharacters, page);
  m_password->setEchoMode(QLineEdit::Password);
  m_timeout = new QSpinBox(page);
  m_timeout->setRange(500, INT_MAX);
  m_timeout->setSingleStep(100);

  m_commForm->addRow(Text(kTextCommType), m_comm);
  m_commForm->addRow(Text(kTextSerialPort), m_portRow);
  m_commForm->addRow(Text(kTextBaudRate), m_baud);
  m_commForm->addRow(Text(kTextAddressedBy), m_addressing);
  m_commForm->addRow(Text(kTextIpAddress), m_ip);
  m_commForm->addRow(Text(kTextServerDomain), m_domain);
  m_commForm->addRow(Text(kTextNetworkPort), m_ipPort);
  m_commForm->addRow(Text(kTextIdCode), m_idCode);
  m_commForm->addRow(m_gprsIdLabel, m_gprsId);
  m_commForm->addRow(Text(kTextUserName), m_user);
  m_commForm->addRow(Text(kTextPassword), m_password);
  m_commForm->addRow(Text(kTextAnswerTimeout), m_timeout);

  tagCommInfo& comm = m_definition.comm;
  connect(m_comm, &QComboBox::currentIndexChanged, this, &CScrEditDlg::CommChosen);
  connect(m_port, &QComboBox::currentIndexChanged, this, [this, &comm] {
    comm.portIndex = static_cast<std::uint8_t>(ValueOf(m_port));
    m_device->setText(FormattedText(kTextDevicePath, m_ports.DevicePath(comm.portIndex)));
  });
  connect(m_baud, &QComboBox::currentIndexChanged, this, [this, &comm] { comm.baudRate = ValueOf(m_baud); });
  connect(m_addressing, &QComboBox::currentIndexChanged, this, [this, &comm](int index) {
    comm.subMode = static_cast<std::uint8_t>(std::max(0, index));
    ShowCommRows();
  });
  connect(m_domain, &QLineEdit::textChanged, this, [&comm](const QString& text) { comm.domain = text.toStdString(); });
  connect(m_gprsId, &QLineEdit::textChanged, this, [&comm](const QString& text) { comm.gprsId = text.toStdString(); });
  connect(m_user, &QLineEdit::textChanged, this, [&comm](const QString& text) { comm.userName = text.toStdString(); });
  connect(m_password, &QLineEdit::textChanged, this, [&comm](const QString& text) { comm.password = text.toStdString(); });
  connect(m_ipPort, &QSpinBox::valueChanged, this, [&comm](int value) { comm.ipPort = static_cast<std::uint16_t>(value); });
  connect(m_timeout, &QSpinBox::valueChanged, this, [&comm](int value) { comm.timeout = value; });
  return page;
}

void CScrEditDlg::ShowScreen() {
  const tagScreenInfo& screen = m_definition.screen;
  const QSignalBlocker blockModel(m_model);
  const QSignalBlocker blockName(m_name);
  const QSignalBlocker blockId(m_id);
  const QSignalBlocker blockColour(m_colour);
  const QSignalBlocker blockWidth(m_width);
  const QSignalBlocker blockHeight(m_height);
  const QSignalBlocker blockSpecial(m_special);
  SelectValue(m_model, screen.model, QString::fromStdString(ModelName(screen.model)));
  m_name->setText(QString::fromStdString(screen.scrName.str()));
  SelectValue(m_id, screen.number, QString::number(screen.number));
  m_colour->clear();
  for (const std::uint16_t mode : ColourModesOf(screen.model)) m_colour->addItem(QString::fromStdString(ColourModeName(mode)), mode);
  SelectValue(m_colour, screen.color, QString::fromStdString(ColourModeName(screen.color)));
  for (QComboBox* side : {m_width, m_height}) {
    side->clear();
    for (const int size : SizeChoices(screen.model)) side->addItem(QString::number(size), size);
  }
  SelectValue(m_width, screen.width, QString::number(screen.width));
  SelectValue(m_height, screen.height, QString::number(screen.height));
  const SpecialChoice special = SpecialChoiceOf(m_definition.comm.special);
  m_special->setCurrentIndex(static_cast<int>(std::find(std::begin(kSpecialChoices), std::end(kSpecialChoices), special) -
                                              std::begin(kSpecialChoices)));
  m_parts->setEnabled(special == SpecialChoice::Parts);
}

void CScrEditDlg::ShowComm() {
  const tagCommInfo& comm = m_definition.comm;
  std::vector<std::unique_ptr<QSignalBlocker>> blocks;
  for (QObject* control : std::initializer_list<QObject*>{m_comm, m_port, m_baud, m_addressing, m_ip, m_domain, m_ipPort,
                                                         m_idCode, m_gprsId, m_user, m_password, m_timeout}) {
    blocks.push_back(std::make_unique<QSignalBlocker>(control));
  }
  SelectValue(m_comm, comm.commType, QString::fromStdString(CommTypeListText(comm.commType)));
  SelectValue(m_port, comm.portIndex, QString::fromStdString(SerialPortText(comm.portIndex)));
  m_device->setText(FormattedText(kTextDevicePath, m_ports.DevicePath(comm.portIndex)));
  SelectValue(m_baud, comm.baudRate, QString::number(comm.baudRate));
  m_addressing->clear();
  m_addressing->addItem(Text(kTextIpAddress));
  m_addressing->addItem(Text(IsRelay(comm.commType) ? kTextServerDomain : kTextDeviceName));
  m_addressing->setCurrentIndex(comm.subMode == 1 ? 1 : 0);
  m_ip->setText(QString::fromStdString(FormatDottedQuad(comm.ipAddr)));
  m_domain->setText(QString::fromStdString(comm.domain.str()));
  m_ipPort->setValue(comm.ipPort);
  m_idCode->setText(QString::fromStdString(FormatDottedQuad(comm.idCode)));
  m_gprsId->setText(QString::fromStdString(comm.gprsId.str()));
  m_user->setText(QString::fromStdString(comm.userName.str()));
  m_password->setText(QString::fromStdString(comm.password.str()));
  m_timeout->setValue(comm.timeout);
  ShowCommRows();
}

void CScrEditDlg::ShowCommRows() {
  const tagCommInfo& comm = m_definition.comm;
  const bool serial = comm.commType == kCommSerial;
  const bool network = comm.commType == kCommNetwork;
  const bool relay = IsRelay(comm.commType);
  const bool byName = comm.subMode == 1;
  m_commForm->setRowVisible(m_portRow, serial);
  m_commForm->setRowVisible(m_baud, serial);
  m_commForm->setRowVisible(m_addressing, network || relay);
  m_commForm->setRowVisible(m_ip, (network || relay) && !byName);
  m_commForm->setRowVisible(m_domain, relay && byName);
  m_commForm->setRowVisible(m_ipPort, (network && !byName) || relay);
  m_commForm->setRowVisible(m_idCode, network && !byName);
  m_commForm->setRowVisible(m_gprsId, comm.commType == kCommGprsDtu || (network && byName) || relay);
  m_commForm->setRowVisible(m_user, relay);
  m_commForm->setRowVisible(m_password, relay);
  m_gprsIdLabel->setText(Text(comm.commType == kCommGprsDtu ? kTextDtuId : network ? kTextDeviceName : kTextDeviceId));
}

bool CScrEditDlg::IsRowShown(QWidget* field) const { return field->isVisibleTo(this); }

void CScrEditDlg::ModelChosen(int index) {
  if (index < 0) return;
  const auto model = static_cast<std::uint16_t>(m_model->itemData(index).toInt());
  ApplyModelChange(m_definition, model);
  tagScreenInfo& screen = m_definition.screen;
  screen.width = static_cast<std::uint16_t>(NearestSizeChoice(model, screen.width));
  screen.height = static_cast<std::uint16_t>(NearestSizeChoice(model, screen.height));
  ShowScreen();
  ShowComm();
}

void CScrEditDlg::PresetChosen(int index) {
  ApplySizePreset(m_definition.screen, index);
  ShowScreen();
}

void CScrEditDlg::SpecialChosen(int index) {
  if (index < 0 || index >= static_cast<int>(std::size(kSpecialChoices))) return;
  const SpecialChoice choice = kSpecialChoices[index];
  std::string& special = m_definition.comm.special;
  m_parts->setEnabled(choice == SpecialChoice::Parts);
  if (choice != SpecialChoice::Parts) {
    special = SpecialForChoice(choice);
    return;
  }
  if (SpecialChoiceOf(special) != SpecialChoice::Parts) special = SpecialForChoice(choice);
  EditParts();
}

void CScrEditDlg::EditParts() {
  const tagScreenInfo& screen = m_definition.screen;
  CSpecialPartDlg parts(screen.width, screen.height, m_definition.comm.special,
                        m_folders.InProgramFolder("default.parts"), m_prompts, this);
  if (parts.exec() == QDialog::Accepted) m_definition.comm.special = parts.Special();
}

void CScrEditDlg::CommChosen(int index) {
  if (index < 0) return;
  ApplyCommTypeChoice(m_definition, static_cast<std::uint8_t>(m_comm->itemData(index).toInt()));
  ShowComm();
}

bool CScrEditDlg::CollectAddresses(ScreenDefinition& definition) {
  const struct {
    QLineEdit* field;
    std::uint32_t* value;
  } addresses[] = {{m_ip, &definition.comm.ipAddr}, {m_idCode, &definition.comm.idCode}};
  for (const auto& address : addresses) {
    if (!IsRowShown(address.field)) continue;  // kept as it was: it does not apply to this type
    const std::string text = address.field->text().trimmed().toStdString();
    const std::optional<std::uint32_t> parsed = ParseDottedQuad(text);
    if (!parsed) {
      ShowStatus(m_prompts, this, Status::Failure(kTextAddressFormat, text).WithTitle(kTextPrompt), kTextPrompt);
      address.field->setFocus();
      address.field->selectAll();
      return false;
    }
    *address.value = *parsed;
  }
  return true;
}

void CScrEditDlg::accept() {
  ScreenDefinition accepted = m_definition;
  if (const Status checked = AcceptEditedScreen(m_list, m_editedIndex, accepted); !checked) {
    ShowStatus(m_prompts, this, checked, kTextPrompt);
    return;
  }
  if (!CollectAddresses(accepted)) return;
  if (m_extraCheck) {
    if (const Status checked = m_extraCheck(accepted); !checked) {
      ShowStatus(m_prompts, this, checked, kTextPrompt);
      return;
    }
  }
  m_definition = std::move(accepted);
  QDialog::accept();
}

}  // namespace vantorel
