#pragma once
// A text box that offers the texts used before: the up and down keys step
// through them (newest first; down past the newest gives back what was
// typed), and a drop-down list opens from the arrow at the box's right end
// or with Alt+Down. The box stays the single-line text box it was.
#include <QObject>
#include <QStringList>
#include <functional>

class QAction;
class QCompleter;
class QLineEdit;
class QStringListModel;

namespace zuno {

class HistoryField : public QObject {
    Q_OBJECT
public:
    // `entries` gives the texts, newest first, each time they are wanted.
    HistoryField(QLineEdit &field, std::function<QStringList()> entries, const char *dropDownName);

    // Opens the drop-down list under the box.
    void showList();
    QCompleter *list() const { return m_list; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void step(int by);

    QLineEdit &m_field;
    std::function<QStringList()> m_entries;
    QCompleter *m_list = nullptr;
    QStringListModel *m_model = nullptr;
    QAction *m_dropDown = nullptr;
    // Where the up and down keys stand: -1 at the text typed.
    int m_index = -1;
    QString m_typed;
    bool m_stepping = false;
};

} // namespace zuno
