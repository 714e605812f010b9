#include "items/RecordsModel.h"

#include <QFont>

namespace zuno {

namespace {

// Line items stand under their record.
const QString ItemIndent = QStringLiteral("    ");

} // namespace

RecordsModel::RecordsModel(const RecordIndex &index, QObject *parent) : QAbstractListModel(parent), m_index(index)
{
    m_rowCount = int(m_index.size()) + headRows();
}

int RecordsModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_rowCount;
}

qsizetype RecordsModel::entryOf(int row) const
{
    if (!m_filter.isEmpty())
        return m_rows[size_t(row)];
    return row - headRows();
}

QVariant RecordsModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_rowCount)
        return QVariant();
    const qsizetype entry = entryOf(index.row());
    if (entry >= m_index.size())
        return QVariant();
    const EntryKind kind = entry < 0 ? EntryKind::Record : m_index.entry(entry).kind;
    switch (role) {
    case Qt::DisplayRole:
        if (entry < 0)
            return tr("File head");
        return kind == EntryKind::LineItem ? ItemIndent + m_index.caption(entry) : m_index.caption(entry);
    case Qt::AccessibleTextRole:
        if (entry < 0)
            return tr("File head");
        return kind == EntryKind::LineItem ? tr("Line item %1").arg(m_index.caption(entry))
               : kind == EntryKind::SeparatedRecord ? tr("Separated record %1").arg(m_index.caption(entry))
                                                    : tr("Record %1").arg(m_index.caption(entry));
    case Qt::ToolTipRole: {
        const QString line = tr("Line %1").arg(lineOf(index.row()) + 1);
        return kind == EntryKind::SeparatedRecord ? tr("Separated record, %1").arg(line) : line;
    }
    case Qt::FontRole:
        if (kind == EntryKind::SeparatedRecord || entry < 0) {
            QFont font;
            font.setItalic(true);
            return font;
        }
        return QVariant();
    default:
        return QVariant();
    }
}

qint64 RecordsModel::lineOf(int row) const
{
    const qsizetype entry = entryOf(row);
    return entry < 0 ? 0 : m_index.entry(entry).line;
}

int RecordsModel::rowOfLine(qint64 line) const
{
    const qsizetype entry = m_index.entryAt(line);
    if (m_filter.isEmpty()) {
        if (entry < 0)
            return headRows() ? 0 : -1;
        return int(entry) + headRows();
    }
    const auto it = std::lower_bound(m_rows.begin(), m_rows.end(), qint32(entry));
    return it != m_rows.end() && *it == entry ? int(it - m_rows.begin()) : -1;
}

void RecordsModel::setFilter(const QString &text)
{
    beginResetModel();
    const QString before = m_filter;
    m_filter = text.trimmed();
    // Typed a character at a time: what the longer text shows, the shorter
    // one showed too.
    applyFilter(!before.isEmpty() && m_filter.toUtf8().toUpper().startsWith(before.toUtf8().toUpper()));
    endResetModel();
}

void RecordsModel::applyFilter(bool narrowed)
{
    std::vector<qint32> shown;
    if (narrowed)
        shown.swap(m_rows);
    m_rows.clear();
    if (m_filter.isEmpty()) {
        m_rows.shrink_to_fit();
        m_rowCount = int(m_index.size()) + headRows();
        return;
    }
    const QByteArray wanted = m_filter.toUtf8().toUpper();
    // A record is shown with all its items when it or one of them holds
    // the text; the head likewise.
    qsizetype groupStart = m_index.hasHead() ? -1 : 0;
    bool groupHolds = false;
    const std::vector<bool> holding = m_index.captionsHolding(wanted, narrowed ? &shown : nullptr);
    const auto closeGroup = [&](qsizetype end) {
        if (!groupHolds)
            return;
        for (qsizetype at = groupStart; at < end; ++at)
            m_rows.push_back(qint32(at));
    };
    for (qsizetype at = 0; at < m_index.size(); ++at) {
        if (m_index.entry(at).kind != EntryKind::LineItem) {
            closeGroup(at);
            groupStart = at;
            groupHolds = false;
        }
        groupHolds = groupHolds || holding[size_t(at)];
    }
    closeGroup(m_index.size());
    m_rowCount = int(m_rows.size());
}

void RecordsModel::indexChanged(bool rebuilt)
{
    const RecordIndex::Change &change = m_index.lastChange();
    const int rows = int(m_index.size()) + headRows();
    if (rebuilt || !m_filter.isEmpty() || change.removed != change.inserted || rows != m_rowCount) {
        beginResetModel();
        applyFilter();
        endResetModel();
        return;
    }
    // The same rows: the captions from the record of the first line read
    // (its name may have changed) to the last entry read.
    const qsizetype record = m_index.recordAt(change.fromLine);
    const int first = int(std::max<qsizetype>(record, 0)) + headRows();
    const int last = int(std::min<qsizetype>(change.first + change.inserted, m_index.size() - 1)) + headRows();
    if (first <= last)
        emit dataChanged(index(first), index(last));
}

QVariant RecordMatchesModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || size_t(index.row()) >= m_found.size())
        return QVariant();
    const qsizetype entry = m_found[size_t(index.row())];
    if (role == Qt::DisplayRole)
        return m_index.caption(entry);
    if (role == Qt::ToolTipRole)
        return tr("Line %1").arg(m_index.entry(entry).line + 1);
    return QVariant();
}

void RecordMatchesModel::find(const QString &text)
{
    const QByteArray wanted = RecordIndex::searchKey(text);
    // "AC:" typed after "AC" looks for values only: not among what "AC" found.
    const bool narrowed = !m_foundFor.isEmpty() && wanted.startsWith(m_foundFor)
        && RecordIndex::isAcKey(wanted) == RecordIndex::isAcKey(m_foundFor);
    beginResetModel();
    m_found = m_index.findRecords(text, narrowed ? &m_found : nullptr);
    m_foundFor = wanted;
    endResetModel();
}

void RecordMatchesModel::indexChanged()
{
    m_foundFor.clear();
    beginResetModel();
    m_found.clear();
    endResetModel();
}

} // namespace zuno
