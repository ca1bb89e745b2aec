#include "takebackwin.h"

#include "guard.h"
#include "lineupwriter.h"
#include "takeback.h"

#include <QAbstractTableModel>
#include <QLabel>
#include <QPushButton>
#include <QTableView>

/// The take-back's records as the review's rows.
class TTakeBackModel : public QAbstractTableModel
{
public:
    TTakeBackModel(TTakeBack& takeBack, QObject* parent)
        : QAbstractTableModel(parent), m_takeBack(takeBack)
    {
    }
    int rowCount(const QModelIndex& parent = {}) const override
    {
        return parent.isValid() ? 0 : int(m_takeBack.Items().size());
    }
    int columnCount(const QModelIndex& parent = {}) const override
    {
        return parent.isValid() ? 0 : 3;
    }
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override
    {
        if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
            return {};
        switch (section) {
        case TTakeBackWin::RecordColumn:
            return TTakeBackWin::tr("Record");
        case TTakeBackWin::WhatColumn:
            return TTakeBackWin::tr("What happens");
        default:
            return m_takeBack.IsRestore() ? TTakeBackWin::tr("Restore")
                                          : TTakeBackWin::tr("Take back");
        }
    }
    Qt::ItemFlags flags(const QModelIndex& index) const override
    {
        Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
        if (index.column() == TTakeBackWin::TickColumn &&
            m_takeBack.Items().value(index.row()).Tickable())
            flags |= Qt::ItemIsUserCheckable;
        return flags;
    }
    QVariant data(const QModelIndex& index, int role) const override
    {
        if (!index.isValid() || index.row() >= m_takeBack.Items().size())
            return {};
        const TTakeBack::TItem& item = m_takeBack.Items()[index.row()];
        if (index.column() == TTakeBackWin::TickColumn) {
            if (role == Qt::CheckStateRole)
                return item.ticked ? Qt::Checked : Qt::Unchecked;
            if (role == Qt::AccessibleTextRole)
                return item.ticked ? TTakeBackWin::tr("ticked") : TTakeBackWin::tr("not ticked");
            return {};
        }
        const QString text =
            index.column() == TTakeBackWin::RecordColumn ? item.record : whatHappens(item);
        if (role == Qt::DisplayRole || role == Qt::ToolTipRole)
            return text;
        if (role == Qt::ForegroundRole && !item.Tickable())
            return QVariant::fromValue(QPalette().brush(QPalette::Disabled, QPalette::Text));
        return {};
    }
    bool setData(const QModelIndex& index, const QVariant& value, int role) override
    {
        if (role != Qt::CheckStateRole || index.column() != TTakeBackWin::TickColumn)
            return false;
        SetTicked(index.row(), value.toInt() == Qt::Checked);
        return true;
    }
    void SetTicked(int row, bool ticked)
    {
        m_takeBack.SetTicked(row, ticked);
        emit dataChanged(index(row, 0), index(row, columnCount() - 1));
    }
    void Reset()
    {
        beginResetModel();
        endResetModel();
    }

private:
    static QString whatHappens(const TTakeBack::TItem& item)
    {
        if (item.note.isEmpty())
            return item.action;
        return item.Tickable() ? QStringLiteral("%1 \u2014 %2").arg(item.note, item.action)
                               : item.note;
    }
    TTakeBack& m_takeBack;
};

TTakeBackWin::TTakeBackWin(TTakeBack& takeBack, TSQLConnection& connection, const QString& window,
                           QWidget* parent, const QString& title)
    : TReviewWin(title.isEmpty() ? tr("Take back") : title, QStringLiteral("TakeBackWin"),
                 QStringLiteral("TakeBackTable"), new TTakeBackModel(takeBack, nullptr), WhatColumn,
                 TickColumn, parent),
      m_takeBack(takeBack), m_connection(connection), m_window(window),
      m_model(static_cast<TTakeBackModel*>(Table->model()))
{
    m_model->setParent(this);
    Table->setAccessibleName(takeBack.IsRestore() ? tr("Records to restore")
                                                  : tr("Records to take back"));
    Table->setToolTip(tr("Space ticks or unticks a record; a record changed since is "
                         "overwritten when ticked"));
    Table->setColumnWidth(RecordColumn, 260);
    Table->resizeColumnToContents(TickColumn); // its header whole

    Table->setWordWrap(false);
    // Apply writes, and the window stays open when it could not.
    disconnect(ApplyButton, &QPushButton::clicked, this, nullptr);
    connect(ApplyButton, &QPushButton::clicked, this,
            [this] { Guarded(this, [this] { Apply(); }); });
    connect(m_model, &QAbstractItemModel::dataChanged, this, [this] { updateCounts(); });
    if (m_model->rowCount() > 0)
        Table->setCurrentIndex(m_model->index(0, RecordColumn));
    Table->setFocus();
    updateCounts();
}

TTakeBackWin::~TTakeBackWin() = default;

void TTakeBackWin::SetTicked(int row, bool ticked)
{
    m_model->SetTicked(row, ticked);
}

bool TTakeBackWin::Ticked(int row) const
{
    return m_takeBack.Items().value(row).ticked;
}

void TTakeBackWin::Apply()
{
    TLineupWriter writer(m_connection, m_window);
    try {
        writer.TakeBack(m_takeBack);
    } catch (const EChangedMeanwhile& e) {
        // Nothing was written: the rows as they stand now, and why.
        m_takeBack.Read(m_connection);
        m_model->Reset();
        updateCounts(e.Message());
        return;
    }
    m_historyError = writer.HistoryError();
    accept();
}

void TTakeBackWin::updateCounts(const QString& before)
{
    using State = TTakeBack::TItem::State;
    using Kind = TWrittenRow::Kind;
    const bool restore = m_takeBack.IsRestore();
    QStringList counts;
    if (restore) {
        // A row the backup holds and the line-up lacks is one to add, and so on.
        counts << tr("%1 to add, %2 to delete, %3 to change")
                      .arg(m_takeBack.Count(Kind::Delete))
                      .arg(m_takeBack.Count(Kind::Insert))
                      .arg(m_takeBack.Count(Kind::Update));
        if (const int changed = m_takeBack.Count(State::ChangedSince))
            counts << tr("%1 changed meanwhile").arg(changed);
    } else {
        counts << tr("%1 unchanged since the write").arg(m_takeBack.Count(State::Ready))
               << tr("%1 changed since").arg(m_takeBack.Count(State::ChangedSince));
    }
    if (const int cannot = m_takeBack.Count(State::CannotReturn))
        counts << tr("%1 cannot come back").arg(cannot);
    if (const int asItWas = m_takeBack.Count(State::AsItWas))
        counts << tr("%1 as they were").arg(asItWas);
    const int ticked = m_takeBack.TickedCount();
    const QString apply = restore       ? (ticked == 1 ? tr(". Apply restores 1 record.")
                                                       : tr(". Apply restores %1 records.").arg(ticked))
                          : ticked == 1 ? tr(". Apply takes back 1 record.")
                                        : tr(". Apply takes back %1 records.").arg(ticked);
    QString text = counts.join(QStringLiteral(", ")) + apply;
    if (!before.isEmpty())
        text = before + QLatin1Char('\n') + text;
    CountsLabel->setText(text);
    CountsLabel->setWordWrap(true);
    ApplyButton->setEnabled(ticked > 0);
}
