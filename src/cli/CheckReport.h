#pragma once
// The forms of --check's report: the compilers' lines that editors and CI
// annotators read ("FILE:LINE:COL: error: MESSAGE"), one JSON document, or
// a SARIF 2.1.0 log for code-scanning services.

#include "format/FileProblems.h"

#include <QByteArray>
#include <QList>
#include <QString>

namespace zuno {

enum class ReportFormat { Text, Json, Sarif };

// One file checked, or one that could not be read.
struct FileReport {
    QString name;       // as the user named it (the JSON's and SARIF's; the
                        // text form escapes its control characters)
    bool read = true;   // false: `readError` says why
    QString readError;  // "cannot read 'X': ..."
    QList<FileProblem> problems;
};

// A file's lines of the text form: one a problem, or "FILE: OK" when it has
// none and `verbose`; nothing for a file that could not be read.
QByteArray textReport(const FileReport &file, bool verbose);

// The whole report as one JSON document.
QByteArray jsonReport(const QList<FileReport> &files);

// The whole report as a SARIF 2.1.0 log; `version` names the tool's.
QByteArray sarifReport(const QList<FileReport> &files, const QString &version);

// A file's name as a SARIF location: a relative reference with its
// characters percent-encoded, or a file: URI for an absolute path.
QString artifactUri(const QString &name);

} // namespace zuno
