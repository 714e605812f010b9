#pragma once
#include "platform/MessageBox.h"

#include <QPointer>
#include <QWidget>

namespace zuno {

class QtMessageBox : public IMessageBox {
public:
    explicit QtMessageBox(QWidget *parent = nullptr) : m_parent(parent) {}
    MessageResult show(const QString &text, MessageButtons buttons, MessageIcon icon,
                       const QString &title = QString()) override;

private:
    QPointer<QWidget> m_parent;
};

} // namespace zuno
