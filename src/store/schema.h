#pragma once
// The four data files of the program folder, their tables and columns.
#include <QString>
#include <QStringList>
#include <QVector>
#include <array>

namespace store {

struct TableDef {
    QString name;
    QStringList columns;        // all TEXT, except those listed in integerColumns
    QStringList integerColumns;
    QStringList indexedColumns; // plain index
    QStringList uniqueColumns;  // unique index
    QString numberedColumn = {}; // its all-digit texts indexed as numbers too (the code proposal)
    // A table added after files were first delivered: an existing file that lacks it gets it,
    // empty, at start-up, so files made by an earlier version keep working.
    bool addedLater = false;
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

// The inventory every table is laid out for: 71 items, eleven scales.
inline constexpr int kItemCount = 71;
inline constexpr int kScaleCount = 11;
// The scales in scale order (index 0..10): three validity scales, then eight clinical ones.
// Every per-scale row of the program (keys, score rows, norm fields, ranking) follows it.
inline constexpr std::array<const char*, kScaleCount> kScaleNames{"L",  "F",  "K",  "Hs", "D", "Hy",
                                                                  "Pd", "Pa", "Pt", "Sc", "Ma"};

// The scale's index in scale order, or -1 (names compared exactly).
int scaleIndex(QStringView name);
// Scale columns in scale order, named as the scales.
const QStringList& scaleColumns();
// The same fields of the norm tables, where the last one is spelt "MA".
const QStringList& normColumns();
// The tables beside the four norm tables: what each one holds now (its name, source, date of
// change, whether it is the delivered one, and the same of the table it replaced) and the rows
// of that replaced table, kept so that it can be put back.
inline const QString kNormInfoTable = QStringLiteral("NormInfo");
inline const QString kNormKeptTable = QStringLiteral("NormKept");
// Item columns "1".."71".
QStringList itemColumns();

const QVector<FileDef>& dataFiles();
const FileDef* findFile(const QString& fileName);
const TableDef* findTable(const QString& fileName, const QString& table);

// Column names quoted for SQL ("Group", "1", ...).
QString quoteIdentifier(const QString& name);

// On a database server each file's tables live in a schema of their own ("tavora71", "theme",
// "themetb", "logo"): two files have a table named Answer.
QString serverSchema(const FileDef& file);
// The layout of the server's tables; recorded on the server when it is prepared.
inline constexpr int kServerSchemaVersion = 1;

// Tables that people edit (identities, responses, item texts, settings): an update of a row that
// was changed since it was read is refused instead of overwriting the other change. Score rows and
// the ranking work table are written again whenever a profile is shown; the last write is right.
bool updatesChecked(const QString& table);

} // namespace store
