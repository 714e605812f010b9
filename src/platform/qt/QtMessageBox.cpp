#include "platform/qt/QtMessageBox.h"

#include <QMessageBox>

namespace zuno {

MessageResult QtMessageBox::show(const QString &text, MessageButtons buttons, MessageIcon icon,
                                 const QString &title)
{
    QMessageBox box(m_parent);
    box.setObjectName(QStringLiteral("zunoMessageBox"));
    box.setWindowTitle(title.isEmpty() ? applicationTitle() : title);
    box.setText(text);
    box.setTextFormat(Qt::PlainText);
    switch (icon) {
    case MessageIcon::None: box.setIcon(QMessageBox::NoIcon); break;
    case MessageIcon::Warning: box.setIcon(QMessageBox::Warning); break;
    case MessageIcon::Information: box.setIcon(QMessageBox::Information); break;
    }
    if (buttons == MessageButtons::Ok) {
        box.setStandardButtons(QMessageBox::Ok);
        box.setEscapeButton(QMessageBox::Ok);
        box.exec();
        return MessageResult::Ok;
    }
    if (buttons == MessageButtons::YesNo) {
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setDefaultButton(QMessageBox::No);
        box.setEscapeButton(QMessageBox::No);
    } else {
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        box.setDefaultButton(QMessageBox::Yes);
        box.setEscapeButton(QMessageBox::Cancel);
    }
    const int pressed = box.exec();
    if (pressed == QMessageBox::Yes)
        return MessageResult::Yes;
    // A Yes/No question closed any other way is answered No.
    if (pressed == QMessageBox::No || buttons == MessageButtons::YesNo)
        return MessageResult::No;
    return MessageResult::Cancel;
}

} // namespace zuno
