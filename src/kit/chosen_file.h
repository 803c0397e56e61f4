#pragma once
// Files a user chooses (a workbook, a logo, a backup to restore) are read only when they are
// regular files once links are followed: a FIFO or a device would block the reader for ever,
// and a folder is nothing to read.
#include <QString>

bool IsRegularFile(const QString& path);
