#pragma once
// TJournal: the undo journal of one map document, a QUndoStack. Its clean
// state is the map as last loaded or saved. The object table records every
// change its setters make; the steps (TJournalStep) gather the changes of one
// user action into one entry, together with what the action did to the
// position caches, the object count and the header state the windows hold.
// After an undo, a redo or a cancelled step the document holds what it held
// at that point, and replayed() asks the windows to bring what they show
// (markers, marks, boxes) in line with it.

#include "document/headerstate.h"
#include "journal/journalchange.h"

#include <QUndoStack>
#include <functional>
#include <memory>
#include <vector>

class TMapDocument;
class TObjectTable;

class TJournal : public QUndoStack {
    Q_OBJECT
public:
    explicit TJournal(TMapDocument &document);
    ~TJournal() override;

    // The header state as the windows hold it, and how to put one back into
    // them; set by the main window. Without them the header is not recorded.
    std::function<THeaderState()> headerSource;
    std::function<void(const THeaderState &)> headerSink;
    // The markers' looks, indexed by row (0 unused), and how to give one
    // marker its look back; set by the main window, after replayed() made
    // the markers follow the document. Without them looks are not recorded.
    std::function<std::vector<TMarkerLook>()> lookSource;
    std::function<void(int row, const TMarkerLook &)> lookSink;
    // The selection marks, and how to show them as they were on the current
    // row; set by the main window like the looks.
    std::function<TSelectionMarks()> marksSource;
    std::function<void(const TSelectionMarks &)> marksSink;

    // A save wrote the map. The Map Data text is written only by some saves
    // (written); a save that left a changed Map Data unwritten does not make
    // the map clean, and no later undo makes it clean either.
    void markSaved(const QStringList &mapData, bool mapDataWritten);

    // A header box changed: the change is recorded in the open step, or as a
    // step of its own.
    void noteHeader(const TStepMerge &merge = {});
    // A change beside the document joins the open step; while nothing is
    // recorded, or outside any step, it is dropped.
    void attach(std::shared_ptr<TJournalExtra> extra);
    // Takes the windows' header as the recorded one (after Load and Reset,
    // which empty the journal).
    void takeHeaderAsRecorded();
    const THeaderState &recordedHeader() const { return m_header; }

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
    // the cell (or its editor) ends it.
    quint64 typingSession() const { return m_typingSession; }
    void endTypingSession() { ++m_typingSession; }

signals:
    // Cells, rows, caches, counts and header were put back (undo, redo, a
    // cancelled step): what the windows show follows the document.
    void replayed();

private:
    friend class TJournalStep;
    friend class TJournalCommand;
    friend class TObjectTable;

    struct TFrame {
        std::size_t tableMark = 0;
        std::vector<std::int32_t> objectX, objectY;
        int objectCount = 0;
        int currentRow = 1;
        std::vector<TMarkerLook> looks; // the outermost step's only
        TSelectionMarks marks;           // the outermost step's only
    };

    void openStep(const QString &text, const TStepMerge &merge);
    void closeStep();
    void cancelStep();

    // The table's changes, while recording.
    void recordCell(int col, int row, const QString &before, const QString &after);
    void recordRemoveRow(int row, const TObjectTable::Row &cells);
    void recordResize(int before, int after, QList<TObjectTable::Row> removed);

    // Puts the document back to before (undo) or forward to after (redo) change.
    void replay(const TJournalChange &change, bool forward);
    void revertTable(std::size_t from);
    void snapshot(TFrame &frame) const;
    void putLooks(const std::vector<TLookChange> &looks, bool forward);

    TMapDocument &m_document;
    THeaderState m_header;
    QStringList m_writtenMapData; // the Map Data text as last loaded or written
    std::vector<TFrame> m_frames;
    std::unique_ptr<TJournalChange> m_open;
    QString m_openText;
    TStepMerge m_openMerge;
    bool m_sealed = true; // the next cell change starts a new table change
    int m_suspended = 0;
    bool m_replaying = false;
    quint64 m_typingSession = 1;
};
