#pragma once
// Which folder holds the clinic's data: the one named by TAVORA71_HOME when it is set, else the
// executable's own folder. The launcher installed with the package sets it to ~/Tavora71.
#include <QString>

inline constexpr char kProgramFolderVariable[] = "TAVORA71_HOME";

struct ProgramFolderChoice {
    QString folder;  // absolute and clean; exists and can be written when accepted
    QString refusal; // why the program cannot use it, naming the folder; empty when accepted
    bool accepted() const { return refusal.isEmpty(); }
};

// variableValue: the variable's value (empty when unset). A relative value is taken from the
// current folder, a leading "~" from the home folder. A missing folder is created; a file, a
// folder that cannot be created or one that cannot be written is refused.
ProgramFolderChoice ChooseProgramFolder(const QString& variableValue, const QString& executableFolder);
