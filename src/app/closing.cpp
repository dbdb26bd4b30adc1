#include "closing.h"

bool TClosing::mayDropChanges()
{
    m_host.commitEdits();
    while (!m_host.isClean()) {
        switch (m_host.askUnsaved()) {
        case Save:
            m_host.saveUnsaved();
            break; // asked again while anything is left unsaved
        case Discard:
            return true;
        default:
            return false;
        }
    }
    return true;
}

bool TClosing::closeRequested()
{
    m_host.commitEdits();
    if (m_endingSession && !m_host.isClean()) {
        m_keepCopy = m_endKeepsCopy;
        return true;
    }
    // Before a question that may never be answered, the copy takes every change.
    m_host.updateRecoveryCopy();
    if (!mayDropChanges())
        return false;
    m_keepCopy = false;
    return true;
}

bool TClosing::sessionMayEnd(bool interactionAllowed)
{
    m_host.commitEdits();
    if (m_host.isClean())
        return true;
    if (!interactionAllowed) {
        // Nothing may be asked: the next start offers the changes back.
        m_host.updateRecoveryCopy();
        m_logoutAt = m_host.journalIndex();
        m_logoutKeepsCopy = true;
        return true;
    }
    m_host.updateRecoveryCopy();
    if (!mayDropChanges())
        return false;
    // Discarded (a save left nothing unsaved): the session's end asks no more.
    if (!m_host.isClean()) {
        m_logoutAt = m_host.journalIndex();
        m_logoutKeepsCopy = false;
    }
    return true;
}

void TClosing::sessionStateSaved()
{
    m_host.commitEdits();
    if (m_host.isClean())
        return;
    m_host.updateRecoveryCopy();
    m_sessionSavedAt = m_host.journalIndex();
}

bool TClosing::quitRequested()
{
    m_host.commitEdits();
    const int at = m_host.journalIndex();
    m_endingSession = false;
    if (!m_host.isClean()) {
        if (m_logoutAt == at) {
            m_endingSession = true;
            m_endKeepsCopy = m_logoutKeepsCopy;
        } else if (m_sessionSavedAt == at) {
            // The session's state was saved just now and it ends without a
            // question: the copy stays for the next start.
            m_endingSession = true;
            m_endKeepsCopy = true;
        }
    }
    const bool closed = m_host.closeWindow();
    m_endingSession = false;
    return closed;
}

void TClosing::terminationRequested()
{
    if (m_host.closeWindow())
        m_host.endProgram();
}
