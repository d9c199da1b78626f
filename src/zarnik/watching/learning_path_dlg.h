#pragma once

#include <QDialog>

#include <functional>
#include <vector>

#include "history/learning_path.h"

class QComboBox;
class QListWidget;
class QPushButton;
class QSlider;

// "Simulator › Lernweg...": the entries of a run's learning path in a list
// and on a slider, which move together. Each entry chosen is handed to
// OnChoose (the window shows its network); "Vorführen" ends the dialog as
// accepted, with Chosen() the entry to play. "Vergleichen..." shows the
// chosen entry beside the one picked under "Vergleichen mit:", episode by
// episode.
class TLearningPathDlg : public QDialog {
  Q_OBJECT

 public:
  TLearningPathDlg(QWidget* parent, const QString& file, const std::vector<TPathEntry>& path);

  int Chosen() const { return Current; }
  std::function<void(const TPathEntry&)> OnChoose;

  QListWidget* List() const { return Entries; }
  QSlider* Slider() const { return Position; }
  QComboBox* CompareWith() const { return Other; }
  QPushButton* CompareButton() const { return Compare; }

 private:
  void Choose(int row);
  void ShowComparison();

  const std::vector<TPathEntry>& Path;
  const QString File;
  QListWidget* Entries;
  QSlider* Position;
  QComboBox* Other;
  QPushButton* Compare;
  int Current = -1;
};
