#include "cardwin.h"
#include "channelexport.h"
#include "channelwin.h"
#include "dbcontrols.h"
#include "dvbtuning.h"
#include "editorwin.h"
#include "geometry.h"
#include "historywin.h"
#include "iconstore.h"
#include "iconswin.h"
#include "importwin.h"
#include "language.h"
#include "lineupwin.h"
#include "listingswin.h"
#include "mainwin.h"
#include "messagebox.h"
#include "renumberwin.h"
#include "settingswin.h"
#include "takeback.h"
#include "takebackwin.h"
#include "testdatabase.h"
#include "windowcheck.h"

#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QScreen>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QTranslator>

// The four windows as a keyboard user and a resized screen meet them, on the sample
// line-up: Tab order, mnemonics, positions, growth and the smallest size.
class TestWindows : public QObject, ServerFixture
{
    Q_OBJECT

    // Each window the program shows, as the main window opens it.
    std::unique_ptr<QWidget> make(const QString& which)
    {
        if (which == QLatin1String("main"))
            return std::make_unique<TMainWin>();
        if (which.startsWith(QLatin1String("channel"))) {
            auto w = std::make_unique<TChannelWin>();
            w->SetSourceID(which.section(QLatin1Char(' '), 1).toInt());
            return w;
        }
        if (which.startsWith(QLatin1String("card"))) {
            auto w = std::make_unique<TCardWin>();
            w->SetCardID(which.section(QLatin1Char(' '), 1).toInt());
            return w;
        }
        return std::make_unique<TSettingsWin>();
    }

    // The window `which`, shown and exposed on the screen.
    std::unique_ptr<QWidget> shown(const QString& which)
    {
        auto w = make(which);
        w->show();
        if (!QTest::qWaitForWindowExposed(w.get()))
            qFatal("the window %s did not show", qPrintable(which));
        return w;
    }

    static bool german() { return qEnvironmentVariable("KORVANE_TEST_LANGUAGE") == "de"; }

    // The windows the line-up tools open, on a few channels of their own.
    std::unique_ptr<QWidget> makeTool(const QString& which)
    {
        if (which == QLatin1String("line-up check"))
            return std::make_unique<TLineupWin>();
        if (which == QLatin1String("import preview")) {
            TScannedService s;
            s.name = QStringLiteral("Das Erste HD");
            s.deliverySystem = 3; // DVB-T
            s.tuning.insert(QStringLiteral("freq"), QStringLiteral("578500000"));
            s.tuning.insert(QStringLiteral("pids"), QStringLiteral("101,102"));
            TScannedService radio = s;
            radio.name = QStringLiteral("Radio");
            radio.radio = true;
            // A channel renamed in the file (matched by its PIDs), one no longer in it.
            TChannelRow renamed;
            renamed.chanid = renamed.channum = QStringLiteral("21");
            renamed.name = QStringLiteral("Das Erste");
            renamed.tuning.insert(QStringLiteral("pids"), QStringLiteral("101,102"));
            renamed.tuning.insert(QStringLiteral("freq"), QStringLiteral("522000000"));
            TChannelRow gone;
            gone.chanid = gone.channum = QStringLiteral("22");
            gone.name = QStringLiteral("ZDF");
            return std::make_unique<TImportWin>(QList<TScannedService>{s, radio},
                                                QList<TChannelRow>{renamed, gone}, TCardKind::DVBT,
                                                TImportLimits{});
        }
        if (which == QLatin1String("history window") ||
            which == QLatin1String("take back review")) {
            // One renumbering written, as the history shows it and its take-back reviews it.
            TWrittenRow row;
            row.table = QStringLiteral("channel");
            row.keyColumn = QStringLiteral("chanid");
            row.key = 1001;
            row.before = {{QStringLiteral("chanid"), 1001},
                          {QStringLiteral("channum"), QStringLiteral("5")},
                          {QStringLiteral("name"), QStringLiteral("Das Erste")}};
            row.after = row.before;
            row.after.insert(QStringLiteral("channum"), QStringLiteral("1"));
            if (which == QLatin1String("take back review")) {
                m_takeBack = std::make_unique<TTakeBack>(QStringLiteral("Renumber"),
                                                         QList<TWrittenRow>{row});
                m_takeBack->Read(*module->Conn);
                return std::make_unique<TTakeBackWin>(*m_takeBack, *module->Conn,
                                                      QStringLiteral("History"));
            }
            m_history = std::make_unique<TWriteHistory>(
                m_historyDir.filePath(QStringLiteral("history.sqlite")),
                QStringLiteral("localhost"), db->Name());
            if (m_history->Entries().isEmpty())
                m_history->Done(m_history->Begin(QStringLiteral("Channels"),
                                                 QStringLiteral("Renumber"), {row}));
            auto w = std::make_unique<THistoryWin>(m_history.get(), *module->Conn);
            w->Reload();
            return w;
        }
        const TChannelRow channel{0, "1", "1", "ARD", "Das Erste", "", ""};
        if (which == QLatin1String("listings review"))
            return std::make_unique<TListingsWin>(
                QList<TChannelRow>{channel}, QList<TListedChannel>{{"ard.de", {"Das Erste"}, {}}},
                TListingsLimits{});
        if (which == QLatin1String("icons review")) {
            m_store = std::make_unique<TIconStore>();
            return std::make_unique<TIconsWin>(
                QList<TChannelRow>{{0, "1", "1", "ARD", "Das Erste", "", ""}}, QList<TIconFile>{},
                255, m_store.get());
        }
        return std::make_unique<TRenumberWin>(
            QList<TChannelRow>{{0, "1", "1", "ARD", "Das Erste", "", "", true},
                               {1, "2", "2", "ZDF", "ZDF", "", "", false}},
            5);
    }
    std::unique_ptr<TIconStore> m_store;
    std::unique_ptr<TTakeBack> m_takeBack;
    QTemporaryDir m_historyDir;
    std::unique_ptr<TWriteHistory> m_history;

    // The texts a window shows a user: its title, captions, buttons, headers, tooltips
    // and hints (not the values of the database it shows).
    QStringList textsOf(const QString& which)
    {
        const bool tool = which.contains(QLatin1Char(' ')) &&
                          !which.startsWith(QLatin1String("channel")) &&
                          !which.startsWith(QLatin1String("card"));
        auto w = tool ? makeTool(which) : make(which);
        w->show();
        QStringList texts{w->windowTitle().remove(QStringLiteral("[*]"))};
        for (QWidget* c : w->findChildren<QWidget*>()) {
            if (!c->isVisibleTo(w.get()))
                continue;
            texts << c->toolTip() << c->accessibleName();
            if (auto* l = qobject_cast<QLabel*>(c); l && !c->inherits("TDBText"))
                texts << l->text();
            if (auto* b = qobject_cast<QAbstractButton*>(c))
                texts << b->text();
            if (auto* g = qobject_cast<QGroupBox*>(c))
                texts << g->title();
            if (auto* e = qobject_cast<QLineEdit*>(c))
                texts << e->placeholderText();
            if (auto* v = qobject_cast<QAbstractItemView*>(c); v && v->model())
                for (int i = 0; i < v->model()->columnCount(); ++i)
                    texts << v->model()->headerData(i, Qt::Horizontal).toString();
        }
        if (auto* editor = qobject_cast<TEditorWin*>(w.get()); editor && editor->isDirty())
            MessageBox::QueueAnswer(MessageBox::Button::No);
        QStringList shown;
        // A frequency's reading ("522 MHz") is a number with its unit, not a text.
        static const QRegularExpression reading(QStringLiteral("^[0-9.,]+ [MG]Hz$"));
        for (QString t : texts) {
            t = Caption(t).trimmed();
            if (std::any_of(t.begin(), t.end(), [](QChar ch) { return ch.isLetter(); }) &&
                !reading.match(t).hasMatch())
                shown << t;
        }
        shown.removeDuplicates();
        return shown;
    }

    static QWidget* start(QWidget* w) { return w->focusWidget() ? w->focusWidget() : w; }

    void windows()
    {
        QTest::addColumn<QString>("which");
        for (const char* w : {"main", "channel 1", "channel 3", "card 1", "card 4", "settings"})
            QTest::newRow(w) << QString::fromLatin1(w);
    }

private slots:
    void initTestCase()
    {
        // A database of its own for the scaled and the German run, which may run beside
        // this one. The German run checks every window as a German desktop shows it.
        if (german())
            InstallTranslations(QLocale(QLocale::German, QLocale::Germany));
        StartServer(german() ? QStringLiteral("t_windows_de")
                    : qEnvironmentVariableIsSet("QT_SCALE_FACTOR")
                        ? QStringLiteral("t_windows_scaled")
                        : QStringLiteral("t_windows"),
                    true);
        db->AddSatelliteSource();
    }

    // Every text a window shows is German on a German desktop: the same window in
    // English shows none of them, but for words both languages share.
    void everyTextIsTranslated_data()
    {
        windows();
        for (const char* w : {"channel 9", "line-up check", "import preview", "listings review",
                              "icons review", "renumber", "history window", "take back review"})
            QTest::newRow(w) << QString::fromLatin1(w);
    }

    void everyTextIsTranslated()
    {
        if (!german())
            QSKIP("the German run checks this");
        QFETCH(QString, which);
        const QStringList inGerman = textsOf(which);
        for (QTranslator* t : QCoreApplication::instance()->findChildren<QTranslator*>()) {
            QCoreApplication::removeTranslator(t);
            delete t;
        }
        const QStringList inEnglish = textsOf(which);
        QVERIFY(!InstallTranslations(QLocale(QLocale::German, QLocale::Germany)).isEmpty());
        static const QStringList same{"ID",    "PIDs",  "Name",      "Analog",        "DVB-S",
                                      "DVB-T", "DVB-C", "Inversion", "Modulation",    "Information",
                                      "IP",    "Port",  "GB",        "Korvane Setup", "dito",
                                      "CSV",   "Import"};
        QStringList left;
        for (const QString& text : inGerman)
            if (inEnglish.contains(text) && !same.contains(text))
                left << text;
        QVERIFY2(left.isEmpty(), qPrintable(left.join(QStringLiteral(" | "))));
        QVERIFY(inGerman.size() >= 3);
    }

    void init() { MessageBox::ClearShown(); }

    void tabVisitsEveryControlOnce_data() { windows(); }
    void tabVisitsEveryControlOnce()
    {
        QFETCH(QString, which);
        auto w = shown(which);
        QVERIFY(QTest::qWaitForWindowActive(w.get()));
        const QString faults = TabCycleFaults(w.get(), start(w.get()));
        QVERIFY2(faults.isEmpty(), qPrintable(faults));
        // From each grid, Tab goes on to another control.
        for (TDBGrid* grid : w->findChildren<TDBGrid*>()) {
            if (!grid->isVisibleTo(w.get()))
                continue;
            grid->setFocus(Qt::TabFocusReason);
            QTest::keyClick(grid, Qt::Key_Tab);
            QVERIFY2(QApplication::focusWidget() != grid, qPrintable(grid->objectName()));
        }
        if (auto* editor = qobject_cast<TEditorWin*>(w.get()); editor && editor->isDirty())
            MessageBox::QueueAnswer(MessageBox::Button::No);
    }

    // What covers what on purpose: the notices beneath the tuning panes.
    static QString overlaps(QWidget* w)
    {
        QStringList faults = Overlaps(w).split(QStringLiteral("; "), Qt::SkipEmptyParts);
        faults.removeIf([](const QString& f) {
            return f.contains(QLatin1String("Label20")) || f.contains(QLatin1String("Label44"));
        });
        return faults.join(QStringLiteral("; "));
    }

    static QString buttonsOutside(QWidget* w)
    {
        QStringList faults;
        for (QAbstractButton* b : w->findChildren<QAbstractButton*>()) {
            if (!b->isVisibleTo(w) || qobject_cast<QAbstractItemView*>(b->parentWidget()))
                continue;
            const QRect r(b->mapTo(w, QPoint()), b->size());
            if (!w->rect().contains(r))
                faults << b->objectName() + QLatin1Char(' ') + Caption(b->text());
        }
        return faults.join(QStringLiteral(", "));
    }

    static QSize gridSize(QWidget* w)
    {
        QSize total(0, 0);
        for (TDBGrid* g : w->findChildren<TDBGrid*>())
            if (g->isVisibleTo(w))
                total += g->size();
        return total;
    }

    // At the designed size nothing overlaps; twice as large, the lists and grids take
    // the room; at the smallest size the layout allows, every button is in the window.
    void layoutsGrowAndShrink_data() { windows(); }
    void layoutsGrowAndShrink()
    {
        QFETCH(QString, which);
        auto w = shown(which);
        QCOMPARE(w->size(), QSize(795, 580));
        QString faults = overlaps(w.get());
        QVERIFY2(faults.isEmpty(), qPrintable(QStringLiteral("designed size: ") + faults));
        const QSize before = gridSize(w.get());

        w->resize(2 * 795, 2 * 580);
        QTRY_COMPARE(w->size(), QSize(2 * 795, 2 * 580));
        faults = overlaps(w.get());
        QVERIFY2(faults.isEmpty(), qPrintable(QStringLiteral("twice the size: ") + faults));
        if (!before.isEmpty()) {
            const QSize after = gridSize(w.get());
            QVERIFY2(after.width() > before.width() && after.height() > before.height(),
                     qPrintable(QStringLiteral("grids %1x%2 -> %3x%4")
                                    .arg(before.width())
                                    .arg(before.height())
                                    .arg(after.width())
                                    .arg(after.height())));
        }

        w->resize(1, 1); // as small as the layout lets it
        QTest::qWait(20);
        QVERIFY(w->width() < 795 || w->height() < 580);
        faults = buttonsOutside(w.get());
        QVERIFY2(faults.isEmpty(), qPrintable(QStringLiteral("smallest size: ") + faults));
        faults = overlaps(w.get());
        QVERIFY2(faults.isEmpty(), qPrintable(QStringLiteral("smallest size: ") + faults));
        if (auto* editor = qobject_cast<TEditorWin*>(w.get()); editor && editor->isDirty())
            MessageBox::QueueAnswer(MessageBox::Button::No);
    }

    // A 13-point font: the windows grow to what their captions need, nothing overlaps.
    void largeFontOverlapsNothing_data() { windows(); }
    void largeFontOverlapsNothing()
    {
        QFETCH(QString, which);
        const QFont normal = QApplication::font();
        QFont large = normal;
        large.setPointSize(13);
        QApplication::setFont(large);
        auto w = shown(which);
        const QString faults = overlaps(w.get()) + buttonsOutside(w.get());
        QApplication::setFont(normal);
        QVERIFY2(faults.isEmpty(), qPrintable(faults));
    }

    // Whatever pane shows, the channel list shows at least ten rows.
    void channelListKeepsTenRows()
    {
        for (int source : {1, 3}) {
            auto w = make(QStringLiteral("channel %1").arg(source));
            w->show();
            QVERIFY(QTest::qWaitForWindowExposed(w.get()));
            auto* grid = w->findChild<TDBGrid*>(QStringLiteral("ChannelGrid"));
            const int rows =
                grid->viewport()->height() / grid->verticalHeader()->defaultSectionSize();
            QVERIFY2(rows >= 10,
                     qPrintable(QStringLiteral("source %1: %2 rows").arg(source).arg(rows)));
        }
    }

    // Size, position and column widths survive a restart; a remembered size that no
    // longer fits the screen gives way to the designed one.
    void geometrySurvivesARestart_data() { windows(); }
    void geometrySurvivesARestart()
    {
        QFETCH(QString, which);
        QTemporaryDir config;
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, config.path());
        TGeometryKeeper::Enabled = true;
        const auto off = qScopeGuard([] { TGeometryKeeper::Enabled = false; });
        {
            auto w = shown(which); // the first start: as designed
            QCOMPARE(w->size(), QSize(795, 580));
            w->resize(770, 570);
            w->move(20, 24);
            if (TDBGrid* grid = w->findChild<TDBGrid*>(); grid && grid->Columns().size() > 1)
                grid->setColumnWidth(0, 133);
            w->hide();
        }
        {
            auto w = shown(which);
            QCOMPARE(w->size(), QSize(770, 570));
            QCOMPARE(w->pos(), QPoint(20, 24));
            if (TDBGrid* grid = w->findChild<TDBGrid*>(); grid && grid->Columns().size() > 1)
                QCOMPARE(grid->columnWidth(0), 133);
            w->resize(w->screen()->availableGeometry().size() + QSize(300, 300));
            w->hide();
        }
        auto w = shown(which);
        QCOMPARE(w->size(), QSize(795, 580));
        if (auto* editor = qobject_cast<TEditorWin*>(w.get()); editor && editor->isDirty())
            MessageBox::QueueAnswer(MessageBox::Button::No);
    }

    void mnemonicsAreThereAndApart_data() { windows(); }
    void mnemonicsAreThereAndApart()
    {
        QFETCH(QString, which);
        auto w = make(which);
        w->show();
        const QString faults = MnemonicFaults(w.get());
        QVERIFY2(faults.isEmpty(), qPrintable(faults));
        // The main window's buttons say what they act on.
        if (which == QLatin1String("main"))
            for (QPushButton* b : w->findChildren<QPushButton*>())
                QVERIFY2(!b->toolTip().isEmpty(), qPrintable(b->objectName()));
    }

    // Each tuning column in its pane, under its caption in the window's language, and
    // the same caption heading its column in a CSV export.
    void tuningFieldsFollowTheirTable_data()
    {
        QTest::addColumn<QString>("which");
        QTest::addColumn<int>("kind");
        QTest::newRow("DVB-T") << "channel 3" << int(TCardKind::DVBT);
        QTest::newRow("DVB-S") << "channel 9" << int(TCardKind::DVBS);
    }

    void tuningFieldsFollowTheirTable()
    {
        QFETCH(QString, which);
        QFETCH(int, kind);
        auto w = shown(which);
        const QString csv =
            QString::fromUtf8(CsvOf(TExportLineup{}, TCardKind(kind))).section(u'\r', 0, 0);
        const QList<QLabel*> labels = w->findChildren<QLabel*>();
        for (const TTuningColumn& column : TuningColumns()) {
            auto* field = w->findChild<QWidget*>(QLatin1String(column.control));
            QVERIFY2(field, column.control);
            QCOMPARE(field->isVisibleTo(w.get()), column.ShownFor(TCardKind(kind)));
            if (!field->isVisibleTo(w.get()))
                continue;
            const auto label = std::find_if(labels.begin(), labels.end(),
                                            [&](QLabel* l) { return l->buddy() == field; });
            QVERIFY2(label != labels.end(), column.control);
            QCOMPARE(Caption((*label)->text()), column.Caption());
            QVERIFY2(csv.contains(column.Caption()), qPrintable(csv));
        }
        // A reading of any length beside the frequency never widens the window.
        auto* freq = w->findChild<QLineEdit*>(QStringLiteral("FrequencyEdit"));
        const QSize size = w->size();
        freq->setFocus();
        QTest::keyClicks(freq, QStringLiteral("47400"));
        QTest::qWait(50);
        QVERIFY(!w->findChild<QLabel*>(QStringLiteral("FrequencyReadingLabel"))->text().isEmpty());
        QCOMPARE(w->size(), size);
        if (auto* editor = qobject_cast<TEditorWin*>(w.get()); editor && editor->isDirty())
            MessageBox::QueueAnswer(MessageBox::Button::No);
    }
};

QTEST_MAIN(TestWindows)
#include "tst_windows.moc"
