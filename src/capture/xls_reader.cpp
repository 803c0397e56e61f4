// The .xls reader (the older binary workbooks) through FreeXL.
#include "capture/workbook_reader.h"

#include <freexl.h>

#include <QFile>
#include <QFileInfo>

namespace workbook {

namespace {

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

Opened OpenXls(const QString& path)
{
    auto reader = std::make_unique<XlsReader>();
    if (!reader->open(path))
        return {nullptr, reader->error()};
    return {std::move(reader), QString()};
}

} // namespace workbook
