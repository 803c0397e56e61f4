#pragma once
// Delivered data is kept as readable tab-separated text: the first line that is not a
// comment ("#...") names the columns, each further line is one row. Within a field,
// "\t", "\n", "\r" and "\\" stand for a tab, a line feed, a carriage return and a backslash.
#include <QStringList>
#include <QVector>

namespace store {

struct DeliveredTable {
    QStringList columns;
    QVector<QStringList> rows;
    QString error; // empty when the text was well formed
};

DeliveredTable ParseDeliveredTable(const QString& text);
DeliveredTable LoadDeliveredTable(const QString& path); // a file or a ":/" resource
QString UnescapeDeliveredField(const QString& field);
QString EscapeDeliveredField(const QString& field);

} // namespace store
