#pragma once
// TJournalCommand: one entry of the journal, the changes of one user action.
// It is pushed after the action has made them, so its first redo does
// nothing. Keystrokes of one typing session merge into one entry, folded to
// each cell's first and last text, and so do the moves of one drag; an entry
// that then changes nothing is dropped.

#include "journalchange.h"

#include <QUndoCommand>

class TJournal;

class TJournalCommand : public QUndoCommand {
public:
    TJournalCommand(TJournal &journal, const QString &text, std::unique_ptr<TJournalChange> change,
                    const TStepMerge &merge);

    void undo() override;
    void redo() override;
    int id() const override;
    bool mergeWith(const QUndoCommand *other) override;

    const TJournalChange &change() const { return *m_change; }
    // The next undo takes this entry out of the journal.
    void dropAtUndo() { m_dropAtUndo = true; }

    static constexpr int TypingId = 1;

private:
    TJournal &m_journal;
    std::unique_ptr<TJournalChange> m_change;
    TStepMerge m_merge;
    bool m_done = true;
    bool m_dropAtUndo = false;
};
