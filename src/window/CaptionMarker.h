#pragma once
// The caption with Qt's modified placeholder "[*]": after the file's name
// ("ROAD1.PRJ[*] - ZUNOPad File Editor"), or at the end of a caption that
// names no file. Qt shows it as "*" while the window is modified and as
// nothing otherwise. A "[*]" in the file's name is doubled, which Qt shows
// as it stands.
#include <QString>

namespace zuno {

inline QString withModifiedMarker(const QString &caption, const QString &suffix)
{
    const QString placeholder = QStringLiteral("[*]");
    const bool named = !suffix.isEmpty() && caption.endsWith(suffix) && caption.size() > suffix.size();
    QString name = named ? caption.left(caption.size() - suffix.size()) : caption;
    name.replace(placeholder, QStringLiteral("[*][*]"));
    return name + placeholder + (named ? suffix : QString());
}

} // namespace zuno
