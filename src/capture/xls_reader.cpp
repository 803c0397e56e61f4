// The .xls reader (the older binary workbooks) through FreeXL.
#include "capture/workbook_reader.h"

#include <freexl.h>

#include <QFile>
#include <QFileInfo>

namespace workbook {

namespace {

quint32 u32(const QByteArray& b, qsizetype at)
{
    if (at < 0 || at + 4 > b.size())
        return 0xFFFFFFFF;
    const auto* p = reinterpret_cast<const uchar*>(b.constData() + at);
    return quint32(p[0]) | quint32(p[1]) << 8 | quint32(p[2]) << 16 | quint32(p[3]) << 24;
}

quint16 u16(const QByteArray& b, qsizetype at)
{
    if (at < 0 || at + 2 > b.size())
        return 0;
    const auto* p = reinterpret_cast<const uchar*>(b.constData() + at);
    return quint16(p[0] | p[1] << 8);
}

constexpr quint32 kEndOfChain = 0xFFFFFFFE;

// The workbook stream of a compound file (the container of an .xls), found and read the way
// FreeXL finds and reads it, without FreeXL: it reserves the sheets' cells as it reads.
class CompoundFile {
public:
    explicit CompoundFile(const QByteArray& file) : file_(file) {}

    bool open(QString& why)
    {
        if (!file_.startsWith(QByteArray("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8)) || file_.size() < 512)
            return fail(why, QStringLiteral("not a compound file"));
        const int shift = u16(file_, 30);
        if (shift != 9 && shift != 12)
            return fail(why, QStringLiteral("unknown sector size"));
        sectorSize_ = 1 << shift;
        // Small streams are kept apart only when the file has a table for them.
        miniCutoff_ = u32(file_, 64) > 0 ? u32(file_, 56) : 0;
        // The sectors of the allocation table: 109 named in the header, the rest in a chain.
        QList<quint32> fatSectors;
        for (int i = 0; i < 109; ++i)
            fatSectors << u32(file_, 76 + 4 * i);
        const int perSector = sectorSize_ / 4 - 1;
        for (quint32 difat = u32(file_, 68); difat < kEndOfChain && fatSectors.size() <= 109 + sectorCount();) {
            const qsizetype at = offsetOf(difat);
            for (int i = 0; i < perSector; ++i)
                fatSectors << u32(file_, at + 4 * i);
            difat = u32(file_, at + 4 * perSector);
        }
        qsizetype used = 0;
        for (quint32 sector : std::as_const(fatSectors)) {
            if (sector == 0xFFFFFFFF)
                continue;
            if (qsizetype(sector) >= sectorCount() || ++used > sectorCount())
                return fail(why, QStringLiteral("damaged allocation table"));
            const qsizetype at = offsetOf(sector);
            for (int i = 0; i < sectorSize_ / 4; ++i)
                fat_ << u32(file_, at + 4 * i);
        }
        // Only the first sector of the directory is searched, by name, in order.
        const QByteArray directory = file_.mid(offsetOf(u32(file_, 48)), sectorSize_);
        for (qsizetype at = 0; at + 128 <= directory.size(); at += 128) {
            const qsizetype nameBytes = qBound(0, int(u16(directory, at + 64)), 64);
            QString name = QString::fromUtf16(reinterpret_cast<const char16_t*>(directory.constData() + at), nameBytes / 2);
            name.truncate(name.indexOf(QChar(0)) < 0 ? name.size() : name.indexOf(QChar(0)));
            const quint32 start = u32(directory, at + 116);
            const quint32 size = u32(directory, at + 120);
            if (name == QLatin1String("Root Entry")) {
                rootStart_ = start;
                rootSize_ = size;
            }
            if (name == QLatin1String("Workbook") || name == QLatin1String("Book")) {
                workbookStart_ = start;
                workbookSize_ = size;
                return true;
            }
        }
        return fail(why, QStringLiteral("no workbook stream"));
    }

    // Empty, with why, when the stream's chain of sectors loops.
    QByteArray workbook(QString& why) const
    {
        bool looped = false;
        QByteArray stream;
        if (workbookSize_ <= miniCutoff_) // read from the start of the small streams' home
            stream = chain(rootStart_, looped).left(workbookSize_);
        else // the whole chain: the reader reads on past the declared size to its end
            stream = chain(workbookStart_, looped);
        if (looped) {
            why = QStringLiteral("a chain of sectors that loops");
            return {};
        }
        return stream;
    }

private:
    static bool fail(QString& why, const QString& text)
    {
        why = text;
        return false;
    }
    qsizetype sectorCount() const { return file_.size() / sectorSize_; }
    qsizetype offsetOf(quint32 sector) const { return (qsizetype(sector) + 1) * sectorSize_; }

    // The sectors of a chain, never more than the file holds.
    QByteArray chain(quint32 sector, bool& looped) const
    {
        QByteArray out;
        for (; sector < kEndOfChain; sector = qsizetype(sector) < fat_.size() ? fat_.at(sector) : kEndOfChain) {
            const qsizetype at = offsetOf(sector);
            if (at + sectorSize_ > file_.size())
                break;
            if (out.size() >= file_.size()) {
                looped = true;
                break;
            }
            out.append(file_.constData() + at, sectorSize_);
        }
        return out;
    }

    const QByteArray& file_;
    int sectorSize_ = 512;
    quint32 miniCutoff_ = 0;
    QList<quint32> fat_;
    quint32 rootStart_ = kEndOfChain;
    quint32 rootSize_ = 0;
    quint32 workbookStart_ = kEndOfChain;
    quint32 workbookSize_ = 0;
};

// Records that hold a cell: without a declared size, the reader sizes the sheet after them.
bool isCellRecord(quint16 type)
{
    switch (type) {
    case 0x0006: // FORMULA
    case 0x00BD: // MULRK
    case 0x00BE: // MULBLANK
    case 0x00D6: // RSTRING
    case 0x00FD: // LABELSST
    case 0x0201: // BLANK
    case 0x0203: // NUMBER
    case 0x0204: // LABEL
    case 0x0205: // BOOLERR
    case 0x027E: // RK
        return true;
    default:
        return false;
    }
}

class XlsReader final : public WorkbookReader {
public:
    ~XlsReader() override
    {
        if (handle_)
            freexl_close(handle_);
    }

    bool open(const QString& path)
    {
        // FreeXL reads the whole file into memory: refuse one larger than any part we read.
        const QFileInfo info(path);
        if (!info.isFile())
            return fail(QStringLiteral("no such file"));
        if (info.size() > kMaxPartBytes)
            return fail(QStringLiteral("larger than the limit"));
        // The sheets' declared sizes are read first: the reader reserves them all as it opens.
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            return fail(file.errorString());
        qint64 cells = 0;
        QString why;
        if (!XlsDeclaredCells(file.read(kMaxPartBytes), cells, why))
            return fail(why);
        if (cells > kMaxReservedXlsCells)
            return fail(QStringLiteral("its sheets declare %1 cells").arg(cells));
        file.close();
        const QByteArray name = QFile::encodeName(path);
        const int rc = freexl_open(name.constData(), &handle_);
        if (rc != FREEXL_OK)
            return fail(QStringLiteral("not a readable .xls file (%1)").arg(rc));
        unsigned int count = 0;
        if (freexl_get_info(handle_, FREEXL_BIFF_SHEET_COUNT, &count) != FREEXL_OK)
            return fail(QStringLiteral("no worksheets"));
        for (unsigned int i = 0; i < count && i <= 0xffff; ++i) {
            const char* sheetName = nullptr;
            if (freexl_get_worksheet_name(handle_, static_cast<unsigned short>(i), &sheetName) != FREEXL_OK)
                return fail(QStringLiteral("unreadable worksheet name"));
            names_ << QString::fromUtf8(sheetName ? sheetName : "");
        }
        return true;
    }

    QStringList sheetNames() const override { return names_; }

    bool selectSheet(const QString& name) override
    {
        error_.clear();
        selected_ = false;
        for (int i = 0; i < names_.size(); ++i) {
            if (names_.at(i).compare(name, Qt::CaseInsensitive) != 0)
                continue;
            if (freexl_select_active_worksheet(handle_, static_cast<unsigned short>(i)) != FREEXL_OK
                || freexl_worksheet_dimensions(handle_, &rows_, &columns_) != FREEXL_OK)
                return fail(QStringLiteral("unreadable worksheet"));
            if (rows_ > unsigned(kMaxAnswerSheetRows) || columns_ > kMaxAnswerSheetColumns)
                return fail(QStringLiteral("a worksheet larger than an answer sheet"));
            selected_ = true;
            return true;
        }
        return fail(QStringLiteral("no worksheet named ") + name);
    }

    bool cell(CellRef ref, CellValue& value) const override
    {
        value = {};
        if (!selected_) {
            error_ = QStringLiteral("no worksheet selected");
            return false;
        }
        // rows_ and columns_ count the rows and columns the sheet holds.
        if (ref.row < 1 || ref.column < 1 || unsigned(ref.row) > rows_ || unsigned(ref.column) > columns_)
            return true;
        FreeXL_CellValue v;
        if (freexl_get_cell_value(handle_, unsigned(ref.row - 1), static_cast<unsigned short>(ref.column - 1), &v)
            != FREEXL_OK) {
            error_ = QStringLiteral("unreadable cell");
            return false;
        }
        switch (v.type) {
        case FREEXL_CELL_INT:
            value = CellValue::fromNumber(v.value.int_value);
            break;
        case FREEXL_CELL_DOUBLE:
            value = CellValue::fromNumber(v.value.double_value);
            break;
        case FREEXL_CELL_TEXT:
        case FREEXL_CELL_SST_TEXT:
        case FREEXL_CELL_DATE:
        case FREEXL_CELL_DATETIME:
        case FREEXL_CELL_TIME:
            value = CellValue::fromText(QString::fromUtf8(v.value.text_value ? v.value.text_value : ""));
            break;
        default:
            break;
        }
        return true;
    }

private:
    bool fail(const QString& why)
    {
        error_ = why;
        return false;
    }

    const void* handle_ = nullptr;
    QStringList names_;
    bool selected_ = false;
    unsigned int rows_ = 0;
    unsigned short columns_ = 0;
};

} // namespace

bool XlsDeclaredCells(const QByteArray& file, qint64& cells, QString& why)
{
    cells = 0;
    CompoundFile compound(file);
    if (!compound.open(why))
        return false;
    const QByteArray stream = compound.workbook(why);
    if (stream.isEmpty()) {
        if (why.isEmpty())
            why = QStringLiteral("an empty workbook stream");
        return false;
    }
    // BIFF records: type, length, body. The first is the workbook's BOF, naming the version.
    // The reader reserves the declared cells at every DIMENSION record, and once more, at the
    // size of the sheet it last read, for every listed sheet that declared none.
    bool biff8 = false;
    int substreams = 0;
    qint64 declared = 0;
    qint64 largest = 1;
    qint64 listed = 0;
    bool sized = false;
    bool holdsCells = false;
    for (qsizetype at = 0; at + 4 <= stream.size();) {
        const quint16 type = u16(stream, at);
        const quint16 length = u16(stream, at + 2);
        if ((type == 0 && length == 0) || length > 8224)
            break; // where the reader stops too
        const qsizetype body = at + 4;
        at = body + length;
        if (type == 0x0809) { // BOF: a substream begins
            if (substreams++ == 0)
                biff8 = u16(stream, body) == 0x0600;
            sized = false;
            holdsCells = false;
        } else if (type == 0x000A) { // EOF: a sheet that holds cells has declared its size
            if (substreams > 1 && holdsCells && !sized) {
                why = QStringLiteral("a sheet without its dimensions");
                return false;
            }
        } else if (type == 0x0085) { // BOUNDSHEET: a listed sheet
            ++listed;
        } else if (type == 0x0200) { // DIMENSION
            const qint64 rows = biff8 ? u32(stream, body + 4) : u16(stream, body + 2);
            const qint64 columns = u16(stream, body + (biff8 ? 10 : 6));
            declared += rows * columns;
            largest = qMax(largest, rows * columns);
            sized = true;
        } else if (isCellRecord(type)) {
            holdsCells = true;
        }
        if (declared > kMaxReservedXlsCells || largest > kMaxReservedXlsCells
            || listed * largest > kMaxReservedXlsCells) {
            cells = kMaxReservedXlsCells + 1; // too many already; the sum could overflow
            return true;
        }
    }
    if (substreams == 0) {
        why = QStringLiteral("no workbook records");
        return false;
    }
    cells = declared + listed * largest;
    return true;
}

Opened OpenXls(const QString& path)
{
    auto reader = std::make_unique<XlsReader>();
    if (!reader->open(path))
        return {nullptr, reader->error()};
    return {std::move(reader), QString()};
}

} // namespace workbook
