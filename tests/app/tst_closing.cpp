// The closing rules on their own, with a host that stands in for the main
// window: what is asked, saved, kept and closed for each way the program
// can be told to end.
#include "testregistry.h"

#include "app/closing.h"

#include <QTest>

namespace {

struct TScriptedHost : TCloseHost {
    TClosing closing{*this};
    bool clean = true;
    int index = 0;
    bool saveWorks = true;
    QList<int> answers; // to the questions, in order; none left: Cancel
    int questions = 0, saves = 0, copies = 0;
    bool closed = false, ended = false;

    void commitEdits() override {}
    bool isClean() const override { return clean; }
    int journalIndex() const override { return index; }
    int askUnsaved() override
    {
        ++questions;
        return answers.isEmpty() ? TClosing::Cancel : answers.takeFirst();
    }
    void saveUnsaved() override
    {
        ++saves;
        clean = clean || saveWorks;
    }
    void updateRecoveryCopy() override { ++copies; }
    bool closeWindow() override { return closed = closed || closing.closeRequested(); }
    void endProgram() override { ended = true; }

    // "edit", "close", "logout" (a question allowed), "quiet logout",
    // "saved state", "quit" (the session's end), "term" (SIGTERM).
    void play(const QString &script)
    {
        for (const QString &event : script.split(u';', Qt::SkipEmptyParts)) {
            const QString e = event.trimmed();
            if (e == "edit") {
                clean = false;
                ++index;
            } else if (e == "close") {
                closeWindow();
            } else if (e == "logout" || e == "quiet logout") {
                closing.sessionMayEnd(e == "logout");
            } else if (e == "saved state") {
                closing.sessionStateSaved();
            } else if (e == "quit") {
                closing.quitRequested();
            } else if (e == "term") {
                closing.terminationRequested();
            }
        }
    }
};

} // namespace

class TestClosing : public QObject {
    Q_OBJECT
private slots:
    void eachWayToEnd_data()
    {
        QTest::addColumn<QString>("script");
        QTest::addColumn<QList<int>>("answers");
        QTest::addColumn<bool>("saveWorks");
        QTest::addColumn<int>("questions");
        QTest::addColumn<bool>("closed");
        QTest::addColumn<bool>("keepsCopy");
        const QList<int> none;
        const QList<int> save{TClosing::Save}, discard{TClosing::Discard}, cancel{TClosing::Cancel};
        QTest::newRow("nothing unsaved: closes unasked") << "close" << none << true << 0 << true << false;
        QTest::newRow("Save that saved: closes") << "edit; close" << save << true << 1 << true << false;
        QTest::newRow("Save that left changes unsaved asks again; Cancel stays")
            << "edit; close" << save << false << 2 << false << false;
        QTest::newRow("Discard closes without the copy") << "edit; close" << discard << true << 1 << true << false;
        QTest::newRow("a logout answered Discard: the session's end asks no more")
            << "edit; logout; quit" << discard << true << 1 << true << false;
        QTest::newRow("a Discard at a logout that was cancelled holds for it only")
            << "edit; logout; close" << discard << true << 2 << false << false;
        QTest::newRow("a logout allowing no question: the session's end keeps the copy")
            << "edit; quiet logout; quit" << none << true << 0 << true << true;
        QTest::newRow("after a logout allowing no question, a change: the end asks")
            << "edit; quiet logout; edit; quit" << cancel << true << 1 << false << false;
        QTest::newRow("the session saved, then ended: no question, the copy kept")
            << "edit; saved state; quit" << none << true << 0 << true << true;
        QTest::newRow("the session saved, then the user's close asks as ever")
            << "edit; saved state; close" << cancel << true << 1 << false << false;
        QTest::newRow("SIGTERM, Cancel: one question, the program stays") << "edit; term" << cancel << true << 1
                                                                         << false << false;
        QTest::newRow("SIGTERM, Discard: closes") << "edit; term" << discard << true << 1 << true << false;
    }
    void eachWayToEnd()
    {
        QFETCH(QString, script);
        QFETCH(QList<int>, answers);
        QFETCH(bool, saveWorks);
        QFETCH(int, questions);
        QFETCH(bool, closed);
        QFETCH(bool, keepsCopy);
        TScriptedHost host;
        host.answers = answers;
        host.saveWorks = saveWorks;
        host.play(script);
        QCOMPARE(host.questions, questions);
        QCOMPARE(host.closed, closed);
        QCOMPARE(host.closed && host.closing.keepsRecoveryCopy(), keepsCopy);
        QCOMPARE(host.ended, closed && script.endsWith("term"));
        // Every question that may go unanswered comes after the copy took the changes.
        QVERIFY(host.copies >= (questions > 0 || keepsCopy ? 1 : 0));
    }
};

VELLUMAR_TEST(TestClosing)
#include "tst_closing.moc"
