#pragma once
// The screen editor: one screen definition — controller model, name, ID, colour mode, size, the
// special string (rotated, or parts without LEDs) and how the sign is reached. The controls
// follow the editor's rules (screen/screen_editor_rules.h); OK checks them in their order.

#include <QDialog>

#include <functional>

#include "app/app_folders.h"
#include "app/serial_ports.h"
#include "platform/status.h"
#include "screen/screen_data.h"
#include "screen/screen_manager_rules.h"

class QComboBox;
class QDialogButtonBox;
class QFormLayout;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;

namespace vantorel {

class IAppPrompts;

class CScrEditDlg : public QDialog {
  Q_OBJECT
public:
  // A check of the caller after the editor's own (the screen manager's: playbill files); success
  // lets OK close the editor.
  using ExtraCheck = std::function<Status(const ScreenDefinition& definition)>;

  // Edits `definition`, screen `editedIndex` of `list` (-1: a new screen, not yet in the list).
  CScrEditDlg(const CScreenData& list, int editedIndex, const ScreenDefinition& definition, const CAppFolders& folders,
              IAppPrompts& prompts, ExtraCheck extraCheck = {}, QWidget* parent = nullptr);

  // The screen as the controls show it; after OK, what the editor's OK made of it.
  ScreenDefinition Definition() const { return m_definition; }

  QComboBox* ModelChooser() const { return m_model; }
  QLineEdit* NameField() const { return m_name; }
  QComboBox* IdChooser() const { return m_id; }
  QComboBox* ColourChooser() const { return m_colour; }
  QComboBox* PresetChooser() const { return m_preset; }
  QComboBox* WidthChooser() const { return m_width; }
  QComboBox* HeightChooser() const { return m_height; }
  QComboBox* SpecialChooser() const { return m_special; }
  QPushButton* PartsButton() const { return m_parts; }
  QComboBox* CommChooser() const { return m_comm; }
  QComboBox* PortChooser() const { return m_port; }
  QLabel* DeviceLabel() const { return m_device; }
  QComboBox* BaudChooser() const { return m_baud; }
  QComboBox* AddressingChooser() const { return m_addressing; }
  QLineEdit* IpField() const { return m_ip; }
  QLineEdit* DomainField() const { return m_domain; }
  QSpinBox* IpPortField() const { return m_ipPort; }
  QLineEdit* IdCodeField() const { return m_idCode; }
  QLineEdit* GprsIdField() const { return m_gprsId; }
  QLineEdit* UserField() const { return m_user; }
  QLineEdit* PasswordField() const { return m_password; }
  QSpinBox* TimeoutField() const { return m_timeout; }
  QDialogButtonBox* Buttons() const { return m_buttons; }
  // Whether the row of `field` is shown for the chosen communication type.
  bool IsRowShown(QWidget* field) const;

  void accept() override;

private:
  QWidget* MakeScreenPage();
  QWidget* MakeCommPage();
  // The controls from m_definition.
  void ShowScreen();
  void ShowComm();
  void ShowCommRows();
  // The addresses of the fields shown into `definition`; false (with the refusal shown) when one
  // is not an address.
  bool CollectAddresses(ScreenDefinition& definition);
  void ModelChosen(int index);
  void PresetChosen(int index);
  void SpecialChosen(int index);
  void CommChosen(int index);
  void EditParts();

  const CScreenData& m_list;
  int m_editedIndex;
  ScreenDefinition m_definition;
  CAppFolders m_folders;
  IAppPrompts& m_prompts;
  ExtraCheck m_extraCheck;
  CSerialPortTable m_ports;

  QComboBox* m_model = nullptr;
  QLineEdit* m_name = nullptr;
  QComboBox* m_id = nullptr;
  QComboBox* m_colour = nullptr;
  QComboBox* m_preset = nullptr;
  QComboBox* m_width = nullptr;
  QComboBox* m_height = nullptr;
  QComboBox* m_special = nullptr;
  QPushButton* m_parts = nullptr;
  QFormLayout* m_commForm = nullptr;
  QComboBox* m_comm = nullptr;
  QWidget* m_portRow = nullptr;
  QComboBox* m_port = nullptr;
  QLabel* m_device = nullptr;
  QComboBox* m_baud = nullptr;
  QComboBox* m_addressing = nullptr;
  QLineEdit* m_ip = nullptr;
  QLineEdit* m_domain = nullptr;
  QSpinBox* m_ipPort = nullptr;
  QLineEdit* m_idCode = nullptr;
  QLabel* m_gprsIdLabel = nullptr;
  QLineEdit* m_gprsId = nullptr;
  QLineEdit* m_user = nullptr;
  QLineEdit* m_password = nullptr;
  QSpinBox* m_timeout = nullptr;
  QDialogButtonBox* m_buttons = nullptr;
};

}  // namespace vantorel
