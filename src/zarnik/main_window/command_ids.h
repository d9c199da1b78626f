#pragma once

// The window's command ids, as the menu and the keys name them, and the
// enabler each command is asked through.

// Asked before a command runs, before its menu opens and before its key
// fires: whether the command is enabled and, where it has one, its check mark.
class TCommandEnabler {
 public:
  void Enable(bool enable) { Enabled = enable; }
  void SetCheck(bool check) { Checked = check ? 1 : 0; }

  bool Enabled = true;
  int Checked = -1;  // -1: the command has no check mark
};

// Command ids of the menu and the keys.
enum : int {
  CM_LOADDATA = 257,
  CM_SAVEDATA = 258,
  CM_CLOSEAPP = 259,
  CM_TRAIN1AN = 260,
  CM_TRAIN2AN = 261,
  CM_STARTANN = 262,
  CM_OUTLINES = 263,
  CM_SIMRESET = 264,
  CM_SIMAJUST = 265,
  CM_INCANGLE = 272,
  CM_DECANGLE = 273,
  CM_SETAXLEA = 274,
  CM_SETAXLEB = 275,
  CM_SETAXLEC = 276,
  CM_SETAXLED = 277,
  CM_MOVELEFT = 278,
  CM_MOVERITE = 279,
  CM_SETPLATE = 280,
  CM_SETPLATF = 281,
  CM_MOVECEIL = 288,
  CM_MOVEDOWN = 289,
  CM_ABOUTAPP = 290,
  CM_USERSTOP = 768,  // from the progress window only
  // Additions for watching the learning and for files chosen by name.
  CM_OPENDATA = 291,
  CM_SAVEDTAS = 292,
  CM_FITCHART = 293,
  CM_TEMPSLOW = 294,
  CM_TEMPNORM = 295,
  CM_TEMPMAXI = 296,
  // Everyday use.
  CM_KEYTABLE = 300,
  // Additions for looking inside the network, holding a run and filming it.
  CM_NETVIEW = 310,
  CM_PAUSE = 311,
  CM_SINGLESTEP = 312,
  CM_RECORD = 313,
  // Seeing a network succeed: the comparison episodes drawn, a new
  // population, several runs of the trainer.
  CM_SHOWBEST = 320,
  CM_NEWPOPUL = 321,
  CM_MANYRUNS = 322,
  // The way there: the entries of the learning path.
  CM_LEARNPATH = 323,
  CM_SAVEPICT = 330,
};
