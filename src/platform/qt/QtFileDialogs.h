#pragma once
#include "platform/FileDialogs.h"

#include <QPointer>
#include <QWidget>

namespace zuno {

// QFileDialog (Qt's own dialog, so it looks and behaves the same everywhere).
class QtFileDialogs : public IFileDialogs {
public:
    explicit QtFileDialogs(QWidget *parent = nullptr) : m_parent(parent) {}
    FileDialogResult showOpen(FileDialogSettings &settings) override;
    FileDialogResult showSave(FileDialogSettings &settings) override;

    // "Desc|*.A|Desc|*.B" -> {"Desc (*.A)" ...}: the description already names
    // its pattern, which is what QFileDialog reads.
    static QStringList nameFilters(const QString &filter);

private:
    FileDialogResult run(FileDialogSettings &settings, bool save);
    QPointer<QWidget> m_parent;
};

} // namespace zuno
