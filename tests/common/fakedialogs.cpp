#include "fakedialogs.h"

void TFakeDialogs::clear()
{
    openAnswers.clear();
    saveAnswers.clear();
    directoryAnswers.clear();
    questionAnswers.clear();
    openRequests.clear();
    saveRequests.clear();
    directoryStarts.clear();
    errors.clear();
    questions.clear();
}

bool TFakeDialogs::answer(QList<FileAnswer> &queue, QList<TFileRequest> &record,
                          const std::function<void(const TFileRequest &)> &whileShown, TFileRequest &request)
{
    record.append(request);
    if (whileShown)
        whileShown(request);
    if (queue.isEmpty())
        return false;
    const FileAnswer a = queue.takeFirst();
    if (!a.confirm)
        return false;
    request.fileName = a.path;
    return true;
}

bool TFakeDialogs::openFile(QWidget *, TFileRequest &request)
{
    return answer(openAnswers, openRequests, whileOpenShown, request);
}

bool TFakeDialogs::saveFile(QWidget *, TFileRequest &request)
{
    return answer(saveAnswers, saveRequests, whileSaveShown, request);
}

QString TFakeDialogs::chooseDirectory(QWidget *, const QString &start)
{
    directoryStarts.append(start);
    return directoryAnswers.isEmpty() ? QString() : directoryAnswers.takeFirst();
}

void TFakeDialogs::showError(QWidget *, const QString &text)
{
    errors.append(text);
    if (whileErrorShown)
        whileErrorShown(text);
}

int TFakeDialogs::ask(QWidget *, const TQuestion &question)
{
    questions.append(question);
    if (whileQuestionShown)
        whileQuestionShown(question);
    if (!questionAnswers.isEmpty())
        return questionAnswers.takeFirst();
    return question.escapeButton >= 0 ? question.escapeButton : question.defaultButton;
}
