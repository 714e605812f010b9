#pragma once
// In-memory edit control for the logic tests: the text is one QString with
// "\r\n" line breaks; undo keeps whole-text snapshots of each edit.
#include "platform/EditControl.h"
#include "text/Utf8Text.h"

#include <QList>
#include <QStringList>

namespace zuno {

class FakeEditControl : public IEditControl {
public:
    FakeEditControl() = default;
    explicit FakeEditControl(const QString &text) : m_text(text) {}

    QByteArrayView utf8Text() const override;
    // Its text moves only when it changes: nothing to hold.
    std::shared_ptr<const void> pinText() override { return {}; }
    QByteArray utf8Bytes(qint64 position, qint64 length) const override
    {
        return utf8Text().sliced(position, length).toByteArray();
    }
    void setUtf8Text(QByteArrayView text) override;
    std::unique_ptr<WholeTextPieces> takeWholeTextInPieces(qint64 sizeHint) override;
    qint64 textLength() const override { return m_text.size(); }

    bool isModified() const override { return m_modified; }
    void setModified(bool modified) override { m_modified = modified; }

    QString fileName() const override { return m_fileName; }
    void setFileName(const QString &path) override { m_fileName = path; }

    qint64 selStart() const override { return m_selStart; }
    void setSelStart(qint64 start) override;
    qint64 selLength() const override { return m_selLength; }
    void setSelLength(qint64 length) override;
    QString selText() const override { return m_text.mid(m_selStart, m_selLength); }
    void setSelText(const QString &text) override;
    void replaceRanges(const QList<Utf8Range> &ranges, QByteArrayView replacement) override;
    void replaceEach(const Utf8Replacements &replacements) override;
    qint64 bytePosition(qint64 offset) const override;
    qint64 textOffset(qint64 position) const override;

    qint64 find(const QString &text, qint64 start, FindOptions options) override;
    qint64 lineFromChar(qint64 offset) const override;

    void showSelection(const QRect &avoid) override { shownAvoiding.append(avoid); }
    void setFocus() override { ++focusCount; }
    void setReadOnly(bool on) override { readOnly = on; }
    void undo() override;
    void beginCompoundEdit() override;
    void endCompoundEdit() override;

    // What the tests look at.
    int changeCount = 0;     // change notifications raised
    int setTextCount = 0;    // whole-text writes
    // Every selection of at least one character the control was given
    // outside a compound edit, as (start, length): what the X11 PRIMARY
    // selection would receive.
    QList<std::pair<qint64, qint64>> selectionsMade;
    int focusCount = 0;
    bool readOnly = false;
    QList<QRect> shownAvoiding; // each showSelection, with the window avoided
    QStringList undoStack;   // text before each undoable edit

private:
    void changed(const QString &before);
    static qint64 snapOffset(const QString &text, qint64 offset);

    QString m_text;
    // m_text as UTF-8, made when asked for, and the text it was made of
    // (which shares m_text's data until m_text changes).
    mutable QByteArray m_utf8;
    mutable QString m_utf8Of;
    QString m_fileName;
    bool m_modified = false;
    qint64 m_selStart = 0;
    qint64 m_selLength = 0;
    int m_compoundDepth = 0;
    bool m_compoundChanged = false;
};

} // namespace zuno
