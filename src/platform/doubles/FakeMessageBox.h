#pragma once
// Records every message box and answers from a script (Ok for OK boxes,
// then the queued answers for Yes/No/Cancel and Yes/No boxes; when none is
// left, Cancel, and No for a Yes/No box, as Escape would).
#include "platform/MessageBox.h"

#include <QList>
#include <functional>

namespace zuno {

struct ShownMessage {
    QString text;
    MessageButtons buttons;
    MessageIcon icon;
    QString title; // as the user sees it (applicationTitle() when none given)
};

class FakeMessageBox : public IMessageBox {
public:
    MessageResult show(const QString &text, MessageButtons buttons, MessageIcon icon,
                       const QString &title = QString()) override
    {
        shown.append({text, buttons, icon, title.isEmpty() ? applicationTitle() : title});
        if (onShow)
            onShow(shown.last());
        if (buttons == MessageButtons::Ok)
            return MessageResult::Ok;
        if (answers.isEmpty())
            return buttons == MessageButtons::YesNo ? MessageResult::No : MessageResult::Cancel;
        return answers.takeFirst();
    }

    QList<ShownMessage> shown;
    QList<MessageResult> answers;
    // Runs while the box is "open", e.g. to check what the program shows.
    std::function<void(const ShownMessage &)> onShow;
};

} // namespace zuno
