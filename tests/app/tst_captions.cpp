// Every caption of every window can be read at the layout's places and sizes:
// its text, in the control's own font, fits the room the style leaves for
// text in that control, and the control does not reach into a neighbour.
#include "fakedialogs.h"
#include "testregistry.h"

#include "app/mainwindow.h"
#include "editing/objectgrid.h"
#include "catalogue/itemlistwindow.h"
#include "catalogue/objectviewwindow.h"
#include "handoff/savemapdialog.h"
#include "settings/aboutwindow.h"
#include "settings/infowindow.h"
#include "settings/setupdialog.h"
#include "ui/windowstyle.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFontInfo>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QStyleOptionButton>
#include <QStyleOptionComboBox>
#include <QStyleOptionGroupBox>
#include <QStyleOptionHeader>
#include <QTemporaryDir>
#include <QTest>

namespace {

// The text a control shows for its caption: "&&" is one '&', a single '&'
// only marks the shortcut letter.
QString shownText(const QString &caption)
{
    QString shown;
    for (qsizetype i = 0; i < caption.size(); ++i) {
        if (caption[i] == u'&' && i + 1 < caption.size())
            ++i;
        shown += caption[i];
    }
    return shown;
}

QStyleOptionButton buttonOption(QAbstractButton *b)
{
    QStyleOptionButton opt;
    opt.initFrom(b);
    opt.text = b->text();
    return opt;
}

// The room the control's style leaves for its caption, in the control's own
// coordinates; an empty rectangle for controls without a caption.
QRect captionRoom(QWidget *w, QString &caption)
{
    QStyle *style = w->style();
    if (auto *b = qobject_cast<QPushButton *>(w)) {
        caption = b->text();
        const QStyleOptionButton opt = buttonOption(b);
        return style->subElementRect(QStyle::SE_PushButtonContents, &opt, b);
    }
    if (auto *b = qobject_cast<QCheckBox *>(w)) {
        caption = b->text();
        const QStyleOptionButton opt = buttonOption(b);
        return style->subElementRect(QStyle::SE_CheckBoxContents, &opt, b);
    }
    if (auto *b = qobject_cast<QRadioButton *>(w)) {
        caption = b->text();
        const QStyleOptionButton opt = buttonOption(b);
        return style->subElementRect(QStyle::SE_RadioButtonContents, &opt, b);
    }
    if (auto *l = qobject_cast<QLabel *>(w)) {
        caption = l->pixmap().isNull() ? l->text() : QString();
        return l->contentsRect().adjusted(l->margin(), l->margin(), -l->margin(), -l->margin());
    }
    if (auto *g = qobject_cast<QGroupBox *>(w)) {
        caption = g->title();
        QStyleOptionGroupBox opt;
        opt.initFrom(g);
        opt.text = g->title();
        opt.textAlignment = g->alignment();
        opt.subControls = QStyle::SC_GroupBoxFrame | QStyle::SC_GroupBoxLabel;
        opt.lineWidth = 1;
        // The style sizes the title's place after the text: what counts is
        // that the place stays inside the box.
        return style->subControlRect(QStyle::CC_GroupBox, &opt, QStyle::SC_GroupBoxLabel, g)
            .intersected(g->rect());
    }
    return QRect();
}

// Controls a caption must not run into: visible siblings that are not mere
// frames behind other controls.
bool isNeighbour(const QWidget *w)
{
    return !w->isWindow() && w->isVisibleTo(w->window())
        && (!qobject_cast<const QFrame *>(w) || qobject_cast<const QLabel *>(w));
}

} // namespace

class TestCaptions : public QObject {
    Q_OBJECT
    QTemporaryDir m_programDir;
    TFakeDialogs m_dialogs;
    std::unique_ptr<TForm1> m_form;

private slots:
    void initTestCase()
    {
        m_form = std::make_unique<TForm1>(m_dialogs, QString(), m_programDir.path() + u'/');
        m_form->createWindows();
    }

    void cleanupTestCase() { m_form.reset(); }

    void windowsUseTheNarrowFaceTheyAreLaidOutFor()
    {
        // The face the set-up script installs; without it the captions below
        // are measured in a fallback and this names the cause.
        QCOMPARE(TWindowStyle::firstInstalled(TWindowStyle::SansFamilies()), TWindowStyle::SansFamilies().first());
        for (QWidget *w : std::initializer_list<QWidget *>{m_form.get(), m_form->Form2.get(), m_form->Form3.get(),
                                                           m_form->Form4.get(), m_form->Form5.get(),
                                                           m_form->Form6.get(), m_form->Form7.get()})
            QCOMPARE(w->font(), TWindowStyle::font());
    }

    // The suite also runs at the desktop's larger scales (QT_SCALE_FACTOR).
    void windowsShowAtTheScreensScale()
    {
        m_form->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_form.get()));
        QCOMPARE(m_form->devicePixelRatioF(), qEnvironmentVariable("QT_SCALE_FACTOR", QStringLiteral("1")).toDouble());
        m_form->hide();
    }

    void fallbackFacesStillHoldTheTightestCaptions_data()
    {
        QTest::addColumn<QStringList>("families");
        QTest::newRow("none of the faces installed: the system's sans at a condensed width")
            << QStringList{QStringLiteral("No Such Face")};
        QTest::newRow("the condensed face after the narrow ones") << TWindowStyle::SansFamilies().mid(2);
    }

    void fallbackFacesStillHoldTheTightestCaptions()
    {
        QFETCH(QStringList, families);
        QFont face = TWindowStyle::face(families, QFont::SansSerif);
        face.setPointSize(TWindowStyle::font().pointSize());
        const QFontMetrics metrics(face);
        // The main window's "Extended" and the Setup dialog's association
        // button leave the least room for their captions.
        QVERIFY2(metrics.horizontalAdvance(QStringLiteral("Extended")) <= m_form->Button11->width() - 2,
                 qPrintable(QFontInfo(face).family()));
        QVERIFY2(metrics.horizontalAdvance(QStringLiteral("Associate *.BMS Files ")) <= m_form->Form2->Button4->width() - 2,
                 qPrintable(QFontInfo(face).family()));
    }

    void captionFitsItsControl_data()
    {
        QTest::addColumn<QWidget *>("control");
        const std::pair<QWidget *, const char *> windows[] = {
            {m_form.get(), "main window"}, {m_form->Form6.get(), "Info"}, {m_form->Form2.get(), "Setup"},
            {m_form->Form3.get(), "Save Map as"}, {m_form->Form4.get(), "About"}, {m_form->Form5.get(), "Item List"},
            {m_form->Form7.get(), "Object View"}};
        for (const auto &[window, title] : windows)
            for (QWidget *w : window->findChildren<QWidget *>()) {
                QString caption;
                captionRoom(w, caption);
                if (!caption.isEmpty() && w->isVisibleTo(window))
                    QTest::addRow("%s: \"%s\" (%s)", title, qPrintable(caption), w->metaObject()->className()) << w;
            }
    }

    void captionFitsItsControl()
    {
        QFETCH(QWidget *, control);
        QString caption;
        const QRect room = captionRoom(control, caption);
        const QFontMetrics metrics(control->font());
        const QString text = qobject_cast<QLabel *>(control) ? caption : shownText(caption);
        const int width = metrics.horizontalAdvance(text);
        if (width > room.width() || metrics.height() > room.height())
            QFAIL(qPrintable(QStringLiteral("\"%1\" needs %2 x %3 pixels in \"%4\" %5pt; the control leaves %6 x %7")
                                 .arg(text).arg(width).arg(metrics.height()).arg(control->font().family())
                                 .arg(control->font().pointSizeF()).arg(room.width()).arg(room.height())));
        if (QWidget *parent = control->parentWidget())
            for (QWidget *other : parent->findChildren<QWidget *>(Qt::FindDirectChildrenOnly))
                if (other != control && isNeighbour(other) && other->geometry().intersects(control->geometry()))
                    QFAIL(qPrintable(QStringLiteral("reaches into the %1 at (%2, %3)")
                                         .arg(QLatin1String(other->metaObject()->className()))
                                         .arg(other->x()).arg(other->y())));
    }

    // The object table's column titles, in the header's font and style, at
    // the columns' widths as the main window opens.
    void columnTitlesShowWhole_data()
    {
        QTest::addColumn<int>("column");
        for (int c = 0; c < TObjectTable::ColumnCount; ++c)
            QTest::addRow("\"%s\"", TObjectTable::Titles[std::size_t(c)]) << c;
    }

    void columnTitlesShowWhole()
    {
        QFETCH(int, column);
        const QHeaderView *header = m_form->StringGrid1->horizontalHeader();
        QStyleOptionHeader opt;
        opt.initFrom(header);
        opt.section = column;
        opt.text = m_form->Document.Table.headerData(column, Qt::Horizontal).toString();
        opt.textAlignment = header->defaultAlignment();
        opt.rect = QRect(0, 0, header->sectionSize(column), header->sizeHint().height());
        const QRect room = header->style()->subElementRect(QStyle::SE_HeaderLabel, &opt, header);
        const int width = header->fontMetrics().horizontalAdvance(opt.text);
        QVERIFY2(width <= room.width(), qPrintable(QStringLiteral("\"%1\" needs %2 pixels; the column leaves %3")
                                                       .arg(opt.text).arg(width).arg(room.width())));
    }

    void fixedListEntriesFitTheirBox_data()
    {
        QTest::addColumn<QComboBox *>("box");
        QTest::addColumn<int>("entry");
        for (QComboBox *box : m_form->findChildren<QComboBox *>())
            if (!box->isEditable())
                for (int i = 0; i < box->count(); ++i)
                    QTest::addRow("\"%s\"", qPrintable(box->itemText(i))) << box << i;
    }

    void fixedListEntriesFitTheirBox()
    {
        QFETCH(QComboBox *, box);
        QFETCH(int, entry);
        QStyleOptionComboBox opt;
        opt.initFrom(box);
        opt.editable = false;
        opt.currentText = box->itemText(entry);
        const QRect field = box->style()->subControlRect(QStyle::CC_ComboBox, &opt, QStyle::SC_ComboBoxEditField, box);
        QVERIFY2(box->fontMetrics().horizontalAdvance(opt.currentText) <= field.width(),
                 qPrintable(QStringLiteral("the field is %1 pixels wide").arg(field.width())));
    }
};

VELLUMAR_TEST(TestCaptions)

#include "tst_captions.moc"
