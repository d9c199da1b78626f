#pragma once

// The window program's command line: without options the window opens; with
// --demonstrate and --film it films the demonstration and ends.

#include <QString>
#include <QStringList>

#include "runs/all_episodes.h"

struct TZarnikOptions {
  QString demonstrate;  // FILE: whose best network is filmed; "" opens the window
  QString film;         // OUT.mp4 or OUT.webm
  int episodes = AllEpisodes;
};

// Whether `argv` asks for something that needs no display (a film, the help).
// Read before the application object exists, to choose the platform.
bool AsksForNoWindow(int argc, char** argv);

// Parses the arguments of an application object that exists (Qt's own
// options already taken out). Returns -1 to go on, otherwise the exit status
// (0 after --help, 2 after a usage error, which is printed).
int ParseZarnikOptions(TZarnikOptions& options, const QStringList& arguments);
