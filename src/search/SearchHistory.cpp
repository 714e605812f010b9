#include "search/SearchHistory.h"

#include <QJsonArray>
#include <QJsonDocument>

namespace zuno {

namespace {
const QString Application = QStringLiteral("ZUNOPad");
const QString Section = QStringLiteral("SearchHistory");
} // namespace

SearchHistory::SearchHistory(ISettingsStore &settings, QString key) : m_settings(settings), m_key(std::move(key)) {}

QStringList SearchHistory::entries() const
{
    // One value a list, a JSON array of strings: any text goes in whole.
    const QJsonDocument stored = QJsonDocument::fromJson(m_settings.read(Application, Section, m_key, {}).toUtf8());
    QStringList texts;
    for (const QJsonValue &value : stored.array()) {
        const QString text = value.toString();
        if (!text.isEmpty() && !texts.contains(text) && texts.size() < Size)
            texts.append(text);
    }
    return texts;
}

void SearchHistory::add(const QString &text)
{
    if (text.isEmpty())
        return;
    QStringList texts = entries();
    if (!texts.isEmpty() && texts.first() == text)
        return;
    texts.removeAll(text);
    texts.prepend(text);
    while (texts.size() > Size)
        texts.removeLast();
    m_settings.write(Application, Section, m_key,
                     QString::fromUtf8(QJsonDocument(QJsonArray::fromStringList(texts)).toJson(QJsonDocument::Compact)));
}

} // namespace zuno
