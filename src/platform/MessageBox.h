#pragma once
// Modal message boxes.
#include <QCoreApplication>
#include <QString>

namespace zuno {

enum class MessageIcon { None, Warning, Information };
// YesNoCancel has Yes as its default button; YesNo, a question whose safe
// answer is No, has No.
enum class MessageButtons { Ok, YesNoCancel, YesNo };
enum class MessageResult { Ok, Yes, No, Cancel };

// The application title, shown by a message box that is given no title.
inline QString applicationTitle() { return QCoreApplication::translate("MessageBox", "ZUNOPad"); }

class IMessageBox {
public:
    virtual ~IMessageBox() = default;
    // Modal; returns the button pressed. An empty title shows
    // applicationTitle(). Escape or the close box answer Cancel (Ok for a box
    // with a single OK button, No for a Yes/No box).
    virtual MessageResult show(const QString &text, MessageButtons buttons, MessageIcon icon,
                               const QString &title = QString()) = 0;
};

// A warning with an OK button, the form every failure message takes.
inline void showWarning(IMessageBox &box, const QString &text, const QString &title = QString())
{
    box.show(text, MessageButtons::Ok, MessageIcon::Warning, title);
}

} // namespace zuno
