#pragma once

#include "importplan.h"

#include <QAbstractTableModel>
#include <QHash>
#include <QList>
#include <utility>

/// The rows of an import's review: each service of the file and what becomes of it,
/// then the source's channels not in the file, with a tick each (what Import applies).
/// It plans again whenever a choice changes; a tick the user set is kept while its row
/// can still be ticked.
class TImportModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    enum Column {
        ServiceColumn,
        ChannelColumn,
        FrequencyColumn,
        PidsColumn,
        WhatColumn,
        TickColumn,
        ColumnCount
    };

    TImportModel(QList<TScannedService> services, QList<TChannelRow> channels, TCardKind kind,
                 TImportLimits limits, QObject* parent);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;

    const TImportPlan& Plan() const { return m_plan; }
    const QList<TChannelRow>& Channels() const { return m_channels; }
    bool Ticked(int row) const { return m_ticked.value(row); }
    int TickedCount(TImportAction action) const;
    /// What the row's "What happens" says.
    QString What(int row) const;
    /// A channel of the source as the lists name it: "21 Das Erste".
    QString ChannelText(int channel) const;

    void SetIncludeRadio(bool include);
    void SetTakeFileNames(bool take);
    /// The service of `row` updates the channel `channel` (-1: becomes a new channel).
    void Pick(int row, int channel);
    void SetTicked(int row, bool ticked);
    /// Ticks every channel not in the file.
    void TickAllVanished();

private:
    void replan();
    /// The row's frequency as stored, and the kind in whose units it is read.
    std::pair<TCardKind, QString> frequency(const TImportRow& row) const;
    QString changesText(const TImportRow& row) const;

    QList<TScannedService> m_services;
    QList<TChannelRow> m_channels;
    TCardKind m_kind;
    TImportLimits m_limits;
    TImportChoices m_choices;
    TImportPlan m_plan;
    QList<bool> m_ticked;            // a plan row
    QHash<int, bool> m_serviceTicks; // the user's ticks: by service
    QHash<int, bool> m_channelTicks; // and by vanished channel
};
