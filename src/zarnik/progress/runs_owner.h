#pragma once

// What "Mehrere Läufe..." asks of the window that owns it, so the dialog
// knows no more of the window than these calls.

#include <QString>

class QWidget;

class TRunsOwner {
 public:
  // The parent of the dialog and its chart, and where their places are kept.
  virtual QWidget* OwnerWidget() = 0;
  // The population's file name, "" for zarnik.dat.
  virtual QString PopulationFileName() const = 0;
  // A set started or ended: the menu's enablers are asked again.
  virtual void UpdateCommands() = 0;
  virtual bool RunActive() const = 0;
  // Asks to save a changed population first; false: keep it. Asked before a
  // set starts, while saving cannot yet replace anything the set produced.
  virtual bool MayReplacePopulation() = 0;
  // Counts every change of the population, so the dialog sees whether it
  // changed again after the question at the set's start.
  virtual unsigned PopulationEdits() const = 0;
  // The same question once the set has written its winner: "Ja" saves under
  // another name the user chooses, never over the winner.
  virtual bool MayReplacePopulationByWinner() = 0;
  // The winner's file becomes the population; unsaved unless it is the
  // population's own file.
  virtual bool AdoptPopulation(const QString& path) = 0;
  virtual bool PopulationUnsaved() const = 0;

 protected:
  ~TRunsOwner() = default;
};
