#include "historywin.h"

#include "formhelpers.h"
#include "guard.h"
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
    CloseButton = Named(new QPushButton(tr("Close"), this), QStringLiteral("CloseButton"));
    TakeBackButton->setAutoDefault(false);
    CloseButton->setAutoDefault(false);
    connect(TakeBackButton, &QPushButton::clicked, this,
            [this] { Guarded(this, [this] { TakeBackSelected(); }); });
    connect(CloseButton, &QPushButton::clicked, this, &QDialog::close);

    auto* split = new QSplitter(Qt::Vertical, this);
    split->addWidget(EntryTable);
    split->addWidget(RowTable);
    split->setChildrenCollapsible(false);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(SummaryLabel, 1);
    buttons->addWidget(TakeBackButton);
    buttons->addWidget(CloseButton);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(split, 1);
    layout->addLayout(buttons);
    AssignMnemonics(this, {});
    SetTabChain({EntryTable, RowTable, TakeBackButton, CloseButton});
    EntryTable->setFocus();
}

void THistoryWin::Reload()
{
    const qint64 selected = m_entries.value(EntryTable->currentRow()).id;
    m_entries = m_history ? m_history->Entries() : QList<THistoryEntry>();
    EntryTable->setRowCount(int(m_entries.size()));
    const QLocale locale;
    int current = 0;
    for (int r = 0; r < m_entries.size(); ++r) {
        const THistoryEntry& e = m_entries[r];
        setRow(EntryTable, r,
               {locale.toString(e.time.toLocalTime(), QLocale::ShortFormat),
                tr("%1 on %2").arg(e.user, e.host),
                e.done ? e.what : tr("%1 (unfinished)").arg(e.what), locale.toString(e.rows)});
        EntryTable->item(r, 3)->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        if (e.id == selected)
            current = r;
    }
    EntryTable->resizeColumnToContents(0);
    EntryTable->resizeColumnToContents(1);
    EntryTable->resizeColumnToContents(3);
    TakeBackButton->setEnabled(!m_entries.isEmpty());
    SummaryLabel->setText(!m_history ? tr("No history is kept.")
                          : m_entries.isEmpty()
                              ? tr("Nothing has been written to this database yet.")
                              : QString());
    if (!m_entries.isEmpty())
        EntryTable->setCurrentCell(current, 0);
    showRows(EntryTable->currentRow());
}

void THistoryWin::showRows(int entry)
{
    const QList<TWrittenRow> rows = m_history && entry >= 0 && entry < m_entries.size()
                                        ? m_history->Rows(m_entries[entry].id)
                                        : QList<TWrittenRow>();
    const QHash<qlonglong, QString> channels = RecordName::Channels(rows);
    RowTable->setRowCount(int(rows.size()));
    for (int r = 0; r < rows.size(); ++r)
        setRow(RowTable, r, {RecordName::Of(rows[r], channels), RecordName::Change(rows[r])});
}

void THistoryWin::TakeBackSelected()
{
    const int row = EntryTable->currentRow();
    if (!m_history || row < 0 || row >= m_entries.size())
        return;
    const THistoryEntry entry = m_entries[row];
    TTakeBack takeBack(entry.what, m_history->Rows(entry.id));
    takeBack.Read(m_connection);
    TTakeBackWin review(takeBack, m_connection, windowTitle(), this);
    if (review.exec() != QDialog::Accepted)
        return;
    Reload();
    EntryTable->setCurrentCell(0, 0); // the take-back, newest
    SummaryLabel->setText(review.HistoryError().isEmpty()
                              ? tr("Taken back: %1.").arg(entry.what)
                              : tr("Taken back, but the history could not be written: %1")
                                    .arg(review.HistoryError()));
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
