#include "historywin.h"

#include "formhelpers.h"
#include "guard.h"
#include "lineuptables.h"
#include "mnemonics.h"
#include "recordname.h"
#include "takeback.h"
#include "takebackwin.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QSplitter>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

QTableWidget* table(QWidget* parent, const QString& name, const QStringList& headers)
{
    auto* t = Named(new QTableWidget(0, int(headers.size()), parent), name);
    t->setHorizontalHeaderLabels(headers);
    t->setEditTriggers(QAbstractItemView::NoEditTriggers);
    t->setSelectionBehavior(QAbstractItemView::SelectRows);
    t->setSelectionMode(QAbstractItemView::SingleSelection);
    t->setTabKeyNavigation(false);
    t->setWordWrap(false);
    t->verticalHeader()->hide();
    t->verticalHeader()->setDefaultSectionSize(t->fontMetrics().height() + 6);
    t->horizontalHeader()->setStretchLastSection(true);
    return t;
}

void setRow(QTableWidget* t, int row, const QStringList& cells)
{
    for (int c = 0; c < cells.size(); ++c) {
        auto* item = new QTableWidgetItem(cells[c]);
        item->setToolTip(cells[c]);
        t->setItem(row, c, item);
    }
}

} // namespace

THistoryWin::THistoryWin(TWriteHistory* history, TSQLConnection& connection, QWidget* parent)
    : QDialog(parent), m_history(history), m_connection(connection)
{
    setObjectName(QStringLiteral("HistoryWin"));
    setWindowTitle(tr("History"));
    setModal(false);
    setSizeGripEnabled(true);
    resize(900, 560);

    EntryTable =
        table(this, QStringLiteral("EntryTable"), {tr("When"), tr("Who"), tr("What"), tr("Rows")});
    EntryTable->setAccessibleName(tr("Writes to this database, newest first"));
    EntryTable->setToolTip(tr("Enter takes the selected write back"));
    EntryTable->horizontalHeader()->setStretchLastSection(false);
    EntryTable->horizontalHeader()->setSectionResizeMode(2, QHeaderView::Stretch);
    EntryTable->installEventFilter(this);
    RowTable = table(this, QStringLiteral("RowTable"), {tr("Record"), tr("Change")});
    RowTable->setAccessibleName(tr("Records the selected write changed"));
    RowTable->setColumnWidth(0, 280);
    connect(EntryTable, &QTableWidget::currentCellChanged, this,
            [this](int row) { Guarded(this, [&] { showRows(row); }); });

    SummaryLabel = Named(new QLabel(this), QStringLiteral("SummaryLabel"));
    SummaryLabel->setWordWrap(true);
    TakeBackButton =
        Named(new QPushButton(tr("&Take back..."), this), QStringLiteral("TakeBackButton"));
    TakeBackButton->setToolTip(tr("Review taking the selected write back, record by record"));
    BackUpButton = Named(new QPushButton(tr("&Back up..."), this), QStringLiteral("BackUpButton"));
    BackUpButton->setToolTip(tr("Keep the whole line-up in a file"));
    RestoreFileButton = Named(new QPushButton(tr("Restore from &file..."), this),
                              QStringLiteral("RestoreFileButton"));
    RestoreFileButton->setToolTip(tr("Review making the line-up what a backup file holds"));
    CloseButton = Named(new QPushButton(tr("&Close"), this), QStringLiteral("CloseButton"));
    const QList<std::pair<QPushButton*, void (THistoryWin::*)()>> handlers{
        {TakeBackButton, &THistoryWin::TakeBackSelected},
        {BackUpButton, &THistoryWin::BackUp},
        {RestoreFileButton, &THistoryWin::RestoreFromFile}};
    for (const auto& [button, handler] : handlers)
        connect(button, &QPushButton::clicked, this,
                [this, handler = handler] { Guarded(this, [&] { (this->*handler)(); }); });
    for (QPushButton* b : {TakeBackButton, BackUpButton, RestoreFileButton, CloseButton})
        b->setAutoDefault(false);
    connect(CloseButton, &QPushButton::clicked, this, &QDialog::close);

    auto* split = new QSplitter(Qt::Vertical, this);
    split->addWidget(EntryTable);
    split->addWidget(RowTable);
    split->setChildrenCollapsible(false);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(SummaryLabel, 1);
    for (QPushButton* b : {TakeBackButton, BackUpButton, RestoreFileButton, CloseButton})
        buttons->addWidget(b);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(split, 1);
    layout->addLayout(buttons);
    AssignMnemonics(this, {});
    SetTabChain(
        {EntryTable, RowTable, TakeBackButton, BackUpButton, RestoreFileButton, CloseButton});
    EntryTable->setFocus();
}

void THistoryWin::Reload()
{
    const TListed before = m_listed.value(EntryTable->currentRow());
    const qint64 selectedEntry = m_entries.value(before.entry).id;
    const QString selectedSnapshot = m_snapshots.value(before.snapshot).path;
    m_entries = m_history ? m_history->Entries() : QList<THistoryEntry>();
    m_snapshots = m_history ? m_history->Snapshots() : QList<TSnapshot>();
    // Entries and snapshots together, newest first.
    m_listed.clear();
    for (qsizetype e = 0, n = 0; e < m_entries.size() || n < m_snapshots.size();) {
        const bool entryFirst = n >= m_snapshots.size() ||
                                (e < m_entries.size() && m_entries[e].time >= m_snapshots[n].time);
        m_listed << (entryFirst ? TListed{e++, -1} : TListed{-1, n++});
    }
    EntryTable->setRowCount(int(m_listed.size()));
    const QLocale locale;
    int current = 0;
    for (int r = 0; r < m_listed.size(); ++r) {
        const TListed l = m_listed[r];
        if (l.snapshot >= 0) {
            const TSnapshot& s = m_snapshots[l.snapshot];
            setRow(EntryTable, r,
                   {locale.toString(s.time.toLocalTime(), QLocale::ShortFormat), QString(),
                    tr("Snapshot of the line-up before the first change on %1")
                        .arg(locale.toString(s.day, QStringLiteral("d MMM yyyy"))),
                    QString()});
            if (s.path == selectedSnapshot)
                current = r;
            continue;
        }
        const THistoryEntry& e = m_entries[l.entry];
        setRow(EntryTable, r,
               {locale.toString(e.time.toLocalTime(), QLocale::ShortFormat),
                tr("%1 on %2").arg(e.user, e.host),
                e.done ? e.what : tr("%1 (unfinished)").arg(e.what), locale.toString(e.rows)});
        EntryTable->item(r, 3)->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        if (e.id == selectedEntry)
            current = r;
    }
    EntryTable->resizeColumnToContents(0);
    EntryTable->resizeColumnToContents(1);
    EntryTable->resizeColumnToContents(3);
    SummaryLabel->setText(!m_history ? tr("No history is kept.")
                          : m_listed.isEmpty()
                              ? tr("Nothing has been written to this database yet.")
                              : QString());
    if (!m_listed.isEmpty())
        EntryTable->setCurrentCell(current, 0);
    showRows(EntryTable->currentRow());
}

void THistoryWin::showRows(int row)
{
    const TListed l = m_listed.value(row);
    TakeBackButton->setEnabled(row >= 0 && row < m_listed.size());
    TakeBackButton->setText(l.snapshot >= 0 ? tr("&Restore...") : tr("&Take back..."));
    if (l.snapshot >= 0) {
        // What the snapshot holds, table by table.
        const TLineupBackup kept =
            TWriteHistory::ReadSnapshot(m_snapshots[l.snapshot].path, m_connection);
        const QStringList names{tr("Sources"), tr("Channels"), tr("Tuning values"), tr("Cards"),
                                tr("Inputs")};
        RowTable->setRowCount(int(names.size()));
        for (int t = 0; t < names.size(); ++t)
            setRow(RowTable, t,
                   {names[t], tr("%1 rows").arg(kept.tables.value(LineupTables()[t].name).size())});
        return;
    }
    const QList<TWrittenRow> rows =
        m_history && l.entry >= 0 ? m_history->Rows(m_entries[l.entry].id) : QList<TWrittenRow>();
    const QHash<qlonglong, QString> channels = RecordName::Channels(rows);
    RowTable->setRowCount(int(rows.size()));
    for (int r = 0; r < rows.size(); ++r)
        setRow(RowTable, r, {RecordName::Of(rows[r], channels), RecordName::Change(rows[r])});
}

void THistoryWin::TakeBackSelected()
{
    const TListed l = m_listed.value(EntryTable->currentRow());
    if (!m_history || (l.entry < 0 && l.snapshot < 0))
        return;
    if (l.snapshot >= 0) {
        const TSnapshot snapshot = m_snapshots[l.snapshot];
        restore(TWriteHistory::ReadSnapshot(snapshot.path, m_connection),
                tr("Restore the line-up from the snapshot of %1")
                    .arg(QLocale().toString(snapshot.day, QStringLiteral("d MMM yyyy"))));
        return;
    }
    const THistoryEntry entry = m_entries[l.entry];
    TTakeBack takeBack(entry.what, m_history->Rows(entry.id));
    takeBack.Read(m_connection);
    review(takeBack, QString(), tr("Taken back: %1.").arg(entry.what));
}

void THistoryWin::review(TTakeBack& takeBack, const QString& title, const QString& done)
{
    TTakeBackWin review(takeBack, m_connection, windowTitle(), this, title);
    if (review.exec() != QDialog::Accepted)
        return;
    Reload();
    EntryTable->setCurrentCell(0, 0); // what was just written, newest
    SummaryLabel->setText(
        review.HistoryError().isEmpty()
            ? done
            : tr("Done, but the history could not be written: %1").arg(review.HistoryError()));
    if (AfterTakeBack)
        AfterTakeBack();
}

bool THistoryWin::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == EntryTable && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            Guarded(this, [this] { TakeBackSelected(); });
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}
