#include "ui/comm_setting_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

#include "app/text_ids.h"
#include "screen/comm_types.h"
#include "screen/screen_editor_rules.h"
#include "screen/screen_list_edit.h"
#include "ui/property_fields.h"
#include "ui/ui_text.h"

namespace vantorel {

CAsynCommDlg::CAsynCommDlg(const CScreenData& screens, int current, const CSerialPortTable& ports, QWidget* parent)
    : QDialog(parent), m_screens(screens), m_ports(ports) {
  setWindowTitle(Text(kTextCommSetting));

  m_screen = new QComboBox(this);
  for (int index = 0; index < m_screens.Count(); ++index) m_screen->addItem(QString::fromStdString(m_screens.DisplayName(index)));
  m_port = new QComboBox(this);
  FillSerialPorts(m_port);
  m_device = new QLabel(this);
  auto* portRow = new QHBoxLayout;
  portRow->addWidget(m_port);
  portRow->addWidget(m_device, 1);
  m_baud = new QComboBox(this);
  FillBaudRates(m_baud);
  m_allScreens = new QCheckBox(Text(kTextSetForAllScreens), this);

  auto* form = new QFormLayout;
  form->addRow(m_screen);
  form->addRow(Text(kTextPort), portRow);
  form->addRow(Text(kTextBaudRate), m_baud);
  form->addRow(m_allScreens);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(form);
  layout->addWidget(OkCancelButtons(this));

  connect(m_screen, &QComboBox::currentIndexChanged, this, &CAsynCommDlg::ShowScreen);
  connect(m_port, &QComboBox::currentIndexChanged, this, &CAsynCommDlg::ShowDevice);
  m_screen->setCurrentIndex(m_screens.IsValidIndex(current) ? current : 0);
  ShowScreen(m_screen->currentIndex());
}

void CAsynCommDlg::ShowScreen(int index) {
  if (!m_screens.IsValidIndex(index)) return;
  const tagCommInfo& comm = m_screens.Comm(index);
  ShowChoice(m_port, comm.portIndex);
  ShowChoice(m_baud, comm.baudRate);
  ShowDevice();
}

void CAsynCommDlg::ShowDevice() {
  m_device->setText(FormattedText(kTextDevicePath, m_ports.DevicePath(m_port->currentData().toInt())));
}

bool CAsynCommDlg::ApplyTo(CScreenListEdit& edit) const {
  const int chosen = m_screen->currentIndex();
  bool changed = false;
  for (int index = 0; index < edit.List().Count(); ++index) {
    const bool serial = edit.List().Comm(index).commType == kCommSerial;
    if (index != chosen && !(m_allScreens->isChecked() && serial)) continue;
    ScreenDefinition definition = edit.Definition(index);
    definition.comm.portIndex = static_cast<std::uint8_t>(m_port->currentData().toInt());
    definition.comm.baudRate = m_baud->currentData().toInt();
    if (definition == edit.Definition(index)) continue;
    edit.Replace(index, definition);
    changed = true;
  }
  return changed;
}

}  // namespace vantorel
