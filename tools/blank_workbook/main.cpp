// Builds the blank answer workbook the program delivers, at build time, from the delivered item
// texts and the publisher's web domain (the name of its worksheet).
// Usage: tavora71-blank-workbook <item-table.tsv> <output.xlsx>
#include "capture/blank_workbook.h"
#include "capture/workbook_import.h"

#include <QFile>
#include <cstdio>

int main(int argc, char* argv[])
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s <item-table.tsv> <output.xlsx>\n", argv[0]);
        return 2;
    }
    QFile table(QString::fromLocal8Bit(argv[1]));
    if (!table.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "%s: %s\n", argv[1], qPrintable(table.errorString()));
        return 1;
    }
    const QStringList items = workbook::DeliveredItemTexts(QString::fromUtf8(table.readAll()));
    if (items.isEmpty()) {
        std::fprintf(stderr, "%s: not a complete item table\n", argv[1]);
        return 1;
    }
    const QString sheetName = workbook::AnswerSheetName(PublisherAddresses{});
    const store::Result r = workbook::WriteXlsx(QString::fromLocal8Bit(argv[2]),
                                                {workbook::BlankAnswerSheet(sheetName, items)});
    if (!r) {
        std::fprintf(stderr, "%s: %s\n", argv[2], qPrintable(r.error));
        return 1;
    }
    return 0;
}
