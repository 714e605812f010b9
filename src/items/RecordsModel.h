#pragma once
// The records panel's list and Go To Record's matches, as models over the
// record index: one row an entry, read from the index as it is shown, so
// that a file of a million records costs the views nothing per record.
//
// RecordsModel: the head (when the text has one), then every record with
// its line items under it (indented), in the text's order; a filter keeps
// the records whose caption or line items hold its text, with their items.
// RecordMatchesModel: the records Go To Record found.
#include "items/RecordIndex.h"

#include <QAbstractListModel>

#include <vector>

namespace zuno {

class RecordsModel : public QAbstractListModel {
    Q_OBJECT
public:
    explicit RecordsModel(const RecordIndex &index, QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role) const override;

    // Letters of either case alike; empty shows every row.
    void setFilter(const QString &text);
    QString filter() const { return m_filter; }
    // The index changed (RecordIndex::lastChange()), or was read afresh.
    void indexChanged(bool rebuilt);

    // The control's line the row stands for.
    qint64 lineOf(int row) const;
    // The row of the deepest entry that holds the line (a line item, else
    // its record, else the head), or -1 when that row is not shown.
    int rowOfLine(qint64 line) const;

private:
    // The entry of a row: -1 for the head.
    qsizetype entryOf(int row) const;
    int headRows() const { return m_index.hasHead() ? 1 : 0; }
    // Lays the rows out for the filter: among the rows shown where `narrowed`
    // (the filter goes on from the one they were laid out for), else among
    // all the entries.
    void applyFilter(bool narrowed = false);

    const RecordIndex &m_index;
    QString m_filter;
    // With a filter: the entries shown (-1 the head), in order.
    std::vector<qint32> m_rows;
    int m_rowCount = 0;
};

class RecordMatchesModel : public QAbstractListModel {
    Q_OBJECT
public:
    explicit RecordMatchesModel(const RecordIndex &index, QObject *parent = nullptr)
        : QAbstractListModel(parent), m_index(index)
    {
    }
    int rowCount(const QModelIndex &parent = QModelIndex()) const override
    {
        return parent.isValid() ? 0 : int(m_found.size());
    }
    QVariant data(const QModelIndex &index, int role) const override;
    // Finds the records for the text (RecordIndex::findRecords): among
    // those found last where the text goes on from the last one (a number
    // or name typed a character at a time), else among all.
    void find(const QString &text);
    // The index was read again or its entries changed: what was found goes,
    // and the text is looked for among all the records again.
    void indexChanged();
    qint64 lineOf(int row) const { return m_index.entry(m_found[size_t(row)]).line; }

private:
    const RecordIndex &m_index;
    std::vector<qint32> m_found;
    // The text m_found holds the records of, trimmed and upper case; empty
    // when m_found is not the search's whole answer.
    QByteArray m_foundFor;
};

} // namespace zuno
