#pragma once

#include <string>

#include "runs/population_files.h"

// The first n for which FILE has no numbered backup: neither population,
// history nor learning path of that number.
int FreeBackupNumber(const TPopulationFiles& files);

// A population that takes FILE's name without being the one FILE's learning
// path was kept for (a winner, an import, a new population saved there) must
// not be shown that path. A path lying there is moved, under its own name,
// to the first free backup number (FILE.~n~.path): never lost, never
// replacing anything, and never torn, as a move is whole. `keptAs` gets
// that name, "" if there was no path. False with errno if it cannot be moved.
bool SetAsideStalePath(const TPopulationFiles& files, std::string& keptAs);
