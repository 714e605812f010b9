#pragma once
// The texts searched for and put in their place, newest first, kept in the
// per-user settings so that yesterday's search is there today: the find
// and replace fields of the Find/Replace dialog offer them.
#include "platform/Settings.h"

#include <QString>
#include <QStringList>

namespace zuno {

class SearchHistory {
public:
    static constexpr int Size = 20;

    // The list kept under `key` of the settings' "SearchHistory" section.
    SearchHistory(ISettingsStore &settings, QString key);

    // Newest first, at most Size.
    QStringList entries() const;
    // `text` becomes the newest (an earlier copy of it goes); the oldest
    // beyond Size are forgotten. An empty text is not kept.
    void add(const QString &text);

    static QString findKey() { return QStringLiteral("Find"); }
    static QString replaceKey() { return QStringLiteral("Replace"); }

private:
    ISettingsStore &m_settings;
    QString m_key;
};

} // namespace zuno
