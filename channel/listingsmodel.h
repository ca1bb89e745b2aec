#pragma once

#include "listingsmatch.h"

#include <QAbstractTableModel>
#include <QList>
#include <optional>

/// The rows of the match's review: each channel with what matching proposed, the
/// listings channel now picked for it and whether it is ticked (what Apply fills in).
class TListingsModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    enum Column { NumberColumn, NameColumn, ListedColumn, WhatColumn, TickColumn, ColumnCount };

    struct Row
    {
        TChannelRow channel; // with its icon as stored
        TChannelMatch match;
        int picked = -1; // listed channel
        bool ticked = false;
    };

    /// Proposes what matching found: the fit picked, a match ticked (when it can be).
    TListingsModel(QList<Row> rows, QList<TListedChannel> listed, TListingsLimits limits,
                   QObject* parent);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;

    const Row& At(int row) const { return m_rows[row]; }
    const QList<Row>& Rows() const { return m_rows; }
    const QList<TListedChannel>& ListedChannels() const { return m_listed; }
    /// The listed channels in the order of their names (a list typing jumps in).
    const QList<int>& SortedListed() const { return m_sorted; }
    /// A listed channel as its list shows it: its first name and its id.
    QString Listed(int i) const;

    /// The row's listings channel becomes `listed` (-1: none); picking one ticks it.
    void Pick(int row, int listed);
    void SetTicked(int row, bool ticked);
    void SetFillIcons(bool fill);

    /// Whether the row's empty icon is filled when it is ticked.
    bool FillsIcon(const Row& r) const;
    /// Whether ticking the row changes the channel, and nothing stands in the way.
    bool Tickable(const Row& r) const;
    /// What happens to the row, in words.
    QString What(const Row& r) const;

private:
    bool changes(const Row& r) const;
    /// Why the row cannot be filled in, if it cannot: a value wider than its column.
    std::optional<QString> whyNot(const Row& r) const;
    void rowChanged(int row);

    QList<Row> m_rows;
    QList<TListedChannel> m_listed;
    TListingsLimits m_limits;
    QList<int> m_sorted;
    bool m_fillIcons = true;
};
