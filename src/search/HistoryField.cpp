#include "search/HistoryField.h"

#include <QAbstractItemView>
#include <QAction>
#include <QCompleter>
#include <QKeyEvent>
#include <QLineEdit>
#include <QStringListModel>
#include <QStyle>

namespace zuno {

HistoryField::HistoryField(QLineEdit &field, std::function<QStringList()> entries, const char *dropDownName)
    : QObject(&field), m_field(field), m_entries(std::move(entries))
{
    m_model = new QStringListModel(this);
    m_list = new QCompleter(m_model, this);
    m_list->setCompletionMode(QCompleter::UnfilteredPopupCompletion);
    m_list->setCaseSensitivity(Qt::CaseSensitive);
    m_list->setWidget(&field);
    connect(m_list, qOverload<const QString &>(&QCompleter::activated), this, [this](const QString &text) {
        m_field.setText(text);
        m_field.setFocus();
    });

    m_dropDown = field.addAction(field.style()->standardIcon(QStyle::SP_ArrowDown), QLineEdit::TrailingPosition);
    m_dropDown->setObjectName(QLatin1String(dropDownName));
    m_dropDown->setToolTip(tr("Earlier texts"));
    connect(m_dropDown, &QAction::triggered, this, &HistoryField::showList);

    connect(&field, &QLineEdit::textEdited, this, [this] {
        if (!m_stepping)
            m_index = -1;
    });
    field.installEventFilter(this);
}

void HistoryField::showList()
{
    m_model->setStringList(m_entries());
    if (m_model->rowCount() == 0)
        return;
    m_list->setCompletionPrefix(QString());
    m_list->complete(m_field.rect());
}

void HistoryField::step(int by)
{
    const QStringList texts = m_entries();
    // A text of the list that stands in the box (put there when the dialog
    // opened, or searched for since the last step) is the place to step
    // from, so that Up shows an earlier text at once.
    if (m_index < 0 || m_index >= texts.size() || texts[m_index] != m_field.text()) {
        m_typed = m_field.text();
        m_index = int(texts.indexOf(m_typed));
    }
    const int index = std::clamp(m_index + by, -1, int(texts.size()) - 1);
    if (index == m_index)
        return;
    m_index = index;
    m_stepping = true;
    m_field.setText(index < 0 ? m_typed : texts[index]);
    m_field.selectAll();
    m_stepping = false;
}

bool HistoryField::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == &m_field && event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        if (key->key() == Qt::Key_Down && key->modifiers() == Qt::AltModifier) {
            showList();
            return true;
        }
        if (key->modifiers() == Qt::NoModifier && (key->key() == Qt::Key_Up || key->key() == Qt::Key_Down)) {
            step(key->key() == Qt::Key_Up ? 1 : -1);
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}

} // namespace zuno
