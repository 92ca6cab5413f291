#pragma once
// "Communication setting": a screen chooser, "Port", "Baud rate" and "Set for all screens"; it
// edits the serial port index and baud rate of the screen definitions. Choosing a screen shows its
// port (with the device the serial port table gives it) and baud rate. OK writes the values shown
// to the chosen screen and, with "Set for all screens", to every screen whose communication type is
// the serial line; the caller stores the list.

#include <QDialog>

#include "app/serial_ports.h"
#include "screen/screen_data.h"

class QCheckBox;
class QComboBox;
class QLabel;

namespace vantorel {

class CScreenListEdit;

class CAsynCommDlg : public QDialog {
  Q_OBJECT
public:
  // `current`: the screen chosen first.
  CAsynCommDlg(const CScreenData& screens, int current, const CSerialPortTable& ports, QWidget* parent = nullptr);

  // Writes the values shown into the definitions of `edit` (made from the dialog's list) as OK
  // writes them; false when no definition changed.
  bool ApplyTo(CScreenListEdit& edit) const;

  QComboBox* ScreenChooser() const { return m_screen; }
  QComboBox* PortChooser() const { return m_port; }
  QLabel* DeviceLabel() const { return m_device; }
  QComboBox* BaudChooser() const { return m_baud; }
  QCheckBox* AllScreensBox() const { return m_allScreens; }

private:
  void ShowScreen(int index);
  void ShowDevice();

  CScreenData m_screens;
  CSerialPortTable m_ports;
  QComboBox* m_screen = nullptr;
  QComboBox* m_port = nullptr;
  QLabel* m_device = nullptr;
  QComboBox* m_baud = nullptr;
  QCheckBox* m_allScreens = nullptr;
};

}  // namespace vantorel
