#pragma once
// The problems panel's list: every marked line of the document, in order,
// with its line number (from 1, as the margin counts), error or warning,
// and what is wrong there, whole. Read from the marks when refreshed;
// the messages are worked out as the rows are shown.
#include "items/ItemMarks.h"

#include <QAbstractListModel>

#include <vector>

namespace zuno {

class ProblemsModel : public QAbstractListModel {
    Q_OBJECT
public:
    ProblemsModel(const ItemMarks &marks, const ILineMarks &lines, QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role) const override;

    // Reads the marks again.
    void refresh();
    qint64 lineOf(int row) const { return m_lines[size_t(row)]; }
    // The row of the marked line, or -1.
    int rowOfLine(qint64 line) const;

private:
    const ItemMarks &m_marks;
    const ILineMarks &m_lineMarks;
    std::vector<qint64> m_lines;
};

} // namespace zuno
