#include "cli/CheckReport.h"

#include "format/ConversionMessages.h"

#include <QCoreApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QUrl>

namespace zuno {

namespace {

class CheckReport {
    Q_DECLARE_TR_FUNCTIONS(CheckReport)
};

constexpr ProblemRule Rules[] = {ProblemRule::InvalidItem, ProblemRule::UnexpectedData, ProblemRule::RoundTrip};

QString severity(ProblemKind kind)
{
    return kind == ProblemKind::Warning ? QStringLiteral("warning") : QStringLiteral("error");
}

QJsonObject jsonProblem(const FileProblem &problem)
{
    return QJsonObject{{"line", problem.line},
                       {"column", problem.column},
                       {"endColumn", problem.endColumn},
                       {"severity", severity(problem.kind)},
                       {"rule", ruleId(problem.rule)},
                       {"message", problem.message}};
}

QJsonObject sarifResult(const FileReport &file, const FileProblem &problem)
{
    const QJsonObject region{{"startLine", problem.line},
                             {"startColumn", problem.column},
                             {"endLine", problem.line},
                             {"endColumn", std::max(problem.endColumn, problem.column)}};
    const QJsonObject location{
        {"physicalLocation",
         QJsonObject{{"artifactLocation", QJsonObject{{"uri", artifactUri(file.name)}}}, {"region", region}}}};
    return QJsonObject{{"ruleId", ruleId(problem.rule)},
                       {"ruleIndex", int(problem.rule)},
                       {"level", severity(problem.kind)},
                       {"message", QJsonObject{{"text", problem.message}}},
                       {"locations", QJsonArray{location}}};
}

QJsonObject sarifRule(ProblemRule rule)
{
    const QString level = rule == ProblemRule::RoundTrip ? QStringLiteral("warning") : QStringLiteral("error");
    return QJsonObject{{"id", ruleId(rule)},
                       {"shortDescription", QJsonObject{{"text", ruleDescription(rule)}}},
                       {"defaultConfiguration", QJsonObject{{"level", level}}}};
}

} // namespace

QByteArray textReport(const FileReport &file, bool verbose)
{
    if (!file.read)
        return QByteArray();
    // A control character in the name (a line feed, an escape) would break
    // the one-problem-a-line form or reach the terminal: it shows as an
    // escape, as in every other message.
    const QString name = visibleControls(file.name);
    if (file.problems.isEmpty())
        return verbose ? (CheckReport::tr("%1: OK").arg(name) + u'\n').toUtf8() : QByteArray();
    QString lines;
    for (const FileProblem &problem : file.problems) {
        // The words "error" and "warning" are the ones tools look for.
        lines += QStringLiteral("%1:%2:%3: %4: %5\n")
                     .arg(name)
                     .arg(problem.line)
                     .arg(problem.column)
                     .arg(severity(problem.kind), problem.message);
    }
    return lines.toUtf8();
}

QByteArray jsonReport(const QList<FileReport> &files)
{
    QJsonArray list;
    for (const FileReport &file : files) {
        QJsonObject entry{{"file", file.name}};
        if (!file.read) {
            entry.insert("error", file.readError);
        } else {
            QJsonArray problems;
            for (const FileProblem &problem : file.problems)
                problems.append(jsonProblem(problem));
            entry.insert("problems", problems);
        }
        list.append(entry);
    }
    return QJsonDocument(QJsonObject{{"files", list}}).toJson(QJsonDocument::Indented);
}

QString artifactUri(const QString &name)
{
    if (name.startsWith(u'/'))
        return QUrl::fromLocalFile(name).toString(QUrl::FullyEncoded);
    return QString::fromLatin1(QUrl::toPercentEncoding(name, "/"));
}

QByteArray sarifReport(const QList<FileReport> &files, const QString &version)
{
    QJsonArray rules;
    for (ProblemRule rule : Rules)
        rules.append(sarifRule(rule));
    QJsonArray results;
    QJsonArray notifications;
    for (const FileReport &file : files) {
        if (!file.read) {
            notifications.append(QJsonObject{{"level", "error"}, {"message", QJsonObject{{"text", file.readError}}}});
            continue;
        }
        for (const FileProblem &problem : file.problems)
            results.append(sarifResult(file, problem));
    }
    const QJsonObject driver{{"name", "ZUNOPad"},
                             {"version", version},
                             {"rules", rules}};
    const QJsonObject invocation{{"executionSuccessful", notifications.isEmpty()},
                                 {"toolExecutionNotifications", notifications}};
    const QJsonObject run{{"tool", QJsonObject{{"driver", driver}}},
                          {"columnKind", "unicodeCodePoints"},
                          {"invocations", QJsonArray{invocation}},
                          {"results", results}};
    const QJsonObject log{{"$schema", "https://json.schemastore.org/sarif-2.1.0.json"},
                          {"version", "2.1.0"},
                          {"runs", QJsonArray{run}}};
    return QJsonDocument(log).toJson(QJsonDocument::Indented);
}

} // namespace zuno
