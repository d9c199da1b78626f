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
  // Asks to save a changed population first; false: keep it.
  virtual bool MayReplacePopulation() = 0;
  // The winner's file becomes the population, not yet stored.
  virtual bool AdoptPopulation(const QString& path) = 0;

 protected:
  ~TRunsOwner() = default;
};
