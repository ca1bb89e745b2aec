#include "listingswin.h"

#include "formhelpers.h"

#include <QAbstractTableModel>
#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <QTableView>
#include <QVBoxLayout>
#include <algorithm>
#include <numeric>

namespace {

enum Column { NumberColumn, NameColumn, ListedColumn, WhatColumn, TickColumn, ColumnCount };

bool emptyIcon(const QString& icon)
{
    return icon.trimmed().isEmpty() || icon.trimmed() == QLatin1String("none");
}

} // namespace

/// The rows of the review: each channel with what matching proposed, the listings
/// channel now picked for it and whether it is ticked.
class TListingsModel : public QAbstractTableModel
{
public:
    struct Row
    {
        TChannelToMatch channel;
        QString icon;
        TChannelMatch match;
        int picked = -1; // listed channel
        bool ticked = false;
    };

    TListingsModel(QList<Row> rows, QList<TListedChannel> listed, TListingsLimits limits,
                   QObject* parent)
        : QAbstractTableModel(parent), m_rows(std::move(rows)), m_listed(std::move(listed)),
          m_limits(limits)
    {
        for (Row& r : m_rows) {
            r.picked = r.match.fit;
            r.ticked =
                r.match.state == TMatchState::Matched && !whyNot(r).has_value() && changes(r);
        }
        // Listed channels in the order of their names: typing in a list jumps to them.
        m_sorted.resize(m_listed.size());
        std::iota(m_sorted.begin(), m_sorted.end(), 0);
        std::sort(m_sorted.begin(), m_sorted.end(), [this](int a, int b) {
            return Listed(a).compare(Listed(b), Qt::CaseInsensitive) < 0;
        });
    }

    int rowCount(const QModelIndex& parent = {}) const override
    {
        return parent.isValid() ? 0 : int(m_rows.size());
    }
    int columnCount(const QModelIndex& parent = {}) const override
    {
        return parent.isValid() ? 0 : ColumnCount;
    }

    QVariant headerData(int section, Qt::Orientation orientation, int role) const override
    {
        if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
            return QAbstractTableModel::headerData(section, orientation, role);
        switch (section) {
        case NumberColumn:
            return tr("No.");
        case NameColumn:
            return tr("Channel");
        case ListedColumn:
            return tr("Listings channel");
        case WhatColumn:
            return tr("What happens");
        default:
            return tr("Fill in");
        }
    }

    Qt::ItemFlags flags(const QModelIndex& index) const override
    {
        Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
        if (index.column() == ListedColumn)
            f |= Qt::ItemIsEditable;
        if (index.column() == TickColumn) {
            f |= Qt::ItemIsUserCheckable;
            if (!Tickable(m_rows[index.row()]))
                f &= ~Qt::ItemIsEnabled;
        }
        return f;
    }

    QVariant data(const QModelIndex& index, int role) const override
    {
        const Row& r = m_rows[index.row()];
        if (role == Qt::CheckStateRole && index.column() == TickColumn)
            return r.ticked ? Qt::Checked : Qt::Unchecked;
        if (role == Qt::ToolTipRole && index.column() == WhatColumn)
            return What(r);
        if (role == Qt::AccessibleTextRole && index.column() == TickColumn)
            return r.ticked ? tr("ticked") : tr("not ticked");
        if (role != Qt::DisplayRole && role != Qt::EditRole)
            return {};
        switch (index.column()) {
        case NumberColumn:
            return r.channel.channum;
        case NameColumn:
            return r.channel.name.isEmpty() ? r.channel.callsign : r.channel.name;
        case ListedColumn:
            return r.picked < 0 ? tr("(none)") : Listed(r.picked);
        case WhatColumn:
            return What(r);
        default:
            return {};
        }
    }

    bool setData(const QModelIndex& index, const QVariant& value, int role) override
    {
        if (index.column() == TickColumn && role == Qt::CheckStateRole) {
            SetTicked(index.row(), value.value<Qt::CheckState>() == Qt::Checked);
            return true;
        }
        if (index.column() == ListedColumn && role == Qt::EditRole) {
            Pick(index.row(), value.toInt());
            return true;
        }
        return false;
    }

    // --- the rows
    const Row& At(int row) const { return m_rows[row]; }
    const QList<Row>& Rows() const { return m_rows; }
    const QList<TListedChannel>& ListedChannels() const { return m_listed; }
    const QList<int>& SortedListed() const { return m_sorted; }

    QString Listed(int i) const
    {
        const TListedChannel& l = m_listed[i];
        return QStringLiteral("%1 (%2)").arg(l.names.value(0, l.id), l.id);
    }

    void Pick(int row, int listed)
    {
        Row& r = m_rows[row];
        r.picked = listed < 0 || listed >= m_listed.size() ? -1 : listed;
        // Picking a listings channel means it: the row is ticked (when it can be).
        r.ticked = Tickable(r);
        rowChanged(row);
    }

    void SetTicked(int row, bool ticked)
    {
        Row& r = m_rows[row];
        r.ticked = ticked && Tickable(r);
        rowChanged(row);
    }

    void SetFillIcons(bool fill)
    {
        if (fill == m_fillIcons)
            return;
        m_fillIcons = fill;
        for (Row& r : m_rows)
            r.ticked = r.ticked && Tickable(r);
        if (!m_rows.isEmpty())
            emit dataChanged(index(0, 0), index(rowCount() - 1, ColumnCount - 1));
    }
    bool FillIcons() const { return m_fillIcons; }

    /// Whether the row's icon is filled when it is ticked.
    bool FillsIcon(const Row& r) const
    {
        return m_fillIcons && r.picked >= 0 && emptyIcon(r.icon) &&
               !m_listed[r.picked].icon.isEmpty();
    }

    /// Ticking the row would change the channel.
    bool changes(const Row& r) const
    {
        return r.picked >= 0 && (m_listed[r.picked].id != r.channel.xmltvid || FillsIcon(r));
    }

    /// Why the row cannot be filled in, if it cannot: a value wider than its column.
    std::optional<QString> whyNot(const Row& r) const
    {
        if (r.picked < 0)
            return std::nullopt;
        const TListedChannel& l = m_listed[r.picked];
        if (l.id.size() > m_limits.xmltvid)
            return tr("its id has %1 characters, the XMLTV ID holds %2")
                .arg(l.id.size())
                .arg(m_limits.xmltvid);
        if (FillsIcon(r) && l.icon.size() > m_limits.icon)
            return tr("its icon has %1 characters, the icon holds %2")
                .arg(l.icon.size())
                .arg(m_limits.icon);
        return std::nullopt;
    }

    bool Tickable(const Row& r) const { return changes(r) && !whyNot(r); }

    QString What(const Row& r) const
    {
        QString state;
        const bool own = r.picked != r.match.fit;
        switch (r.match.state) {
        case TMatchState::Kept:
            state = tr("kept");
            break;
        case TMatchState::Matched:
            state = tr("matched");
            break;
        case TMatchState::Choose:
            state = tr("choose: %1 fit").arg(r.match.candidates.size());
            break;
        case TMatchState::Suggested:
            state = tr("suggested");
            break;
        case TMatchState::OtherId:
            state = tr("has another id (%1)").arg(r.channel.xmltvid);
            break;
        case TMatchState::NoMatch:
            state = tr("no match");
            break;
        }
        if (own)
            state += tr(", picked");
        if (const auto reason = whyNot(r))
            return tr("%1: cannot be filled in, %2").arg(state, *reason);
        if (!r.ticked)
            return state;
        return FillsIcon(r) ? tr("%1: fills in the id and the icon").arg(state)
                            : tr("%1: fills in the id").arg(state);
    }

private:
    void rowChanged(int row) { emit dataChanged(index(row, 0), index(row, ColumnCount - 1)); }

    QList<Row> m_rows;
    QList<TListedChannel> m_listed;
    TListingsLimits m_limits;
    QList<int> m_sorted;
    bool m_fillIcons = true;
};

namespace {

/// The listings channel of a row is picked from a list: "(none)", the candidates when
/// several fit, then every listed channel by name and id.
class TListedDelegate : public QStyledItemDelegate
{
public:
    TListedDelegate(TListingsModel* model, QObject* parent)
        : QStyledItemDelegate(parent), m_model(model)
    {
    }

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem&,
                          const QModelIndex& index) const override
    {
        auto* combo = new QComboBox(parent);
        combo->setObjectName(QStringLiteral("ListedCombo"));
        combo->setMaxVisibleItems(20);
        combo->addItem(QObject::tr("(none)"), -1);
        const TListingsModel::Row& r = m_model->At(index.row());
        for (int c : r.match.candidates)
            combo->addItem(m_model->Listed(c), c);
        if (!r.match.candidates.isEmpty())
            combo->insertSeparator(combo->count());
        for (int c : m_model->SortedListed())
            combo->addItem(m_model->Listed(c), c);
        // A pick is made at once: the row follows, and the list closes.
        auto* self = const_cast<TListedDelegate*>(this);
        connect(combo, &QComboBox::activated, self, [self, combo] {
            emit self->commitData(combo);
            emit self->closeEditor(combo, QAbstractItemDelegate::NoHint);
        });
        return combo;
    }

    void setEditorData(QWidget* editor, const QModelIndex& index) const override
    {
        auto* combo = static_cast<QComboBox*>(editor);
        combo->setCurrentIndex(std::max(0, combo->findData(m_model->At(index.row()).picked)));
    }

    void setModelData(QWidget* editor, QAbstractItemModel* model,
                      const QModelIndex& index) const override
    {
        auto* combo = static_cast<QComboBox*>(editor);
        const int listed = combo->currentData().toInt();
        if (listed != m_model->At(index.row()).picked)
            model->setData(index, listed, Qt::EditRole);
    }

private:
    TListingsModel* m_model;
};

} // namespace

TListingsWin::TListingsWin(QList<TChannelToMatch> channels, QStringList icons,
                           QList<TListedChannel> listed, TListingsLimits limits, QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("ListingsWin"));
    setWindowTitle(tr("Match listings"));
    resize(860, 520);

    const QList<TChannelMatch> matches = MatchListings(channels, listed);
    QList<TListingsModel::Row> rows;
    rows.reserve(channels.size());
    for (int i = 0; i < channels.size(); ++i)
        rows << TListingsModel::Row{channels[i], icons.value(i), matches[i], -1, false};
    m_model = new TListingsModel(std::move(rows), std::move(listed), limits, this);

    Table = Named(new QTableView(this), QStringLiteral("ListingsTable"));
    Table->setModel(m_model);
    Table->setItemDelegateForColumn(ListedColumn, new TListedDelegate(m_model, Table));
    Table->setSelectionBehavior(QAbstractItemView::SelectRows);
    Table->setSelectionMode(QAbstractItemView::SingleSelection);
    Table->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                           QAbstractItemView::SelectedClicked);
    Table->setTabKeyNavigation(false);
    Table->verticalHeader()->hide();
    Table->verticalHeader()->setDefaultSectionSize(Table->fontMetrics().height() + 8);
    Table->horizontalHeader()->setSectionResizeMode(WhatColumn, QHeaderView::Stretch);
    Table->setAccessibleName(tr("Channels and their listings"));
    Table->setToolTip(tr("Space ticks or unticks a row; F2 or Enter picks its listings channel"));
    Table->installEventFilter(this);
    Table->setColumnWidth(NumberColumn, 50);
    Table->setColumnWidth(NameColumn, 180);
    Table->setColumnWidth(ListedColumn, 260);
    Table->setColumnWidth(TickColumn, 60);
    Table->horizontalHeader()->moveSection(TickColumn, WhatColumn);
    connect(m_model, &QAbstractItemModel::dataChanged, this, &TListingsWin::updateCounts);

    CountsLabel = Named(new QLabel(this), QStringLiteral("CountsLabel"));
    FillIconsCheck =
        Named(new QCheckBox(tr("Fill empty &icons"), this), QStringLiteral("FillIconsCheck"));
    FillIconsCheck->setChecked(true);
    FillIconsCheck->setToolTip(
        tr("Ticked channels without an icon get the listings channel's icon; an icon already "
           "set is never replaced"));
    connect(FillIconsCheck, &QCheckBox::toggled, m_model, &TListingsModel::SetFillIcons);

    ApplyButton = Named(new QPushButton(tr("&Apply"), this), QStringLiteral("ApplyButton"));
    CancelButton = Named(new QPushButton(tr("&Cancel"), this), QStringLiteral("CancelButton"));
    ApplyButton->setDefault(true);
    connect(ApplyButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(CancelButton, &QPushButton::clicked, this, &QDialog::reject);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(FillIconsCheck);
    buttons->addStretch(1);
    buttons->addWidget(ApplyButton);
    buttons->addWidget(CancelButton);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Table, 1);
    layout->addWidget(CountsLabel);
    layout->addLayout(buttons);
    if (m_model->rowCount() > 0)
        Table->setCurrentIndex(m_model->index(0, ListedColumn));
    Table->setFocus();
    updateCounts();
}

TListingsWin::~TListingsWin() = default;

bool TListingsWin::eventFilter(QObject* watched, QEvent* event)
{
    // Space ticks or unticks the current row wherever in the row the cursor stands;
    // Enter picks its listings channel.
    // (While its list is open, keys go to the list, not to the table.)
    if (watched == Table && event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        const QModelIndex current = Table->currentIndex();
        if (current.isValid() && key->modifiers() == Qt::NoModifier) {
            if (key->key() == Qt::Key_Space) {
                SetTicked(current.row(), !Ticked(current.row()));
                return true;
            }
            if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
                // The row's list, open: the candidates first, typing jumps.
                const QModelIndex listed = m_model->index(current.row(), ListedColumn);
                Table->setCurrentIndex(listed);
                Table->edit(listed);
                if (auto* combo = qobject_cast<QComboBox*>(Table->indexWidget(listed)))
                    combo->showPopup();
                return true;
            }
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TListingsWin::Pick(int row, int listed)
{
    m_model->Pick(row, listed);
}

void TListingsWin::SetTicked(int row, bool ticked)
{
    m_model->SetTicked(row, ticked);
}

bool TListingsWin::Ticked(int row) const
{
    return m_model->At(row).ticked;
}

QString TListingsWin::WhatHappens(int row) const
{
    return m_model->What(m_model->At(row));
}

void TListingsWin::updateCounts()
{
    int counts[6] = {};
    int ticked = 0;
    for (const TListingsModel::Row& r : m_model->Rows()) {
        ++counts[int(r.match.state)];
        ticked += r.ticked ? 1 : 0;
    }
    QString text = tr("%1 matched, %2 suggested, %3 to choose, %4 without a match, %5 kept")
                       .arg(counts[int(TMatchState::Matched)])
                       .arg(counts[int(TMatchState::Suggested)])
                       .arg(counts[int(TMatchState::Choose)])
                       .arg(counts[int(TMatchState::NoMatch)])
                       .arg(counts[int(TMatchState::Kept)]);
    if (const int other = counts[int(TMatchState::OtherId)]; other > 0)
        text += tr(", %1 with another id").arg(other);
    text += ticked == 1 ? tr(". Apply fills in 1 channel.")
                        : tr(". Apply fills in %1 channels.").arg(ticked);
    CountsLabel->setText(text);
    ApplyButton->setEnabled(ticked > 0);
}

QList<TListingsChange> TListingsWin::Changes() const
{
    QList<TListingsChange> changes;
    const QList<TListingsModel::Row>& rows = m_model->Rows();
    for (int i = 0; i < rows.size(); ++i) {
        const TListingsModel::Row& r = rows[i];
        if (!r.ticked)
            continue;
        const TListedChannel& l = m_model->ListedChannels()[r.picked];
        TListingsChange change{i, l.id, std::nullopt};
        if (m_model->FillsIcon(r))
            change.icon = l.icon;
        changes << change;
    }
    return changes;
}
