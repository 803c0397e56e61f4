#pragma once
// The program's version, from the project's version in CMakeLists.txt (one place for the title,
// the update check, the package and every result the program prints).
#include <QString>

inline constexpr int kProgramMajorVersion = TAVORA71_VERSION_MAJOR;
inline constexpr int kProgramMinorVersion = TAVORA71_VERSION_MINOR;

// "3.5"
inline QString ProgramVersionText()
{
    return QString::number(kProgramMajorVersion) + QLatin1Char('.') + QString::number(kProgramMinorVersion);
}
