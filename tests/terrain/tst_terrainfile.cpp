// Terrain files: the 18 values, the Map Data lines, the picture paths and the
// questions for missing pictures.
#include "builders.h"
#include "testregistry.h"

#include "fileio/errors.h"
#include "terrain/terrainfile.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {

// Answers the picture questions as a user would, one scripted answer each.
struct ScriptedHost : TTerrainHost {
    TTerrain *terrain = nullptr;
    QList<QString> answers; // an empty answer cancels
    QStringList titles;
    QStringList proposed;
    QList<QImage> shown;
    int mapDataReads = 0;

    void mapDataRead() override { ++mapDataReads; }
    bool runPictureChooser(TMapPicture which, const QString &title, QString &fileName) override
    {
        titles << title;
        proposed << fileName;
        const QString answer = answers.isEmpty() ? QString() : answers.takeFirst();
        if (answer.isEmpty())
            return false;
        ApplyChosenPicture(*terrain, which, answer);
        fileName = answer;
        return true;
    }
    void showColourMap(const QImage &picture) override { shown << picture; }
};

QByteArray trnText(const QStringList &values, bool emptyFirstLine = false)
{
    QByteArray out = emptyFirstLine ? "\r\n; terrain\r\n[T]\r\n" : "; heading\r\n; terrain\r\n[T]\r\n";
    for (int i = 0; i < values.size(); ++i)
        out += QStringLiteral("VALUE%1").arg(i + 1).leftJustified(18, u'.').toLatin1() + values[i].toLatin1() + "\r\n";
    return out;
}

QStringList standardValues()
{
    QStringList v{"colour", "height", "detail", "4", "5", "6", "sky"};
    for (int i = 8; i <= 18; ++i)
        v << QString::number(i);
    return v;
}

QByteArray samplePcx(const char *name = "rgb256-37x23.pcx")
{
    QFile f(QStringLiteral(VELLUMAR_TEST_DATA "/") + QLatin1String(name));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

class TestTerrainFile : public QObject {
    Q_OBJECT
private slots:
    void valuesAndPaths_data()
    {
        QTest::addColumn<QString>("colourValue");
        QTest::addColumn<QString>("expectedPath");
        QTest::newRow("a name starting at the 19th character") << "colour" << "colour.pcx";
        QTest::newRow("one more space keeps it in the name") << " colour" << " colour.pcx";
        QTest::newRow("a name ending in .pcx gets a second one") << "colour.pcx" << "colour.pcx.pcx";
    }
    void valuesAndPaths()
    {
        QFETCH(QString, colourValue);
        QFETCH(QString, expectedPath);
        QTemporaryDir dir;
        const QString games = dir.path() + u'/';
        QStringList values = standardValues();
        values[0] = colourValue;
        const QString trn = build::file(dir, QStringLiteral("t.trn"), trnText(values) + "line after the values\r\n");
        TTerrain t;
        ReadTerrainFile(trn, games, t);
        QCOMPARE(t.TerrainValues.size(), 18);
        QCOMPARE(t.TerrainValues[0], colourValue);
        QCOMPARE(t.TerrainValues[17], QStringLiteral("18"));
        QCOMPARE(t.ColourMapPath, games + expectedPath);
        QCOMPARE(t.ElevationMapPath, games + QStringLiteral("height.pcx"));
        QCOMPARE(t.DetailMapPath, games + QStringLiteral("detail.pcx"));
        QCOMPARE(t.SkyMapPath, games + QStringLiteral("sky.pcx"));
        QCOMPARE(t.MapData.size(), 22);
        QCOMPARE(t.MapData.last(), QStringLiteral("line after the values"));
    }

    void shortFilesAndEmptyFirstLine()
    {
        QTemporaryDir dir;
        const QString trn = build::file(dir, QStringLiteral("t.trn"), trnText({"colour", "x"}, true));
        TTerrain t;
        t.TerrainValues[10] = QStringLiteral("old");
        ReadTerrainFile(trn, QStringLiteral("G/"), t);
        QCOMPARE(t.TerrainValues[1], QStringLiteral("x"));
        QCOMPARE(t.TerrainValues[2], QString()); // missing lines give empty values
        QCOMPARE(t.TerrainValues[10], QString());
        QCOMPARE(t.DetailMapPath, QStringLiteral("G/.pcx"));
        QCOMPARE(t.MapData.size(), 4); // the empty first line is dropped
        QCOMPARE(t.MapData.first(), QStringLiteral("; terrain"));
    }

    void missingTerrainFileIsAnError()
    {
        QTemporaryDir dir;
        TTerrain t;
        ScriptedHost host;
        host.terrain = &t;
        try {
            LoadTerrain(dir.filePath(QStringLiteral("none.trn")), dir.path() + u'/', t, host);
            QFAIL("loaded");
        } catch (const TError &e) {
            QVERIFY(e.text().contains(QStringLiteral("none.trn")));
        }
        QVERIFY(host.shown.isEmpty());
    }

    void presentPicturesNeedNoQuestion()
    {
        QTemporaryDir dir;
        const QString games = dir.path() + u'/';
        for (const char *name : {"colour.pcx", "height.pcx", "detail.pcx"})
            build::file(dir, QString::fromLatin1(name), samplePcx());
        const QString trn = build::file(dir, QStringLiteral("t.trn"), trnText(standardValues()));
        TTerrain t;
        ScriptedHost host;
        host.terrain = &t;
        LoadTerrain(trn, games, t, host);
        QVERIFY(host.titles.isEmpty());
        QCOMPARE(host.mapDataReads, 1);
        QCOMPARE(host.shown.size(), 1);
        QCOMPARE(host.shown[0].size(), QSize(37, 23));
        QCOMPARE(t.SkyMapPath, games + QStringLiteral("sky.pcx")); // not checked, not shown
    }

    void missingPicturesAreAskedFor()
    {
        QTemporaryDir dir;
        const QString games = dir.path() + u'/';
        build::file(dir, QStringLiteral("height.pcx"), samplePcx());
        const QString picked = build::file(dir, QStringLiteral("picked_colour.pcx"), samplePcx());
        // A picture of another size, so showing the detail map would show.
        const QString pickedDetail = build::file(dir, QStringLiteral("picked_detail.pcx"), samplePcx("rgb16-33x19.pcx"));
        const QString trn = build::file(dir, QStringLiteral("t.trn"), trnText(standardValues()));
        TTerrain t;
        ScriptedHost host;
        host.terrain = &t;
        host.answers = {picked, pickedDetail};
        LoadTerrain(trn, games, t, host);
        QCOMPARE(host.titles, (QStringList{"Colormap not found!", "Detailmap not found!"}));
        QCOMPARE(host.proposed, (QStringList{games + "colour.pcx", games + "detail.pcx"}));
        QCOMPARE(t.ColourMapPath, picked);
        QCOMPARE(t.DetailMapPath, pickedDetail);
        QCOMPARE(t.TerrainValues[0], QStringLiteral("picked_colour"));
        QCOMPARE(t.MapData[3], QStringLiteral("VALUE1............picked_colour"));
        QCOMPARE(host.shown.size(), 1);
        QCOMPARE(host.shown[0].size(), QSize(37, 23)); // the colour map, not the detail map
    }

    void refusesWhatNoTerrainFileCouldBe_data()
    {
        QTest::addColumn<QByteArray>("tail"); // after 21 good lines
        QTest::addColumn<QString>("error");   // empty: read
        QTest::newRow("1000 lines are read") << QByteArray(979, '\n') << "";
        QTest::newRow("a 1001st line is refused") << QByteArray(980, '\n') << "more than 1000 lines";
        QTest::newRow("megabytes of line ends are refused") << QByteArray(8 << 20, '\n') << "more than 1000 lines";
        QTest::newRow("a line of 1024 characters is read") << QByteArray(1024, 'x') << "";
        QTest::newRow("a line of 1025 characters is refused")
            << QByteArray(1025, 'x') << "Line 22 is longer than 1024 characters";
    }
    void refusesWhatNoTerrainFileCouldBe()
    {
        QFETCH(QByteArray, tail);
        QFETCH(QString, error);
        QTemporaryDir dir;
        const QString trn = build::file(dir, QStringLiteral("t.trn"), trnText(standardValues()) + tail);
        TTerrain t;
        t.MapData = QStringList{QStringLiteral("before")};
        try {
            ReadTerrainFile(trn, QStringLiteral("G/"), t);
            QVERIFY2(error.isEmpty(), "read");
            QCOMPARE(t.TerrainValues[0], QStringLiteral("colour"));
        } catch (const TError &e) {
            QVERIFY2(!error.isEmpty() && e.message().contains(error), qPrintable(e.text()));
            QCOMPARE(e.where(), trn);
            QCOMPARE(t.MapData, QStringList{QStringLiteral("before")}); // as it was
            QCOMPARE(t.TerrainValues[0], QString());
        }
    }

    void cancelledColourMapFailsToOpen()
    {
        QTemporaryDir dir;
        const QString games = dir.path() + u'/';
        const QString trn = build::file(dir, QStringLiteral("t.trn"), trnText(standardValues()));
        TTerrain t;
        ScriptedHost host;
        host.terrain = &t;
        try {
            LoadTerrain(trn, games, t, host);
            QFAIL("loaded");
        } catch (const TError &e) {
            QVERIFY2(e.text().contains(games + QStringLiteral("colour.pcx")), qPrintable(e.text()));
        }
        QCOMPARE(host.titles.size(), 3); // all three were asked for
        QCOMPARE(t.ColourMapPath, games + QStringLiteral("colour.pcx"));
        QVERIFY(host.shown.isEmpty());
    }

    void chosenPictureRewritesItsLine_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("expected");
        QTest::newRow("an 18-character label keeps its label") << "COLORMAP ........ vlmrc" << "COLORMAP ........ forest2";
        QTest::newRow("a 10-character line keeps all of it") << "COLORMAP:1" << "COLORMAP:1forest2";
    }
    void chosenPictureRewritesItsLine()
    {
        QFETCH(QString, line);
        QFETCH(QString, expected);
        TTerrain t;
        t.MapData = QStringList{"a", "b", "c", line, "e"};
        ApplyChosenPicture(t, TMapPicture::Colour, QStringLiteral("/maps/forest2.pcx"));
        QCOMPARE(t.MapData[3], expected);
        QCOMPARE(t.ColourMapPath, QStringLiteral("/maps/forest2.pcx"));
        QCOMPARE(t.TerrainValues[0], QStringLiteral("forest2"));
        ApplyChosenPicture(t, TMapPicture::Sky, QStringLiteral("/maps/clouds.pcx")); // line 9 does not exist
        QCOMPARE(t.TerrainValues[6], QStringLiteral("clouds"));
        QCOMPARE(t.MapData.size(), 5);
    }
};

VELLUMAR_TEST(TestTerrainFile)
#include "tst_terrainfile.moc"
