#pragma once
// The start view: what the main window shows while no screen is defined. It offers the four ways
// of defining the first screens: the screen setting wizard of the tool plug-in, loading a screen
// definition file, defining a screen by hand and the default screen.

#include <QWidget>

class QLabel;
class QPushButton;

namespace vantorel {

class CScrListView : public QWidget {
  Q_OBJECT
public:
  explicit CScrListView(QWidget* parent = nullptr);

  // The wizard can be chosen only while its plug-in is there.
  void SetWizardAvailable(bool available);
  void Retranslate();

  QPushButton* WizardButton() const { return m_wizard; }
  QPushButton* LoadButton() const { return m_load; }
  QPushButton* ManualButton() const { return m_manual; }
  QPushButton* DefaultButton() const { return m_default; }

Q_SIGNALS:
  void wizardChosen();
  void loadChosen();
  void manualChosen();
  void defaultChosen();

private:
  QLabel* m_heading;
  QPushButton* m_wizard;
  QPushButton* m_load;
  QPushButton* m_manual;
  QPushButton* m_default;
};

}  // namespace vantorel
