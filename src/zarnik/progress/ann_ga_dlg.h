#pragma once

#include <QDialog>
#include <QHash>
#include <QString>

class QLabel;

// The modeless "GA - Parameter" window of a training run: label/value pairs of
// the running figures and the best network's weights as 25 text lines, all
// addressed by control id. It never closes itself: the button, Enter, Escape
// and the close box only emit userStop(); the main window deletes it when the
// run is over, so every run starts with a fresh window and empty texts.
class TAnnGaDlg : public QDialog {
  Q_OBJECT

 public:
  // Command id the stop request stands for in the main window's command table.
  static constexpr int CmUserStop = 768;

  // Builds all controls, centres the window on the screen and shows it.
  explicit TAnnGaDlg(QWidget* parent);
  ~TAnnGaDlg() override;

  // Replaces the whole text of control `id` (301..318, 320..344, 361..364).
  // Unknown ids are ignored. The char overload takes single-byte texts as the
  // training code formats them.
  void SetText(int id, const QString& text);
  void SetText(int id, const char* text);
  QString Text(int id) const;

  // The label behind `id`, or null; for tests and layout checks.
  QLabel* Control(int id) const;

  // Pixel rectangle of a rectangle given in the window's dialog units.
  QRect MapDialogRect(int x, int y, int w, int h) const;

 signals:
  // The user asks the running training loop to stop. May come several times.
  void userStop();

 public slots:
  void accept() override;  // Enter: stop request, stays open
  void reject() override;  // Escape and "Abbrechen": stop request, stays open

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  QHash<int, QLabel*> Labels;
  double UnitX = 1.0;  // pixels per horizontal dialog unit
  double UnitY = 1.0;  // pixels per vertical dialog unit
};
