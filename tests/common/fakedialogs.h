#pragma once
// TFakeDialogs: a scripted answerer for the program's file dialogs, directory
// chooser, questions and error box. Tests queue the answers before driving a window; every
// request and error text is recorded so tests can check what was asked.
// A dialog whose queue is empty is cancelled.

#include "ui/dialogs.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <functional>

class TFakeDialogs : public TDialogs {
public:
    struct FileAnswer {
        bool confirm = false;
        QString path; // the chosen path when confirmed
    };

    // Queue answers, in the order the dialogs will run.
    void answerOpen(const QString &path) { openAnswers.append({true, path}); }
    void cancelOpen() { openAnswers.append({false, QString()}); }
    void answerSave(const QString &path) { saveAnswers.append({true, path}); }
    void cancelSave() { saveAnswers.append({false, QString()}); }
    // A question's answer: the index of the button pressed.
    void answerQuestion(int button) { questionAnswers.append(button); }
    // An empty directory cancels the chooser.
    void answerDirectory(const QString &dir) { directoryAnswers.append(dir); }

    // Forgets the answers still queued and everything recorded.
    void clear();

    QList<FileAnswer> openAnswers;
    QList<FileAnswer> saveAnswers;
    QStringList directoryAnswers;
    QList<int> questionAnswers; // none left: Escape, or Enter where Escape does nothing

    // What was asked, in order: the requests as the dialogs received them
    // (before the answer was filled in), the directory chooser's start
    // directories, the error texts.
    QList<TFileRequest> openRequests;
    QList<TFileRequest> saveRequests;
    QStringList directoryStarts;
    QStringList errors;
    QList<TQuestion> questions;

    // Called while a dialog or the error box "is open" (before it answers),
    // for tests that check the program's state at that moment.
    std::function<void(const TFileRequest &)> whileOpenShown;
    std::function<void(const TFileRequest &)> whileSaveShown;
    std::function<void(const QString &)> whileErrorShown;
    std::function<void(const TQuestion &)> whileQuestionShown;

    bool openFile(QWidget *parent, TFileRequest &request) override;
    bool saveFile(QWidget *parent, TFileRequest &request) override;
    QString chooseDirectory(QWidget *parent, const QString &start) override;
    void showError(QWidget *parent, const QString &text) override;
    int ask(QWidget *parent, const TQuestion &question) override;

private:
    static bool answer(QList<FileAnswer> &queue, QList<TFileRequest> &record,
                       const std::function<void(const TFileRequest &)> &whileShown, TFileRequest &request);
};
