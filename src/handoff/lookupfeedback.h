#pragma once
// TLookupFeedback: what the user sees while a save looks up the short paths
// of the game's files. Under Wine the first lookup on a machine sets Wine up
// and takes seconds, so: a busy cursor at once, and after half a second a
// small window saying what the program waits for. The windows go on painting
// meanwhile (the lookup waits with an event loop). Lives for one lookup.

#include "repackbatch.h"

#include <QObject>
#include <QTimer>
#include <memory>

class QProgressDialog;
class QWidget;

class TLookupFeedback : public QObject {
    Q_OBJECT
public:
    static constexpr int DialogDelayMs = 500;
    static const char *const Text;

    explicit TLookupFeedback(QWidget *parent);
    ~TLookupFeedback() override;

    // lookup, run with this feedback around every call.
    static TShortPaths around(QWidget *parent, TShortPaths lookup);

private:
    void showDialog();

    QWidget *m_parent;
    QTimer m_delay;
    std::unique_ptr<QProgressDialog> m_dialog;
};
