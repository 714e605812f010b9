#pragma once
// A save from the Record view: the List layout goes to the file as it is
// converted, a piece at a time, and the Record text shown is checked against
// what was written without building a second whole text.
#include "format/Conversion.h"
#include "format/PieceConversion.h"
#include "textfile/TextFiles.h"

#include <optional>

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
ListLayoutSave saveListLayout(const ITextFiles &files, const QString &path, QByteArrayView recordText,
                              const TextFileFormat &format, const FileStamp &was);

// The Record layout of `listText`, or nothing when it is `shown` already:
// compared a piece at a time as it is made, and built only from where it
// differs. Fails as the Record conversion does.
ConversionResult<std::optional<QByteArray>> recordLayoutUnlessShown(QByteArrayView listText, QByteArrayView shown);

} // namespace zuno
