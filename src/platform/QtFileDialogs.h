#pragma once
#include "platform/FileDialogs.h"

#include <QPointer>
#include <QWidget>

namespace zuno {

// QFileDialog (Qt's own dialog, so it looks and behaves the same everywhere).
class QtFileDialogs : public IFileDialogs {
public:
    explicit QtFileDialogs(QWidget *parent = nullptr) : m_parent(parent) {}
    bool showOpen(FileDialogSettings &settings, FileDialogChoice &choice) override;
    bool showSave(FileDialogSettings &settings, FileDialogChoice &choice) override;

    // "Desc|*.A|Desc|*.B" -> {"Desc (*.A)" ...}: the description already names
    // its pattern, which is what QFileDialog reads.
    static QStringList nameFilters(const QString &filter);

private:
    bool run(FileDialogSettings &settings, FileDialogChoice &choice, bool save);
    QPointer<QWidget> m_parent;
};

} // namespace zuno
