#pragma once
// A scripted Go To Line dialog: each use plays the next step (what the user
// leaves in the entry and how the dialog ends), behaving as the real one
// does: Cancel empties the entry, the close box loses it.
#include "edit/GoToLineDialog.h"

#include <QList>
#include <QStringList>
#include <gtest/gtest.h>

namespace zuno {

struct GoToStep {
    GoToLineOutcome outcome;
    QString typed; // the entry as the user leaves it (for Ok)
};

class FakeGoToLineDialog : public IGoToLineDialog {
public:
    GoToLineOutcome showModal() override
    {
        shownWith.append(m_entry);
        if (steps.isEmpty()) {
            // A loop that does not end when the user gives up.
            ADD_FAILURE() << "the dialog was shown more often than scripted";
            m_entry.clear();
            return GoToLineOutcome::Closed;
        }
        const GoToStep step = steps.takeFirst();
        if (step.outcome == GoToLineOutcome::Ok)
            m_entry = step.typed;
        else
            m_entry.clear();
        return step.outcome;
    }
    QString entry() const override { return m_entry; }
    void setEntry(const QString &entry) override { m_entry = entry; }

    QList<GoToStep> steps;
    QStringList shownWith; // the entry showing at each use

private:
    QString m_entry;
};

inline GoToStep ok(const QString &typed) { return {GoToLineOutcome::Ok, typed}; }
inline GoToStep cancel() { return {GoToLineOutcome::Cancel, QString()}; }
inline GoToStep closeBox() { return {GoToLineOutcome::Closed, QString()}; }

} // namespace zuno
