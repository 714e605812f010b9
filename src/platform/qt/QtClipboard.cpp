#include "platform/qt/QtClipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

namespace zuno {

namespace {
QClipboard *clipboard()
{
    // No clipboard without an application object: the commands then act as
    // on an empty clipboard instead of failing.
    return qobject_cast<QGuiApplication *>(QCoreApplication::instance()) ? QGuiApplication::clipboard()
                                                                         : nullptr;
}
} // namespace

void QtClipboard::clear()
{
    if (QClipboard *board = clipboard())
        board->clear(QClipboard::Clipboard);
}

void QtClipboard::setText(const QString &text)
{
    // Plain text only: one text/plain entry, nothing richer beside it.
    if (QClipboard *board = clipboard()) {
        auto *data = new QMimeData;
        data->setText(text);
        board->setMimeData(data, QClipboard::Clipboard);
    }
}

QString QtClipboard::text() const
{
    const QClipboard *board = clipboard();
    if (!board)
        return {};
    const QMimeData *data = board->mimeData(QClipboard::Clipboard);
    if (!data || !data->hasText())
        return {};
    return data->text();
}

IClipboard &systemClipboard()
{
    static QtClipboard instance;
    return instance;
}

} // namespace zuno
