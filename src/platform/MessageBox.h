#pragma once
// Modal message boxes.
#include <QString>

namespace zuno {

enum class MessageIcon { None, Warning, Information };
enum class MessageButtons { Ok, YesNoCancel, YesNo };
enum class MessageResult { Ok, Yes, No, Cancel };

// The application title, shown by a message box that is given no title.
inline const QString ApplicationTitle = QStringLiteral("ZUNOPad");

class IMessageBox {
public:
    virtual ~IMessageBox() = default;
    // Modal; returns the button pressed. An empty title shows
    // ApplicationTitle. Escape or the close box answer Cancel (Ok for a box
    // with a single OK button, No for a Yes/No box). Yes is the default
    // button of a Yes/No/Cancel box, No that of a Yes/No box.
    virtual MessageResult show(const QString &text, MessageButtons buttons, MessageIcon icon,
                               const QString &title = QString()) = 0;
};

// A warning with an OK button, the form every failure message takes.
inline void showWarning(IMessageBox &box, const QString &text, const QString &title = QString())
{
    box.show(text, MessageButtons::Ok, MessageIcon::Warning, title);
}

} // namespace zuno
