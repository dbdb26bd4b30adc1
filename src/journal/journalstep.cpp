#include "journal/journalstep.h"

#include "journal/journal.h"
#include "document/mapdocument.h"

TJournalStep::TJournalStep(TMapDocument &document, const QString &text) : TJournalStep(&document.Journal, text) {}

TJournalStep::TJournalStep(TJournal *journal, const QString &text, const TStepMerge &merge)
    : m_journal(journal && journal->isRecording() ? journal : nullptr)
{
    if (m_journal)
        m_journal->openStep(text, merge);
}

TJournalStep::~TJournalStep()
{
    if (m_journal)
        m_journal->closeStep();
}

void TJournalStep::cancel()
{
    if (m_journal)
        m_journal->cancelStep();
}
