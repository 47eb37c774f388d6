#pragma once
// Where the program keeps "guidelines.dat" between runs: the user's data
// folder, read from the resources folder while no user copy exists. The main
// window loads it at start-up and saves it at exit.
#include <QString>

namespace tsy {

QString GuidelinesFilePath();
// Fills the program-wide guidelines; false when an existing file could not
// be read (it is then left alone at exit).
bool LoadProgramGuidelines();
bool SaveProgramGuidelines();

}  // namespace tsy
