#include "application.h"
#include "cardwin.h"
#include "channelwin.h"
#include "clientdataset.h"
#include "csvreader.h"
#include "dbcontrols.h"
#include "editormodel.h"
#include "historywin.h"
#include "iconswin.h"
#include "importwin.h"
#include "listingswin.h"
#include "messagebox.h"
#include "modal.h"
#include "renumberwin.h"
#include "testdatabase.h"
#include "writehistory.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QSpinBox>
#include <QTableView>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

// A randomized user against the real editor windows, beside a plain model of what
// that user meant. Every action is one a user can do: typing into a field, editing a
// grid cell, moving, inserting, deleting, cancelling, choosing in lists, importing a
// scan's channel file, matching channels to a listings file, saving and closing. After every action
// the fields must show what the model says; after every save the tables must hold exactly the
// model's rows; after closing without saving they must hold the last save.
//
//   KORVANE_MODEL_SEEDS=7,8   seeds to run (default 1,2,3)
//   KORVANE_MODEL_STEPS=2000  actions per seed (default 300)
//   KORVANE_MODEL_ACTS=1      each action printed as it is done

namespace {

enum class Kind { Text, Number, Choice, EditableChoice, Check, Lookup };

struct Field
{
    QString widget;
    QString column; // "src." for the source or card row, "dvb." for the digital row
    Kind kind = Kind::Text;
    int limit = 0;
    QStringList items;
};

const QStringList CodeRates{"AUTO", "NONE", "1_2", "2_3", "3_4", "4_5", "5_6", "6_7", "7_8", "8_9"};

const QList<Field> ChannelFields{
    {"SourceNameEdit", "src.name", Kind::Text, 8, {}},
    {"XMLTVGrabberCombo",
     "src.xmltvgrabber",
     Kind::Choice,
     0,
     {"tv_grab_de", "tv_grab_na", "tv_grab_uk"}},
    {"CallsignEdit", "callsign", Kind::Text, 20, {}},
    {"ChannelNameEdit", "name", Kind::Text, 20, {}},
    {"XMLTVIDEdit", "xmltvid", Kind::Text, 64, {}},
    {"IconEdit", "icon", Kind::Text, 255, {}},
    {"ChannumEdit", "channum", Kind::Text, 5, {}},
    {"ChannumRealEdit", "channum_real", Kind::Text, 128, {}},
    {"FinetuneEdit", "finetune", Kind::Number, 11, {}},
    {"VideoFiltersEdit", "videofilters", Kind::Text, 255, {}},
    {"ColourEdit", "colour", Kind::Number, 11, {}},
    {"BrightnessEdit", "brightness", Kind::Number, 11, {}},
    {"ContrastEdit", "contrast", Kind::Number, 11, {}},
    {"PIDsEdit", "dvb.pids", Kind::Text, 64, {}},
    {"ListingIDEdit", "dvb.listingid", Kind::Text, 8, {}},
    {"FrequencyEdit", "dvb.freq", Kind::Text, 11, {}},
    {"PolarizationCombo", "dvb.pol", Kind::Choice, 0, {"H", "V"}},
    {"SymbolRateEdit", "dvb.symbol_rate", Kind::Text, 8, {}},
    {"ToneEdit", "dvb.tone", Kind::Text, 8, {}},
    {"DiSEqCEdit", "dvb.diseqc", Kind::Text, 8, {}},
    {"InversionCombo", "dvb.inversion", Kind::Choice, 0, {"AUTO", "1", "0"}},
    {"BandwidthCombo", "dvb.bandwidth", Kind::Choice, 0, {"AUTO", "6", "7", "8"}},
    {"HPCodeRateCombo", "dvb.hp_code_rate", Kind::Choice, 0, CodeRates},
    {"LPCodeRateCombo", "dvb.lp_code_rate", Kind::Choice, 0, CodeRates},
    {"ModulationCombo",
     "dvb.modulation",
     Kind::Choice,
     0,
     {"AUTO", "QPSK", "QAM_16", "QAM_32", "QAM_64", "QAM_128", "QAM_256"}},
    {"TransmissionModeCombo", "dvb.transmission_mode", Kind::Choice, 0, {"AUTO", "2", "8"}},
    {"GuardIntervalCombo",
     "dvb.guard_interval",
     Kind::Choice,
     0,
     {"AUTO", "1_4", "1_8", "1_16", "1_32"}},
    {"HierarchyCombo", "dvb.hierarchy", Kind::Choice, 0, {"AUTO", "NONE", "1", "2", "4"}},
};

const QStringList ChannelColumns{"chanid", "sourceid",   "callsign",     "name",     "xmltvid",
                                 "icon",   "channum",    "channum_real", "finetune", "videofilters",
                                 "colour", "brightness", "contrast"};
const QStringList DVBColumns{"pids",
                             "listingid",
                             "freq",
                             "pol",
                             "symbol_rate",
                             "tone",
                             "diseqc",
                             "inversion",
                             "bandwidth",
                             "hp_code_rate",
                             "lp_code_rate",
                             "modulation",
                             "transmission_mode",
                             "guard_interval",
                             "hierarchy"};
const QStringList SourceColumns{"sourceid", "name", "xmltvgrabber", "userid"};

const QList<Field> CardFields{
    {"DBEdit3", "src.hostname", Kind::Text, 255, {}},
    {"CardtypeCombo", "src.cardtype", Kind::Choice, 0, {"V4L", "MPEG", "DVB"}},
    {"DBLookupComboBox3", "src.defaultinput", Kind::Lookup, 0, {}},
    // Editable lists take what their columns on the server hold.
    {"DBComboBox5",
     "src.videodevice",
     Kind::EditableChoice,
     128,
     {"/dev/video", "/dev/video0", "/dev/video1", "/dev/video2", "/dev/video3"}},
    {"AudioDevCombo",
     "src.audiodevice",
     Kind::EditableChoice,
     128,
     {"/dev/dsp", "/dev/dsp0", "/dev/dsp1", "/dev/dsp2", "/dev/dsp3"}},
    {"DBComboBox7",
     "src.vbidevice",
     Kind::EditableChoice,
     128,
     {"/dev/vbi", "/dev/vbi0", "/dev/vbi1", "/dev/vbi2", "/dev/vbi3"}},
    {"AudioRateCombo",
     "src.audioratelimit",
     Kind::EditableChoice,
     65535,
     {"0", "32000", "44100", "48000"}},
    {"DBComboBox2", "src.dvb_type", Kind::Choice, 0, {"S", "C", "T"}},
    {"DBComboBox3", "src.videodevice", Kind::Choice, 0, {"0", "1", "2", "3"}},
    {"DBCheckBox2", "src.use_ts", Kind::Check, 0, {"1", "0"}},
    {"DBComboBox4",
     "inputname",
     Kind::EditableChoice,
     32,
     {"Television", "S-Video", "Composite1", "Composite2"}},
    {"DBEdit2", "externalcommand", Kind::Text, 128, {}},
    {"SourceCombo", "sourceid", Kind::Lookup, 0, {}},
    {"DBLookupComboBox1", "startchan", Kind::Lookup, 0, {}},
    {"DBEdit11", "preference", Kind::Number, 8, {}},
    {"DBCheckBox1", "shareable", Kind::Check, 0, {"Y", "N"}},
    {"DBEdit4", "tunechan", Kind::Text, 7, {}},
};

const QStringList CardColumns{"cardid",   "videodevice",  "audiodevice",    "vbidevice",
                              "cardtype", "defaultinput", "audioratelimit", "hostname",
                              "dvb_type", "use_ts"};
const QStringList InputColumns{"cardinputid", "cardid",          "sourceid",
                               "inputname",   "externalcommand", "preference",
                               "shareable",   "tunechan",        "startchan"};

Values parseRow(const QStringList& columns, const QString& row, const QString& prefix = {})
{
    const QStringList parts = row.split(QLatin1Char('|'));
    Values v;
    for (int i = 0; i < columns.size(); ++i)
        v[prefix + columns[i]] = parts[i] == QLatin1String("NULL") ? Val() : Val(parts[i]);
    return v;
}

QString rowText(const QStringList& columns, const Values& v, const QString& prefix = {})
{
    QStringList parts;
    for (const QString& c : columns) {
        const Val value = v.value(prefix + c);
        parts << (value ? *value : QStringLiteral("NULL"));
    }
    return parts.join(QLatin1Char('|'));
}

// What a field shows for a value: a number as typed may differ in leading zeros.
bool sameShown(const QString& shown, const Val& value, bool number)
{
    if (number && !shown.isEmpty() && value)
        return shown.toLongLong() == value->toLongLong();
    return shown == Shown(value);
}

} // namespace

class TestEditorModel : public QObject, ServerFixture
{
    Q_OBJECT

    QStringList actions; // what the current run did, to replay it
    QTemporaryDir scratch;
    QString mismatch; // the first difference found
    std::unique_ptr<TWriteHistory> writeHistory;

    void act(const QString& what)
    {
        actions << what;
        if (qEnvironmentVariableIsSet("KORVANE_MODEL_ACTS"))
            qDebug().noquote() << "ACT" << what;
    }

    void differ(const QString& what)
    {
        if (mismatch.isEmpty())
            mismatch = what;
    }

    // Whether the window shows what the user meant; notes the difference when not.
    bool same(const QString& what, const QVariant& shown, const QVariant& meant)
    {
        if (shown == meant)
            return true;
        differ(QStringLiteral("%1: the window shows %2, the user meant %3")
                   .arg(what, shown.toString(), meant.toString()));
        return false;
    }

    // The same for the tables' rows after `when`.
    void sameTables(const QString& when, const QStringList& actual, const QStringList& expected)
    {
        if (actual != expected)
            differ(QStringLiteral("%1: the tables hold\n    %2\n  but the user meant\n    %3")
                       .arg(when, actual.join(QStringLiteral("\n    ")),
                            expected.join(QStringLiteral("\n    "))));
    }

    static QList<unsigned> seeds()
    {
        QList<unsigned> list;
        for (const QString& s : qEnvironmentVariable("KORVANE_MODEL_SEEDS", QStringLiteral("1,2,3"))
                                    .split(QLatin1Char(','), Qt::SkipEmptyParts))
            list << s.trimmed().toUInt();
        return list;
    }

    static int steps()
    {
        return qEnvironmentVariableIntValue("KORVANE_MODEL_STEPS") > 0
                   ? qEnvironmentVariableIntValue("KORVANE_MODEL_STEPS")
                   : 300;
    }

    void seedDatabase()
    {
        db->Reset(true);
        // Besides the sample: a satellite source with a stored polarisation outside the
        // list, a channel without names, NULLs all over, and a digital row an older
        // tool left without its channel.
        db->AddSatelliteSource();
        db->Exec(
            QStringLiteral("INSERT INTO channel (chanid, channum, sourceid, callsign, name) "
                           "VALUES (1301, '1', 9, 'SAT1', NULL), (1302, NULL, 9, NULL, NULL)"));
        db->Exec(
            QStringLiteral("INSERT INTO channel_dvb (chanid, freq, pol, symbol_rate, pids) VALUES "
                           "(1301, '11836', 'h', '27500', '101'), (5000, '700000000', NULL, "
                           "NULL, '1,2')"));
    }

    void report(unsigned seed)
    {
        QString text =
            QStringLiteral("seed %1: %2\nactions to replay it (KORVANE_MODEL_SEEDS=%1):\n")
                .arg(seed)
                .arg(mismatch);
        const int from = std::max(0, int(actions.size()) - 60);
        if (from > 0)
            text += QStringLiteral("  ... %1 earlier actions\n").arg(from);
        for (int i = from; i < actions.size(); ++i)
            text += QStringLiteral("  %1. %2\n").arg(i + 1).arg(actions[i]);
        QFAIL(qPrintable(text));
    }

    // --- typing and choosing, shared by both windows ----------------------------------

    /// Types into a line edit as a user does: to the end of the text, optionally
    /// clearing it first. Returns what the field's rules make of it.
    Typing typeInto(QLineEdit* edit, const QString& typed, bool clear, int limit, bool number,
                    bool enter)
    {
        const Typing expected = SimulateTyping(edit->text(), typed, clear, limit, number);
        edit->setFocus();
        QTest::keyClick(edit, Qt::Key_End);
        if (clear) {
            QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
            QTest::keyClick(edit, Qt::Key_Backspace);
        }
        QTest::keyClicks(edit, typed);
        if (enter)
            QTest::keyClick(edit, Qt::Key_Return); // saves nothing, closes nothing
        if (qEnvironmentVariableIsSet("KORVANE_MODEL_DEBUG"))
            qDebug().noquote() << "typed into" << edit->objectName() << "expected" << expected.text
                               << "shows" << edit->text();
        return expected;
    }

    /// Down in a list: the next entry after the one shown, if there is one.
    static void pressDown(QComboBox* combo)
    {
        combo->setFocus();
        QTest::keyClick(combo, Qt::Key_Down);
    }

    void settleEvents()
    {
        // A cell editor commits on Return once the event loop is idle.
        QCoreApplication::processEvents();
        QCoreApplication::processEvents();
    }

    // --- actions on a list and on a window, shared by both editors -------------------

    /// Prior or Next on the navigator.
    void moveByNavigator(TDBNavigator* nav, ListModel& list, Dice& dice)
    {
        const bool next = dice.Chance(50);
        act(QStringLiteral("%1 %2").arg(nav->objectName(), next ? "Next" : "Prior"));
        QTest::mouseClick(nav->ButtonFor(next ? TDBNavigator::Next : TDBNavigator::Prior),
                          Qt::LeftButton);
        next ? list.Next() : list.Prior();
    }

    /// A click on a row of the grid.
    void clickGridRow(TDBGrid* grid, ListModel& list, Dice& dice)
    {
        if (list.Count() == 0)
            return;
        const int r = dice.Below(list.Count());
        act(QStringLiteral("click %1 row %2").arg(grid->objectName()).arg(r));
        const QModelIndex index = grid->Model()->index(r, 0);
        grid->scrollTo(index);
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->visualRect(index).center());
        list.MoveTo(r);
        list.SelectCurrent(); // a click selects the row clicked alone
        effect.selection = true;
    }

    /// Save by the button or by Ctrl+S.
    void save(TEditorWin& win, QPushButton* button, Dice& dice)
    {
        const bool click = dice.Chance(50);
        act(click ? QStringLiteral("Save button") : QStringLiteral("Ctrl+S"));
        if (click)
            QTest::mouseClick(button, Qt::LeftButton);
        else
            QTest::keyClick(&win, Qt::Key_S, Qt::ControlModifier);
    }

    /// Shortcuts reach the active window; the offscreen platform has no window manager to
    /// give the activation back after a dialog.
    void activate(QWidget& win)
    {
        win.activateWindow();
        if (!QTest::qWaitForWindowActive(&win))
            differ(QStringLiteral("the editor cannot be made the active window"));
    }

    /// Ctrl+`key` in the editor (Import..., Listings...) with its file dialog answered by
    /// `path`, and `answer` acting in the window that opens then (of type Dialog).
    template <typename Dialog>
    void fileAction(TChannelWin& win, const QString& path, Qt::Key key,
                    const std::function<void(Dialog&)>& answer)
    {
        activate(win);
        TChannelWin::ChooseFile = [path](QWidget*) {
            return path;
        };
        WhenModal(this, [&answer](QWidget* modal) {
            if (auto* dialog = qobject_cast<Dialog*>(modal))
                answer(*dialog);
            else
                modal->hide();
        });
        QWidget* target = win.focusWidget() ? win.focusWidget() : &win;
        QTest::keyClick(target, key, Qt::ControlModifier);
        TChannelWin::ChooseFile = nullptr;
        activate(win); // as a window manager does when the dialog has gone
    }

    // --- what an action did, for the history and the selection ---------------------

    /// What the last action did beyond the rows: the field typed into (and whether its
    /// edit was finished there), a selection made, a save, an undo or redo done.
    struct Effect
    {
        QString typed;
        bool finished = false;  // Enter, or a choice: the field's edit ends with it
        bool selection = false; // the action set the selection itself
        bool reselect = false;  // the grid read its rows anew: the current row alone
        bool saved = false;
        bool history = false; // an undo or redo, which did its own bookkeeping
        bool noBoundary = false;
    };
    Effect effect;

    static Val shownKey(const ListModel& list)
    {
        return list.HasRow() ? list.Current().value(list.key) : Val();
    }

    /// After an action: the step it made (or went on making), and the grid's selection.
    /// The keys of the list's rows, in order.
    static QList<Val> rowKeys(const ListModel& list)
    {
        QList<Val> keys;
        for (const Values& v : list.rows)
            keys << v.value(list.key);
        return keys;
    }

    void afterAction(HistoryModel& h, const HeadRow& head, ListModel& list, const Snapshot& pre,
                     int count, const Val& key, const QList<Val>& keys)
    {
        const Effect e = effect;
        if (e.saved) {
            h.Clear();
        } else if (!e.history && !e.noBoundary) {
            if (e.typed.isEmpty() || h.typing != e.typed) {
                h.Close(pre); // anything else ends the step being made
                h.open = pre;
                h.typing = e.typed;
            }
            if (e.typed.isEmpty() || e.finished)
                h.Close(Snap(head, list));
        }
        // Rows that came or went (as many as went, too) are rows read anew.
        if (!e.selection &&
            (e.reselect || count != list.Count() || key != shownKey(list) || keys != rowKeys(list)))
            list.SelectCurrent();
    }

    /// Undo or redo, by its button or its keys (in the grid: in a field, Ctrl+Z would
    /// undo the typing there first). The model puts back what the user saw before or
    /// after the step.
    void undoOrRedo(TEditorWin& win, HeadRow& head, ListModel& list, HistoryModel& h,
                    QAbstractButton* undoButton, QAbstractButton* redoButton, QWidget* grid,
                    Dice& dice)
    {
        const bool undo = dice.Chance(65);
        const int how = dice.Below(3);
        const QStringList hows = undo ? QStringList{"the Undo button", "Ctrl+Z", "Ctrl+Z"}
                                      : QStringList{"the Redo button", "Ctrl+Shift+Z", "Ctrl+Y"};
        act(hows[how] + (undo ? QStringLiteral(" (undo)") : QStringLiteral(" (redo)")));
        effect.history = true;
        activate(win);
        if (how == 0) {
            QTest::mouseClick(undo ? undoButton : redoButton, Qt::LeftButton);
        } else {
            grid->setFocus();
            if (undo)
                QTest::keyClick(grid, Qt::Key_Z, Qt::ControlModifier);
            else if (how == 1)
                QTest::keyClick(grid, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
            else
                QTest::keyClick(grid, Qt::Key_Y, Qt::ControlModifier);
        }
        settleEvents();
        h.Close(Snap(head, list)); // the step being made ends first
        if (undo && list.Blank()) {
            list.Cancel(); // a new row nobody typed into came last: it goes first
        } else if (undo && !h.undo.isEmpty()) {
            const HistoryModel::Step step = h.undo.takeLast();
            h.redo << step;
            Restore(head, list, step.before, step.before.rows != step.after.rows);
        } else if (!undo && !h.redo.isEmpty()) {
            const HistoryModel::Step step = h.redo.takeLast();
            h.undo << step;
            Restore(head, list, step.after, step.before.rows != step.after.rows);
        }
    }

    // === the channel source editor ====================================================

    struct ChannelState
    {
        int sourceId = 0;
        bool digital = false;
        HeadRow source;
        ListModel list;
        QList<Values> saved;
        HistoryModel hist;
        // The newest entry of the history of writes, and the tables before it was written.
        qint64 lastEntry = 0;
        bool takeBackDue = false;
        QList<Values> beforeSave;
        Values sourceBeforeSave;
    };

    void loadChannels(ChannelState& m)
    {
        m.source.Load(
            parseRow(SourceColumns,
                     db->Rows(QStringLiteral("SELECT %1 FROM videosource WHERE sourceid=%2")
                                  .arg(SourceColumns.join(QLatin1Char(',')))
                                  .arg(m.sourceId))
                         .value(0),
                     QStringLiteral("src.")));
        m.list = ListModel{};
        m.list.key = QStringLiteral("chanid");
        for (const QString& row :
             db->Rows(QStringLiteral("SELECT %1 FROM channel WHERE sourceid=%2 "
                                     "ORDER BY chanid")
                          .arg(ChannelColumns.join(QLatin1Char(',')))
                          .arg(m.sourceId))) {
            Values v = parseRow(ChannelColumns, row);
            const QStringList dvb =
                db->Rows(QStringLiteral("SELECT %1 FROM channel_dvb WHERE chanid=%2")
                             .arg(DVBColumns.join(QLatin1Char(',')))
                             .arg(*v[QStringLiteral("chanid")]));
            v.insert(parseRow(DVBColumns,
                              dvb.value(0, QStringList(DVBColumns.size(), "NULL").join('|')),
                              QStringLiteral("dvb.")));
            v[QStringLiteral("dvb")] = dvb.isEmpty() ? Val() : Val(QStringLiteral("1"));
            m.list.rows << v;
        }
        m.list.current = m.list.rows.isEmpty() ? -1 : 0;
        m.list.SelectCurrent();
        m.saved = m.list.rows;
        m.hist.Clear();
    }

    static Values freshChannel(const ChannelState& m, const QString& chanid)
    {
        Values v;
        for (const QString& c : ChannelColumns)
            v[c] = Val();
        for (const QString& c : DVBColumns)
            v[QStringLiteral("dvb.") + c] = Val();
        v[QStringLiteral("dvb")] = Val();
        v[QStringLiteral("chanid")] = chanid;
        v[QStringLiteral("sourceid")] = QString::number(m.sourceId);
        return v;
    }

    static QStringList channelTable(const QList<Values>& rows)
    {
        QList<Values> sorted = rows;
        std::sort(sorted.begin(), sorted.end(), [](const Values& a, const Values& b) {
            return a.value("chanid")->toInt() < b.value("chanid")->toInt();
        });
        QStringList lines;
        for (const Values& v : sorted) {
            lines << rowText(ChannelColumns, v);
            if (v.value(QStringLiteral("dvb")))
                lines << QStringLiteral("dvb ") + *v.value("chanid") + QLatin1Char('|') +
                             rowText(DVBColumns, v, QStringLiteral("dvb."));
        }
        return lines;
    }

    QStringList channelTablesNow(int sourceId)
    {
        QStringList lines;
        for (const QString& row :
             db->Rows(QStringLiteral("SELECT %1 FROM channel WHERE sourceid=%2 ORDER BY chanid")
                          .arg(ChannelColumns.join(QLatin1Char(',')))
                          .arg(sourceId))) {
            lines << row;
            const QString chanid = row.section(QLatin1Char('|'), 0, 0);
            for (const QString& dvb :
                 db->Rows(QStringLiteral("SELECT %1 FROM channel_dvb WHERE chanid=%2")
                              .arg(DVBColumns.join(QLatin1Char(',')), chanid)))
                lines << QStringLiteral("dvb ") + chanid + QLatin1Char('|') + dvb;
        }
        return lines;
    }

    void compareChannelTables(const ChannelState& m, const QList<Values>& rows,
                              const Values& source, const QString& when)
    {
        const QStringList expected = channelTable(rows);
        const QStringList actual = channelTablesNow(m.sourceId);
        sameTables(when, actual, expected);
        const QString sourceRow =
            db->Rows(QStringLiteral("SELECT %1 FROM videosource WHERE sourceid=%2")
                         .arg(SourceColumns.join(QLatin1Char(',')))
                         .arg(m.sourceId))
                .value(0);
        if (sourceRow != rowText(SourceColumns, source, QStringLiteral("src.")))
            differ(
                QStringLiteral("%1: videosource holds %2, the user meant %3")
                    .arg(when, sourceRow, rowText(SourceColumns, source, QStringLiteral("src."))));
        const int orphans =
            db->Scalar(
                  QStringLiteral("SELECT COUNT(*) FROM channel_dvb d LEFT JOIN channel c ON "
                                 "c.chanid = d.chanid WHERE c.chanid IS NULL AND d.chanid <> 5000"))
                .toInt();
        if (orphans != 0)
            differ(
                QStringLiteral("%1: %2 channel_dvb rows have no channel").arg(when).arg(orphans));
    }

    /// Whether a list holds what Save would write: a row being edited, a new row typed
    /// into, or rows other than the last save's (a new row nobody typed into is none).
    static bool listDirty(const ListModel& l, const QList<Values>& saved)
    {
        if (l.editing && (!l.isNew || l.touched))
            return true;
        QList<Values> committed = l.rows;
        if (l.editing && l.isNew)
            committed.removeAt(l.current);
        return committed != saved;
    }

    static bool channelDirty(const ChannelState& m)
    {
        if (m.source.Dirty())
            return true;
        return listDirty(m.list, m.saved);
    }

    // Each field of `fields` the window shows, with its widget and the value the user
    // meant for it: from `upper` (the window's own row, "src." columns) or from `row`
    // (the list's current row).
    template <typename Check>
    static void forShownFields(QWidget& win, const QList<Field>& fields, const Values& upper,
                               const Values& row, Check check)
    {
        for (const Field& f : fields) {
            QWidget* w = win.findChild<QWidget*>(f.widget);
            if (w && w->isVisibleTo(&win))
                check(f, w,
                      f.column.startsWith(QLatin1String("src.")) ? upper.value(f.column)
                                                                 : row.value(f.column));
        }
    }

    void checkChannelWindow(TChannelWin& win, const ChannelState& m)
    {
        const Values row = m.list.Current();
        const Values source = m.source.Now();
        forShownFields(win, ChannelFields, source, row, [&](const Field& f, QWidget* w, Val value) {
            QString shown;
            if (auto* edit = qobject_cast<QLineEdit*>(w))
                shown = edit->text();
            else if (auto* combo = qobject_cast<QComboBox*>(w))
                shown = combo->currentText();
            const Val expected = value; // a stored value outside a list shows as it is
            if (!sameShown(shown, expected, f.kind == Kind::Number))
                differ(QStringLiteral("%1 shows \"%2\", the user meant \"%3\"")
                           .arg(f.widget, shown, Shown(expected)));
        });
        same(QStringLiteral("the channel ID"),
             win.findChild<QLabel*>(QStringLiteral("ChannelIDText"))->text(),
             Shown(row.value(QStringLiteral("chanid"))));
        TDBGrid* grid = win.ChannelGrid;
        if (!same(QStringLiteral("the grid's rows"), grid->Model()->rowCount(), m.list.Count()))
            return;
        const QStringList gridColumns{"channum", "callsign", "name"};
        for (int r = 0; r < m.list.Count(); ++r) {
            const Values v = r == m.list.current ? row : m.list.rows[r];
            for (int c = 0; c < gridColumns.size(); ++c) {
                const QString cell = grid->Model()->index(r, c).data().toString();
                const QString want = Shown(v.value(gridColumns[c]));
                if (cell != want)
                    differ(
                        QStringLiteral("grid row %1 column %2 shows \"%3\", the user meant \"%4\"")
                            .arg(r)
                            .arg(c)
                            .arg(cell, want));
            }
        }
        same(QStringLiteral("the grid's current row"), grid->currentIndex().row(), m.list.current);
        same(QStringLiteral("the modified mark"), win.isWindowModified(), channelDirty(m));
    }

    QString currentChanid(TChannelWin& win)
    {
        return win.findChild<QLabel*>(QStringLiteral("ChannelIDText"))->text();
    }

    void channelSaved(ChannelState& m)
    {
        const QList<Values> before = m.saved;
        const Values sourceBefore = m.source.saved;
        m.source.Save();
        m.list.Settle();
        m.saved = m.list.rows;
        // A Save that wrote is the history's newest entry: taking it back is to give the
        // tables as they were before it.
        const qint64 newest = writeHistory->Entries(1).value(0).id;
        if (newest != m.lastEntry) {
            m.lastEntry = newest;
            m.takeBackDue = true;
            m.beforeSave = before;
            m.sourceBeforeSave = sourceBefore;
        }
    }

    /// History... on the last Save, from the keyboard: Enter on the newest entry reviews
    /// taking it back, Enter applies; the tables are as before that Save.
    void takeBackLastSave(ChannelState& m)
    {
        act(QStringLiteral("History: take back the last Save"));
        THistoryWin history(writeHistory.get(), *module->Conn);
        history.Reload();
        history.show();
        bool reviewed = false;
        WhenModal(this, [&](QWidget* review) {
            reviewed = true;
            auto* table = review->findChild<QTableView*>(QStringLiteral("TakeBackTable"));
            QTest::keyClick(table, Qt::Key_Return);
        });
        history.EntryTable->setFocus();
        QTest::keyClick(history.EntryTable, Qt::Key_Return);
        if (!reviewed)
            differ(QStringLiteral("Enter on the newest entry opened no review"));
        compareChannelTables(m, m.beforeSave, m.sourceBeforeSave,
                             QStringLiteral("after taking back the last Save"));
        m.takeBackDue = false;
        m.lastEntry = writeHistory->Entries(1).value(0).id; // the take-back
    }

    // --- importing a scan ---------------------------------------------------------------

    /// One service of a channel file as the model writes it, and the digital values the
    /// user means it to give its channel.
    struct ScanService
    {
        QString name;
        bool radio = false;
        QStringList lines; // the dvbv5 entry's "KEY = value" lines
        Values digital;    // "dvb.<column>" -> value
    };

    static ScanService scanService(const QString& name, bool satellite, Dice& dice)
    {
        ScanService s;
        s.name = name;
        s.radio = dice.Chance(20);
        for (const QString& c : DVBColumns)
            s.digital[QStringLiteral("dvb.") + c] = Val();
        auto pick = [&](const QString& key, const QString& column,
                        const QList<std::pair<QString, QString>>& choices) {
            const auto& [text, stored] = dice.Pick(choices);
            s.lines << key + QStringLiteral(" = ") + text;
            s.digital[QStringLiteral("dvb.") + column] = stored;
        };
        const QString video = QString::number(100 + dice.Below(8000));
        const QString audio = QString::number(100 + dice.Below(8000));
        if (!s.radio)
            s.lines << QStringLiteral("VIDEO_PID = ") + video;
        s.lines << QStringLiteral("AUDIO_PID = ") + audio;
        s.digital[QStringLiteral("dvb.pids")] = s.radio ? audio : video + QLatin1Char(',') + audio;
        s.lines << QStringLiteral("SERVICE_ID = %1").arg(dice.Below(60000));
        if (satellite) {
            const QString freq = QString::number(10700000 + dice.Below(2000) * 1000);
            s.lines << QStringLiteral("DELIVERY_SYSTEM = DVBS")
                    << QStringLiteral("FREQUENCY = ") + freq;
            s.digital[QStringLiteral("dvb.freq")] = freq;
            pick(QStringLiteral("POLARIZATION"), QStringLiteral("pol"),
                 {{"HORIZONTAL", "H"}, {"VERTICAL", "V"}});
            s.lines << QStringLiteral("SYMBOL_RATE = 27500000");
            s.digital[QStringLiteral("dvb.symbol_rate")] = QStringLiteral("27500000");
            pick(QStringLiteral("INVERSION"), QStringLiteral("inversion"),
                 {{"AUTO", "AUTO"}, {"ON", "1"}, {"OFF", "0"}});
            return s;
        }
        const QString freq = QString::number(474000000 + dice.Below(48) * 8000000);
        s.lines << QStringLiteral("DELIVERY_SYSTEM = DVBT")
                << QStringLiteral("FREQUENCY = ") + freq;
        s.digital[QStringLiteral("dvb.freq")] = freq;
        pick(QStringLiteral("BANDWIDTH_HZ"), QStringLiteral("bandwidth"),
             {{"6000000", "6"}, {"7000000", "7"}, {"8000000", "8"}});
        pick(QStringLiteral("INVERSION"), QStringLiteral("inversion"),
             {{"AUTO", "AUTO"}, {"ON", "1"}, {"OFF", "0"}});
        pick(QStringLiteral("CODE_RATE_HP"), QStringLiteral("hp_code_rate"),
             {{"1/2", "1_2"}, {"2/3", "2_3"}, {"3/4", "3_4"}, {"7/8", "7_8"}, {"AUTO", "AUTO"}});
        pick(QStringLiteral("CODE_RATE_LP"), QStringLiteral("lp_code_rate"),
             {{"NONE", "NONE"}, {"1/2", "1_2"}});
        pick(QStringLiteral("MODULATION"), QStringLiteral("modulation"),
             {{"QPSK", "QPSK"}, {"QAM/16", "QAM_16"}, {"QAM/64", "QAM_64"}});
        pick(QStringLiteral("TRANSMISSION_MODE"), QStringLiteral("transmission_mode"),
             {{"2K", "2"}, {"8K", "8"}});
        // 1/128 is in no list of the column: stored as AUTO.
        pick(QStringLiteral("GUARD_INTERVAL"), QStringLiteral("guard_interval"),
             {{"1/4", "1_4"},
              {"1/8", "1_8"},
              {"1/16", "1_16"},
              {"1/32", "1_32"},
              {"1/128", "AUTO"}});
        pick(QStringLiteral("HIERARCHY"), QStringLiteral("hierarchy"),
             {{"NONE", "NONE"}, {"1", "1"}, {"2", "2"}, {"4", "4"}});
        return s;
    }

    /// Import...: a channel file of a few services, some named as channels of the source
    /// (as they are, or in other case and blanks), some renamed keeping a channel's PIDs,
    /// some new, now and then a radio service or a name listed twice; the review answered
    /// with Import (radio services included or not, the file's names taken or not, every
    /// channel not in the file ticked or not) or Cancel.
    void importFile(TChannelWin& win, ChannelState& m, Dice& dice)
    {
        const bool satellite = m.sourceId == 9;
        m.list.Settle();
        const QList<Values>& channels = m.list.rows;
        const auto value = [](const Values& v, const char* column) {
            return Shown(v.value(QLatin1String(column)));
        };
        QList<ScanService> services;
        const int count = 1 + dice.Below(4);
        for (int i = 0; i < count; ++i) {
            QString name = QStringLiteral("Scan ") + QString::number(dice.Below(1000));
            const Values* like = channels.isEmpty() || dice.Chance(40)
                                     ? nullptr
                                     : &channels[dice.Below(int(channels.size()))];
            const QString itsName = like ? value(*like, "name") : QString();
            if (like && !itsName.isEmpty() && itsName == itsName.trimmed())
                name = dice.Chance(70) ? itsName : itsName.toUpper().replace(" ", "  ");
            else if (!services.isEmpty() && dice.Chance(10))
                name = services.last().name;
            ScanService s = scanService(name, satellite, dice);
            // (PIDs a file can hold as they are: two numbers, written as numbers are.)
            const QStringList pids = like ? value(*like, "dvb.pids").split(',') : QStringList();
            const auto plain = [](const QString& pid) {
                bool number = false;
                const int n = pid.toInt(&number);
                return number && n >= 0 && n < 8192 && QString::number(n) == pid;
            };
            if (like && !itsName.isEmpty() && dice.Chance(20) && !s.radio &&
                like->value(QStringLiteral("dvb")) && pids.size() == 2 &&
                std::all_of(pids.begin(), pids.end(), plain)) {
                // Renamed, its PIDs kept.
                s.name = QStringLiteral("Renamed ") + QString::number(dice.Below(1000));
                s.lines.replaceInStrings(QRegularExpression("^VIDEO_PID = .*"),
                                         "VIDEO_PID = " + pids[0]);
                s.lines.replaceInStrings(QRegularExpression("^AUDIO_PID = .*"),
                                         "AUDIO_PID = " + pids[1]);
                s.digital[QStringLiteral("dvb.pids")] = pids.join(',');
            }
            services << s;
        }
        const QString path = scratch.filePath(QStringLiteral("scan.conf"));
        {
            QFile f(path);
            if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
                qFatal("cannot write %s", qPrintable(path));
            for (const ScanService& s : services)
                f.write(QStringLiteral("[%1]\n\t%2\n")
                            .arg(s.name, s.lines.join(QStringLiteral("\n\t")))
                            .toUtf8());
        }
        const bool radio = !dice.Chance(25);
        const bool cancel = dice.Chance(15);
        const bool takeNames = dice.Chance(30);
        const bool tickVanished = dice.Chance(25);
        // Now and then a service pointed at a channel of the user's choice, or at a new one
        // (its list opened by Enter); one that is imported, that is.
        int pickService = -1, pickChannel = -1;
        if (dice.Chance(25)) {
            pickService = dice.Below(int(services.size()));
            pickChannel =
                channels.isEmpty() || dice.Chance(25) ? -1 : dice.Below(int(channels.size()));
        }

        // What the user means: each service matched to the one channel of its name, else
        // of its name in other case and blanks (long or short), else of its PIDs; a new
        // channel numbered on after the highest number otherwise. A matched channel's
        // tuning values become the file's; the file's name too, when asked for and the
        // name differs. Channels no service matched are deleted when all are ticked.
        qlonglong number = 0;
        for (const Values& v : channels) {
            bool numeric = false;
            const qlonglong n = value(v, "channum").trimmed().toLongLong(&numeric);
            if (numeric)
                number = std::max(number, n);
        }
        const QStringList fileColumns{
            "pids",           "freq",         "pol",          "symbol_rate", "inversion",
            "bandwidth",      "hp_code_rate", "lp_code_rate", "modulation",  "transmission_mode",
            "guard_interval", "hierarchy"};
        struct Step
        {
            const ScanService* service = nullptr;
            bool skip = false;
            int existing = -1;
            bool sameName = false;
            QList<int> candidates = {}; // what the first rule that found several found
            bool picked = false;
        };
        QList<Step> steps;
        QStringList listed;
        const auto shortened = [](const QString& name) {
            return name.left(20);
        };
        for (const ScanService& s : services) {
            Step step{&s};
            if (listed.contains(shortened(s.name)))
                step.skip = true;
            else
                listed << shortened(s.name);
            steps << step;
        }
        if (pickService >= 0 &&
            (steps[pickService].skip || (services[pickService].radio && !radio)))
            pickService = -1; // (its row has no list)
        QList<bool> taken(channels.size(), false);
        if (pickService >= 0) {
            // The pick comes first: its channel is no one else's.
            steps[pickService].picked = true;
            steps[pickService].existing = pickChannel;
            if (pickChannel >= 0)
                taken[pickChannel] = true;
        }
        const std::function<bool(const Step&, const Values&)> rules[] = {
            [&](const Step& st, const Values& v) {
                return value(v, "name") == st.service->name ||
                       value(v, "name") == shortened(st.service->name);
            },
            [&](const Step& st, const Values& v) {
                const QString f = folded(st.service->name);
                return !f.isEmpty() &&
                       (folded(v.value("name")) == f || folded(v.value("callsign")) == f);
            },
            [&](const Step& st, const Values& v) {
                const QString p = Shown(st.service->digital.value("dvb.pids"));
                return v.value("dvb") && !p.isEmpty() && value(v, "dvb.pids") == p;
            }};
        for (int rule = 0; rule < 3; ++rule)
            for (Step& st : steps) {
                if (st.skip || st.existing >= 0 || st.picked)
                    continue;
                QList<int> found;
                for (int c = 0; c < channels.size(); ++c)
                    if (!taken[c] && rules[rule](st, channels[c]))
                        found << c;
                if (found.size() == 1) {
                    st.existing = found.front();
                    st.sameName = rule == 0;
                    taken[found.front()] = true;
                } else if (found.size() > 1 && st.candidates.isEmpty()) {
                    st.candidates = found;
                }
            }
        int adds = 0, updates = 0, renamed = 0, unchanged = 0, choose = 0, skips = 0;
        QList<Step> applied;
        for (Step& st : steps) {
            const ScanService& s = *st.service;
            const bool skipped = st.skip || (s.radio && !radio);
            if (skipped) {
                ++skips;
                continue;
            }
            if (st.existing < 0) {
                // Offered to choose from while one of the channels found is still free.
                if (std::any_of(st.candidates.begin(), st.candidates.end(),
                                [&](int c) { return !taken[c]; })) {
                    ++choose;
                    continue;
                }
                ++adds;
                applied << st;
                continue;
            }
            const Values& v = channels[st.existing];
            bool same = bool(v.value("dvb"));
            for (const QString& c : fileColumns)
                same = same && v.value("dvb." + c) == s.digital.value("dvb." + c);
            if (!st.sameName && value(v, "name") != s.name &&
                value(v, "name") != shortened(s.name)) {
                ++renamed;
                if (!same || takeNames)
                    applied << st;
            } else if (same) {
                ++unchanged;
            } else {
                ++updates;
                applied << st;
            }
        }
        QList<int> vanished;
        for (int c = 0; c < channels.size(); ++c)
            if (!taken[c])
                vanished << c;
        // (A radio service left out still matches its channel: it is in the file.)
        QString counts = QStringLiteral("%1 to add, %2 to update, %3 renamed, %4 unchanged, %5 "
                                        "not in the file (%6 to delete)")
                             .arg(adds)
                             .arg(updates)
                             .arg(renamed)
                             .arg(unchanged)
                             .arg(vanished.size())
                             .arg(tickVanished ? vanished.size() : 0);
        if (choose > 0)
            counts += QStringLiteral(", %1 to choose").arg(choose);
        if (skips > 0)
            counts += QStringLiteral(", %1 to skip").arg(skips);
        const int deletes = tickVanished ? int(vanished.size()) : 0;
        const bool imports = !cancel && applied.size() + deletes > 0;
        const QString pick =
            pickService < 0 ? QString()
            : pickChannel < 0
                ? QStringLiteral("service %1 picked as a new channel, ").arg(pickService)
                : QStringLiteral("service %1 picked for row %2, ")
                      .arg(pickService)
                      .arg(pickChannel);
        act(QStringLiteral("Ctrl+I, a file of %1 services (%2), %3%4%5%6%7")
                .arg(services.size())
                .arg(counts, radio ? "" : "radio left out, ", takeNames ? "names taken, " : "",
                     pick, tickVanished ? "all not in the file ticked, " : "",
                     imports ? "Import" : "Cancel"));

        QString shownCounts;
        fileAction<TImportWin>(win, path, Qt::Key_I, [&](TImportWin& review) {
            if (!radio)
                review.RadioCheck->click();
            if (takeNames)
                review.TakeNamesCheck->click();
            if (pickService >= 0) {
                review.Table->setFocus();
                review.Table->setCurrentIndex(review.Table->model()->index(pickService, 0));
                QTest::keyClick(review.Table, Qt::Key_Return);
                auto* combo = review.Table->findChild<QComboBox*>(QStringLiteral("ChannelCombo"));
                if (!combo) {
                    differ(QStringLiteral("Enter opened no list of channels"));
                } else {
                    const QModelIndex entry =
                        combo->model()->index(std::max(0, combo->findData(pickChannel)), 0);
                    combo->view()->setCurrentIndex(entry);
                    QTest::keyClick(combo->view(), Qt::Key_Return);
                    QApplication::processEvents(); // the rows planned anew
                }
            }
            if (tickVanished && review.TickVanishedButton->isEnabled())
                review.TickVanishedButton->click();
            shownCounts = review.CountsLabel->text();
            if (imports)
                review.ImportButton->click();
            else
                QTest::keyClick(&review, Qt::Key_Escape);
        });
        if (shownCounts != counts) {
            differ(QStringLiteral("the review counts \"%1\", the user expects \"%2\"")
                       .arg(shownCounts, counts));
            return;
        }
        if (!imports)
            return;

        // Updates in the file's order, then the deletions, then the new channels, which
        // take their ids as a new row does: read them off the list.
        const auto setTuning = [&](Values& row, const ScanService& s) {
            if (!row.value(QStringLiteral("dvb"))) // a new digital row: nothing kept
                for (const QString& c : DVBColumns)
                    row[QStringLiteral("dvb.") + c].reset();
            for (const QString& c : fileColumns)
                row[QStringLiteral("dvb.") + c] = s.digital.value(QStringLiteral("dvb.") + c);
            row[QStringLiteral("dvb")] = QStringLiteral("1");
        };
        for (const Step& st : applied)
            if (st.existing >= 0) {
                Values& row = m.list.rows[st.existing];
                if (takeNames && !st.sameName && value(row, "name") != st.service->name &&
                    value(row, "name") != shortened(st.service->name))
                    row[QStringLiteral("name")] = shortened(st.service->name);
                setTuning(row, *st.service);
                m.list.current = st.existing;
            }
        if (deletes > 0) {
            for (qsizetype i = vanished.size() - 1; i >= 0; --i)
                m.list.rows.removeAt(vanished[i]);
            m.list.current =
                m.list.rows.isEmpty() ? -1 : std::min(vanished.first(), m.list.Count() - 1);
        }
        const int chanid = win.ChannelDataSet->FieldIndex(QStringLiteral("chanid"));
        for (const Step& st : applied) {
            if (st.existing >= 0)
                continue;
            const int at = m.list.Count();
            Values v = freshChannel(m, win.ChannelDataSet->VisibleValue(at, chanid).toString());
            v[QStringLiteral("callsign")] = shortened(st.service->name);
            v[QStringLiteral("name")] = shortened(st.service->name);
            v[QStringLiteral("channum")] = QString::number(++number);
            setTuning(v, *st.service);
            m.list.rows << v;
            m.list.current = at;
        }
    }

    // A name as the listings match compares it, for the letters, digits and blanks the
    // random user types: lower case, letters and digits only.
    static QString folded(const Val& name)
    {
        QString f;
        for (const QChar c : Shown(name).toLower())
            if (c.isLetterOrNumber())
                f += c;
        return f;
    }

    /// Listings...: a channel list naming some of the source's channels (now and then
    /// with other case and blanks, twice, or not at all), the review answered with picks
    /// and unticks, "Fill empty icons" now and then off, then Apply or Cancel. The user
    /// expects exactly the channels whose long name (else short name) names one listed
    /// channel, and no id yet, to be ticked.
    void matchListings(TChannelWin& win, ChannelState& m, Dice& dice)
    {
        struct Listed
        {
            QString id, name, icon;
        };
        QList<Listed> listed;
        const int count = 1 + dice.Below(5);
        for (int i = 0; i < count; ++i) {
            QString name = QStringLiteral("Listed %1").arg(dice.Below(100));
            if (m.list.Count() > 0 && dice.Chance(70)) {
                const Values& v = m.list.rows[dice.Below(m.list.Count())];
                name = Shown(v.value(dice.Chance(80) ? "name" : "callsign"));
                if (dice.Chance(30))
                    name = name.toUpper().replace(QLatin1Char(' '), QStringLiteral("  "));
            }
            if (folded(name).isEmpty())
                continue;
            listed << Listed{QStringLiteral("m%1.listed").arg(dice.Below(50)), name,
                             dice.Chance(50) ? QStringLiteral("/icons/%1.png").arg(i) : QString()};
        }
        // Ids are unique in a listings file: a repeated one names the channel above.
        for (int i = 0; i < listed.size(); ++i)
            for (int j = 0; j < i; ++j)
                if (listed[j].id == listed[i].id) {
                    listed.removeAt(i--);
                    break;
                }
        if (listed.isEmpty())
            return;
        m.list.Settle(); // once the file is read, before the review
        const QString path = scratch.filePath(QStringLiteral("listings.xml"));
        {
            QFile f(path);
            if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
                qFatal("cannot write %s", qPrintable(path));
            QString xml = QStringLiteral("<tv>");
            for (const Listed& l : listed)
                xml +=
                    QStringLiteral("<channel id=\"%1\"><display-name>%2</display-name>%3"
                                   "</channel>")
                        .arg(l.id, l.name.toHtmlEscaped(),
                             l.icon.isEmpty() ? QString()
                                              : QStringLiteral("<icon src=\"%1\"/>").arg(l.icon));
            f.write((xml + QStringLiteral("</tv>")).toUtf8());
        }

        // What the user expects ticked, and what the review's answers change.
        auto fits = [&](const Val& name) {
            QList<int> found;
            for (int i = 0; i < listed.size(); ++i)
                if (!folded(name).isEmpty() && folded(listed[i].name) == folded(name))
                    found << i;
            return found;
        };
        const bool fillIcons = !dice.Chance(20);
        auto fillsIcon = [&](const Values& v, int l) {
            const QString icon = Shown(v.value(QStringLiteral("icon"))).trimmed();
            return fillIcons && (icon.isEmpty() || icon == QLatin1String("none")) &&
                   !listed[l].icon.isEmpty();
        };
        QList<int> picked(m.list.Count(), -1);
        QList<bool> ticked(m.list.Count(), false);
        for (int r = 0; r < m.list.Count(); ++r) {
            const Values& v = m.list.rows[r];
            QList<int> f = fits(v.value(QStringLiteral("name")));
            if (f.isEmpty())
                f = fits(v.value(QStringLiteral("callsign")));
            if (f.size() == 1)
                picked[r] = f.first();
            ticked[r] =
                f.size() == 1 && Shown(v.value(QStringLiteral("xmltvid"))).trimmed().isEmpty();
        }
        QList<std::pair<int, int>> picks; // row, listed channel (-1: none)
        QList<int> unticks;
        for (int i = dice.Below(3); i > 0 && m.list.Count() > 0; --i)
            picks << std::pair{dice.Below(m.list.Count()), dice.Below(int(listed.size()) + 1) - 1};
        for (int i = dice.Below(2); i > 0 && m.list.Count() > 0; --i)
            unticks << dice.Below(m.list.Count());
        for (const auto& [r, l] : picks) {
            picked[r] = l;
            const Values& v = m.list.rows[r];
            ticked[r] =
                l >= 0 && (listed[l].id != Shown(v.value(QStringLiteral("xmltvid"))).trimmed() ||
                           fillsIcon(v, l));
        }
        for (int r : unticks)
            ticked[r] = false;
        const int fills = int(ticked.count(true));
        const bool apply = fills > 0 && !dice.Chance(15);
        act(QStringLiteral("Ctrl+L, %1 listed channels, picks %2, unticks %3%4, %5")
                .arg(listed.size())
                .arg([&] {
                    QStringList p;
                    for (const auto& [r, l] : picks)
                        p << QStringLiteral("%1:%2").arg(r).arg(l);
                    return p.join(' ');
                }())
                .arg([&] {
                    QStringList u;
                    for (int r : unticks)
                        u << QString::number(r);
                    return u.join(' ');
                }())
                .arg(fillIcons ? "" : ", icons not filled", apply ? "Apply" : "Cancel"));

        QString shownCounts;
        fileAction<TListingsWin>(win, path, Qt::Key_L, [&](TListingsWin& review) {
            if (!fillIcons)
                review.FillIconsCheck->click();
            for (const auto& [r, l] : picks)
                review.Pick(r, l);
            for (int r : unticks)
                review.SetTicked(r, false);
            shownCounts = review.CountsLabel->text();
            if (apply)
                review.ApplyButton->click();
            else
                QTest::keyClick(&review, Qt::Key_Escape);
        });
        const QString expectedFills =
            fills == 1 ? QStringLiteral("Apply fills in 1 channel.")
                       : QStringLiteral("Apply fills in %1 channels.").arg(fills);
        if (!shownCounts.endsWith(expectedFills)) {
            differ(QStringLiteral("the review says \"%1\", the user expects \"%2\"")
                       .arg(shownCounts, expectedFills));
            return;
        }
        if (!apply)
            return;
        for (int r = 0; r < m.list.Count(); ++r) {
            if (!ticked[r])
                continue;
            Values& v = m.list.rows[r];
            if (fillsIcon(v, picked[r]))
                v[QStringLiteral("icon")] = listed[picked[r]].icon;
            v[QStringLiteral("xmltvid")] = listed[picked[r]].id;
        }
    }

    /// Types into the filter field above the channel list: the grid shows the rows
    /// whose short name, long name or number contains the text (ignoring case), and the
    /// row being edited; then Escape clears it. Nothing of the rows changes.
    void filterChannels(TChannelWin& win, ChannelState& m, Dice& dice)
    {
        QString text = dice.Text().left(2);
        const QList<Values> rows = m.list.Saved();
        if (!rows.isEmpty() && dice.Chance(60)) {
            const QString name = Shown(dice.Pick(rows).value(QStringLiteral("name")));
            const int from = dice.Below(int(name.size()));
            text = name.mid(from, 1 + dice.Below(3)).toUpper();
        }
        if (text.trimmed().isEmpty())
            text = QStringLiteral("e");
        act(QStringLiteral("type \"%1\" into the channel filter, then Escape").arg(text));
        effect.reselect = true; // the grid's rows are read anew as they are filtered
        auto* filter = win.findChild<QLineEdit*>(QStringLiteral("ChannelFilterEdit"));
        filter->setFocus();
        QTest::keyClicks(filter, text);
        QStringList expected;
        for (int r = 0; r < m.list.Count(); ++r) {
            const Values v = r == m.list.current ? m.list.Current() : m.list.rows[r];
            bool match = m.list.editing && r == m.list.current;
            for (const char* column : {"callsign", "name", "channum"})
                match = match || Shown(v.value(QLatin1String(column)))
                                     .contains(filter->text(), Qt::CaseInsensitive);
            if (match)
                expected << Shown(v.value(QStringLiteral("name")));
        }
        QStringList shown;
        for (int r = 0; r < win.ChannelGrid->Model()->rowCount(); ++r)
            shown << win.ChannelGrid->Model()->index(r, 2).data().toString();
        if (shown != expected)
            differ(QStringLiteral("the filter \"%1\" shows %2, the user expects %3")
                       .arg(filter->text(), shown.join('/'), expected.join('/')));
        QTest::keyClick(filter, Qt::Key_Escape);
        if (!filter->text().isEmpty() || !win.isVisible())
            differ(QStringLiteral("Escape in the filter did not just clear it"));
    }

    /// Selects channels in the grid as a user does: a click then a Shift+click, a click
    /// then Ctrl+clicks, Ctrl+A, or a click then Shift+Down or Shift+Up.
    void selectChannels(TChannelWin& win, ChannelState& m, Dice& dice)
    {
        if (m.list.Count() == 0)
            return;
        TDBGrid* grid = win.ChannelGrid;
        effect.selection = true;
        auto click = [&](int r, Qt::KeyboardModifiers modifiers) {
            const QModelIndex index = grid->Model()->index(r, 1);
            grid->scrollTo(index);
            QTest::mouseClick(grid->viewport(), Qt::LeftButton, modifiers,
                              grid->visualRect(index).center());
            m.list.MoveTo(r);
        };
        auto keyOf = [&](int r) {
            return m.list.rows[r].value(m.list.key);
        };
        const int how = dice.Below(4);
        if (how == 2) {
            act(QStringLiteral("Ctrl+A in the grid"));
            grid->setFocus();
            QTest::keyClick(grid, Qt::Key_A, Qt::ControlModifier);
            m.list.selected.clear();
            for (int r = 0; r < m.list.Count(); ++r)
                m.list.selected << (r == m.list.current ? shownKey(m.list) : keyOf(r));
            return;
        }
        // A plain click first: it settles the row being edited (a new row nobody typed
        // into goes) and selects the row clicked alone.
        // (Not on a new row nobody typed into: it would go under the pointer.)
        int first = dice.Below(m.list.Count());
        if (m.list.Blank() && first == m.list.current) {
            if (m.list.Count() == 1)
                return;
            first = (first + 1) % m.list.Count();
        }
        click(first, Qt::NoModifier);
        m.list.SelectCurrent();
        const int from = m.list.current;
        QStringList what{QStringLiteral("click row %1").arg(first)};
        if (how == 0) {
            const int to = dice.Below(m.list.Count());
            what << QStringLiteral("Shift+click row %1").arg(to);
            click(to, Qt::ShiftModifier);
            m.list.selected.clear();
            for (int r = std::min(from, to); r <= std::max(from, to); ++r)
                m.list.selected << keyOf(r);
        } else if (how == 1) {
            for (int i = 1 + dice.Below(3); i > 0; --i) {
                const int r = dice.Below(m.list.Count());
                what << QStringLiteral("Ctrl+click row %1").arg(r);
                click(r, Qt::ControlModifier);
                const Val k = keyOf(r);
                if (m.list.selected.contains(k))
                    m.list.selected.removeAll(k);
                else
                    m.list.selected << k;
            }
        } else {
            const bool down = dice.Chance(60);
            const int steps = 1 + dice.Below(4);
            what << QStringLiteral("Shift+%1 %2 times").arg(down ? "Down" : "Up").arg(steps);
            grid->setFocus();
            for (int i = 0; i < steps; ++i) {
                QTest::keyClick(grid, down ? Qt::Key_Down : Qt::Key_Up, Qt::ShiftModifier);
                const int to = m.list.current + (down ? 1 : -1);
                if (to >= 0 && to < m.list.Count())
                    m.list.MoveTo(to);
            }
            m.list.selected.clear();
            for (int r = std::min(from, m.list.current); r <= std::max(from, m.list.current); ++r)
                m.list.selected << keyOf(r);
        }
        act(QStringLiteral("select: ") + what.join(QStringLiteral(", ")));
    }

    /// Renumber... (Ctrl+R or its button) on the selected channels: the first number as
    /// offered or another, a step, then Renumber or Cancel; a number too long for the
    /// column leaves Renumber disabled, and the user cancels.
    void renumber(TChannelWin& win, ChannelState& m, Dice& dice)
    {
        // The window settles the row being edited first; a new row nobody typed into
        // goes, and the grid selects the current row alone.
        const bool blank = m.list.Blank();
        m.list.Settle();
        if (blank)
            m.list.SelectCurrent();
        const QList<int> rows = m.list.SelectedRows();
        qlonglong offered = -1;
        for (int r : rows) {
            bool whole = false;
            const qlonglong n =
                Shown(m.list.rows[r].value(QStringLiteral("channum"))).trimmed().toLongLong(&whole);
            if (whole && n >= 0 && (offered < 0 || n < offered))
                offered = n;
        }
        offered = offered < 0 ? 1 : std::min<qlonglong>(offered, 999999);
        const qlonglong first = dice.Chance(50)   ? offered
                                : dice.Chance(20) ? 99990 + dice.Below(9)
                                                  : dice.Below(1000);
        const qlonglong step = dice.Chance(70) ? 1 : 1 + dice.Below(9);
        QStringList numbers;
        bool tooLong = false;
        for (int i = 0; i < rows.size(); ++i) {
            numbers << QString::number(first + i * step);
            tooLong = tooLong || numbers.last().size() > 5;
        }
        const bool cancel = tooLong || dice.Chance(15);
        const bool button = dice.Chance(40);
        act(QStringLiteral("%1, %2 channels from %3 by %4, %5")
                .arg(button ? "the Renumber button" : "Ctrl+R")
                .arg(rows.size())
                .arg(first)
                .arg(step)
                .arg(cancel ? "Cancel" : "Renumber"));
        if (rows.isEmpty()) {
            QTest::mouseClick(win.RenumberButton, Qt::LeftButton);
            return;
        }
        const QString summary = rows.size() == 1
                                    ? QStringLiteral("1 channel: %1").arg(numbers.first())
                                    : QStringLiteral("%1 channels: %2 to %3")
                                          .arg(rows.size())
                                          .arg(numbers.first(), numbers.last());
        QString shown;
        bool offeredFirst = false;
        WhenModal(this, [&](QWidget* modal) {
            auto* dialog = qobject_cast<TRenumberWin*>(modal);
            if (!dialog) {
                modal->hide();
                return;
            }
            offeredFirst = dialog->FirstEdit->value() == offered;
            dialog->FirstEdit->setValue(int(first));
            dialog->StepEdit->setValue(int(step));
            shown = dialog->SummaryLabel->text();
            if (dialog->RenumberButton->isEnabled() == tooLong)
                differ(QStringLiteral("Renumber is %1 for numbers up to %2")
                           .arg(tooLong ? "enabled" : "disabled", numbers.last()));
            if (cancel)
                QTest::keyClick(dialog, Qt::Key_Escape);
            else
                dialog->RenumberButton->click();
        });
        activate(win);
        if (button) {
            QTest::mouseClick(win.RenumberButton, Qt::LeftButton);
        } else {
            QWidget* target = win.focusWidget() ? win.focusWidget() : &win;
            QTest::keyClick(target, Qt::Key_R, Qt::ControlModifier);
        }
        activate(win); // as a window manager does when the dialog has gone
        settleEvents();
        if (!offeredFirst)
            differ(QStringLiteral("Renumber offered another first number than %1").arg(offered));
        if (shown != summary)
            differ(QStringLiteral("Renumber says \"%1\", the user expects \"%2\"")
                       .arg(shown, summary));
        if (cancel)
            return;
        for (int i = 0; i < rows.size(); ++i)
            m.list.rows[rows[i]][QStringLiteral("channum")] = numbers[i];
    }

    /// Export... (Ctrl+E or its button) to a CSV file or a DVB channel file, or cancelled:
    /// the selected channels (all of them when one is selected) as the window holds them.
    /// Exporting changes nothing: no mark, no step, no row; the file holds the channels.
    void exportChannels(TChannelWin& win, ChannelState& m, Dice& dice)
    {
        const QList<int> rows = toolRows(m);
        int tuned = 0;
        for (int r : rows)
            tuned +=
                m.list.rows[r].value(QStringLiteral("dvb")) &&
                        !Shown(m.list.rows[r].value(QStringLiteral("dvb.freq"))).trimmed().isEmpty()
                    ? 1
                    : 0;
        // A channel file only when it would hold a channel: else the program says so.
        const bool csv = !m.digital || tuned == 0 || dice.Chance(50);
        const bool cancel = dice.Chance(10);
        const bool button = dice.Chance(40);
        const QString path =
            scratch.filePath(csv ? QStringLiteral("export.csv") : QStringLiteral("export.conf"));
        QFile::remove(path);
        act(QStringLiteral("%1, %2 channels to %3, %4")
                .arg(button ? "the Export button" : "Ctrl+E")
                .arg(rows.size())
                .arg(csv ? "CSV" : "a channel file", cancel ? "cancelled" : "saved"));
        TChannelWin::ChooseExportFile = [&](QWidget*, const QString&) {
            return cancel ? QString() : path;
        };
        // Channels a channel file leaves out are told in a box.
        const bool told = !cancel && !csv && tuned < rows.size();
        MessageBox::ClearShown();
        if (told)
            MessageBox::QueueAnswer(MessageBox::Button::Ok);
        activate(win);
        if (button) {
            QTest::mouseClick(win.ExportButton, Qt::LeftButton);
        } else {
            QWidget* target = win.focusWidget() ? win.focusWidget() : &win;
            QTest::keyClick(target, Qt::Key_E, Qt::ControlModifier);
        }
        TChannelWin::ChooseExportFile = nullptr;
        if (MessageBox::ShownBoxes().size() != (told ? 1 : 0))
            differ(QStringLiteral("the export showed %1 boxes, the user expects %2")
                       .arg(MessageBox::ShownBoxes().size())
                       .arg(told ? 1 : 0));
        if (cancel) {
            if (QFile::exists(path))
                differ(QStringLiteral("a cancelled export wrote %1").arg(path));
            return;
        }
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly)) {
            differ(QStringLiteral("the export wrote no file"));
            return;
        }
        const QByteArray bytes = file.readAll();
        if (!csv) {
            if (bytes.count("\n[") + (bytes.startsWith('[') ? 1 : 0) != tuned)
                differ(QStringLiteral("the channel file holds %1 channels, the user expects %2")
                           .arg(bytes.count("\n[") + (bytes.startsWith('[') ? 1 : 0))
                           .arg(tuned));
            return;
        }
        QList<QStringList> expected;
        for (int r : rows) {
            QStringList fields;
            for (const char* column : {"channum", "callsign", "name", "xmltvid", "icon"})
                fields << Shown(m.list.rows[r].value(QLatin1String(column)));
            expected << fields;
        }
        QList<QStringList> read = ReadCsv(QString::fromUtf8(bytes)).mid(1);
        for (QStringList& fields : read)
            fields = fields.mid(0, 5);
        for (int i = 0; i < std::max(read.size(), expected.size()); ++i)
            if (read.value(i) != expected.value(i)) {
                differ(QStringLiteral("the CSV's channel %1 is %2, the user expects %3")
                           .arg(i + 1)
                           .arg(read.value(i).join('|'), expected.value(i).join('|')));
                return;
            }
    }

    /// The channels a line-up tool works on: the selected ones when more than one is,
    /// else all; the window settles the row being edited first, as for Renumber.
    static QList<int> toolRows(ChannelState& m)
    {
        const bool blank = m.list.Blank();
        m.list.Settle();
        if (blank)
            m.list.SelectCurrent();
        QList<int> rows = m.list.SelectedRows();
        if (rows.size() <= 1) {
            rows.clear();
            for (int r = 0; r < m.list.Count(); ++r)
                rows << r;
        }
        return rows;
    }

    /// Icons...: a picon folder with pictures named after some of the channels (as
    /// typed, or in capitals), now and then a text file named as a picture; the review
    /// taken as proposed, with every row ticked, or cancelled. The user expects each
    /// channel whose long name (else short name) names a picture to get its path when
    /// it has no icon, and, with every row ticked, when it has another.
    void matchIcons(TChannelWin& win, ChannelState& m, Dice& dice)
    {
        const QList<int> rows = toolRows(m);
        QDir folder(scratch.filePath(QStringLiteral("icons")));
        folder.removeRecursively();
        folder.mkpath(QStringLiteral("."));
        QHash<QString, std::pair<QString, bool>> files; // folded name -> path, a picture
        QImage picture(30, 18, QImage::Format_RGB32);
        picture.fill(Qt::darkCyan);
        for (int i = dice.Below(6); i > 0; --i) {
            QString name = QStringLiteral("other %1").arg(dice.Below(100));
            if (m.list.Count() > 0 && dice.Chance(75)) {
                const Values& v = m.list.rows[dice.Below(m.list.Count())];
                name = Shown(v.value(dice.Chance(80) ? "name" : "callsign"));
                if (dice.Chance(30))
                    name = name.toUpper();
            }
            const QString f = folded(name);
            if (f.isEmpty() || files.contains(f))
                continue;
            const QString path = folder.filePath(
                (name.contains(QLatin1Char('/')) || dice.Chance(50) ? f : name) + ".png");
            const bool isPicture = !dice.Chance(15);
            QFile file(path);
            if (!file.open(QIODevice::WriteOnly) ||
                (isPicture ? !picture.save(&file, "PNG") : file.write("text") != 4))
                qFatal("cannot write %s", qPrintable(path));
            // A hidden file (".x.png") is no picture of the folder's: the match leaves it
            // out, as a file manager does (and the "._x.png" copies some systems leave).
            if (!QFileInfo(path).fileName().startsWith(QLatin1Char('.')))
                files.insert(f, {path, isPicture});
        }
        const bool everyRow = dice.Chance(30);
        const bool cancel = dice.Chance(15);
        const bool button = dice.Chance(50);

        // What the user expects filled in.
        QList<std::pair<int, QString>> fills;
        for (int r : rows) {
            const Values& v = m.list.rows[r];
            QString f = folded(v.value(QStringLiteral("name")));
            if (!files.contains(f))
                f = folded(v.value(QStringLiteral("callsign")));
            if (f.isEmpty() || !files.contains(f) || !files[f].second)
                continue;
            const QString icon = Shown(v.value(QStringLiteral("icon"))).trimmed();
            const QString& path = files[f].first;
            if (icon.isEmpty() || icon == QLatin1String("none") || (everyRow && icon != path))
                fills << std::pair{r, path};
        }
        act(QStringLiteral("%1, %2 channels, %3 files, %4")
                .arg(button ? "the Icons button" : "Ctrl+Shift+I")
                .arg(rows.size())
                .arg(files.size())
                .arg(cancel     ? "cancelled"
                     : everyRow ? "every row ticked, Apply"
                                : "Apply"));
        activate(win);
        TChannelWin::ChooseFolder = [&folder](QWidget*) {
            return folder.path();
        };
        QString shownCounts;
        WhenModal(this, [&](QWidget* modal) {
            auto* review = qobject_cast<TIconsWin*>(modal);
            if (!review) {
                modal->hide();
                return;
            }
            if (everyRow)
                for (int i = 0; i < review->Table->model()->rowCount(); ++i)
                    review->SetTicked(i, true);
            shownCounts = review->CountsLabel->text();
            if (cancel || !review->ApplyButton->isEnabled())
                QTest::keyClick(review, Qt::Key_Escape);
            else
                review->ApplyButton->click();
        });
        if (button) {
            QTest::mouseClick(win.IconsButton, Qt::LeftButton);
        } else {
            QWidget* target = win.focusWidget() ? win.focusWidget() : &win;
            QTest::keyClick(target, Qt::Key_I, Qt::ControlModifier | Qt::ShiftModifier);
        }
        TChannelWin::ChooseFolder = nullptr;
        activate(win);
        const QString expected =
            fills.size() == 1 ? QStringLiteral("Apply fills in 1 channel.")
                              : QStringLiteral("Apply fills in %1 channels.").arg(fills.size());
        if (!shownCounts.endsWith(expected)) {
            differ(QStringLiteral("the review says \"%1\", the user expects \"%2\"")
                       .arg(shownCounts, expected));
            return;
        }
        if (cancel)
            return;
        for (const auto& [r, path] : fills)
            m.list.rows[r][QStringLiteral("icon")] = path;
    }

    // One random user action on the channel editor, with what it means for the history
    // and the selection; false when the window closed.
    bool channelAction(TChannelWin& win, ChannelState& m, Dice& dice)
    {
        const Snapshot pre = Snap(m.source, m.list);
        const int count = m.list.Count();
        const Val key = shownKey(m.list);
        const QList<Val> keys = rowKeys(m.list);
        effect = {};
        if (!channelStep(win, m, dice))
            return false;
        afterAction(m.hist, m.source, m.list, pre, count, key, keys);
        return true;
    }

    bool channelStep(TChannelWin& win, ChannelState& m, Dice& dice)
    {
        auto* nav = win.ChannelNavigator;
        if (m.digital && dice.Chance(4)) {
            importFile(win, m, dice);
            return true;
        }
        if (dice.Chance(4)) {
            filterChannels(win, m, dice);
            return true;
        }
        if (dice.Chance(4)) {
            matchListings(win, m, dice);
            return true;
        }
        if (dice.Chance(5)) {
            selectChannels(win, m, dice);
            return true;
        }
        if (dice.Chance(4)) {
            renumber(win, m, dice);
            return true;
        }
        if (dice.Chance(3)) {
            exportChannels(win, m, dice);
            return true;
        }
        if (dice.Chance(3)) {
            matchIcons(win, m, dice);
            return true;
        }
        if (dice.Chance(7)) {
            undoOrRedo(win, m.source, m.list, m.hist, win.UndoButton, win.RedoButton,
                       win.ChannelGrid, dice);
            return true;
        }
        const int roll = dice.Below(100);
        if (roll < 34) {
            // Typing into a visible field.
            QList<Field> fields;
            for (const Field& f : ChannelFields)
                if ((f.kind == Kind::Text || f.kind == Kind::Number || f.kind == Kind::Choice) &&
                    win.findChild<QWidget*>(f.widget)->isVisibleTo(&win))
                    fields << f;
            const Field f = dice.Pick(fields);
            Val value;
            if (f.kind == Kind::Choice) {
                auto* combo = win.findChild<QComboBox*>(f.widget);
                // Down goes to the entry after the value shown; from a value outside the
                // list (or none), to the first.
                const Val now = f.column.startsWith(QLatin1String("src."))
                                    ? m.source.Now().value(f.column)
                                    : m.list.Current().value(f.column);
                const int at = int(f.items.indexOf(Shown(now)));
                const auto next =
                    at + 1 < f.items.size() ? std::optional<int>(at + 1) : std::nullopt;
                act(QStringLiteral("Down in %1").arg(f.widget));
                pressDown(combo);
                effect.typed = f.widget;
                effect.finished = true; // a choice is made at once
                if (!next)
                    return true;
                value = f.items[*next];
            } else {
                const QString typed = f.kind == Kind::Number ? dice.Number() : dice.Text();
                const bool clear = dice.Chance(30);
                const bool enter = dice.Chance(20);
                act(QStringLiteral("type \"%1\" into %2%3%4")
                        .arg(typed, f.widget, clear ? " after clearing it" : "",
                             enter ? ", Enter" : ""));
                const Typing t = typeInto(win.findChild<QLineEdit*>(f.widget), typed, clear,
                                          f.limit, f.kind == Kind::Number, enter);
                effect.typed = f.widget;
                effect.finished = enter;
                if (!t.wrote)
                    return true;
                value = t.value;
            }
            if (f.column.startsWith(QLatin1String("src."))) {
                m.source.Write(f.column, value);
            } else if (f.column.startsWith(QLatin1String("dvb."))) {
                m.list.BeginEdit(freshChannel(m, currentChanid(win)));
                m.list.touched = true;
                if (!m.list.pending.value(QStringLiteral("dvb")))
                    m.list.pending[QStringLiteral("dvb")] = QStringLiteral("1");
                m.list.pending[f.column] = value;
            } else {
                m.list.Write(f.column, value, freshChannel(m, currentChanid(win)));
            }
        } else if (roll < 46) {
            // A grid cell: F2, type, then Return, Escape, Tab or Ctrl+S.
            if (!m.list.HasRow())
                return true;
            // The columns "No.", "Short" and "Long name", and what a cell of each takes.
            const QStringList columns{"channum", "callsign", "name"};
            const QList<int> limits{5, 20, 20};
            const int column = dice.Below(3);
            TDBGrid* grid = win.ChannelGrid;
            effect.reselect = true; // the cell clicked selects its row alone
            grid->setFocus();
            const QModelIndex cell = grid->Model()->index(m.list.current, column);
            grid->scrollTo(cell);
            QTest::mouseClick(grid->viewport(), Qt::LeftButton, {},
                              grid->visualRect(cell).center());
            const QString start = grid->Model()->index(m.list.current, column).data().toString();
            const QString typed = dice.Chance(20) ? QString() : dice.Text();
            const int end = dice.Below(column < 2 ? 4 : 3); // Tab only before the last column
            const QStringList ends{"Return", "Escape", "Ctrl+S", "Tab"};
            act(QStringLiteral("F2 on grid column %1, type \"%2\", %3")
                    .arg(column)
                    .arg(typed, ends[end]));
            QTest::keyClick(grid, Qt::Key_F2);
            QWidget* editor = grid->focusWidget();
            // F2 selects the cell's text: the first key typed replaces it.
            Typing t = typed.isEmpty()
                           ? Typing{start, false, {}}
                           : SimulateTyping(QString(), typed, false,
                                            std::max<int>(limits[column], start.size()), false);
            if (!typed.isEmpty()) {
                QTest::keyClicks(editor, typed);
                t.wrote = t.text != start;
            }
            const QString col = columns[column];
            switch (end) {
            case 0:
                QTest::keyClick(editor, Qt::Key_Return);
                break;
            case 1:
                QTest::keyClick(editor, Qt::Key_Escape);
                t.wrote = false;
                break;
            case 2:
                QTest::keyClick(editor, Qt::Key_S, Qt::ControlModifier);
                break;
            case 3:
                QTest::keyClick(editor, Qt::Key_Tab);
                settleEvents();
                if (QWidget* next = grid->focusWidget(); next && next != grid)
                    QTest::keyClick(next, Qt::Key_Escape); // leave the next cell as it is
                break;
            }
            settleEvents();
            if (t.wrote && t.text != start)
                m.list.Write(col, t.text, freshChannel(m, currentChanid(win)));
            if (end == 2) {
                effect.saved = true;
                channelSaved(m);
                compareChannelTables(m, m.saved, m.source.saved,
                                     QStringLiteral("after Ctrl+S in a cell"));
            }
        } else if (roll < 56) {
            moveByNavigator(nav, m.list, dice);
        } else if (roll < 62) {
            clickGridRow(win.ChannelGrid, m.list, dice);
        } else if (roll < 69) {
            act(QStringLiteral("navigator Insert"));
            QTest::mouseClick(nav->ButtonFor(TDBNavigator::Insert), Qt::LeftButton);
            const QString chanid = currentChanid(win);
            if (chanid == QLatin1String("5000"))
                differ(QStringLiteral("a new channel took chanid 5000 of an orphaned digital row"));
            m.list.Insert(freshChannel(m, chanid));
        } else if (roll < 73) {
            act(QStringLiteral("navigator Delete (%1 selected)").arg(m.list.SelectedRows().size()));
            QTest::mouseClick(nav->ButtonFor(TDBNavigator::Delete), Qt::LeftButton);
            m.list.DeleteSelected();
        } else if (roll < 76) {
            const bool yes = dice.Chance(60);
            act(QStringLiteral("Delete key in the grid, answer %1").arg(yes ? "Yes" : "Cancel"));
            if (m.list.Count() > 0)
                MessageBox::QueueAnswer(yes ? MessageBox::Button::Yes : MessageBox::Button::Cancel);
            win.ChannelGrid->setFocus();
            QTest::keyClick(win.ChannelGrid, Qt::Key_Delete);
            if (yes)
                m.list.DeleteSelected();
        } else if (roll < 82) {
            act(QStringLiteral("navigator Cancel"));
            QTest::mouseClick(nav->ButtonFor(TDBNavigator::Cancel), Qt::LeftButton);
            m.list.Cancel();
        } else if (roll < 84) {
            act(QStringLiteral("source navigator Cancel"));
            QTest::mouseClick(win.SourceNavigator->ButtonFor(TDBNavigator::Cancel), Qt::LeftButton);
            m.source.Cancel();
        } else if (roll < 94) {
            save(win, win.ApplyButton, dice);
            effect.saved = true;
            channelSaved(m);
            compareChannelTables(m, m.saved, m.source.saved, QStringLiteral("after Save"));
        } else {
            return closeEditor(
                win, dice, channelDirty(m),
                [&] {
                    channelSaved(m);
                    compareChannelTables(m, m.saved, m.source.saved,
                                         QStringLiteral("after closing with Yes"));
                },
                [&] {
                    compareChannelTables(m, m.saved, m.source.saved,
                                         QStringLiteral("after closing without saving"));
                });
        }
        return true;
    }

    /// Closes by the frame or by Escape, answering the question when one is due.
    bool closeEditor(TEditorWin& win, Dice& dice, bool dirty, const std::function<void()>& saved,
                     const std::function<void()>& unsaved)
    {
        using B = MessageBox::Button;
        const B answer = dice.Pick(QList<B>{B::Yes, B::No, B::Cancel});
        const bool escape = dice.Chance(50);
        act(QStringLiteral("close by %1%2")
                .arg(escape ? "Escape" : "the frame",
                     dirty ? QStringLiteral(", answer %1").arg(MessageBox::ButtonText(answer))
                           : QString()));
        if (dirty)
            MessageBox::QueueAnswer(answer);
        const int boxes = int(MessageBox::ShownBoxes().size());
        if (escape) {
            QWidget* target = win.focusWidget() ? win.focusWidget() : &win;
            QTest::keyClick(target, Qt::Key_Escape);
        } else {
            win.close();
        }
        if (int(MessageBox::ShownBoxes().size()) != boxes + (dirty ? 1 : 0))
            differ(dirty ? QStringLiteral("closing with unsaved changes asked nothing")
                         : QStringLiteral("closing without changes asked a question"));
        if (dirty && answer == B::Cancel) {
            if (!win.isVisible())
                differ(QStringLiteral("Cancel in the close question closed the window"));
            effect.noBoundary = true; // nothing left the field being typed into
            return true;
        }
        if (win.isVisible()) {
            differ(QStringLiteral("the window did not close"));
            return true;
        }
        if (dirty && answer == B::Yes)
            saved();
        else
            unsaved();
        return false;
    }

    void runChannelEditor(unsigned seed)
    {
        ChannelState m;
        m.lastEntry = writeHistory->Entries(1).value(0).id;
        runEpisodes<TChannelWin>(
            seed,
            [&](Dice& dice) {
                if (m.takeBackDue && dice.Chance(40))
                    takeBackLastSave(m);
                m.takeBackDue = false;
                m.sourceId = dice.Pick(QList<int>{1, 3, 9, 7});
                act(QStringLiteral("open the channel editor on source %1").arg(m.sourceId));
                loadChannels(m);
                auto win = std::make_unique<TChannelWin>();
                win->SetSourceID(m.sourceId);
                m.digital = IsDigital(win->CardKind());
                return win;
            },
            [&](TChannelWin& win, Dice& dice) { return channelAction(win, m, dice); },
            [&](TChannelWin& win) { checkChannelWindow(win, m); });
    }

    /// Opens a window (`open`), acts on it until it closes, opens the next, until the
    /// run's actions are done or the window differs from the model; then reports.
    template <typename Window>
    void runEpisodes(unsigned seed, const std::function<std::unique_ptr<Window>(Dice&)>& open,
                     const std::function<bool(Window&, Dice&)>& action,
                     const std::function<void(Window&)>& check)
    {
        Dice dice(seed);
        actions.clear();
        mismatch.clear();
        seedDatabase();
        for (int step = 0; step < steps() && mismatch.isEmpty();) {
            std::unique_ptr<Window> win = open(dice);
            win->show();
            QVERIFY(QTest::qWaitForWindowExposed(win.get()));
            check(*win);
            bool shown = true;
            while (shown && step < steps() && mismatch.isEmpty()) {
                ++step;
                shown = action(*win, dice);
                if (shown && mismatch.isEmpty())
                    check(*win);
            }
            if (shown) {
                // The run ends: leave without saving.
                MessageBox::ClearShown();
                if (win->isDirty())
                    MessageBox::QueueAnswer(MessageBox::Button::No);
                win->close();
            }
        }
        if (!mismatch.isEmpty())
            report(seed);
    }

    // === the capture card editor =======================================================

    struct CardState
    {
        int cardId = 0;
        HeadRow card;
        ListModel inputs;
        QList<Values> saved;
        HistoryModel hist;
        QList<Values> sources;  // sourceid, name
        QList<Values> channels; // chanid, name, sourceid
        Val listed;             // the source whose channels "Start channel" offers
    };

    static void followSource(CardState& m)
    {
        const Values input = m.inputs.Current();
        const Val source = input.value(QStringLiteral("sourceid"));
        if (m.inputs.HasRow() && source && *source != QLatin1String("0"))
            m.listed = source;
    }

    void loadCard(CardState& m)
    {
        m.card.Load(parseRow(CardColumns,
                             db->Rows(QStringLiteral("SELECT %1 FROM capturecard WHERE cardid=%2")
                                          .arg(CardColumns.join(QLatin1Char(',')))
                                          .arg(m.cardId))
                                 .value(0),
                             QStringLiteral("src.")));
        m.inputs = ListModel{};
        m.inputs.key = QStringLiteral("cardinputid");
        // The start-channel list follows every input that becomes current on the way.
        m.inputs.moved = [&m] {
            followSource(m);
        };
        for (const QString& row :
             db->Rows(QStringLiteral("SELECT %1 FROM cardinput WHERE cardid=%2 "
                                     "ORDER BY cardinputid")
                          .arg(InputColumns.join(QLatin1Char(',')))
                          .arg(m.cardId)))
            m.inputs.rows << parseRow(InputColumns, row);
        m.inputs.current = m.inputs.rows.isEmpty() ? -1 : 0;
        m.inputs.SelectCurrent();
        m.saved = m.inputs.rows;
        m.hist.Clear();
        m.sources.clear();
        for (const QString& row :
             db->Rows(QStringLiteral("SELECT sourceid, name FROM videosource ORDER BY sourceid")))
            m.sources << parseRow({"sourceid", "name"}, row);
        m.channels.clear();
        for (const QString& row :
             db->Rows(QStringLiteral("SELECT chanid, name, sourceid FROM channel ORDER BY chanid")))
            m.channels << parseRow({"chanid", "name", "sourceid"}, row);
        m.listed = Val();
        followSource(m);
    }

    static QList<Values> listedChannels(const CardState& m)
    {
        QList<Values> list;
        for (const Values& c : m.channels)
            if (!m.listed || c.value(QStringLiteral("sourceid")) == m.listed)
                list << c;
        return list;
    }

    static QList<Values> visibleInputs(const CardState& m)
    {
        QList<Values> rows = m.inputs.rows;
        if (m.inputs.editing)
            rows[m.inputs.current] = m.inputs.pending;
        return rows;
    }

    // The entries of a lookup list, and the one it shows for `value`.
    static QList<std::pair<Val, QString>> lookupEntries(const CardState& m, const QString& widget)
    {
        QList<std::pair<Val, QString>> entries; // key, text
        if (widget == QLatin1String("DBLookupComboBox3")) {
            for (const Values& v : visibleInputs(m))
                entries << std::pair{v.value(QStringLiteral("inputname")),
                                     Shown(v.value(QStringLiteral("inputname")))};
        } else if (widget == QLatin1String("SourceCombo")) {
            for (const Values& v : m.sources)
                entries << std::pair{v.value(QStringLiteral("sourceid")),
                                     Shown(v.value(QStringLiteral("name"))) +
                                         QStringLiteral("   ") +
                                         Shown(v.value(QStringLiteral("sourceid")))};
        } else {
            for (const Values& v : listedChannels(m))
                entries << std::pair{v.value(QStringLiteral("chanid")),
                                     Shown(v.value(QStringLiteral("name")))};
        }
        return entries;
    }

    static int lookupShown(const QList<std::pair<Val, QString>>& entries, const Val& value)
    {
        if (!value)
            return -1;
        for (int i = 0; i < entries.size(); ++i)
            if (Shown(entries[i].first) == *value)
                return i;
        return -1;
    }

    static Values freshInput(const CardState& m, const QString& id)
    {
        Values v;
        for (const QString& c : InputColumns)
            v[c] = Val();
        v[QStringLiteral("cardinputid")] = id;
        v[QStringLiteral("cardid")] = QString::number(m.cardId);
        v[QStringLiteral("tunechan")] = QStringLiteral("0");
        return v;
    }

    QStringList cardTables(int cardId)
    {
        return db->Rows(QStringLiteral("SELECT %1 FROM capturecard WHERE cardid=%2")
                            .arg(CardColumns.join(QLatin1Char(',')))
                            .arg(cardId)) +
               db->Rows(
                   QStringLiteral("SELECT %1 FROM cardinput WHERE cardid=%2 ORDER BY cardinputid")
                       .arg(InputColumns.join(QLatin1Char(',')))
                       .arg(cardId));
    }

    void compareCardTables(const CardState& m, const QString& when)
    {
        QStringList expected{rowText(CardColumns, m.card.saved, QStringLiteral("src."))};
        QList<Values> rows = m.saved;
        std::sort(rows.begin(), rows.end(), [](const Values& a, const Values& b) {
            return a.value("cardinputid")->toInt() < b.value("cardinputid")->toInt();
        });
        for (const Values& v : rows)
            expected << rowText(InputColumns, v);
        const QStringList actual = cardTables(m.cardId);
        sameTables(when, actual, expected);
    }

    static bool cardDirty(const CardState& m)
    {
        if (m.card.Dirty())
            return true;
        return listDirty(m.inputs, m.saved);
    }

    void checkCardWindow(TCardWin& win, const CardState& m)
    {
        if (qEnvironmentVariableIsSet("KORVANE_MODEL_DEBUG")) {
            QStringList rows;
            for (const Values& v : visibleInputs(m))
                rows << rowText(InputColumns, v);
            qDebug().noquote() << actions.last() << "| current" << m.inputs.current << "listed"
                               << Shown(m.listed) << "|" << rows.join(" / ") << "| ui current"
                               << win.InputDataSet->RecNo();
        }
        const Values card = m.card.Now();
        const Values input = m.inputs.Current();
        forShownFields(win, CardFields, card, input, [&](const Field& f, QWidget* w, Val value) {
            QString shown;
            QString want = Shown(value);
            if (auto* edit = qobject_cast<QLineEdit*>(w)) {
                shown = edit->text();
            } else if (auto* box = qobject_cast<QCheckBox*>(w)) {
                shown = box->isChecked() ? QStringLiteral("checked") : QStringLiteral("unchecked");
                want = Shown(value) == f.items[0] ? QStringLiteral("checked")
                                                  : QStringLiteral("unchecked");
            } else if (auto* combo = qobject_cast<QComboBox*>(w)) {
                shown = combo->currentText(); // a stored value outside the list as it is
                if (f.kind == Kind::Lookup) {
                    const auto entries = lookupEntries(m, f.widget);
                    QStringList texts;
                    for (const auto& e : entries)
                        texts << e.second;
                    QStringList items;
                    for (int i = 0; i < combo->count(); ++i)
                        items << combo->itemText(i);
                    if (items != texts)
                        differ(QStringLiteral("%1 offers \"%2\", the user should see \"%3\"")
                                   .arg(f.widget, items.join('/'), texts.join('/')));
                    const int at = lookupShown(entries, value);
                    want = at < 0 ? QString() : entries[at].second;
                }
            }
            const bool number = f.column.endsWith(QLatin1String("audioratelimit")) ||
                                f.column == QLatin1String("preference");
            if (!sameShown(shown, want.isEmpty() ? Val() : Val(want), number))
                differ(QStringLiteral("%1 shows \"%2\", the user meant \"%3\"")
                           .arg(f.widget, shown, want));
        });
        same(QStringLiteral("the input ID"), win.DBText1->text(),
             Shown(input.value(QStringLiteral("cardinputid"))));
        const auto* grid = win.DBGrid1;
        if (same(QStringLiteral("the input grid's rows"), grid->Model()->rowCount(),
                 m.inputs.Count()))
            same(QStringLiteral("the input grid's current row"), grid->currentIndex().row(),
                 m.inputs.current);
        same(QStringLiteral("the modified mark"), win.isWindowModified(), cardDirty(m));
    }

    void cardSaved(CardState& m)
    {
        m.card.Save();
        m.inputs.Settle();
        followSource(m);
        m.saved = m.inputs.rows;
    }

    // One random user action on the card editor, with what it means for the history;
    // false when the window closed.
    bool cardAction(TCardWin& win, CardState& m, Dice& dice)
    {
        const Snapshot pre = Snap(m.card, m.inputs);
        const int count = m.inputs.Count();
        const Val key = shownKey(m.inputs);
        const QList<Val> keys = rowKeys(m.inputs);
        effect = {};
        if (!cardStep(win, m, dice))
            return false;
        afterAction(m.hist, m.card, m.inputs, pre, count, key, keys);
        followSource(m);
        return true;
    }

    bool cardStep(TCardWin& win, CardState& m, Dice& dice)
    {
        auto* nav = win.DBNavigator1;
        if (dice.Chance(7)) {
            undoOrRedo(win, m.card, m.inputs, m.hist, win.UndoButton, win.RedoButton, win.DBGrid1,
                       dice);
            return true;
        }
        const int roll = dice.Below(100);
        if (roll < 50) {
            QList<Field> fields;
            for (const Field& f : CardFields)
                if (win.findChild<QWidget*>(f.widget)->isVisibleTo(&win))
                    fields << f;
            const Field f = dice.Pick(fields);
            QWidget* w = win.findChild<QWidget*>(f.widget);
            effect.typed = f.widget;
            effect.finished = true; // a click or a choice ends the edit at once
            const bool src = f.column.startsWith(QLatin1String("src."));
            const bool number = f.column.endsWith(QLatin1String("audioratelimit")) ||
                                f.column == QLatin1String("preference");
            Val value;
            bool wrote = true;
            std::optional<int> moveInputsTo;
            if (f.kind == Kind::Check) {
                act(QStringLiteral("click %1").arg(f.widget));
                auto* box = static_cast<QCheckBox*>(w);
                const bool checked = box->isChecked();
                box->setFocus();
                QTest::keyClick(box, Qt::Key_Space);
                value = checked ? f.items[1] : f.items[0];
            } else if (f.kind == Kind::Lookup) {
                auto* combo = static_cast<QComboBox*>(w);
                const auto entries = lookupEntries(m, f.widget);
                const int at = lookupShown(entries, src ? m.card.Now().value(f.column)
                                                        : m.inputs.Current().value(f.column));
                act(QStringLiteral("Down in %1").arg(f.widget));
                pressDown(combo);
                if (at + 1 >= entries.size())
                    return true;
                value = entries[at + 1].first;
                if (f.widget == QLatin1String("DBLookupComboBox3"))
                    moveInputsTo = at + 1;
            } else if ((f.kind == Kind::Choice || f.kind == Kind::EditableChoice) &&
                       dice.Chance(f.kind == Kind::Choice ? 100 : 40)) {
                auto* combo = static_cast<QComboBox*>(w);
                // Down goes on from the entry last chosen: typed text outside the list
                // leaves the list where it stood.
                const int at = f.kind == Kind::Choice ? f.items.indexOf(combo->currentText())
                                                      : combo->currentIndex();
                act(QStringLiteral("Down in %1").arg(f.widget));
                pressDown(combo);
                if (at + 1 >= f.items.size())
                    return true;
                value = f.items[at + 1];
                if (number)
                    value = Canonical(*value);
            } else {
                auto* edit = f.kind == Kind::EditableChoice ? static_cast<QComboBox*>(w)->lineEdit()
                                                            : static_cast<QLineEdit*>(w);
                const QString typed = number ? dice.Number() : dice.Text();
                const bool clear = dice.Chance(30);
                const bool enter = f.kind == Kind::Text && dice.Chance(20);
                act(QStringLiteral("type \"%1\" into %2%3%4")
                        .arg(typed, f.widget, clear ? " after clearing it" : "",
                             enter ? ", Enter" : ""));
                const Typing t = typeInto(edit, typed, clear, f.limit, number, enter);
                effect.finished = enter;
                wrote = t.wrote;
                value = t.value;
            }
            if (!wrote)
                return true;
            if (src) {
                m.card.Write(f.column, value);
            } else {
                m.inputs.Write(f.column, value, freshInput(m, win.DBText1->text()));
                if (m.inputs.current >= 0 &&
                    win.DBText1->text() != Shown(m.inputs.Current().value("cardinputid")))
                    m.inputs.pending[QStringLiteral("cardinputid")] = win.DBText1->text();
            }
            if (moveInputsTo)
                m.inputs.MoveTo(*moveInputsTo, /*evenToCurrent=*/true);
            followSource(m);
        } else if (roll < 60) {
            moveByNavigator(nav, m.inputs, dice);
            followSource(m);
        } else if (roll < 66) {
            clickGridRow(win.DBGrid1, m.inputs, dice);
            followSource(m);
        } else if (roll < 74) {
            act(QStringLiteral("input navigator Insert"));
            QTest::mouseClick(nav->ButtonFor(TDBNavigator::Insert), Qt::LeftButton);
            m.inputs.Insert(freshInput(m, win.DBText1->text()));
            followSource(m);
        } else if (roll < 79) {
            const bool yes = dice.Chance(60);
            act(QStringLiteral("input navigator Delete, answer %1").arg(yes ? "Yes" : "Cancel"));
            if (m.inputs.Count() > 0)
                MessageBox::QueueAnswer(yes ? MessageBox::Button::Yes : MessageBox::Button::Cancel);
            QTest::mouseClick(nav->ButtonFor(TDBNavigator::Delete), Qt::LeftButton);
            if (yes)
                m.inputs.Delete();
            followSource(m);
        } else if (roll < 85) {
            act(QStringLiteral("input navigator Cancel"));
            QTest::mouseClick(nav->ButtonFor(TDBNavigator::Cancel), Qt::LeftButton);
            m.inputs.Cancel();
            followSource(m);
        } else if (roll < 95) {
            save(win, win.ApplyButton, dice);
            effect.saved = true;
            cardSaved(m);
            compareCardTables(m, QStringLiteral("after Save"));
        } else {
            return closeEditor(
                win, dice, cardDirty(m),
                [&] {
                    cardSaved(m);
                    compareCardTables(m, QStringLiteral("after closing with Yes"));
                },
                [&] { compareCardTables(m, QStringLiteral("after closing without saving")); });
        }
        return true;
    }

    void runCardEditor(unsigned seed)
    {
        CardState m;
        runEpisodes<TCardWin>(
            seed,
            [&](Dice& dice) {
                m.cardId = dice.Pick(QList<int>{1, 4, 5});
                act(QStringLiteral("open the card editor on card %1").arg(m.cardId));
                loadCard(m);
                auto win = std::make_unique<TCardWin>();
                win->SetCardID(m.cardId);
                return win;
            },
            [&](TCardWin& win, Dice& dice) { return cardAction(win, m, dice); },
            [&](TCardWin& win) { checkCardWindow(win, m); });
    }

private slots:
    void initTestCase()
    {
        StartServer(QStringLiteral("t_editor_model"), true);
        writeHistory =
            std::make_unique<TWriteHistory>(scratch.filePath(QStringLiteral("history.sqlite")),
                                            QStringLiteral("localhost"), db->Name());
        WriteHistory = writeHistory.get();
    }
    void cleanupTestCase() { WriteHistory = nullptr; }

    void init() { MessageBox::ClearShown(); }

    void channelEditor_data()
    {
        QTest::addColumn<unsigned>("seed");
        for (unsigned seed : seeds())
            QTest::newRow(qPrintable(QStringLiteral("seed %1").arg(seed))) << seed;
    }

    void channelEditor()
    {
        QFETCH(unsigned, seed);
        runChannelEditor(seed);
    }

    void cardEditor_data() { channelEditor_data(); }

    void cardEditor()
    {
        QFETCH(unsigned, seed);
        runCardEditor(seed);
    }
};

int main(int argc, char** argv)
{
    TKorvaneApplication app(argc, argv);
    TestEditorModel test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_editor_model.moc"
