#pragma once
// TViewHistory: what the map window showed around each step of the journal:
// the marks of the current object and the picture. An undo shows them as
// they were just before its step, a redo as just after it, a cancelled step
// as before it. This is the windows' own record, kept beside the journal
// from its signals: the journal itself holds only the document.

#include "terrain/markerlayer.h"

#include <QHash>
#include <QImage>
#include <QObject>
#include <functional>

class QUndoCommand;
class TJournal;

struct TViewMoment {
    TSelectionMarks marks;
    QImage picture;
};

class TViewHistory : public QObject {
    Q_OBJECT
public:
    // take: what the map shows now; put: show a moment again.
    TViewHistory(TJournal &journal, std::function<TViewMoment()> take, std::function<void(const TViewMoment &)> put,
                 QObject *parent);

private:
    struct TEntry {
        TViewMoment before;
        TViewMoment after;
    };

    void stepOpened();
    void stepRecorded();
    void stepReplayed(const QUndoCommand *step, bool forward);

    TJournal &m_journal;
    std::function<TViewMoment()> m_take;
    std::function<void(const TViewMoment &)> m_put;
    QHash<const QUndoCommand *, TEntry> m_entries;
    TViewMoment m_beforeOpen;
    int m_indexAtOpen = 0;
};
