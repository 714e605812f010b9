// The edit control's whole-text writes: a new document filled a piece at a
// time, from a text in memory or, off to the side, from a file as it is
// read.
#include "platform/qt/EditorWidget.h"

#include "platform/LargeBlocks.h"
#include "text/TextScan.h"

#include <algorithm>
#include <cstddef>

namespace zuno {

namespace {

using Sci = QsciScintillaBase;

// A text in memory is handed over this much at a time.
constexpr qsizetype WritePiece = qsizetype(1) << 20;

// The room a new document takes beyond its text. Scintilla grows its buffer
// when the room left over is not more than what an edit asks for: a copy of
// the whole text into a new, larger block whose every page is fresh (on
// 200 MB, 0.2 to 0.3 s at the second key typed when the room was two
// bytes), the old block freed too late to give back. The pointer to the
// whole text (which the problem check reads) asks for one byte, its
// terminating NUL. So the room is what a long spell of typing or pasting
// asks for, a small share of the text: the growth comes, if ever, with an
// edit that is itself large. Pages of the room count as resident only once
// the gap has passed over them.
unsigned long spareRoom(qint64 textBytes)
{
    return static_cast<unsigned long>(std::clamp<qint64>(textBytes / 128, 64 * 1024, 4 * 1024 * 1024));
}

} // namespace

// Scintilla's loader (what SCI_CREATELOADER answers): a document filled
// off to the side, then taken whole. Its implementation is Scintilla's; the
// interface is declared here as Scintilla declares it, by the same name in
// the same (global) namespace and with the same functions, so that a call
// through it is a call through the type the object has. Scintilla's
// library does not make its types' run-time information visible, so the
// sanitizer's check of such calls cannot see that the object is one: the
// calls below are left out of that one check (NoTypeCheck). Not local to
// this file, or the compiler could take it for one that nothing implements.
#if defined(__clang__) || defined(__GNUC__)
#define NoTypeCheck __attribute__((no_sanitize("vptr")))
#else
#define NoTypeCheck
#endif

class ILoader {
public:
    virtual int Release() = 0;
    // 0, or a status code for a failure (no memory).
    virtual int AddData(const char *data, std::ptrdiff_t length) = 0;
    virtual void *ConvertToDocument() = 0;

protected:
    ~ILoader() = default;
};

// A new, empty document in place of the old one, which is freed before the
// new one grows: a whole-text write never holds both texts. It has no
// styling (nothing is coloured, and it needs no byte of styles for every
// byte of text), and neither history nor character index.
void EditorWidget::useNewDocument()
{
    useDocument(send(Sci::SCI_CREATEDOCUMENT, 0, Sci::SC_DOCUMENTOPTION_STYLES_NONE));
}

// Shows `document`, which the caller held once: the control holds it now.
void EditorWidget::useDocument(long document)
{
    send(Sci::SCI_SETDOCPOINTER, 0, document);
    send(Sci::SCI_RELEASEDOCUMENT, 0, document);
    send(Sci::SCI_SETCODEPAGE, Sci::SC_CP_UTF8);
    send(Sci::SCI_SETEOLMODE, Sci::SC_EOL_CRLF);
    m_offsets.reset(false);
}

// What each piece of a new whole text tells: whether it goes beyond ASCII,
// and how wide its lines are.
struct EditorWidget::WholeTextMeasure {
    LineMeasure lines;
    bool beyondAscii = false;
    qint64 bytes = 0;

    WholeTextMeasure()
    {
        lines.countWidths();
        lines.findLoneBreaks();
    }

    void feed(QByteArrayView utf8)
    {
        beyondAscii = beyondAscii || scan::hasByteBeyondAscii(utf8.data(), utf8.size());
        bytes += utf8.size();
        lines.feed(utf8.data(), utf8.size());
    }
};

// A new text starts a new history: an undo must not bring back another
// file or the other view.
void EditorWidget::wholeTextWritten(WholeTextMeasure &measure, TextChange change)
{
    send(Sci::SCI_EMPTYUNDOBUFFER);
    send(Sci::SCI_SETUNDOCOLLECTION, 1);
    // The history starts here; whoever wrote the text says whether it is
    // the saved one.
    m_savePointHeld = false;
    send(Sci::SCI_SETREADONLY, m_readOnly ? 1 : 0);
    m_writing = false;
    m_offsets.reset(measure.beyondAscii, measure.lines.loneBreaks());
    send(Sci::SCI_GOTOPOS, 0);
    m_widths.reset(std::move(measure.lines.widthCounts()));
    updateScrollWidth();
    noteChange();
    change.insertedBytes = send(Sci::SCI_GETLENGTH);
    tellChange(change);
}

TextChange EditorWidget::wholeTextRemoval()
{
    emit textAboutToChange();
    settleChange();
    TextChange change = removal(0, send(Sci::SCI_GETLENGTH));
    change.wholeText = true;
    return change;
}

// A text in memory: the old document goes first, so that the two are never
// held together, and the text is handed over a piece at a time (so that it
// is never held twice more) with the length-taking call (it may hold NUL).
void EditorWidget::setUtf8Text(QByteArrayView text)
{
    TextChange change = wholeTextRemoval();
    m_writing = true;
    useNewDocument();
    send(Sci::SCI_SETUNDOCOLLECTION, 0);
    faultInTheNextBlock(text.size() + qint64(spareRoom(text.size())));
    send(Sci::SCI_ALLOCATE, static_cast<unsigned long>(text.size()) + spareRoom(text.size()));
    WholeTextMeasure measure;
    for (qsizetype from = 0; from < text.size(); from += WritePiece) {
        const QByteArrayView piece = text.sliced(from, std::min(WritePiece, text.size() - from));
        measure.feed(piece);
        SendScintilla(Sci::SCI_APPENDTEXT, static_cast<uintptr_t>(piece.size()), piece.data());
    }
    wholeTextWritten(measure, std::move(change));
}

// A text given a piece at a time fills a document of its own; the control
// shows it once it is whole.
class EditorWidget::LoaderPieces : public WholeTextPieces {
public:
    LoaderPieces(EditorWidget &editor, qint64 sizeHint) : m_editor(editor), m_sizeHint(sizeHint)
    {
        faultInTheNextBlock(std::max<qint64>(sizeHint, 0) + qint64(spareRoom(std::max<qint64>(sizeHint, 0))));
        m_loader = reinterpret_cast<ILoader *>(editor.send(
            Sci::SCI_CREATELOADER,
            static_cast<unsigned long>(std::max<qint64>(sizeHint, 0)) + spareRoom(std::max<qint64>(sizeHint, 0)),
            Sci::SC_DOCUMENTOPTION_STYLES_NONE));
    }

    NoTypeCheck ~LoaderPieces() override
    {
        if (m_loader)
            m_loader->Release();
    }

    NoTypeCheck bool append(QByteArrayView piece) override
    {
        if (!m_loader)
            return false;
        if (m_measure.bytes == 0)
            faultInTheLineStarts(piece);
        m_measure.feed(piece);
        return m_loader->AddData(piece.data(), piece.size()) == 0;
    }

    NoTypeCheck void finish() override
    {
        if (!m_loader)
            return;
        const long document = reinterpret_cast<long>(m_loader->ConvertToDocument());
        m_loader = nullptr;
        // What its loading left free is given back once its records are
        // read. (A view switch keeps the line table's copies: the next
        // switch grows a table of the same sizes again.)
        largeTextLoaded(m_measure.bytes);
        TextChange change = m_editor.wholeTextRemoval();
        m_editor.m_writing = true;
        m_editor.useDocument(document);
        m_editor.wholeTextWritten(m_measure, std::move(change));
    }

private:
    // The control's table of line starts (four bytes a line in a text
    // under 2 GB) grows by copies of itself, which reach about twice its
    // final size above the text: that much is faulted in ahead, for as
    // many lines as the first piece says the whole text holds.
    void faultInTheLineStarts(QByteArrayView first)
    {
        if (first.isEmpty() || m_sizeHint <= first.size())
            return;
        const qint64 lines = std::count(first.begin(), first.end(), '\n') * (m_sizeHint / first.size());
        faultInTheNextBlock(std::min(2 * 4 * lines, m_sizeHint));
    }

    EditorWidget &m_editor;
    qint64 m_sizeHint = 0;
    ILoader *m_loader = nullptr;
    WholeTextMeasure m_measure;
};

std::unique_ptr<WholeTextPieces> EditorWidget::takeWholeTextInPieces(qint64 sizeHint)
{
    return std::make_unique<LoaderPieces>(*this, sizeHint);
}

} // namespace zuno
