#pragma once
// TJournal: the undo journal of one map document, a QUndoStack. Its clean
// state is the map as last loaded or saved. The object table records every
// change its setters make; the steps (TJournalStep) gather the changes of one
// user action into one entry, together with what the action did to the
// position caches, the object count, the current row, the header values and
// the terrain, all of them the document's. It knows nothing of the windows:
// after an undo, a redo or a cancelled step the document holds what it held
// at that point and says so through its change signals, and the journal's
// own signals tell the windows where steps begin, end and are put back, so
// they can keep what they show in step with them.

#include "journalchange.h"

#include <QUndoStack>
#include <memory>
#include <vector>

class TMapDocument;

class TJournal : public QUndoStack {
    Q_OBJECT
public:
    explicit TJournal(TMapDocument &document);
    ~TJournal() override;

    // False while nothing is recorded: during an undo or redo, and while a
    // TSuspension (a Load, a Reset) is alive.
    bool isRecording() const { return m_suspended == 0 && !m_replaying; }
    bool isReplaying() const { return m_replaying; }
    bool isStepOpen() const { return !m_frames.empty(); }

    class TSuspension {
    public:
        explicit TSuspension(TJournal &journal) : m_journal(journal) { ++m_journal.m_suspended; }
        ~TSuspension() { --m_journal.m_suspended; }
        TSuspension(const TSuspension &) = delete;
        TSuspension &operator=(const TSuspension &) = delete;

    private:
        TJournal &m_journal;
    };

    // Keystrokes into one cell merge while its typing session lasts; leaving
    // the cell (or its editor) ends it. A drag takes a session of its own.
    quint64 typingSession() const { return m_typingSession; }
    void endTypingSession() { ++m_typingSession; }

    // Undoes the last step and removes it, with nothing to redo: a gesture
    // taken back before its end (Escape during a drag). Nothing happens
    // unless that step is `step`.
    void undoAndDrop(const QUndoCommand *step);

signals:
    // An action's step opened (nothing of it is recorded yet).
    void stepOpened();
    // A step was recorded: pushed, or merged into the step before it.
    void stepRecorded();
    // An undo (forward false) or redo put the document back to before or
    // after step; the document's change signals came first.
    void stepReplayed(const QUndoCommand *step, bool forward);
    // A step was cancelled: everything it had changed is put back.
    void stepCancelled();

private:
    friend class TJournalStep;
    friend class TJournalCommand;
    friend class TObjectTable;

    struct TFrame {
        std::size_t tableMark = 0;
        std::vector<std::int32_t> objectX, objectY;
        int objectCount = 0;
        int currentRow = 1;
        // The outermost frame's only.
        std::unique_ptr<THeaderState> header;
        std::unique_ptr<TTerrainState> terrain;
    };

    void openStep(const QString &text, const TStepMerge &merge);
    void closeStep();
    void cancelStep();

    // The table's changes, while recording.
    void recordCell(int col, int row, const QString &before, const QString &after);
    void recordRemoveRow(int row, const TObjectTable::Row &cells, bool added);
    void recordResize(int before, int after, QList<TObjectTable::Row> removed, QList<bool> removedAdded);

    // Puts the document back to before (undo) or forward to after (redo) change.
    void replay(const TJournalChange &change, bool forward, const QUndoCommand *step);
    void revertTable(std::size_t from);
    void snapshot(TFrame &frame) const;

    TMapDocument &m_document;
    std::vector<TFrame> m_frames;
    std::unique_ptr<TJournalChange> m_open;
    QString m_openText;
    TStepMerge m_openMerge;
    bool m_sealed = true; // the next cell change starts a new table change
    int m_suspended = 0;
    bool m_replaying = false;
    quint64 m_typingSession = 1;
};
