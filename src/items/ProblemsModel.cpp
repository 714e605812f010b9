#include "items/ProblemsModel.h"

#include <QApplication>
#include <QStyle>

#include <algorithm>

namespace zuno {

ProblemsModel::ProblemsModel(const ItemMarks &marks, const ILineMarks &lines, QObject *parent)
    : QAbstractListModel(parent), m_marks(marks), m_lineMarks(lines)
{
    refresh();
}

int ProblemsModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_lines.size());
}

QVariant ProblemsModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || size_t(index.row()) >= m_lines.size())
        return QVariant();
    const qint64 line = m_lines[size_t(index.row())];
    const LineMark mark = m_marks.markAt(line);
    if (mark == LineMark::None)
        return QVariant(); // gone since the last refresh
    const bool error = mark == LineMark::Error;
    switch (role) {
    case Qt::DisplayRole:
    case Qt::AccessibleTextRole:
    case Qt::ToolTipRole: {
        const QString kind = error ? tr("error") : tr("warning");
        return tr("Line %1, %2: %3").arg(m_lineMarks.textLineNumber(line) + 1).arg(kind, m_marks.describe(line));
    }
    case Qt::DecorationRole:
        return QApplication::style()->standardIcon(error ? QStyle::SP_MessageBoxCritical : QStyle::SP_MessageBoxWarning);
    default:
        return QVariant();
    }
}

void ProblemsModel::refresh()
{
    std::vector<qint64> lines;
    lines.reserve(size_t(m_marks.problems()));
    for (qint64 line = m_marks.nextMarked(0); line >= 0; line = m_marks.nextMarked(line + 1))
        lines.push_back(line);
    if (lines == m_lines) {
        // The same lines; what they say may have changed.
        if (!m_lines.empty())
            emit dataChanged(index(0), index(int(m_lines.size()) - 1));
        return;
    }
    beginResetModel();
    m_lines = std::move(lines);
    endResetModel();
}

int ProblemsModel::rowOfLine(qint64 line) const
{
    const auto it = std::lower_bound(m_lines.begin(), m_lines.end(), line);
    return it != m_lines.end() && *it == line ? int(it - m_lines.begin()) : -1;
}

} // namespace zuno
