#pragma once
// Files named after an examinee's code: the code is the only part of a record that a file name
// may carry.
#include <QString>

// An examinee code as part of a file name: surrounding blanks dropped, anything that would
// leave the folder or is not allowed in a file name replaced by "_"; "report" when nothing
// is left.
QString CodeFileStem(const QString& code);

// The picture of the profile screen the Word export leaves beside the program's data:
// <code>.bmp in the program folder. It goes when the examinee is deleted.
QString ProfileBitmapPath(const QString& programFolder, const QString& code);
