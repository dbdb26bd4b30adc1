#pragma once
// TClosing: when the program may end, or the map be dropped, with changes not
// saved, and what happens to them then: the close box, Reset, the desktop's
// logout with and without a question, the session manager's save and end,
// and a termination request (SIGTERM). The main window implements the small
// host interface; the rules live here, so they can be tried without one.
//
// - The question "The map has unsaved changes." is asked before anything is
//   dropped. "Save" saves whatever is unsaved and goes on only when nothing
//   is unsaved afterwards; otherwise it asks again. "Discard" holds only for
//   the close it answered. "Cancel" keeps everything.
// - Before a question that may never be answered (the system shutting down,
//   a kill) the recovery copy takes every change.
// - A logout answered (or one that allowed no question) lets the session's
//   own end close the program without asking again; a later close of the
//   user's asks as ever, also after a logout that another program cancelled.
//   A session that ends without a question keeps the recovery copy for the
//   next start.

class TCloseHost {
public:
    virtual ~TCloseHost() = default;
    // Ends a gesture and commits an edit open in a cell: what is asked about
    // is what the user sees.
    virtual void commitEdits() = 0;
    virtual bool isClean() const = 0;
    // The journal's position: the same position is the same unsaved state.
    virtual int journalIndex() const = 0;
    // "The map has unsaved changes.": 0 Save, 1 Discard, 2 Cancel.
    virtual int askUnsaved() = 0;
    // Saves everything unsaved, as the user would: "Save all" where the Map
    // Data text, a chosen TRN or picture are among the changes, else the
    // quick save (which asks for the file name).
    virtual void saveUnsaved() = 0;
    // Writes the recovery copy now, if a change waits for it, and waits for the write.
    virtual void updateRecoveryCopy() = 0;
    // Closes the main window (its close box); true when it closed.
    virtual bool closeWindow() = 0;
    // Ends the program at once, also from within an open dialog.
    virtual void endProgram() = 0;
};

class TClosing {
public:
    enum Answer { Save = 0, Discard = 1, Cancel = 2 };

    explicit TClosing(TCloseHost &host) : m_host(host) {}

    // Before unsaved changes are dropped (Reset, a close): true when the
    // caller may go on.
    bool mayDropChanges();
    // The main window's close event: whether the window may close.
    bool closeRequested();
    // Whether the program ends keeping its recovery copy for the next start.
    bool keepsRecoveryCopy() const { return m_keepCopy; }

    // The desktop's logout (the session manager's commit request): asks as
    // closing does where the session manager allows a question, else brings
    // the recovery copy up to date. False when the user keeps the program.
    bool sessionMayEnd(bool interactionAllowed);
    // The session manager saved the session's state (a logout, a checkpoint):
    // the recovery copy takes every change.
    void sessionStateSaved();
    // The program is told to quit (the session's end): the main window is
    // closed, without a question where the session's logout was answered or
    // its state saved at this very point. True when it closed.
    bool quitRequested();
    // SIGTERM: the main window is closed as its close box closes it (one
    // question at most); when it closed, the program ends.
    void terminationRequested();

private:
    TCloseHost &m_host;
    // The journal positions at which the session's logout let the program
    // end (answered Discard, or allowing no question) and at which the
    // session manager last saved the session's state; -1 for none.
    int m_logoutAt = -1;
    bool m_logoutKeepsCopy = false;
    int m_sessionSavedAt = -1;
    // Set while the session's end closes the window without a question.
    bool m_endingSession = false;
    bool m_endKeepsCopy = false;
    bool m_keepCopy = false;
};
