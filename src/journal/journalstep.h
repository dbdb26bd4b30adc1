#pragma once
// TJournalStep: one user action in the journal, as a scope. Every change made
// while it is open is one undo entry; steps opened inside it fold into the
// outermost; a step that changed nothing leaves no entry and does not mark
// the map changed. cancel() puts back everything changed since the step
// opened and leaves no entry for it.

#include "journal/journalchange.h"

#include <QString>

class TJournal;
class TMapDocument;

class TJournalStep {
public:
    TJournalStep(TMapDocument &document, const QString &text);
    // A table without a journal (nullptr) records nothing.
    TJournalStep(TJournal *journal, const QString &text, const TStepMerge &merge = {});
    ~TJournalStep();
    TJournalStep(const TJournalStep &) = delete;
    TJournalStep &operator=(const TJournalStep &) = delete;

    void cancel();

private:
    TJournal *m_journal;
};
