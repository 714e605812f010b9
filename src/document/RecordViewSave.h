#pragma once
// A save from the Record view: the List layout goes to the file as it is
// converted, a piece at a time, and the Record text shown is checked against
// what was written without building a second whole text.
#include "format/Conversion.h"
#include "format/PieceConversion.h"
#include "platform/EditControl.h"
#include "textfile/TextFiles.h"

#include <QObject>

#include <atomic>
#include <optional>
#include <thread>

namespace zuno {

// What writing the List layout of a Record text came to. On a conversion
// fault nothing was written: `fault` says why and `written` is an error
// marked abandoned. Otherwise `back` says whether the Record layout of what
// was written is the Record text itself, found out piece by piece beside the
// write.
struct ListLayoutSave {
    Result<WrittenText, TextFileError> written;
    std::optional<ConversionFault> fault;
    RecordComingBack back;
};
// The pieces `known` to come back as they are are not converted back.
ListLayoutSave saveListLayout(const ITextFiles &files, const QString &path, QByteArrayView recordText,
                              const TextFileFormat &format, const FileStamp &was, const KnownPieces &known = {});

// Which pieces of the Record text shown come back from their List layout as
// they are: found off the window's thread once the text is shown, kept
// through the edits after, so that a save converts back only what was
// edited. Nothing is known until every change of the text is told here.
class RecordViewPieces : public QObject {
    Q_OBJECT
public:
    explicit RecordViewPieces(QObject *parent = nullptr) : QObject(parent) {}
    ~RecordViewPieces() override;

    // Every change of the text of `editor` (the edit control) is told from
    // now on: before it comes (a search under way stops) and once it is in.
    template <typename Editor>
    void follow(Editor &editor)
    {
        connect(&editor, &Editor::textAboutToChange, this, &RecordViewPieces::textAboutToChange);
        connect(&editor, &Editor::textChanged, this, &RecordViewPieces::textChanged);
        m_following = true;
    }
    void textAboutToChange();
    void textChanged(const TextChange &change);

    // Starts finding, on a thread of its own at low priority, the pieces of
    // `text` (the Record text shown) not known yet. The text must stay as it
    // is until textAboutToChange(); `pin` (the edit control's, keeping it in
    // place) is kept until the search ends.
    void find(QByteArrayView text, std::shared_ptr<const void> pin = {});
    bool finding() const { return m_thread.joinable(); }
    // What is known now (a search under way stops), and what a save found.
    const KnownPieces &known();
    void keep(KnownPieces known);

private:
    void stop();

    bool m_following = false;
    KnownPieces m_known;
    KnownPieces m_found; // the search's, until it is done
    std::thread m_thread;
    std::shared_ptr<const void> m_pin;
    std::atomic<bool> m_stop{false};
    quint64 m_generation = 0; // a search's result comes only while it is the last
};

// The same for the Record text `editor` shows, with what `pieces` knows of
// it; what the save finds of its pieces is kept there.
ListLayoutSave saveListLayout(const ITextFiles &files, const QString &path, IEditControl &editor,
                              RecordViewPieces &pieces, const TextFileFormat &format, const FileStamp &was);

// The Record layout of `listText`, or nothing when it is `shown` already:
// compared a piece at a time as it is made, and built only from where it
// differs. Fails as the Record conversion does.
ConversionResult<std::optional<QByteArray>> recordLayoutUnlessShown(QByteArrayView listText, QByteArrayView shown);

} // namespace zuno
