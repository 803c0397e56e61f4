#include "store/schema.h"

namespace store {

int scaleIndex(QStringView name)
{
    for (int i = 0; i < kScaleCount; ++i) {
        if (name == QLatin1String(kScaleNames[std::size_t(i)]))
            return i;
    }
    return -1;
}

const QStringList& scaleColumns()
{
    static const QStringList columns = [] {
        QStringList names;
        for (const char* name : kScaleNames)
            names << QString::fromLatin1(name);
        return names;
    }();
    return columns;
}

const QStringList& normColumns()
{
    static const QStringList columns = [] {
        QStringList names = scaleColumns();
        names.last() = QStringLiteral("MA");
        return names;
    }();
    return columns;
}

QStringList itemColumns()
{
    QStringList items;
    for (int i = 1; i <= kItemCount; ++i)
        items << QString::number(i);
    return items;
}

namespace {

TableDef normTable(const QString& name)
{
    QStringList cols{QStringLiteral("KHam")};
    cols << normColumns() << QStringLiteral("ID");
    return {name, cols, {}, {QStringLiteral("KHam")}, {}, {}};
}

TableDef scoreRowTable(const QString& name)
{
    return {name, QStringList{QStringLiteral("Code")} + scaleColumns(), {}, {QStringLiteral("Code")}, {}, {}};
}

TableDef normInfoTable()
{
    TableDef t{kNormInfoTable,
               {QStringLiteral("Tbl"), QStringLiteral("Name"), QStringLiteral("Source"), QStringLiteral("Changed"),
                QStringLiteral("Delivered"), QStringLiteral("KeptName"), QStringLiteral("KeptSource"),
                QStringLiteral("KeptChanged"), QStringLiteral("KeptDelivered")},
               {}, {}, {QStringLiteral("Tbl")}};
    t.addedLater = true;
    return t;
}

TableDef normKeptTable()
{
    QStringList cols{QStringLiteral("Tbl"), QStringLiteral("KHam")};
    cols << normColumns() << QStringLiteral("ID");
    TableDef t{kNormKeptTable, cols, {}, {QStringLiteral("Tbl")}, {}};
    t.addedLater = true;
    return t;
}

QVector<FileDef> buildFiles()
{
    const QString code = QStringLiteral("Code");
    FileDef examinees{kExamineeFile, QStringLiteral("Tavora71"), {
        {QStringLiteral("IDE"),
         {code, QStringLiteral("FName"), QStringLiteral("LName"), QStringLiteral("Sen"),
          QStringLiteral("Jens"), QStringLiteral("Taahol"), QStringLiteral("Group"),
          QStringLiteral("Tahsil"), QStringLiteral("Date"), QStringLiteral("Time"),
          QStringLiteral("TT1")},
         // The lookup screen filters by these and lists their values.
         {}, {QStringLiteral("FName"), QStringLiteral("LName"), QStringLiteral("Group")}, {code}, code},
        {QStringLiteral("Answer"), QStringList{code} + itemColumns(), {}, {code}, {}, {}},
        {QStringLiteral("QUS"),
         {QStringLiteral("ID"), QStringLiteral("QU"), QStringLiteral("QU2"), QStringLiteral("QU3"),
          QStringLiteral("QU4"), QStringLiteral("QU5")},
         {}, {QStringLiteral("ID")}, {}, {}},
    }};
    FileDef settings{kSettingsFile, QStringLiteral("Theme"), {
        {QStringLiteral("Theme"),
         {QStringLiteral("Name"), QStringLiteral("Adress"), QStringLiteral("T1"), QStringLiteral("T2"),
          QStringLiteral("T3"), QStringLiteral("T4"), QStringLiteral("T5"), QStringLiteral("T6"),
          QStringLiteral("T11"), QStringLiteral("Check1")},
         {QStringLiteral("Check1")}, {}, {}, {}},
    }};
    FileDef norms{kNormsFile, QStringLiteral("ThemeTB"), {
        normTable(QStringLiteral("EvabaliniDJMIR")),
        normTable(QStringLiteral("EvabaliniDAMIR")),
        normTable(QStringLiteral("EvabaliniDJFMIR")),
        normTable(QStringLiteral("EvabaliniDAFMIR")),
        scoreRowTable(QStringLiteral("NOMREKhamIR")),
        scoreRowTable(QStringLiteral("NOMREbikIR")),
        {QStringLiteral("Sortt2"),
         {QStringLiteral("id"), QStringLiteral("Numb"), QStringLiteral("etebari"),
          QStringLiteral("Name"), QStringLiteral("Name2")},
         {}, {}, {}, {}},
        {QStringLiteral("Taff"),
         {QStringLiteral("id"), QStringLiteral("Topp"), QStringLiteral("Mediumm"), QStringLiteral("Downn")},
         {}, {}, {QStringLiteral("id")}, {}}, // a duplicate key would hide a text silently
        normInfoTable(),
        normKeptTable(),
    }};
    FileDef buffer{kImportBufferFile, QStringLiteral("Logo"), {
        {QStringLiteral("Answer"), itemColumns(), {}, {}, {}, {}},
    }};
    return {examinees, settings, norms, buffer};
}

} // namespace

const QVector<FileDef>& dataFiles()
{
    static const QVector<FileDef> files = buildFiles();
    return files;
}

const FileDef* findFile(const QString& fileName)
{
    for (const FileDef& f : dataFiles())
        if (f.fileName.compare(fileName, Qt::CaseInsensitive) == 0)
            return &f;
    return nullptr;
}

const TableDef* findTable(const QString& fileName, const QString& table)
{
    const FileDef* f = findFile(fileName);
    if (!f)
        return nullptr;
    for (const TableDef& t : f->tables)
        if (t.name.compare(table, Qt::CaseInsensitive) == 0)
            return &t;
    return nullptr;
}

QString quoteIdentifier(const QString& name)
{
    QString escaped = name;
    escaped.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + escaped + QLatin1Char('"');
}

QString serverSchema(const FileDef& file)
{
    return file.dataFolder.toLower();
}

bool updatesChecked(const QString& table)
{
    for (const char* name : {"IDE", "Answer", "QUS", "Theme"})
        if (table.compare(QLatin1String(name), Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

} // namespace store
