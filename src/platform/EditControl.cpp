#include "platform/EditControl.h"

namespace zuno {

std::optional<QString> IEditControl::loadFile(const QString &path)
{
    auto result = readTextFile(path);
    if (auto *error = std::get_if<TextFileError>(&result))
        return error->message;
    auto &content = std::get<TextFileContent>(result);
    m_fileFormat = content.format;
    setText(content.text);
    setFileName(path);
    return std::nullopt;
}

std::optional<QString> IEditControl::saveFile(const QString &path) const
{
    if (auto error = writeTextFile(path, text(), m_fileFormat))
        return error->message;
    return std::nullopt;
}

} // namespace zuno
