#pragma once
// The four data files of the program folder, their tables and columns.
#include <QString>
#include <QStringList>
#include <QVector>

namespace store {

struct TableDef {
    QString name;
    QStringList columns;        // all TEXT, except those listed in integerColumns
    QStringList integerColumns;
    QStringList indexedColumns; // plain index
    QStringList uniqueColumns;  // unique index
};

struct FileDef {
    QString fileName;           // relative to the program folder
    QString dataFolder;         // folder of the delivered rows under the ":/data" resource
    QVector<TableDef> tables;
};

// File names, fixed.
inline const QString kExamineeFile = QStringLiteral("Tavora71.mdb");
inline const QString kSettingsFile = QStringLiteral("Theme.skn");
inline const QString kNormsFile = QStringLiteral("ThemeTB.skn");
inline const QString kImportBufferFile = QStringLiteral("Logo.skn");

// Scale columns in scale order (index 0..10).
QStringList scaleColumns();
// Item columns "1".."71".
QStringList itemColumns();

const QVector<FileDef>& dataFiles();
const FileDef* findFile(const QString& fileName);
const TableDef* findTable(const QString& fileName, const QString& table);

// Column names quoted for SQL ("Group", "1", ...).
QString quoteIdentifier(const QString& name);

} // namespace store
