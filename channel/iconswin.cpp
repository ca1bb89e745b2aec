#include "iconswin.h"

#include "iconstore.h"

#include <QAbstractTableModel>
#include <QApplication>
#include <QHeaderView>
#include <QPainter>
#include <QPointer>
#include <QStyledItemDelegate>
#include <QTableView>
#include <optional>

/// The rows of the icon match's review: each channel with the file found for it, why it
/// cannot take it (if it cannot) and whether it is ticked.
class TIconsModel : public QAbstractTableModel
{
public:
    enum Column { NumberColumn, NameColumn, FileColumn, WhatColumn, TickColumn, ColumnCount };
    enum class State { Found, HasIcon, Same, NoFile, Refused };

    struct Row
    {
        TChannelRow channel;
        int file = -1;
        State state = State::NoFile;
        QString why = {}; // State::Refused: why the file cannot be the icon
        bool ticked = false;
    };

    TIconsModel(QList<TChannelRow> channels, QList<TIconFile> files, int iconLimit, QObject* parent)
        : QAbstractTableModel(parent), m_files(std::move(files))
    {
        const QList<int> found = MatchIcons(channels, m_files);
        m_rows.reserve(channels.size());
        for (int i = 0; i < channels.size(); ++i) {
            Row r{channels[i], found[i]};
            r.state = stateOf(r, iconLimit);
            r.ticked = r.state == State::Found; // a channel without an icon
            m_rows << r;
        }
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
            return TIconsWin::tr("No.");
        case NameColumn:
            return TIconsWin::tr("Channel");
        case FileColumn:
            return TIconsWin::tr("Icon file");
        case WhatColumn:
            return TIconsWin::tr("What happens");
        default:
            return TIconsWin::tr("Fill in");
        }
    }

    Qt::ItemFlags flags(const QModelIndex& index) const override
    {
        Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
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
        if (role == Qt::AccessibleTextRole && index.column() == TickColumn)
            return r.ticked ? TIconsWin::tr("ticked") : TIconsWin::tr("not ticked");
        if (role == Qt::ToolTipRole && index.column() == WhatColumn)
            return What(r);
        if (role == Qt::ToolTipRole && index.column() == FileColumn && r.file >= 0)
            return r.state == State::Refused ? r.why : m_files[r.file].path;
        if (role != Qt::DisplayRole)
            return {};
        switch (index.column()) {
        case NumberColumn:
            return r.channel.channum;
        case NameColumn:
            return r.channel.name.isEmpty() ? r.channel.callsign : r.channel.name;
        case FileColumn:
            return r.file >= 0 ? m_files[r.file].name : QString();
        case WhatColumn:
            return What(r);
        default:
            return {};
        }
    }

    bool setData(const QModelIndex& index, const QVariant& value, int role) override
    {
        if (index.column() != TickColumn || role != Qt::CheckStateRole)
            return false;
        SetTicked(index.row(), value.value<Qt::CheckState>() == Qt::Checked);
        return true;
    }

    void SetTicked(int row, bool ticked)
    {
        Row& r = m_rows[row];
        r.ticked = ticked && Tickable(r);
        emit dataChanged(index(row, 0), index(row, ColumnCount - 1));
    }

    static bool Tickable(const Row& r)
    {
        return r.state == State::Found || r.state == State::HasIcon;
    }

    QString What(const Row& r) const
    {
        switch (r.state) {
        case State::NoFile:
            return TIconsWin::tr("no file");
        case State::Refused:
            return TIconsWin::tr("cannot be its icon: %1").arg(r.why);
        case State::Same:
            return TIconsWin::tr("has this icon");
        case State::HasIcon:
            return r.ticked ? TIconsWin::tr("replaces its icon %1").arg(r.channel.icon)
                            : TIconsWin::tr("keeps its icon %1").arg(r.channel.icon);
        case State::Found:
            break;
        }
        return r.ticked ? TIconsWin::tr("found: fills in the icon") : TIconsWin::tr("found");
    }

    QString Path(const Row& r) const { return r.file >= 0 ? m_files[r.file].path : QString(); }
    const Row& At(int row) const { return m_rows[row]; }
    const QList<Row>& Rows() const { return m_rows; }

private:
    State stateOf(Row& r, int iconLimit) const
    {
        if (r.file < 0)
            return State::NoFile;
        const QString& path = m_files[r.file].path;
        if (path.size() > iconLimit) {
            r.why = TIconsWin::tr("its path has %1 characters, the icon holds %2")
                        .arg(path.size())
                        .arg(iconLimit);
            return State::Refused;
        }
        // The file's kind and header only: the picture is read when its row shows.
        if (const auto problem = IconFileProblem(path)) {
            r.why = *problem;
            return State::Refused;
        }
        if (r.channel.icon.trimmed() == path)
            return State::Same;
        return IconSourceOf(r.channel.icon).kind == TIconSource::None ? State::Found
                                                                      : State::HasIcon;
    }

    QList<TIconFile> m_files;
    QList<Row> m_rows;
};

namespace {

/// The file column: the picture (read as the row comes into view), then the file's name.
class TFileDelegate : public QStyledItemDelegate
{
public:
    TFileDelegate(TIconsModel* model, TIconStore* store, QObject* parent)
        : QStyledItemDelegate(parent), m_model(model), m_store(store)
    {
    }

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override
    {
        const TIconsModel::Row& r = m_model->At(index.row());
        QStyleOptionViewItem cell = option;
        initStyleOption(&cell, index);
        const QWidget* widget = cell.widget;
        const QStyle* style = widget ? widget->style() : QApplication::style();
        style->drawPrimitive(QStyle::PE_PanelItemViewItem, &cell, painter, widget);
        const QRect room(option.rect.left() + 2, option.rect.top() + 1, Room.width(),
                         option.rect.height() - 2);
        if (r.file >= 0 && m_store) {
            painter->save();
            painter->setClipRect(option.rect);
            m_store->Paint(*painter, room,
                           r.state == TIconsModel::State::Refused ? QString() : m_model->Path(r));
            painter->restore();
        }
        QStyleOptionViewItem rest = option;
        rest.rect.setLeft(room.right() + 5);
        QStyledItemDelegate::paint(painter, rest, index);
    }

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        const QSize hint = QStyledItemDelegate::sizeHint(option, index);
        return {hint.width() + Room.width() + 6, std::max(hint.height(), Room.height() + 2)};
    }

    static constexpr QSize Room{48, 28};

private:
    TIconsModel* m_model;
    QPointer<TIconStore> m_store;
};

} // namespace

TIconsWin::TIconsWin(QList<TChannelRow> channels, QList<TIconFile> files, int iconLimit,
                     TIconStore* store, QWidget* parent)
    : TReviewWin(tr("Match icons"), QStringLiteral("IconsWin"), QStringLiteral("IconsTable"),
                 new TIconsModel(std::move(channels), std::move(files), iconLimit, nullptr),
                 TIconsModel::WhatColumn, TIconsModel::TickColumn, parent),
      m_model(static_cast<TIconsModel*>(Table->model()))
{
    m_model->setParent(this);
    Table->setItemDelegateForColumn(TIconsModel::FileColumn,
                                    new TFileDelegate(m_model, store, Table));
    Table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    Table->setWordWrap(false);
    Table->verticalHeader()->setDefaultSectionSize(
        std::max(Table->fontMetrics().height() + 8, TFileDelegate::Room.height() + 2));
    Table->setAccessibleName(tr("Channels and their icon files"));
    Table->setToolTip(tr("Space ticks or unticks a row"));
    Table->setColumnWidth(TIconsModel::NumberColumn, 50);
    Table->setColumnWidth(TIconsModel::NameColumn, 180);
    Table->setColumnWidth(TIconsModel::FileColumn, 240);
    connect(m_model, &QAbstractItemModel::dataChanged, this, &TIconsWin::updateCounts);
    if (store)
        connect(store, &TIconStore::Changed, Table->viewport(), qOverload<>(&QWidget::update));
    if (m_model->rowCount() > 0)
        Table->setCurrentIndex(m_model->index(0, TIconsModel::NameColumn));
    Table->setFocus();
    updateCounts();
}

TIconsWin::~TIconsWin() = default;

void TIconsWin::SetTicked(int row, bool ticked)
{
    m_model->SetTicked(row, ticked);
}

bool TIconsWin::Ticked(int row) const
{
    return m_model->At(row).ticked;
}

QString TIconsWin::WhatHappens(int row) const
{
    return m_model->What(m_model->At(row));
}

void TIconsWin::updateCounts()
{
    int found = 0, kept = 0, none = 0, refused = 0, ticked = 0;
    for (const TIconsModel::Row& r : m_model->Rows()) {
        switch (r.state) {
        case TIconsModel::State::Found:
            ++found;
            break;
        case TIconsModel::State::HasIcon:
        case TIconsModel::State::Same:
            ++kept;
            break;
        case TIconsModel::State::NoFile:
            ++none;
            break;
        case TIconsModel::State::Refused:
            ++refused;
            break;
        }
        ticked += r.ticked ? 1 : 0;
    }
    ShowCounts(tr("%1 found, %2 with an icon already, %3 without a file, %4 that cannot be "
                  "an icon")
                   .arg(found)
                   .arg(kept)
                   .arg(none)
                   .arg(refused),
               ticked);
}

QList<TIconChange> TIconsWin::Changes() const
{
    QList<TIconChange> changes;
    for (const TIconsModel::Row& r : m_model->Rows())
        if (r.ticked)
            changes << TIconChange{r.channel.row, m_model->Path(r)};
    return changes;
}
